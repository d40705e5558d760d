// The screenshot hotkey and the picture buttons beside the macro panel, in
// the main window on the headless backend: the user's hand on the capture
// windows is scheduled on the virtual clock before the hotkey is pressed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "capture/selection_geometry.h"
#include "picture/bmp.h"
#include "platform/event_loop.h"
#include "platform/headless/popup_simulation.h"
#include "platform/keys.h"
#include "screenshot/capture_files.h"
#include "screenshot/picture_buttons.h"

namespace hf::screenshot {
namespace {

namespace fs = std::filesystem;
using ui::MouseButton;

constexpr int kF2 = 0x71, kF3 = 0x72, kF4 = 0x73, kF9 = 0x78;

// ---- The rules, as plain values ----

TEST(CaptureFileRules, DateTimeTextEndsAtTheLastNonZeroTimeField) {
  const struct {
    desktop::LocalTime time;
    std::string text;
  } cases[] = {
      {{2019, 12, 12, 12, 5, 0}, "2019年12月12日12时5分"},
      {{2019, 12, 12, 12, 5, 7}, "2019年12月12日12时5分7秒"},
      {{2019, 12, 12, 12, 0, 7}, "2019年12月12日12时0分7秒"},
      {{2020, 1, 2, 9, 0, 0}, "2020年1月2日9时"},
      {{2020, 1, 2, 0, 0, 0}, "2020年1月2日"},
      {{2020, 1, 2, 0, 30, 0}, "2020年1月2日0时30分"},
  };
  for (const auto& c : cases) EXPECT_EQ(dateTimeText(c.time), c.text) << c.text;
}

TEST(CaptureFileRules, OnlyDataBeyondATenthOfAKilobyteCountsAsACapture) {
  const struct {
    std::size_t bytes;
    bool counts;
  } cases[] = {{0, false}, {54, false}, {102, false}, {103, true}, {6220854, true}};
  for (const auto& c : cases) EXPECT_EQ(countsAsCapture(c.bytes), c.counts) << c.bytes;
  // The headers of an empty picture, and a picture of 4 x 3 pixels (90 bytes), stay below.
  EXPECT_FALSE(countsAsCapture(picture::encodeBmp24(Bitmap()).size()));
  EXPECT_FALSE(countsAsCapture(picture::encodeBmp24(Bitmap(4, 3)).size()));
  EXPECT_TRUE(countsAsCapture(picture::encodeBmp24(Bitmap(5, 4)).size()));
}

TEST(CaptureFileRules, ATakenNameGetsTheFirstFreeSuffix) {
  const fs::path folder = fs::path(::testing::TempDir()) / "capture-names";
  fs::remove_all(folder);
  fs::create_directories(folder);
  const std::string stem = "2019年12月12日8时";
  auto first = freeCaptureFile(folder, stem);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->name, stem + ".bmp");
  EXPECT_EQ(first->path, folder / codec::pathFromGbk(stem + ".bmp"));
  for (const char* taken : {".bmp", "_2.bmp"})
    files::replaceWhole(folder / codec::pathFromGbk(stem + taken), "x");
  auto third = freeCaptureFile(folder, stem);
  ASSERT_TRUE(third);
  EXPECT_EQ(third->name, stem + "_3.bmp");
  fs::remove_all(folder);
}

TEST(PreviewDrag, TheBoxMovesWithTheMouseAndStaysInside) {
  const Rect box{290, 332, 131, 101};
  const Size bounds{460, 627};
  const struct {
    int dx, dy;
    Rect expected;
  } cases[] = {
      {0, 0, box},
      {-30, 20, {260, 352, 131, 101}},
      {-1000, -1000, {0, 0, 131, 101}},
      {1000, 1000, {460 - 131, 627 - 101, 131, 101}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(draggedWithin(box, c.dx, c.dy, bounds), c.expected) << c.dx << "," << c.dy;
  // A box larger than the bounds keeps its left and top edges on theirs.
  EXPECT_EQ(draggedWithin({5, 5, 500, 700}, 10, 10, bounds), (Rect{0, 0, 500, 700}));
}

// ---- The hotkey and the buttons in the main window ----

// A screen where every pixel differs from its neighbours.
Bitmap patternedScreen() {
  Bitmap screen(1920, 1080);
  for (int y = 0; y < screen.height; ++y)
    for (int x = 0; x < screen.width; ++x)
      screen.at(x, y) = Bitmap::pack(
          {std::uint8_t(x % 256), std::uint8_t(y % 256), std::uint8_t(x / 256 * 16 + y / 256)});
  return screen;
}

// The part of the picture within the edges, both included.
Bitmap part(const Bitmap& picture, capture::Edges corners) {
  Bitmap piece(corners.right - corners.left + 1, corners.bottom - corners.top + 1);
  for (int y = 0; y < piece.height; ++y)
    for (int x = 0; x < piece.width; ++x)
      piece.at(x, y) = picture.at(corners.left + x, corners.top + y);
  return piece;
}

// Same size and the same pixels.
testing::AssertionResult samePicture(const Bitmap& actual, const Bitmap& expected) {
  if (actual.width != expected.width || actual.height != expected.height)
    return testing::AssertionFailure() << actual.width << "x" << actual.height << " instead of "
                                       << expected.width << "x" << expected.height;
  if (actual.pixels != expected.pixels) return testing::AssertionFailure() << "other pixels";
  return testing::AssertionSuccess();
}

class ScreenshotTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    headless::paintScreen({0, 0}, screen);
    app::MainWindow& w = start();
    c = &w.controls();
  }
  app::MainWindow& w() { return *window_; }

  // Types the hotkey into the box and loads the hotkeys (unloading them first when loaded).
  void loadScreenshotHotkey(const std::string& hotkey = "F9") {
    c->截图.setText(hotkey);
    if (c->加载热键.text() == "卸载热键") c->加载热键.onClick();
    c->加载热键.onClick();
  }
  // Macro mode: the recorder switched on shows the record table.
  void switchRecorderOn() {
    c->记录.setText("F2");
    c->模拟.setText("F3");
    c->停止.setText("F4");
    c->按钮5.onClick();
    ASSERT_TRUE(w().macroPanel().recordTableShown());
  }

  // The user's hand on whichever capture window is in front at virtual time `at`.
  static void user(std::int64_t at, std::function<void(ui::Popup&)> act) {
    headless::at(at, [act] {
      if (ui::Popup* popup = headless::popupInFront()) act(*popup);
    });
  }
  // Drags out the selection from one corner to the other and double-clicks inside it.
  static void selectAndSave(std::int64_t at, capture::Edges corners) {
    const Point from{corners.left, corners.top}, to{corners.right, corners.bottom};
    const Point inside{(from.x + to.x) / 2, (from.y + to.y) / 2};
    user(at, [=](auto& p) { headless::mouseDown(p, MouseButton::Left, from); });
    user(at + 10, [=](auto& p) { headless::mouseMove(p, to); });
    user(at + 20, [=](auto& p) { headless::mouseUp(p, MouseButton::Left, to); });
    user(at + 30, [=](auto& p) { headless::mouseDown(p, MouseButton::Left, inside); });
    user(at + 35, [=](auto& p) { headless::mouseUp(p, MouseButton::Left, inside); });
    user(at + 40, [=](auto& p) { headless::doubleClick(p, inside); });
    user(at + 45, [=](auto& p) { headless::mouseUp(p, MouseButton::Left, inside); });
  }
  static void pressEsc(std::int64_t at) {
    user(at, [](auto& p) { headless::keyDown(p, keys::kEscape); });
  }

  // The pictures in a folder of the program folder, by name.
  std::vector<std::string> picturesIn(const std::string& gbkFolder) const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(file(gbkFolder)))
      names.push_back(codec::utf16ToGbk(entry.path().filename().u16string()));
    std::sort(names.begin(), names.end());
    return names;
  }
  Bitmap pictureIn(const std::string& gbkFolder, const std::string& name) const {
    const std::string bytes = read(gbkFolder + "/" + name);
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    return picture::parseBmp(std::span(data, bytes.size())).value_or(Bitmap());
  }
  std::string imageEntry(const std::string& gbkFolder, const std::string& name) const {
    return "#" + codec::utf16ToGbk((file(gbkFolder) / codec::pathFromGbk(name)).u16string());
  }

  const Bitmap screen = patternedScreen();
  app::MainControls* c = nullptr;
};

