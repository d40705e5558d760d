#include "copying/back_quote_actions.h"

#include <gtest/gtest.h>

#include "app_fixture.h"
#include "copying/same_page_names.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/headless/target_simulation.h"

namespace hf::copying {
namespace {

constexpr int kBackQuote = 0xC0;

TEST(SamePageFileName, IsAlwaysANameInsideTheFolder) {
  const std::vector<std::pair<std::string, std::optional<std::string>>> cases{
      {"客户名单", "客户名单"},
      {"..\\..\\Windows\\win", ".._.._Windows_win"},
      {"a/b:c*d?e\"f<g>h|i", "a_b_c_d_e_f_g_h_i"},
      {"name. . ", "name"},
      {"..", std::nullopt},
      {"", std::nullopt},
      {"CON", "_CON"},
      {"nul.txt", "_nul.txt"},
      {"com7", "_com7"},
      {"COM10", "COM10"},
      {"tab\there", "tab_here"},
      {"表|", "表_"},  // 表 ends in the byte of "|": a whole character, kept
  };
  for (const auto& [line, name] : cases) EXPECT_EQ(samePageFileName(line), name) << line;
}

class BackQuoteTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    start();
    headless::openTarget(3);
  }
  app::MainControls& c() { return window_->controls(); }
  // The user selects `text` in the target and presses the back-quote key.
  void capture(const std::string& text) {
    headless::selectInTarget(text);
    ASSERT_TRUE(headless::pressHotkey(0, kBackQuote));
    loop::preciseWait(1000);
  }
  void openCollection(const std::string& firstLine) {
    c().按钮104.onClick();
    ASSERT_EQ(c().按钮104.text(), "同页保存");
    c().编辑框25.setText(firstLine + "\r\n");
  }
};

TEST_F(BackQuoteTest, SamePageCapturesAreAppendedAndKeptInTheFileOfTheFirstLine) {
  openCollection("客户");
  EXPECT_FALSE(c().超级列表框1.isVisible());
  capture("张三");
  capture("李四");
  EXPECT_EQ(c().编辑框25.text(), "客户\r\n张三\r\n李四\r\n");
  EXPECT_EQ(read("同页粘贴/客户.txt"), "客户\r\n张三\r\n李四\r\n");
  EXPECT_EQ(desktop::clipboardText(), "");
}

// A second press while the first capture is still copying waits for it:
// each press captures the selection once, neither takes the other's text.
TEST_F(BackQuoteTest, APressDuringACaptureIsTakenAfterIt) {
  openCollection("客户");
  headless::selectInTarget("张三");
  const std::int64_t t0 = loop::nowMs();
  headless::at(t0 + 120, [] { headless::pressHotkey(0, kBackQuote); });
  ASSERT_TRUE(headless::pressHotkey(0, kBackQuote));
  loop::preciseWait(2000);
  EXPECT_EQ(c().编辑框25.text(), "客户\r\n张三\r\n张三\r\n");

  const int rows = window_->table().rowCount();
  c().按钮1.onClick();  // 万条复制: captures go into the table
  headless::selectInTarget("李四");
  headless::at(loop::nowMs() + 120, [] { headless::pressHotkey(0, kBackQuote); });
  ASSERT_TRUE(headless::pressHotkey(0, kBackQuote));
  loop::preciseWait(2000);
  EXPECT_EQ(window_->table().rowCount(), rows + 2);
}

// A press that would be served after the user has moved on to another
// window is dropped: its copy would go into that window.
TEST_F(BackQuoteTest, AWaitingPressIsDroppedWhenAnotherWindowCameToTheFront) {
  openCollection("客户");
  headless::selectInTarget("张三");
  const std::int64_t t0 = loop::nowMs();
  headless::at(t0 + 120, [] { headless::pressHotkey(0, kBackQuote); });
  headless::at(t0 + 200, [] { headless::setForegroundWindow(0x4711); });
  ASSERT_TRUE(headless::pressHotkey(0, kBackQuote));
  loop::preciseWait(2000);
  EXPECT_EQ(c().编辑框25.text(), "客户\r\n张三\r\n");
  EXPECT_EQ(window_->hints().气球提示框1.text(), "●上一次复制还未完成，这次按键未执行！");
}

TEST_F(BackQuoteTest, AnEarlierFileOfTheSameNameIsKept) {
  write("同页粘贴/客户.txt", "old");
  openCollection("客户");
  capture("A");
  EXPECT_NE(window_->hints().气球提示框1.text().find("客户(2).txt"), std::string::npos);
  window_->hints().showAt(window_->hints().气球提示框1, 0, 0, "other");
  capture("B");
  EXPECT_EQ(window_->hints().气球提示框1.text(), "other");  // the same name is told once
  EXPECT_EQ(read("同页粘贴/客户.txt"), "old");
  EXPECT_EQ(read("同页粘贴/客户(2).txt"), "客户\r\nA\r\nB\r\n");
}

