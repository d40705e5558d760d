#include "app/main_window.h"

#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/screen.h"
#include "platform/text_codec.h"

namespace hf::app {
namespace {

constexpr std::string_view kInstanceEvent = "mczdy";
constexpr int kTrimIntervalMs = 500;
constexpr int kRowHeight = 17;

}  // namespace

MainWindow::MainWindow() {
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

  for (int slot = 0; slot < editing::kSlotCount; ++slot) {
    slots_.openButton(slot).onClick = [this, slot] { slots_.open(slot); };
    slots_.saveButton(slot).onClick = [this, slot] { slots_.save(slot); };
  }
  c_.打开自定义.onClick = [this] { slots_.reloadRowSettings(); };
  c_.打开自定义.onMouseDown = [this] {
    hints_.show(hints_.气球提示框2, c_.组合框66, 20, "●选择粘贴方式！");
  };
  c_.加载热键.onClick = [this] { loading_.toggle(); };
  connectTableEvents();
  c_.按钮1.onClick = [this] { modes_.pressMassCopy(); };
  c_.按钮1.onMouseDown = [this] { modes_.mouseDownOnMassCopy(); };
  c_.按钮102.onClick = [this] { modes_.pressOrderedCopy(); };
  c_.按钮66.onClick = [this] { modes_.pressSelectionCopy(); };
  c_.按钮104.onClick = [this] { backQuote_.samePagePressed(); };
  c_.按钮10.onClick = [this] { backQuote_.transferPressed(); };
  c_.按钮word.onClick = [this] { documents_.pressWord(); };
  c_.按钮excel.onClick = [this] { documents_.pressExcel(); };
  c_.按钮6.onClick = [this] { documents_.resetCells(); };
  dispatcher_.routes.backQuoteAction = [this] { backQuote_.run(); };
  backQuote_.toWord = [this] { documents_.copyIntoWord(); };
  backQuote_.toExcel = [this] { documents_.copyIntoExcel(); };
  // The working mode follows the paste mode first; the paste mode then sets its flags.
  c_.组合框66.onSelectionChanged = [this] {
    modes_.pasteModeChosen();
    engine_.modeChosen();
  };
  c_.组合框66.onMouseDown = [this] {
    hints_.show(hints_.气球提示框1, c_.组合框66, 18, "●选择粘贴方式");
  };
  c_.组合框2.onMouseDown = [this] {
    hints_.show(hints_.气球提示框1, c_.组合框2, 18, "●设置等待时间");
  };
  c_.选择框14.onClick = [this] {
    hints_.show(hints_.气球提示框1, c_.选择框14, 10,
                c_.选择框14.isChecked()
                    ? "●用在两种情况：\r\n  1：选中，每次划取文本录入会自动删除原有文本！\r\n"
                      "  2：勾选后，图文粘贴会显示图片！"
                    : "●用在两种情况：\r\n  1：取消，每次划取文本录入保留原有文本！\r\n"
                      "  2：取消，图文粘贴会隐藏图片！");
  };
  c_.图片框_探测.onMouseDown = [this] { picker_.press(); };
  c_.图片框_探测.onMouseUp = [this] {
    if (macroPanel_.recordTableShown() && macroPanel_.recorderOn())
      findSteps_.pickerReleased();
    else
      picker_.release();
  };
  for (ui::EditBox* box : macroPanel_.hotkeyBoxes()) hotkeyBoxes_.attach(*box);
  connectMacroEvents();
  connectScreenshotEvents();
  c_.zira.onClick = [this] { togglePanel(); };
  c_.按钮19.onClick = [] {
    desktop::openWithShell("https://www.example.org/hotfill/");
    desktop::openWithShell("https://www.example.org/hotfill/help/");
  };
}

// The data table, its editors and the ways entries come in.
void MainWindow::connectTableEvents() {
  ui::ListView& list = c_.超级列表框1;
  list.onDoubleClick = [this] {
    const ui::ListView::Cell cell = editing_.lastPressedCell();
    if (cell.column == table::DataTable::kHotkey)
      hotkeyEditor_.open(cell.row);
    else
      cellEditors_.open(cell);
  };
  list.onBeginDrag = [this](int) { cellEditors_.beginDrag(); };
  window_.onMouseUp = [this](Point client) {
    cellEditors_.endDrag(client);
    stepEditing_.endDrag(client);
  };
  list.onSelectionChanged = [this] {
    if (!engine_.picturesWithText()) return table_.scrollTo(table_.currentRow());
    // With pictures in the rows, the cut option switches the row preview on too.
    if (c_.选择框14.isChecked())
      pictureButtons_.showEntryPicture(table_.cell(table_.currentRow(), table::DataTable::kEntry));
  };
  c_.导入方式.onSelectionChanged = [this] { importer_.modeChosen(); };
  c_.导入方式.onMouseDown = [this] {
    hints_.show(hints_.气球提示框1, c_.导入方式, 130, "●选择导入文本格式");
  };
  c_.分割符.onMouseDown = [this] {
    hints_.show(hints_.气球提示框1, c_.分割符, 18, "●输入自定义分割字符！");
  };
  c_.分割符.onDoubleClick = [this] { importer_.clearSeparator(); };
  dispatcher_.routes.captureImport = [this] { importer_.captureSelection(); };
}

// The macro panel: its hotkeys, the replay and the speed.
void MainWindow::connectMacroEvents() {
  const auto boxes = macroPanel_.macroHotkeyBoxes();
  for (int i = 0; i < 3; ++i) boxes[i]->onMouseDown = [this, i] { macroHotkeys_.boxPressed(i); };
  c_.按钮5.onClick = [this] { recorder_.switchClicked(); };
  dispatcher_.routes.record = [this] { recorder_.hotkeyPressed(); };
  dispatcher_.routes.replay = [this] { replay_.hotkeyPressed(); };
  dispatcher_.routes.stop = [this] {
    screenshot_.stopSeries();
    replay_.stopPressed();
  };
  c_.组合框65.onSelectionChanged = [this] { replay_.speedChosen(); };
  ui::ListView& steps = c_.超级列表框2;
  steps.onHeaderClick = [this](int column) {
    if (column == macro::kNumber) stepEditing_.setEveryMark(editing_.takeMarkAllNext());
  };
  stepEditing_.onDelaysPressed = [this] { editing_.stepDelaysPressed(); };
  steps.onSelectionChanged = [this] { findSteps_.rowSelected(); };
  steps.onFocusLost = [this] { findSteps_.tableLostFocus(); };
  c_.模拟1.onMouseDown = [this] {
    hints_.show(hints_.气球提示框1, c_.模拟1, 30,
                "●设置定时点击时间，\r\n\r\n格式与左边显示一致！");
  };
  c_.组合框65.onMouseDown = [this] {
    hints_.show(hints_.气球提示框1, c_.组合框65, 10,
                "●原有记录时间的百分比值！\r\n\r\n  数值越小，速度越快！");
  };
}

// The screenshot hotkey and the picture buttons beside the macro panel.
void MainWindow::connectScreenshotEvents() {
  c_.截图.onMouseDown = [this] { screenshot_.boxPressed(); };
  loading_.loadScreenshotHotkey = [this] { screenshot_.loadHotkey(); };
  dispatcher_.routes.screenshot = [this] { screenshot_.hotkeyPressed(); };
  c_.按钮16.onClick = [this] { pictureButtons_.clearFindImages(); };
  c_.按钮15.onClick = [this] { pictureButtons_.toggleRecordTable(); };
  c_.图片框4.onMouseDown = [this] { pictureButtons_.pressOnPreview(); };
  c_.图片框4.onMouseMove = [this](Point at) { pictureButtons_.mouseMovedOverPreview(at); };
  c_.图片框4.onMouseUp = [this] { pictureButtons_.releaseOnPreview(); };
}

// Over the whole screen, with the platform's decoder; MoveTo moves the cursor.
picture::PictureFinder MainWindow::screenPictureFinder() {
  return picture::PictureFinder(
      [](const std::filesystem::path& file) { return screen::decodePictureFile(file); },
      []() -> std::optional<Bitmap> {
        Bitmap whole = screen::grabScreen();
        if (whole.empty()) return std::nullopt;
        return whole;
      },
      [](Point at) { desktop::setCursorPos(at); });
}

void MainWindow::startUp() {
  c_.导入方式.focus();
  时钟1.setInterval(kTrimIntervalMs);
  c_.超级列表框1.acceptDroppedFiles(
      [this](const auto& paths) { importer_.filesDroppedOnTable(paths); });
  c_.编辑框1009.acceptDroppedFiles(
      [this](const auto& paths) { importer_.filesDroppedOnEntryEditor(paths); });
  hotkeys_.registerBackQuote();
  loop::pause(100);

  const Size screen = desktop::screenSize();
  const Rect frame = window_.frameRect();
  window_.moveTo({screen.width - frame.width - 20, screen.height - window_.scaled(680)});

  c_.超级列表框1.setRowHeight(window_.scaled(kRowHeight));
  c_.超级列表框2.setRowHeight(window_.scaled(kRowHeight));
  c_.导入方式.select(0);
  c_.组合框66.select(0);
  c_.组合框65.select(51);
  c_.组合框64.select(0);
  c_.组合框2.select(2);
  modes_.pressMassCopy();
  slots_.markCurrent(0);
  applyDefaultLayout();
  c_.zira.setPicture(Image::ZiraExpanded);
  macroPanel_.loadSettings();
  macroSlots_.tick(1);

  c_.画板1.setRect({0, 0, 0, 0});
  for (const char* folder : {"截图", "找图", "同页粘贴"})
    files::createFolder(files::programFolder() / codec::pathFromGbk(folder));

  if (!desktop::claimSingleInstance(kInstanceEvent)) window_.close();
}

// The replay ends first and lets go of a button it holds down, while input
// still goes out. Then simulated input ends before the runs stop: a run paused
// between two steps must not type into whatever has the focus while the
// program ends.
void MainWindow::closeSequence() {
  replay_.stopForClose();
  desktop::endSimulatedInput();
  engine_.stopEverything();
  screenshot_.stopSeries();
  selectionCopy_.stop();
  backQuote_.keepSamePageOnClose();
  macroPanel_.saveSettings();
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
  const bool expanded = c_.zira.picture() != Image::ZiraCollapsed;
  c_.zira.setPicture(expanded ? Image::ZiraCollapsed : Image::ZiraExpanded);
  window_.setOuterHeight(expanded ? kCollapsedHeight : kFullHeight);
}

void MainWindow::applyDefaultLayout() {
  table_.applyDefaultLayout();
  engine_.setPicturesWithText(false);
}

}  // namespace hf::app