TEST_F(ScreenshotTest, ACaptureInTableModeKeepsTheSelectedPixelsAsAnImageEntry) {
  write("保存A.txt", "甲★");
  c->打开A.onClick();
  loadScreenshotHotkey();
  const std::int64_t t0 = loop::nowMs();
  const capture::Edges corners{100, 200, 139, 229};
  selectAndSave(t0 + 100, corners);
  bool heldTheRunState = false;
  headless::at(t0 + 120, [&] { heldTheRunState = !w().engine().idle(); });
  pressEsc(t0 + 1000);  // the next capture of the series
  ASSERT_TRUE(headless::pressHotkey(0, kF9));

  const auto names = picturesIn("截图");
  ASSERT_EQ(names.size(), 1u);
  EXPECT_EQ(names[0].rfind("2019年12月12日8时", 0), 0u) << names[0];
  EXPECT_TRUE(samePicture(pictureIn("截图", names[0]), part(screen, corners)));
  ASSERT_EQ(w().table().rowCount(), 2);
  EXPECT_EQ(w().table().cell(1, table::DataTable::kNumber), "2");
  EXPECT_EQ(w().table().cell(1, table::DataTable::kEntry), imageEntry("截图", names[0]));
  EXPECT_EQ(read("保存A.txt"), "甲★" + imageEntry("截图", names[0]) + "★");
  EXPECT_TRUE(heldTheRunState);
  EXPECT_TRUE(w().engine().idle());
  EXPECT_FALSE(w().screenshot().seriesRunning());
  EXPECT_EQ(desktop::clipboardText(), "");
  EXPECT_EQ(headless::popupInFront(), nullptr);
}

