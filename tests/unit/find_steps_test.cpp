#include "recorder/find_steps.h"

#include <gtest/gtest.h>

#include "macro/find_steps.h"
#include "macro/slot_files.h"
#include "picture/bmp.h"
#include "picture/colour_search.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/text_codec.h"
#include "recorder_fixture.h"

namespace hf::recorder {
namespace {

using macro::Step;

TEST(FindStepRules, TheClickGoesToTheCentreOfThePictureFound) {
  const struct {
    const char* result;
    Size picture;
    std::optional<Point> centre;
  } cases[] = {
      {"0|100|50", {40, 20}, Point{120, 60}},
      {"0|100|50", {41, 21}, Point{120, 60}},  // halves truncated
      {"2|0|0", {1, 1}, Point{0, 0}},
      {"-1|-1|-1", {40, 20}, std::nullopt},
      {"", {40, 20}, std::nullopt},
      {"0|5", {40, 20}, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.result);
    EXPECT_EQ(macro::foundPictureCentre(c.result, c.picture), c.centre);
  }
}

TEST(FindStepRules, ThePreviewFollowsTheNameCell) {
  using macro::PreviewKind;
  const struct {
    const char* name;
    PreviewKind kind;
  } cases[] = {
      {"2019年12月12日8时.bmp", PreviewKind::Picture},
      {"a.bmp.png", PreviewKind::Picture},
      {"", PreviewKind::Point},
      {"左键按下", PreviewKind::Point},
      {"Ctrl+C", PreviewKind::Point},
      {"A.BMP", PreviewKind::Nothing},
      {"a.Bmp", PreviewKind::Nothing},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(macro::previewKindOf(c.name), c.kind);
  }
}

// A colour the screen keeps exactly through the capture's 16-bit pass.
constexpr Rgb kGreen{0x20, 0xA0, 0x40};

Bitmap pattern(int width, int height) {
  Bitmap picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      picture.at(x, y) = 0x102030u + std::uint32_t(x * 5) + (std::uint32_t(y * 7) << 8);
  return picture;
}

Step keyStep(const std::string& code, const std::string& delay = "1") {
  return {"", "按键", code, code, "", "", delay};
}
Step colourStep(Rgb colour, const std::string& delay = "1") {
  return {"", "找色", "", std::to_string(picture::colourOf(colour)), "", "", delay};
}
Step imageStep(const std::string& name, const std::string& delay = "1") {
  return {"", "找图", name, "", "", "", delay};
}

class FindStepsTest : public RecorderTest {
 protected:
  // A file of the 找图 folder, which start-up made.
  void writeFindImage(const std::string& gbkName, const std::string& bytes) {
    ASSERT_TRUE(files::replaceWhole(
        folder_ / codec::pathFromGbk("找图") / codec::pathFromGbk(gbkName), bytes));
  }
  void writePicture(const std::string& gbkName, const Bitmap& picture) {
    const picture::BmpData data = picture::encodeBmp24(picture);
    writeFindImage(gbkName, std::string(data.begin(), data.end()));
  }
  void startReplay() { ASSERT_TRUE(headless::pressHotkey(0, kF10)); }
  void pressStop() { ASSERT_TRUE(headless::pressHotkey(0, kF11)); }
  // The bullseye dragged to the point and let go there.
  void pickAt(Point at) {
    c().图片框_探测.onMouseDown();
    desktop::setCursorPos(at);
    c().图片框_探测.onMouseUp();
  }
  static std::vector<int> keysDown() {
    std::vector<int> out;
    for (const auto& event : headless::keyEvents())
      if (event.down) out.push_back(event.virtualKey);
    return out;
  }
  static std::int64_t firstKeyAt() {
    const auto events = headless::keyEvents();
    return events.empty() ? -1 : events.front().at;
  }
  const ui::BalloonTip& hint2() { return window_->hints().气球提示框2; }
};

TEST_F(FindStepsTest, APickedColourBecomesAStepThatTheReplayFinds) {
  headless::paintScreen({600, 400, 5, 5}, {0x33, 0x66, 0x99});
  pickAt({602, 402});
  // The value after the capture's 16-bit pass, as the search compares it.
  const picture::Colour picked = picture::colourOf({0x30, 0x60, 0x98});
  EXPECT_EQ(c().编辑框13.text(), std::to_string(picked));
  EXPECT_EQ(c().图片框2.background(), (std::optional<Rgb>(Rgb{0x30, 0x60, 0x98})));
  EXPECT_EQ(window_->findSteps().pickPoint(), (std::optional<Point>(Point{602, 402})));
  EXPECT_EQ(window_->picker().targetPoint(), (Point{602, 402}));
  EXPECT_TRUE(headless::clicks().empty());  // a colour pick clicks nothing
  EXPECT_TRUE(headless::topmostWindows().empty());
  EXPECT_EQ(window_->hints().气球提示框1.text(),
            "●如需其他软件窗口置前，\r\n\r\n  点击【隐藏】操作！");

  window_->recordTable().replaceAll({});
  c().取色确认1.onClick();
  ASSERT_EQ(window_->recordTable().rowCount(), 1);
  EXPECT_EQ(window_->recordTable().steps()[0],
            (Step{"1", "找色", "", std::to_string(picked), "", "", "200"}));
  EXPECT_TRUE(window_->recordTable().isChecked(0));
  EXPECT_EQ(window_->recordTable().selectedRow(), 0);
  EXPECT_EQ(macro::parseSlotFile(read("数据1.txt")), window_->recordTable().steps());

  desktop::setCursorPos({0, 0});
  startReplay();
  loop::preciseWait(1000);
  EXPECT_EQ(desktop::cursorPos(), (Point{600, 404}));  // lowest row, leftmost pixel
  EXPECT_TRUE(headless::clicks().empty());
  EXPECT_EQ(c().图片框2.background(), std::nullopt);  // a replay start clears the swatch
}

TEST_F(FindStepsTest, AddGoesAfterTheSelectedStepOrToTheTop) {
  loadSlot({keyStep("65"), keyStep("66")});
  pickAt({5, 5});
  window_->recordTable().selectRow(0);
  c().取色确认1.onClick();
  window_->recordTable().selectRow(-1);
  c().取色确认1.onClick();
  std::vector<std::string> kinds, numbers;
  for (const Step& step : window_->recordTable().steps()) {
    kinds.push_back(step[macro::kKind]);
    numbers.push_back(step[macro::kNumber]);
  }
  EXPECT_EQ(kinds, (std::vector<std::string>{"找色", "按键", "找色", "按键"}));
  EXPECT_EQ(numbers, (std::vector<std::string>{"1", "2", "3", "4"}));
  EXPECT_EQ(window_->recordTable().selectedRow(), 0);
}

TEST_F(FindStepsTest, AddRefusesWithAHint) {
  const auto hint = [&] { return window_->hints().气球提示框1.text(); };
  loadSlot({keyStep("65")});
  c().取色确认1.onClick();  // nothing picked yet
  EXPECT_EQ(hint(), "●拖动靶心到获取色值的位置！");
  pickAt({-10, 5});  // off the screen (a second monitor): no colour there
  EXPECT_EQ(c().编辑框13.text(), "-1");
  c().取色确认1.onClick();
  EXPECT_EQ(hint(), "●未取到颜色，请把靶心拖到主屏幕上！");
  pickAt({5, 5});
  c().组合框65.select(1);  // "50"
  c().取色确认1.onClick();
  EXPECT_EQ(hint(), "●设置为100！");
  c().组合框65.select(51);
  window_->macroPanel().showRecordTable(false);
  c().取色确认1.onClick();
  EXPECT_EQ(hint(), "●点击【显示】再操作！");
  EXPECT_EQ(window_->recordTable().rowCount(), 1);
}

TEST_F(FindStepsTest, AFindColourStepWaitsForTheColourAndRestsTheCursorOnIt) {
  loadSlot({colourStep(kGreen), keyStep("65")});
  headless::at(loop::nowMs() + 800, [] { headless::paintScreen({700, 400, 3, 3}, kGreen); });
  const std::int64_t start = loop::nowMs();
  startReplay();
  loop::preciseWait(2000);
  EXPECT_EQ(desktop::cursorPos(), (Point{700, 402}));
  EXPECT_TRUE(headless::clicks().empty());
  EXPECT_EQ(keysDown(), (std::vector<int>{65}));
  EXPECT_GE(firstKeyAt() - start, 800);            // the key waited for the colour
  EXPECT_LE(firstKeyAt() - start, 800 + 30 + 60);  // the next attempt found it
}

// A search slower than the pause between attempts (a large screen) is
// still followed by a whole pause, and the step after it keeps its delay.
TEST_F(FindStepsTest, ASlowColourSearchStillPausesBetweenAttempts) {
  constexpr int kGrabMs = 45;
  headless::setScreenGrabMs(kGrabMs);
  loadSlot({colourStep(kGreen), keyStep("65", "100")});
  headless::at(loop::nowMs() + 1000, [] { headless::paintScreen({700, 400, 3, 3}, kGreen); });
  startReplay();
  loop::preciseWait(3000);
  const std::vector<std::int64_t> grabs = headless::screenGrabTimes();
  ASSERT_GE(grabs.size(), 10u);
  for (std::size_t i = 1; i < grabs.size(); ++i)
    EXPECT_GE(grabs[i] - grabs[i - 1], kGrabMs + macro::kColourAttemptPauseMs) << "attempt " << i;
  ASSERT_EQ(keysDown(), (std::vector<int>{65}));
  EXPECT_GE(firstKeyAt() - (grabs.back() + kGrabMs), 100);
}

TEST_F(FindStepsTest, AStopEndsAWaitingFindStepAtItsNextAttempt) {
  writePicture("never.bmp", pattern(8, 8));
  for (const Step& waiting : {colourStep(kGreen), imageStep("never.bmp")}) {
    SCOPED_TRACE(waiting[macro::kKind]);
    loadSlot({waiting, keyStep("65")});
    startReplay();
    loop::preciseWait(500);
    ASSERT_TRUE(window_->replay().running());
    pressStop();
    loop::preciseWait(250);  // one image attempt: its delay and two intervals, and the search
    EXPECT_FALSE(window_->replay().running());
    EXPECT_TRUE(keysDown().empty());
    EXPECT_EQ(window_->hints().气球提示框1.text(), "●已停止模拟！");
  }
}

TEST_F(FindStepsTest, AFindImageStepClicksTheCentreOfThePictureOnTheScreen) {
  writePicture("按钮.bmp", pattern(40, 20));
  loadSlot({imageStep("按钮.bmp", "10"), keyStep("65")});
  desktop::setCursorPos({0, 0});
  headless::at(loop::nowMs() + 600, [] { headless::paintScreen({100, 50}, pattern(40, 20)); });
  const std::int64_t start = loop::nowMs();
  startReplay();
  loop::preciseWait(2000);
  EXPECT_EQ(headless::clicks(), (std::vector<Point>{{120, 60}}));
  EXPECT_EQ(keysDown(), (std::vector<int>{65}));
  EXPECT_GE(firstKeyAt() - start, 600);
}

// The capture of a large screen is found wherever it was taken, by the
// replay and by the instant preview.
TEST_F(FindStepsTest, APictureIsFoundAnywhereOnALargeScreen) {
  headless::changeScreenSize({3840, 2160});
  writePicture("右下.bmp", pattern(40, 20));
  headless::paintScreen({3790, 2130}, pattern(40, 20));
  loadSlot({imageStep("右下.bmp", "10")});
  startReplay();
  loop::preciseWait(1000);
  EXPECT_EQ(headless::clicks(), (std::vector<Point>{{3810, 2140}}));

  desktop::setCursorPos({0, 0});
  c().选择框16.setChecked(true);
  c().超级列表框2.selectRow(0);
  c().超级列表框2.onSelectionChanged();
  EXPECT_EQ(desktop::cursorPos(), (Point{3810, 2140}));
}

// The step reads its picture as the search does: a BMP with the 52-byte
// header of some writers (which the system decoder of the test backend
// refuses) is found and clicked.
TEST_F(FindStepsTest, AFindImageStepSearchesForThePictureItRead) {
  picture::BmpData bmp = picture::encodeBmp24(pattern(16, 8));
  bmp.insert(bmp.begin() + picture::kBmpHeadersSize, 12, 0);  // the header's three masks, unused
  const auto put = [&](std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bmp[at + i] = std::uint8_t(value >> (8 * i));
  };
  put(2, std::uint32_t(bmp.size()));
  put(10, 14 + 52);
  put(14, 52);
  writeFindImage("v2.bmp", std::string(bmp.begin(), bmp.end()));
  headless::paintScreen({500, 300}, pattern(16, 8));
  loadSlot({imageStep("v2.bmp", "10"), keyStep("65")});
  startReplay();
  loop::preciseWait(1000);
  EXPECT_EQ(headless::clicks(), (std::vector<Point>{{508, 304}}));
  EXPECT_EQ(keysDown(), (std::vector<int>{65}));
}

TEST_F(FindStepsTest, AMissingOrUnreadablePictureIsSaidAndTheReplayGoesOn) {
  writeFindImage("坏.bmp", "BM not a picture");
  // Rows cut short: the system decoder of the test backend reads zeros for
  // the missing bytes, the search's reader refuses it.
  const picture::BmpData whole = picture::encodeBmp24(pattern(8, 8));
  writeFindImage("短.bmp", std::string(whole.begin(), whole.end() - 40));
  const struct {
    const char* name;
    const char* hint;
  } cases[] = {{"没有.bmp", "●找图文件不存在：没有.bmp"},
               {"坏.bmp", "●找图图片无法读取：坏.bmp"},
               {"短.bmp", "●找图图片无法读取：短.bmp"},
               {"", "●找图文件不存在："}};
  std::size_t keys = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.hint);
    loadSlot({imageStep(c.name, "10"), keyStep("65")});
    const std::int64_t start = loop::nowMs();
    startReplay();
    loop::preciseWait(1000);
    EXPECT_EQ(hint2().text(), c.hint);
    ASSERT_EQ(keysDown().size(), ++keys);
    // Skipped in the first attempt (the start's two intervals, then the
    // step's delay and an interval), not after a second one (another 110 ms).
    EXPECT_LT(headless::keyEvents().back().at - start, 50 + 50 + 10 + 50 + 1 + 50);
    EXPECT_TRUE(headless::clicks().empty());
  }
}

