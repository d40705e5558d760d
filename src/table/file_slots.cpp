#include "table/file_slots.h"

#include <string>

#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/text_codec.h"
#include "table/entry_files.h"
#include "text/numbers.h"

namespace hf::table {
namespace {

std::string slotLetter(int slot) {
  return std::string(1, static_cast<char>('A' + slot));
}

std::filesystem::path inProgramFolder(const std::string& gbkName) {
  return files::programFolder() / codec::pathFromGbk(gbkName);
}

}  // namespace

FileSlots::FileSlots(app::MainControls& controls, app::HiddenFields& fields,
                     app::HiddenCommands& commands, feedback::Hints& hints, DataTable& table)
    : controls_(controls), fields_(fields), commands_(commands), hints_(hints), table_(table) {}

std::filesystem::path FileSlots::entriesFile(int slot) {
  return inProgramFolder("保存" + slotLetter(slot) + ".txt");
}

std::filesystem::path FileSlots::rowSettingsFile(int slot) {
  return inProgramFolder("跳快数据" + slotLetter(slot) + ".txt");
}

std::filesystem::path FileSlots::checkFile() {
  return inProgramFolder("选择框.txt");
}

ui::Button& FileSlots::openButton(int slot) const {
  ui::Button* buttons[kSlotCount] = {&controls_.打开A, &controls_.打开B, &controls_.打开C,
                                     &controls_.打开D, &controls_.打开E};
  return *buttons[slot];
}

ui::Button& FileSlots::saveButton(int slot) const {
  ui::Button* buttons[kSlotCount] = {&controls_.保存A, &controls_.保存B, &controls_.保存C,
                                     &controls_.保存D, &controls_.保存E};
  return *buttons[slot];
}

int FileSlots::currentSlot() const {
  for (int slot = 0; slot < kSlotCount; ++slot)
    if (openButton(slot).color() == app::kHighlightColor) return slot;
  return 0;
}

void FileSlots::markCurrent(int slot) {
  for (int other = 0; other < kSlotCount; ++other)
    openButton(other).setColor(other == slot ? app::kHighlightColor : app::kNormalColor);
}

void FileSlots::open(int slot) {
  if (!tableShown()) return;
  if (controls_.customHotkeysLoaded()) controls_.加载热键.onClick();
  markCurrent(slot);
  commands_.按钮14();
  table_.clear();
  table_.bulkLoad(files::readWhole(entriesFile(slot)).value_or(std::string()));
  table_.scrollTo(table_.rowCount() - 1);
  reloadRowSettings();
  if (table_.cell(0, DataTable::kEntry).empty())
    hints_.show(hints_.气球提示框2, controls_.加载热键, 10, "●文本未导入，无法启用热键！");
  else
    hints_.show(hints_.气球提示框2, controls_.组合框66, 20, "●选择粘贴方式！");
}

void FileSlots::save(int slot) {
  if (!tableShown() || table_.rowCount() == 0) return;
  const std::string entries = formatEntries(table_.rows());
  const std::string settings = formatRowSettings(table_.rows());
  if (!files::replaceTogether({{entriesFile(slot), entries}, {rowSettingsFile(slot), settings}})) {
    hints_.show(hints_.气球提示框2, saveButton(slot), 10,
                "●保存失败！文件被占用或文件夹只读，表格内容仍在。");
    return;
  }
  // The entries file has no escape for its separator: such an entry comes
  // back as two rows, so the user is told which one.
  const int rowWithStar = firstEntryWithStar(table_.rows());
  if (rowWithStar >= 0)
    hints_.show(hints_.气球提示框2, saveButton(slot), 10,
                "●第" + text::toText(rowWithStar + 1) + "行含有★，重新打开时会被拆成两行！");
}

void FileSlots::reloadRowSettings() {
  if (!tableShown()) return;
  const auto settings = files::readWhole(rowSettingsFile(currentSlot()));
  table_.editRows([&](RowStore& rows) {
    for (int row = 0; row < rows.size(); ++row)
      for (int column : {DataTable::kTabs, DataTable::kPause, DataTable::kEnter})
        rows.setCell(row, column, "");
    if (settings) applyRowSettings(*settings, rows);
  });
  loop::pause(50);
  table_.view().focus();
  table_.setCurrentRow(0);
  if (!table_.cell(0, DataTable::kEntry).empty() && !controls_.customHotkeysLoaded())
    controls_.加载热键.onClick();
  commands_.打开检查框();
}

void FileSlots::writeCheckFile() {
  fields_.编辑框检查框保存 = formatCheckFile(table_.rows());
  if (!files::replaceWhole(checkFile(), fields_.编辑框检查框保存))
    hints_.show(hints_.气球提示框2, controls_.超级列表框1, 20, "●选择框.txt 保存失败！");
}

void FileSlots::readCheckFile() {
  fields_.编辑框检查框保存 = files::readWhole(checkFile()).value_or(std::string());
  table_.editRows([&](RowStore& rows) { applyCheckFile(fields_.编辑框检查框保存, rows); });
}

}  // namespace hf::table