// Run from a folder whose path holds "#", a capture's entry would be cut
// apart there: the picture is kept, no row is made, a hint says why and the
// series ends.
TEST_F(ScreenshotTest, AProgramFolderHoldingAHashMakesNoRowAndSaysWhy) {
  const fs::path hashed = folder_ / codec::pathFromGbk("C#工具");
  fs::create_directories(hashed);
  window_.reset();
  headless::reset(hashed);
  headless::paintScreen({0, 0}, screen);
  c = &start().controls();
  loadScreenshotHotkey();
  const std::int64_t t0 = loop::nowMs();
  selectAndSave(t0 + 100, {100, 200, 139, 229});
  pressEsc(t0 + 1000);
  ASSERT_TRUE(headless::pressHotkey(0, kF9));

  EXPECT_EQ(w().table().rowCount(), 0);
  EXPECT_EQ(std::distance(fs::directory_iterator(hashed / codec::pathFromGbk("截图")),
                          fs::directory_iterator()),
            1);
  EXPECT_NE(w().hints().气球提示框1.text().find("C#工具"), std::string::npos);
  EXPECT_FALSE(w().screenshot().seriesRunning());
}

TEST_F(ScreenshotTest, TwoCapturesInOneSecondKeepBothPictures) {
  loadScreenshotHotkey();
  headless::setLocalTime({2019, 12, 12, 9, 30, 0});
  const std::int64_t t0 = loop::nowMs();
  const capture::Edges first{10, 10, 29, 29}, second{300, 400, 349, 419};
  selectAndSave(t0 + 50, first);
  selectAndSave(t0 + 400, second);
  pressEsc(t0 + 750);
  ASSERT_TRUE(headless::pressHotkey(0, kF9));
  ASSERT_LT(loop::nowMs() - t0, 1000);

  EXPECT_EQ(picturesIn("截图"),
            (std::vector<std::string>{"2019年12月12日9时30分.bmp", "2019年12月12日9时30分_2.bmp"}));
  EXPECT_TRUE(samePicture(pictureIn("截图", "2019年12月12日9时30分.bmp"), part(screen, first)));
  EXPECT_TRUE(samePicture(pictureIn("截图", "2019年12月12日9时30分_2.bmp"), part(screen, second)));
  ASSERT_EQ(w().table().rowCount(), 2);
  EXPECT_EQ(w().table().cell(0, table::DataTable::kEntry),
            imageEntry("截图", "2019年12月12日9时30分.bmp"));
  EXPECT_EQ(w().table().cell(1, table::DataTable::kEntry),
            imageEntry("截图", "2019年12月12日9时30分_2.bmp"));
}