TEST_F(FindStepsTest, ClosingDuringAWaitingFindImageStepEndsTheWorkerFirst) {
  writePicture("later.bmp", pattern(10, 10));
  loadSlot({imageStep("later.bmp"), keyStep("65")});
  startReplay();
  loop::preciseWait(300);
  ASSERT_TRUE(window_->replay().running());
  window_->window().close();
  EXPECT_FALSE(window_->replay().running());
  headless::paintScreen({300, 300}, pattern(10, 10));
  loop::preciseWait(1000);
  EXPECT_TRUE(headless::clicks().empty());
  EXPECT_TRUE(keysDown().empty());
}

TEST_F(FindStepsTest, TheInstantPreviewShowsWhereASelectedStepActs) {
  writePicture("图.bmp", pattern(40, 20));
  headless::paintScreen({300, 200}, pattern(40, 20));
  headless::paintScreen({50, 60, 2, 2}, kGreen);
  loadSlot({imageStep("图.bmp"),
            {"", "鼠标", "左键按下", "513", "11", "22", "1"},
            colourStep(kGreen),
            imageStep("A.BMP")});
  desktop::setCursorPos({0, 0});
  ui::ListView& list = c().超级列表框2;
  const auto select = [&](int row) {
    list.selectRow(row);
    list.onSelectionChanged();
  };
  select(1);  // the box is clear: no preview
  EXPECT_EQ(desktop::cursorPos(), (Point{0, 0}));

  c().选择框16.onMouseDown();
  EXPECT_EQ(window_->hints().气球提示框1.text(),
            "●勾选，可以鼠标点击记录表中某行即时显示模拟状态！");
  c().选择框16.setChecked(true);
  select(0);
  EXPECT_TRUE(c().图片框6.isVisible());
  EXPECT_EQ(c().图片框6.bitmap().pixels, pattern(40, 20).pixels);
  EXPECT_EQ(desktop::cursorPos(), (Point{320, 210}));
  select(1);
  EXPECT_FALSE(c().图片框6.isVisible());
  EXPECT_EQ(desktop::cursorPos(), (Point{11, 22}));
  select(2);
  EXPECT_EQ(desktop::cursorPos(), (Point{50, 61}));
  select(3);
  EXPECT_EQ(desktop::cursorPos(), (Point{50, 61}));
  EXPECT_TRUE(headless::clicks().empty());  // a preview never clicks
  EXPECT_TRUE(list.hasFocus());

  select(0);
  ASSERT_TRUE(c().图片框6.isVisible());
  c().编辑框13.focus();  // the record table loses the focus
  EXPECT_FALSE(c().图片框6.isVisible());
}

