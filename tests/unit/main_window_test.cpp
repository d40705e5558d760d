#include "app/main_window.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "app_fixture.h"
#include "feedback/button_colors.h"
#include "platform/keys.h"

namespace hf::app {
namespace {

using feedback::kHighlightColor;
using feedback::kNormalColor;

namespace fs = std::filesystem;

using MainWindowTest = AppTest;

// While it lives, no file can grow beyond `bytes`, as on a disk that fills
// up: a write past it fails instead of ending the process.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) : previousHandler_(std::signal(SIGXFSZ, SIG_IGN)) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previousHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  void (*previousHandler_)(int);
  rlimit saved_{};
};

// 20 units from the screen's right edge, its top 680 units above the bottom.
TEST_F(MainWindowTest, OpensInFullHeightAtTheBottomRightOfTheScreen) {
  EXPECT_EQ(start().window().frameRect(), (Rect{1920 - 460 - 20, 1080 - 680, 460, 627}));
}

TEST_F(MainWindowTest, StartsInMassCopyOfSlotAWithManualRowPasting) {
  MainWindow& w = start();
  MainControls& c = w.controls();
  EXPECT_EQ(c.组合框66.selectedIndex(), 0);
  EXPECT_EQ(c.组合框66.text(), "手动横向粘贴");
  EXPECT_EQ(w.modes().copyMode(), paste::CopyMode::Mass);
  EXPECT_TRUE(w.modes().backQuoteImports());
  EXPECT_EQ(c.按钮1.color(), kHighlightColor);
  EXPECT_EQ(c.按钮102.color(), kNormalColor);
  EXPECT_EQ(c.打开A.color(), kHighlightColor);
  EXPECT_EQ(c.打开B.color(), kNormalColor);
}

// Delivery at full speed (the second "100" of the speeds), once, 50 ms apart.
TEST_F(MainWindowTest, DeliveryStartsAtFullSpeedOnceAndFiftyMillisecondsApart) {
  MainControls& c = start().controls();
  EXPECT_EQ(c.组合框65.itemCount(), 108);
  EXPECT_EQ(c.组合框65.selectedIndex(), 51);
  EXPECT_EQ(c.组合框65.text(), "100");
  EXPECT_EQ(c.组合框64.text(), "1");
  EXPECT_EQ(c.组合框2.itemCount(), 27);  // 30 … 200 by 10, 300 … 1000 by 100, 2000
  EXPECT_EQ(c.组合框2.text(), "50");
}

TEST_F(MainWindowTest, StartsWithAnEmptyDataTableInItsDefaultLayout) {
  MainWindow& w = start();
  MainControls& c = w.controls();
  EXPECT_TRUE(c.超级列表框1.isVisible());
  EXPECT_FALSE(c.超级列表框2.isVisible());
  EXPECT_EQ(w.table().rowCount(), 0);
  const int widths[] = {53, 181, 40, 0, 40, 92};  // the pause column hidden
  for (int column = 0; column < 6; ++column)
    EXPECT_EQ(c.超级列表框1.columnWidth(column), widths[column]) << column;
}

TEST_F(MainWindowTest, TheImportChoiceHasTheFocusAtStartUp) {
  EXPECT_TRUE(start().controls().导入方式.hasFocus());
}

TEST_F(MainWindowTest, TheBackQuoteKeyIsTheOneHotkeyAfterStartUp) {
  MainWindow& w = start();
  const auto hotkeys = headless::registeredHotkeys();
  ASSERT_EQ(hotkeys.size(), 1u);
  EXPECT_EQ(hotkeys[0].owner, &w.window());
  EXPECT_EQ(hotkeys[0].modifiers, 0u);
  EXPECT_EQ(hotkeys[0].virtualKey, keys::kBackQuote);
  EXPECT_EQ(hotkeys[0].id, 33002);  // the id 万条复制 registers it under again
}

TEST_F(MainWindowTest, StartUpMakesTheWorkingFolders) {
  start();
  for (const char* folder : {"截图", "找图", "同页粘贴"})
    EXPECT_TRUE(fs::is_directory(file(folder))) << folder;
}

TEST_F(MainWindowTest, TheWorkingSetIsTrimmedEveryHalfSecond) {
  start();
  const int trims = headless::workingSetTrims();
  headless::advance(1000);
  EXPECT_EQ(headless::workingSetTrims() - trims, 2);
}

TEST_F(MainWindowTest, WindowPositionFollowsTheScreen) {
  headless::reset(folder_, {1280, 1024});
  const Rect frame = start().window().frameRect();
  EXPECT_EQ(frame.left, 1280 - 460 - 20);
  EXPECT_EQ(frame.top, 1024 - 680);
}

TEST_F(MainWindowTest, HotkeyTextsSurviveARestartAndHotkeysAreFreedOnClose) {
  write("zira热键配置.ini", "[编辑框内容]\r\n记录=Ctrl+F1\r\n自动=8时0分0秒\r\n");
  MainWindow& w = start();
  EXPECT_EQ(w.controls().记录.text(), "Ctrl+F1");
  EXPECT_EQ(w.controls().模拟1.text(), "8时0分0秒");
  EXPECT_EQ(w.controls().模拟.text(), "");
  w.controls().截图.setText("Alt+Q");
  w.window().close();

  EXPECT_TRUE(w.window().isDestroyed());
  EXPECT_TRUE(headless::registeredHotkeys().empty());
  EXPECT_EQ(read("zira热键配置.ini"),
            "[编辑框内容]\r\n记录=Ctrl+F1\r\n自动=8时0分0秒\r\n模拟=\r\n停止=\r\n截图=Alt+Q\r\n");
}

TEST_F(MainWindowTest, SecondInstanceEndsAtStartUp) {
  headless::claimInstanceElsewhere("mczdy");
  MainWindow& w = start();
  EXPECT_TRUE(w.window().isDestroyed());
}

TEST_F(MainWindowTest, MinimizingGoesToTheTrayAndALeftClickComesBack) {
  MainWindow& w = start();
  w.window().show();
  w.window().minimize();
  w.window().onMinimized();
  EXPECT_FALSE(w.window().isVisible());
  EXPECT_TRUE(w.window().hasTrayIcon());
  w.window().onTrayIcon(3);
  w.window().onTrayIcon(2);
  EXPECT_FALSE(w.window().isVisible());
  w.window().onTrayIcon(1);
  EXPECT_TRUE(w.window().isVisible());
  EXPECT_FALSE(w.window().isMinimized());
  EXPECT_FALSE(w.window().hasTrayIcon());
}

TEST_F(MainWindowTest, PanelToggleSwitchesTheWindowHeight) {
  MainWindow& w = start();
  w.controls().zira.onClick();
  EXPECT_EQ(w.window().frameRect().height, 506);
  EXPECT_EQ(w.controls().zira.picture(), Image::ZiraCollapsed);
  w.controls().zira.onClick();
  EXPECT_EQ(w.window().frameRect().height, 627);
}

TEST_F(MainWindowTest, OpeningAndSavingASlotKeepsFilesByteForByte) {
  const std::string entries = "甲乙★two\r\nlines★★last★";
  const std::string settings = "2★暂停★回车★Ctrl+F1\r\n★★★\r\n1★★★\r\n★★回车★\r\n";
  write("保存A.txt", entries);
  write("跳快数据A.txt", settings);
  MainWindow& w = start();
  w.controls().打开A.onClick();

  EXPECT_EQ(w.table().rowCount(), 4);
  EXPECT_EQ(w.table().cell(1, 1), "two\r\nlines");
  EXPECT_EQ(w.table().cell(3, 0), "4");
  EXPECT_EQ(w.table().cell(0, 5), "Ctrl+F1");
  EXPECT_EQ(w.table().currentRow(), 0);
  EXPECT_EQ(w.controls().加载热键.text(), "卸载热键");
  EXPECT_EQ(w.hints().气球提示框2.text(), "●选择粘贴方式！");

  w.controls().保存B.onClick();
  EXPECT_EQ(read("保存B.txt"), entries);
  EXPECT_EQ(read("跳快数据B.txt"), settings);
  EXPECT_EQ(w.controls().打开A.color(), kHighlightColor);
}

TEST_F(MainWindowTest, AMissingSlotOpensAsOneEmptyRowAndReleasesHotkeys) {
  write("保存A.txt", "x★");
  MainWindow& w = start();
  w.controls().打开A.onClick();
  ASSERT_EQ(w.controls().加载热键.text(), "卸载热键");

  w.controls().打开C.onClick();
  EXPECT_EQ(w.table().rowCount(), 1);
  EXPECT_EQ(w.table().cell(0, 1), "");
  EXPECT_EQ(w.controls().加载热键.text(), "加载热键");
  EXPECT_EQ(w.controls().打开C.color(), kHighlightColor);
  EXPECT_EQ(w.controls().打开A.color(), kNormalColor);
  EXPECT_EQ(w.hints().气球提示框2.text(), "●文本未导入，无法启用热键！");
}

TEST_F(MainWindowTest, SavingAnEmptyTableLeavesTheSlotFilesAlone) {
  write("保存A.txt", "old★");
  MainWindow& w = start();
  w.controls().保存A.onClick();
  EXPECT_EQ(read("保存A.txt"), "old★");
  EXPECT_FALSE(fs::exists(file("跳快数据A.txt")));
}

TEST_F(MainWindowTest, MarksAreWrittenToTheCheckFileAndComeBackOnOpen) {
  write("保存A.txt", "a★b★c★d★");
  MainWindow& w = start();
  w.controls().打开A.onClick();
  w.controls().超级列表框1.onCheckClicked(1);
  w.controls().超级列表框1.onCheckClicked(3);
  EXPECT_EQ(read("选择框.txt"), "2\r\n4\r\n");

  w.controls().打开A.onClick();
  for (int row = 0; row < 4; ++row) EXPECT_EQ(w.table().isMarked(row), row == 1 || row == 3);
  w.controls().超级列表框1.onCheckClicked(1);
  EXPECT_EQ(read("选择框.txt"), "4\r\n");
}

TEST_F(MainWindowTest, ReloadingRowSettingsEmptiesColumnsTwoToFourOnly) {
  write("保存A.txt", "a★b★");
  write("跳快数据A.txt", "3★暂停★回车★F5\r\n");
  MainWindow& w = start();
  w.controls().打开A.onClick();
  w.table().setCell(1, 2, "7");
  w.table().setCell(1, 5, "F6");
  write("跳快数据A.txt", "1★★★\r\n");
  w.controls().打开自定义.onClick();
  EXPECT_EQ(w.table().cell(0, 2), "1");
  EXPECT_EQ(w.table().cell(0, 3), "");
  EXPECT_EQ(w.table().cell(0, 5), "F5");
  EXPECT_EQ(w.table().cell(1, 2), "");
  EXPECT_EQ(w.table().cell(1, 5), "F6");
}

TEST_F(MainWindowTest, SaveFailureAndUnstorableEntriesAreReported) {
  MainWindow& w = start();
  w.table().appendRow("plain");
  w.table().appendRow("has★star");
  w.controls().保存D.onClick();
  EXPECT_EQ(read("保存D.txt"), "plain★has★star★");
  EXPECT_EQ(w.hints().气球提示框2.text(), "●第2行含有★，重新打开时会被拆成两行！");

  fs::create_directory(file("保存E.txt"));  // a file that cannot be replaced
  w.controls().保存E.onClick();
  EXPECT_EQ(w.hints().气球提示框2.text().rfind("●保存失败", 0), 0u);
  EXPECT_EQ(w.table().rowCount(), 2);
}

// The entries file fits on the disk, the row settings do not: neither file
// is replaced, so the slot never holds new entries beside old settings.
TEST_F(MainWindowTest, ASaveThatCannotWriteBothFilesKeepsBothOldOnes) {
  write("保存A.txt", "old★");
  write("跳快数据A.txt", "1★★★\r\n");
  MainWindow& w = start();
  for (int row = 0; row < 100; ++row) {
    w.table().appendRow("e");
    w.table().setCell(row, 5, "Ctrl+Shift+Alt+F12");
  }
  {
    FileSizeLimit limit(1000);  // entries 300 bytes, row settings 2,600
    w.controls().保存A.onClick();
  }
  EXPECT_EQ(read("保存A.txt"), "old★");
  EXPECT_EQ(read("跳快数据A.txt"), "1★★★\r\n");
  EXPECT_EQ(w.hints().气球提示框2.text().rfind("●保存失败", 0), 0u);
  for (const auto& entry : fs::directory_iterator(folder_))
    EXPECT_EQ(entry.path().filename().string().find("tmp"), std::string::npos) << entry.path();

  w.controls().保存A.onClick();  // room again: both files are new
  EXPECT_EQ(read("保存A.txt").size(), 300u);
  EXPECT_EQ(read("跳快数据A.txt").size(), 2600u);
}

}  // namespace
}  // namespace hf::app