// Esc, or a right click with no selection, closes a capture: the series ends
// there, keeping what it had saved, and the next press starts a new one.
TEST_F(ScreenshotTest, ACancelledCaptureEndsTheSeries) {
  loadScreenshotHotkey();
  std::int64_t t0 = loop::nowMs();
  pressEsc(t0 + 100);
  ASSERT_TRUE(headless::pressHotkey(0, kF9));
  EXPECT_LT(loop::nowMs() - t0, 1000);
  EXPECT_TRUE(picturesIn("截图").empty());
  EXPECT_EQ(w().table().rowCount(), 0);
  EXPECT_FALSE(w().screenshot().seriesRunning());
  EXPECT_TRUE(w().engine().idle());

  t0 = loop::nowMs();
  selectAndSave(t0 + 50, {10, 10, 29, 29});
  user(t0 + 600, [](auto& p) {
    headless::mouseDown(p, MouseButton::Right, {700, 700});
    headless::mouseUp(p, MouseButton::Right, {700, 700});
  });
  ASSERT_TRUE(headless::pressHotkey(0, kF9));
  EXPECT_EQ(picturesIn("截图").size(), 1u);
  EXPECT_EQ(w().table().rowCount(), 1);
  EXPECT_EQ(headless::popupInFront(), nullptr);
}

TEST_F(ScreenshotTest, TheStopHotkeyClosesTheOpenCaptureAndEndsTheSeries) {
  switchRecorderOn();
  c->按钮15.onClick();  // back to table mode, the macro hotkeys stay registered
  ASSERT_FALSE(w().macroPanel().recordTableShown());
  loadScreenshotHotkey();
  const std::int64_t t0 = loop::nowMs();
  selectAndSave(t0 + 50, {10, 10, 29, 29});
  headless::at(t0 + 500, [] { headless::pressHotkey(0, kF4); });
  ASSERT_TRUE(headless::pressHotkey(0, kF9));
  EXPECT_LT(loop::nowMs() - t0, 1000);
  EXPECT_EQ(w().table().rowCount(), 1);
  EXPECT_EQ(headless::popupInFront(), nullptr);
  EXPECT_FALSE(w().screenshot().seriesRunning());
  EXPECT_TRUE(w().engine().idle());
}

TEST_F(ScreenshotTest, NoCaptureOpensWhileAPasteRunGoesOnAndAHintSaysWhy) {
  loadScreenshotHotkey();
  ASSERT_TRUE(w().engine().startOutsideRun());  // as an automatic paste run holds it
  ASSERT_TRUE(headless::pressHotkey(0, kF9));
  EXPECT_EQ(headless::popupInFront(), nullptr);
  EXPECT_EQ(w().hints().气球提示框1.text(), "●正在粘贴，停止后再截图！");
  EXPECT_FALSE(w().screenshot().seriesRunning());
  w().engine().finishOutsideRun();
}