// A collection ended by 不同页粘贴 and started again over the same text is
// the same collection: it keeps its file, with no word about a same name.
// Started over an emptied editor it is a new one, and keeps the first file.
TEST_F(BackQuoteTest, AResumedCollectionKeepsWritingItsOwnFile) {
  openCollection("客户");
  capture("张三");
  c().按钮10.onClick();
  c().按钮104.onClick();
  ASSERT_EQ(c().按钮104.text(), "同页保存");
  capture("李四");
  EXPECT_EQ(read("同页粘贴/客户.txt"), "客户\r\n张三\r\n李四\r\n");
  EXPECT_EQ(read("同页粘贴/客户(2).txt"), "<missing>");
  EXPECT_EQ(window_->hints().气球提示框1.text().find("同名"), std::string::npos);

  c().按钮10.onClick();
  c().编辑框25.setText("");
  openCollection("客户");
  capture("王五");
  EXPECT_EQ(read("同页粘贴/客户.txt"), "客户\r\n张三\r\n李四\r\n");
  EXPECT_EQ(read("同页粘贴/客户(2).txt"), "客户\r\n王五\r\n");
}

TEST_F(BackQuoteTest, LinesTypedAfterTheLastCaptureAreKeptWhenTheProgramCloses) {
  for (const bool ended : {false, true}) {
    SCOPED_TRACE(ended ? "collection ended by 万条复制" : "collection open");
    window_.reset();
    headless::reset(folder_);
    std::filesystem::remove_all(file("同页粘贴"));
    start();
    headless::openTarget(3);
    openCollection("客户");
    capture("张三");
    c().编辑框25.setText(c().编辑框25.text() + "备注：明天回电\r\n");
    if (ended) c().按钮1.onClick();
    window_->window().close();
    EXPECT_EQ(read("同页粘贴/客户.txt"), "客户\r\n张三\r\n备注：明天回电\r\n");
  }
}

TEST_F(BackQuoteTest, AClosedCollectionOfOnlyItsNameLeavesNoFile) {
  openCollection("客户");
  window_->window().close();
  EXPECT_EQ(read("同页粘贴/客户.txt"), "<missing>");
}

TEST_F(BackQuoteTest, AFirstLineThatIsNoNameSavesNothingAndSaysSo) {
  openCollection("..");
  capture("A");
  EXPECT_EQ(c().编辑框25.text(), "..\r\nA\r\n");  // the text stays
  EXPECT_NE(window_->hints().气球提示框1.text().find("文件名不能用"), std::string::npos);
}

TEST_F(BackQuoteTest, ExtractionPutsTheRightPartsOfACaptureOnOneLine) {
  c().分割符.setText("：");
  c().导入方式.select(static_cast<int>(table::ImportMode::RightAcross));
  c().导入方式.onSelectionChanged();  // opens the collection quietly
  ASSERT_EQ(c().按钮104.text(), "同页保存");
  c().编辑框25.setText("名单\r\n");
  capture("姓名：A\r\n电话：12");
  EXPECT_EQ(c().编辑框25.text(), "名单\r\nA\t12\t");
}

TEST_F(BackQuoteTest, TransferPastesAtThePickedPointAndComesBack) {
  c().图片框_探测.onMouseDown();
  desktop::setCursorPos({300, 200});
  c().图片框_探测.onMouseUp();
  c().按钮10.onClick();
  ASSERT_EQ(c().组合框66.selectedIndex(), static_cast<int>(paste::PasteMode::ManualVertical));
  desktop::setCursorPos({40, 50});
  headless::clearTargetEvents();
  capture("x");
  EXPECT_EQ(headless::clicks().back(), (Point{300, 200}));
  std::vector<std::string> what;
  for (const auto& event : headless::targetEvents()) what.push_back(event.what);
  EXPECT_EQ(what, (std::vector<std::string>{"copy", "paste x", "enter"}));
  EXPECT_EQ(desktop::cursorPos(), (Point{40, 50}));
}

// The clipboard still holds an earlier text when the user presses the
// back-quote key with nothing selected: no action takes that text for a capture.
TEST_F(BackQuoteTest, APressWithNothingSelectedCapturesNothing) {
  c().选择框14.setChecked(true);  // cut: a Delete now would remove a character of the field
  const auto pressWithNothingSelected = [&] {
    desktop::setClipboardText("earlier");
    headless::clearTargetEvents();
    ASSERT_TRUE(headless::pressHotkey(0, kBackQuote));
    loop::preciseWait(1000);
    std::vector<std::string> what;
    for (const auto& event : headless::targetEvents()) what.push_back(event.what);
    EXPECT_EQ(what, std::vector<std::string>{"copy"});
  };
  c().导入方式.select(static_cast<int>(table::ImportMode::Single));
  c().导入方式.onSelectionChanged();
  const int rows = window_->table().rowCount();
  pressWithNothingSelected();  // 万条复制: an import into the table
  EXPECT_EQ(window_->table().rowCount(), rows);

  openCollection("客户");
  pressWithNothingSelected();
  EXPECT_EQ(c().编辑框25.text(), "客户\r\n");

  c().图片框_探测.onMouseDown();
  desktop::setCursorPos({300, 200});
  c().图片框_探测.onMouseUp();
  c().按钮10.onClick();
  pressWithNothingSelected();  // 不同页粘贴: no click at the picked point either
}

