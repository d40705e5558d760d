#include "app/main_window.h"

#include "macro/hotkey_settings.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/text_codec.h"

namespace hf::app {
namespace {

constexpr std::string_view kInstanceEvent = "mczdy";
constexpr int kTrimIntervalMs = 500;
constexpr int kRowHeight = 17;

}  // namespace

MainWindow::MainWindow() {
  commands_.按钮4 = [this] { modes_.switchToMassCopy(); };
  commands_.按钮14 = [this] { engine_.resetRandomCycle(); };
  commands_.按钮17 = [this] { applyDefaultLayout(); };
  commands_.保存检查框 = [this] { slots_.writeCheckFile(); };
  commands_.打开检查框 = [this] { slots_.readCheckFile(); };
  commands_.删除1 = [this] { editing_.sweepEmptyRows(); };
  commands_.按钮13 = [this] { editing_.patternFill(); };
  commands_.按钮9 = [this] { editing_.searchAndMark(); };
  connectEvents();
}

void MainWindow::connectEvents() {
  window_.onClose = [this] { closeSequence(); };
  window_.onDestroy = [this] { window_.removeTrayIcon(); };
  window_.onMinimized = [this] { enterTray(); };
  window_.onTrayIcon = [this](int kind) {
    if (kind == 1) leaveTray();
  };
  window_.onHotkey = [this](int id) { dispatcher_.dispatch(id); };
  时钟1.onTick = [] { desktop::trimWorkingSet(); };

  for (int slot = 0; slot < table::kSlotCount; ++slot) {
    slots_.openButton(slot).onClick = [this, slot] { slots_.open(slot); };
    slots_.saveButton(slot).onClick = [this, slot] { slots_.save(slot); };
  }
  controls_.打开自定义.onClick = [this] { slots_.reloadRowSettings(); };
  controls_.打开自定义.onMouseDown = [this] {
    hints_.show(hints_.气球提示框2, controls_.组合框66, 20, "●选择粘贴方式！");
  };
  controls_.加载热键.onClick = [this] { loading_.toggle(); };
  connectTableEvents();
  controls_.按钮1.onClick = [this] { modes_.pressMassCopy(); };
  controls_.按钮1.onMouseDown = [this] { modes_.mouseDownOnMassCopy(); };
  controls_.按钮102.onClick = [this] { modes_.pressOrderedCopy(); };
  controls_.组合框66.onSelectionChanged = [this] { engine_.modeChosen(); };
  controls_.组合框66.onMouseDown = [this] {
    hints_.show(hints_.气球提示框1, controls_.组合框66, 18, "●选择粘贴方式");
  };
  controls_.组合框2.onMouseDown = [this] {
    hints_.show(hints_.气球提示框1, controls_.组合框2, 18, "●设置等待时间");
  };
  controls_.选择框14.onClick = [this] {
    hints_.show(hints_.气球提示框1, controls_.选择框14, 10,
                controls_.选择框14.isChecked()
                    ? "●用在两种情况：\r\n  1：选中，每次划取文本录入会自动删除原有文本！\r\n"
                      "  2：勾选后，图文粘贴会显示图片！"
                    : "●用在两种情况：\r\n  1：取消，每次划取文本录入保留原有文本！\r\n"
                      "  2：取消，图文粘贴会隐藏图片！");
  };
  controls_.图片框_探测.onMouseDown = [this] { picker_.press(); };
  controls_.图片框_探测.onMouseUp = [this] { picker_.release(); };
  for (ui::EditBox* box : {&controls_.记录, &controls_.模拟, &controls_.停止, &controls_.截图})
    hotkeyBoxes_.attach(*box);
  controls_.zira.onClick = [this] { togglePanel(); };
  controls_.按钮19.onClick = [] {
    desktop::openWithShell("https://www.example.org/hotfill/");
    desktop::openWithShell("https://www.example.org/hotfill/help/");
  };
}

// The data table, its editors and the ways entries come in.
void MainWindow::connectTableEvents() {
  editing_.connect();
  editing_.commitEntryEdit = [this] { cellEditors_.commitEntry(); };
  ui::ListView& list = controls_.超级列表框1;
  list.onDoubleClick = [this] {
    const ui::ListView::Cell cell = editing_.lastPressedCell();
    if (cell.column == table::DataTable::kHotkey)
      hotkeyEditor_.open(cell.row);
    else
      cellEditors_.open(cell);
  };
  list.onBeginDrag = [this](int) { cellEditors_.beginDrag(); };
  window_.onMouseUp = [this](Point client) { cellEditors_.endDrag(client); };
  list.onSelectionChanged = [this] {
    if (!fields_.图文选择) table_.scrollTo(table_.currentRow());
  };
  controls_.导入方式.onSelectionChanged = [this] { importer_.modeChosen(); };
  controls_.导入方式.onMouseDown = [this] {
    hints_.show(hints_.气球提示框1, controls_.导入方式, 130, "●选择导入文本格式");
  };
  controls_.分割符.onMouseDown = [this] {
    hints_.show(hints_.气球提示框1, controls_.分割符, 18, "●输入自定义分割字符！");
  };
  controls_.分割符.onDoubleClick = [this] { controls_.分割符.setText(""); };
  dispatcher_.routes.captureImport = [this] { importer_.captureSelection(); };
}

void MainWindow::startUp() {
  controls_.导入方式.focus();
  时钟1.setInterval(kTrimIntervalMs);
  controls_.超级列表框1.acceptDroppedFiles(
      [this](const auto& paths) { importer_.filesDroppedOnTable(paths); });
  controls_.编辑框1009.acceptDroppedFiles(
      [this](const auto& paths) { importer_.filesDroppedOnEntryEditor(paths); });
  hotkeys_.registerBackQuote();
  loop::pause(100);

  const Size screen = desktop::screenSize();
  const Rect frame = window_.frameRect();
  window_.moveTo({screen.width - frame.width - 20, screen.height - window_.scaled(680)});

  controls_.超级列表框1.setRowHeight(window_.scaled(kRowHeight));
  controls_.超级列表框2.setRowHeight(window_.scaled(kRowHeight));
  controls_.导入方式.select(0);
  controls_.组合框66.select(0);
  controls_.组合框65.select(51);
  controls_.组合框64.select(0);
  controls_.组合框2.select(2);
  modes_.pressMassCopy();
  slots_.markCurrent(0);
  commands_.按钮17();
  controls_.zira.setPicture(Image::ZiraExpanded);

  const auto texts = macro::readHotkeySettings(macro::settingsFile());
  ui::EditBox* boxes[] = {&controls_.记录, &controls_.模拟, &controls_.停止, &controls_.截图,
                          &controls_.模拟1};
  for (std::size_t i = 0; i < texts.size(); ++i) boxes[i]->setText(texts[i]);

  controls_.画板1.setRect({0, 0, 0, 0});
  for (const char* folder : {"截图", "找图", "同页粘贴"})
    files::createFolder(files::programFolder() / codec::pathFromGbk(folder));

  if (!desktop::claimSingleInstance(kInstanceEvent)) window_.close();
}

// Runs stop first: a run paused between two steps must not type into
// whatever has the focus while the program ends.
void MainWindow::closeSequence() {
  desktop::endSimulatedInput();
  engine_.stopEverything();
  macro::writeHotkeySettings(macro::settingsFile(),
                             {controls_.记录.text(), controls_.模拟.text(), controls_.停止.text(),
                              controls_.截图.text(), controls_.模拟1.text()});
  hotkeys_.releaseAll();
}

void MainWindow::enterTray() {
  window_.hide();
  window_.showTrayIcon();
}

void MainWindow::leaveTray() {
  window_.show();
  window_.restore();
  window_.removeTrayIcon();
}

void MainWindow::togglePanel() {
  const bool expanded = controls_.zira.picture() != Image::ZiraCollapsed;
  controls_.zira.setPicture(expanded ? Image::ZiraCollapsed : Image::ZiraExpanded);
  window_.setOuterHeight(expanded ? kCollapsedHeight : kFullHeight);
}

void MainWindow::applyDefaultLayout() {
  table_.applyDefaultLayout();
  fields_.图文选择 = false;
}

}  // namespace hf::app