TEST_F(ScreenshotTest, ACaptureInMacroModeBecomesAFindImageStepAfterTheSelectedStep) {
  switchRecorderOn();
  loadScreenshotHotkey();
  w().recordTable().replaceAll(
      {{"1", "鼠标", "左键按下", "513", "5", "6", "100"}, {"2", "按键", "A", "65", "", "", "80"}});
  w().recordTable().selectRow(0);
  const std::int64_t t0 = loop::nowMs();
  const capture::Edges corners{500, 300, 559, 319};
  selectAndSave(t0 + 50, corners);
  ASSERT_TRUE(headless::pressHotkey(0, kF9));

  const auto names = picturesIn("找图");
  ASSERT_EQ(names.size(), 1u);
  EXPECT_TRUE(samePicture(pictureIn("找图", names[0]), part(screen, corners)));
  const macro::RecordTable& steps = w().recordTable();
  ASSERT_EQ(steps.rowCount(), 3);
  EXPECT_EQ(steps.steps()[1], (macro::Step{"2", "找图", names[0], "", "", "", "200"}));
  EXPECT_EQ(steps.cell(2, macro::kNumber), "3");
  EXPECT_EQ(steps.selectedRow(), 1);
  EXPECT_NE(read("数据1.txt").find(names[0]), std::string::npos);
  EXPECT_TRUE(picturesIn("截图").empty());
  EXPECT_EQ(w().table().rowCount(), 0);
}

TEST_F(ScreenshotTest, MacroModeOffFullSpeedOnlySaysSo) {
  switchRecorderOn();
  loadScreenshotHotkey();
  c->组合框65.select(52);  // "50"
  const std::int64_t t0 = loop::nowMs();
  bool captureOpened = false;
  headless::at(t0 + 10, [&] { captureOpened = headless::popupInFront() != nullptr; });
  ASSERT_TRUE(headless::pressHotkey(0, kF9));
  headless::advance(100);
  EXPECT_FALSE(captureOpened);
  EXPECT_EQ(w().hints().气球提示框1.text(), "●设置为100！");
  EXPECT_EQ(w().recordTable().rowCount(), 0);
}

TEST_F(ScreenshotTest, PressingTheBoxReleasesTheHotkeyForANewOne) {
  loadScreenshotHotkey();
  ASSERT_NE(w().hotkeys().screenshot, 0);
  c->截图.onMouseDown();
  EXPECT_EQ(w().hotkeys().screenshot, 0);
  EXPECT_FALSE(headless::pressHotkey(0, kF9));
  EXPECT_EQ(w().hints().气球提示框1.text(), "●已卸载截图热键！");
  EXPECT_EQ(w().hints().气球提示框2.text(), "●设置完后，点击加载热键！");

  c->截图.setText("");
  c->截图.onMouseDown();
  EXPECT_EQ(w().hints().气球提示框1.text(), "●请设置截图快捷键！");
}

TEST_F(ScreenshotTest, LoadingEmptiesABoxWhoseHotkeyIsTakenAndKeepsAFreeOne) {
  const struct {
    const char* name;
    std::function<void(app::MainWindow&)> before;
    bool kept;
  } cases[] = {
      {"free", [](app::MainWindow&) {}, true},
      {"a row's hotkey",
       [](app::MainWindow& w) {
         w.table().appendRow("甲");
         w.table().setCell(0, table::DataTable::kHotkey, "F9");
       },
       false},
      {"held by another program", [](app::MainWindow&) { headless::holdHotkeyElsewhere(0, kF9); },
       false},
  };
  for (const auto& k : cases) {
    TearDown();  // a fresh desktop and window for each case
    SetUp();
    k.before(w());
    loadScreenshotHotkey();
    EXPECT_EQ(c->截图.text(), k.kept ? "F9" : "") << k.name;
    EXPECT_EQ(w().hotkeys().screenshot != 0, k.kept) << k.name;
  }
}

