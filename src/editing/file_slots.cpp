#include "editing/file_slots.h"

#include <string>

#include "feedback/button_colors.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/text_codec.h"
#include "table/entry_files.h"
#include "text/numbers.h"

namespace hf::editing {
namespace {

std::string slotLetter(int slot) {
  return std::string(1, static_cast<char>('A' + slot));
}

std::filesystem::path inProgramFolder(const std::string& gbkName) {
  return files::programFolder() / codec::pathFromGbk(gbkName);
}

}  // namespace

using table::DataTable;
using table::RowStore;

FileSlots::FileSlots(Controls controls, feedback::Hints& hints, DataTable& table,
                     table::CheckFile& checkFile, paste::PasteEngine& engine,
                     paste::HotkeyLoading& loading)
    : c_(controls),
      hints_(hints),
      table_(table),
      checkFile_(checkFile),
      engine_(engine),
      loading_(loading) {}

std::filesystem::path FileSlots::entriesFile(int slot) {
  return inProgramFolder("保存" + slotLetter(slot) + ".txt");
}

std::filesystem::path FileSlots::rowSettingsFile(int slot) {
  return inProgramFolder("跳快数据" + slotLetter(slot) + ".txt");
}

int FileSlots::currentSlot() const {
  for (int slot = 0; slot < kSlotCount; ++slot)
    if (openButton(slot).color() == feedback::kHighlightColor) return slot;
  return 0;
}

void FileSlots::markCurrent(int slot) {
  for (int other = 0; other < kSlotCount; ++other)
    openButton(other).setColor(other == slot ? feedback::kHighlightColor : feedback::kNormalColor);
}

void FileSlots::open(int slot) {
  if (!tableShown()) return;
  if (loading_.loaded()) loading_.unload();
  markCurrent(slot);
  engine_.resetRandomCycle();
  table_.clear();
  table_.bulkLoad(files::readWhole(entriesFile(slot)).value_or(std::string()));
  table_.scrollTo(table_.rowCount() - 1);
  reloadRowSettings();
  if (table_.cell(0, DataTable::kEntry).empty())
    hints_.show(hints_.气球提示框2, loading_.toggleButton(), 10, "●文本未导入，无法启用热键！");
  else
    hints_.show(hints_.气球提示框2, engine_.modeSelector(), 20, "●选择粘贴方式！");
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
  if (!table_.cell(0, DataTable::kEntry).empty() && !loading_.loaded()) loading_.load();
  checkFile_.read();
}

}  // namespace hf::editing