// The picked window was closed and another lies at the point now: nothing
// is copied (nor cut), nothing clicked, and the bullseye is asked for again.
TEST_F(BackQuoteTest, TransferIntoAWindowGoneFromThePointPastesNothing) {
  c().选择框14.setChecked(true);
  c().图片框_探测.onMouseDown();
  desktop::setCursorPos({300, 200});
  c().图片框_探测.onMouseUp();
  c().按钮10.onClick();
  const std::size_t clicks = headless::clicks().size();
  headless::setWindowUnderCursor(0x5150);
  headless::clearTargetEvents();
  capture("x");
  EXPECT_EQ(headless::targetEvents(), std::vector<headless::TargetEvent>{});
  EXPECT_EQ(headless::clicks().size(), clicks);
  EXPECT_EQ(headless::targetFields()[0], "x");
  EXPECT_NE(window_->hints().气球提示框1.text().find("重新拖动靶心"), std::string::npos);

  headless::setWindowUnderCursor(headless::kTargetWindow);  // back, but the pick is gone
  capture("x");
  EXPECT_EQ(headless::clicks().size(), clicks);
  EXPECT_EQ(window_->hints().气球提示框1.text(), "●拖动靶心到粘贴窗口顶端区域！");
}

TEST_F(BackQuoteTest, TransferWithNoPickedPointCopiesAndClicksNothing) {
  c().按钮10.onClick();
  headless::clearTargetEvents();
  capture("x");
  EXPECT_EQ(headless::targetEvents(), std::vector<headless::TargetEvent>{});
  EXPECT_EQ(headless::clicks(), std::vector<Point>{});
  EXPECT_EQ(window_->hints().气球提示框1.text(), "●拖动靶心到粘贴窗口顶端区域！");
}

TEST_F(BackQuoteTest, SelectionCopyCopiesADragAndIsSwitchedOffByASecondPress) {
  c().按钮66.onClick();
  ASSERT_EQ(c().按钮66.text(), "关闭复制");
  headless::selectInTarget("dragged");
  desktop::setCursorPos({10, 10});
  headless::userMouseButton(desktop::MouseButton::Left, true);
  headless::userMoveMouse({80, 10});
  headless::userMouseButton(desktop::MouseButton::Left, false);
  loop::preciseWait(500);
  EXPECT_EQ(desktop::clipboardText(), "dragged");

  c().按钮66.onClick();
  EXPECT_EQ(c().按钮66.text(), "反撇号键粘贴");
  EXPECT_EQ(desktop::clipboardText(), "");
  headless::selectInTarget("again");
  headless::userMouseButton(desktop::MouseButton::Left, true);
  headless::userMoveMouse({10, 10});
  headless::userMouseButton(desktop::MouseButton::Left, false);
  loop::preciseWait(500);
  EXPECT_EQ(desktop::clipboardText(), "");  // the hook is gone
}

// With the cut option ticked a drag deletes what it copied; a drag over
// nothing selectable (a scroll bar, an empty spot) copies nothing, so the
// earlier text stays on the clipboard and no Delete removes a character.
TEST_F(BackQuoteTest, SelectionCopyCutsOnlyWhatADragCopied) {
  c().选择框14.setChecked(true);
  c().按钮66.onClick();
  const auto drag = [] {
    headless::clearTargetEvents();
    desktop::setCursorPos({10, 10});
    headless::userMouseButton(desktop::MouseButton::Left, true);
    headless::userMoveMouse({80, 10});
    headless::userMouseButton(desktop::MouseButton::Left, false);
    loop::preciseWait(500);
    std::vector<std::string> what;
    for (const auto& event : headless::targetEvents()) what.push_back(event.what);
    return what;
  };
  desktop::setClipboardText("earlier");
  EXPECT_EQ(drag(), std::vector<std::string>{"copy"});
  EXPECT_EQ(desktop::clipboardText(), "earlier");

  headless::selectInTarget("dragged");
  EXPECT_EQ(drag(), (std::vector<std::string>{"copy", "delete"}));
  EXPECT_EQ(desktop::clipboardText(), "dragged");
  EXPECT_EQ(headless::targetFields()[0], "");
}

}  // namespace
}  // namespace hf::copying