TEST_F(FindStepsTest, ThePreviewBoxNeedsTheRecordTable) {
  window_->macroPanel().showRecordTable(false);
  c().选择框16.onMouseDown();
  EXPECT_TRUE(c().选择框16.isChecked());  // the click that follows clears it
  EXPECT_EQ(window_->hints().气球提示框1.text(), "●请开启zira再操作！");
}

// The worker reads the steps through the UI thread while the user ticks,
// edits and deletes rows of both tables; ThreadSanitizer watches.
TEST_F(FindStepsTest, AReplayRunsWhileTheUserEditsBothTables) {
  writePicture("p.bmp", pattern(6, 6));
  headless::paintScreen({400, 300}, pattern(6, 6));
  headless::paintScreen({10, 10, 1, 1}, kGreen);
  std::vector<Step> steps;
  for (int i = 0; i < 8; ++i) {
    steps.push_back(keyStep(std::to_string(65 + i), "20"));
    steps.push_back(i % 2 ? colourStep(kGreen, "5") : imageStep("p.bmp", "5"));
  }
  loadSlot(steps);
  c().组合框64.select(2);  // "3"
  window_->table().appendRows({"a", "b", "c", "d", "e", "f"});
  macro::RecordTable& record = window_->recordTable();
  table::DataTable& data = window_->table();
  const std::int64_t now = loop::nowMs();
  for (int t = 0; t < 60; ++t)
    headless::at(now + 15 + t * 37, [&, t] {
      const int row = t % std::max(1, record.rowCount());
      c().超级列表框2.onCheckClicked(row);
      record.setCell(row, macro::kDelay, std::to_string(5 + t % 7));
      if (t % 9 == 8) record.deleteStep(row);
      const int dataRow = t % std::max(1, data.rowCount());
      data.setCell(dataRow, 1, "x" + std::to_string(t));
      data.setMarked(dataRow, t % 2 == 0);
      if (t % 5 == 4) data.deleteRow(0);
      if (t % 5 == 0) data.appendRow("new");
    });
  startReplay();
  loop::preciseWait(8000);
  EXPECT_FALSE(window_->replay().running());
  EXPECT_FALSE(keysDown().empty());
  EXPECT_FALSE(headless::clicks().empty());
  EXPECT_EQ(c().透明标签17.text(), "第3次");
}

}  // namespace
}  // namespace hf::recorder