TEST_F(ScreenshotTest, ClearingFindImagesAsksFirstAndWorksInMacroModeOnly) {
  write("找图/a.bmp", "a");
  c->按钮16.onClick();  // table mode: nothing asked, nothing removed
  EXPECT_TRUE(headless::questionsAsked().empty());
  switchRecorderOn();
  headless::answerNextQuestion(false);
  c->按钮16.onClick();
  EXPECT_EQ(headless::questionsAsked(),
            std::vector<std::string>{"提示：|确定清空【找图】文件夹的图片吗？"});
  EXPECT_EQ(picturesIn("找图"), std::vector<std::string>{"a.bmp"});

  headless::answerNextQuestion(true);
  c->按钮16.onClick();
  EXPECT_TRUE(fs::is_directory(file("找图")));
  EXPECT_TRUE(picturesIn("找图").empty());
}

TEST_F(ScreenshotTest, TheToggleSwitchesModesOnlyWhileTheRecorderIsOn) {
  c->按钮15.onClick();
  EXPECT_FALSE(w().macroPanel().recordTableShown());
  EXPECT_EQ(c->按钮15.text(), "显示");

  switchRecorderOn();
  EXPECT_EQ(c->按钮15.text(), "隐藏");
  c->图片框6.setVisible(true);
  c->按钮15.onClick();
  EXPECT_FALSE(w().macroPanel().recordTableShown());
  EXPECT_EQ(c->按钮15.text(), "显示");
  EXPECT_FALSE(c->图片框6.isVisible());

  c->图片框4.setVisible(true);
  c->图片框4.setPicture(Image::PickerBullseye);
  c->按钮15.onClick();
  EXPECT_TRUE(w().macroPanel().recordTableShown());
  EXPECT_EQ(c->按钮15.text(), "隐藏");
  EXPECT_FALSE(c->图片框4.isVisible());
  EXPECT_EQ(c->图片框4.picture(), Image::None);
}

TEST_F(ScreenshotTest, ThePreviewFollowsTheMouseFromPressToRelease) {
  const Rect home = c->图片框4.rect();
  desktop::setCursorPos({1000, 600});
  c->图片框4.onMouseDown();
  c->图片框4.onMouseMove({970, 620});
  EXPECT_EQ(c->图片框4.rect(), (Rect{home.left - 30, home.top + 20, home.width, home.height}));
  c->图片框4.onMouseUp();
  c->图片框4.onMouseMove({0, 0});
  EXPECT_EQ(c->图片框4.rect(), (Rect{home.left - 30, home.top + 20, home.width, home.height}));
}

// In the image-and-text modes with the cut option ticked, selecting a row
// shows its picture; a file that is missing or no picture only says so.
TEST_F(ScreenshotTest, TheRowPreviewShowsAnEntrysPictureAndSaysWhenItCannot) {
  Bitmap picture(7, 5);
  for (std::size_t i = 0; i < picture.pixels.size(); ++i) picture.pixels[i] = 0x010203 * (i + 1);
  const picture::BmpData bmp = picture::encodeBmp24(picture);
  write("截图/good.bmp", std::string(bmp.begin(), bmp.end()));
  write("截图/broken.bmp", "BM not really a picture");
  for (const char* name : {"good.bmp", "broken.bmp", "missing.bmp"})
    w().table().appendRow(imageEntry("截图", name));
  w().table().appendRow("plain text");
  c->组合框66.select(static_cast<int>(paste::PasteMode::ImageText));
  c->组合框66.onSelectionChanged();
  c->选择框14.setChecked(true);
  const auto select = [&](int row) {
    w().table().setCurrentRow(row);
    c->超级列表框1.onSelectionChanged();
  };

  select(0);
  EXPECT_TRUE(c->图片框4.isVisible());
  EXPECT_TRUE(samePicture(c->图片框4.bitmap(), picture));
  for (int row : {1, 2}) {
    select(row);
    EXPECT_FALSE(c->图片框4.isVisible()) << row;
    EXPECT_TRUE(c->图片框4.bitmap().empty()) << row;
    EXPECT_EQ(w().hints().气球提示框1.text().rfind("●图片无法打开：", 0), 0u) << row;
  }
  select(0);
  select(3);
  EXPECT_FALSE(c->图片框4.isVisible());
}

}  // namespace
}  // namespace hf::screenshot
