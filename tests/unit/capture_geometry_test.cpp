// The region capture's rules as values: handles, hit regions, drags, arrow
// keys, clamping, the cursor info box and the info panel's layout.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "capture/info_panel.h"
#include "capture/selection_geometry.h"
#include "platform/keys.h"

namespace {

using namespace hf::capture;
using hf::Cursor;
using hf::Point;
using hf::Rect;
using hf::Size;

TEST(CaptureSelection, DraggedInAnyDirectionItNormalisesToTheSameEdges) {
  const Edges expected{10, 20, 30, 40};
  for (const Edges dragged : {Edges{10, 20, 30, 40}, Edges{30, 40, 10, 20}, Edges{30, 20, 10, 40},
                              Edges{10, 40, 30, 20}}) {
    EXPECT_EQ(normalised(dragged), expected);
  }
  EXPECT_EQ(pixelsOf(Edges{10, 20, 10, 40}), (Rect{10, 20, 1, 21})) << "one pixel wide";
}

TEST(CaptureSelection, HandlesSitOnCornersAndMiddlesHalvedTowardZero) {
  EXPECT_EQ(handleCentres({100, 100, 201, 161}), (std::array<Point, 8>{Point{100, 100},
                                                                       {150, 100},
                                                                       {201, 100},
                                                                       {100, 130},
                                                                       {201, 130},
                                                                       {100, 161},
                                                                       {150, 161},
                                                                       {201, 161}}));
  // (-5 + 0) / 2 is -2, not -3.
  EXPECT_EQ(handleCentres({-5, -3, 0, 0})[1], (Point{-2, -3}));
  EXPECT_EQ(handleCentres({-5, -3, 0, 0})[3], (Point{-5, -1}));
  EXPECT_EQ(handleSquare({50, 60}), (Rect{48, 58, 5, 5}));
}

TEST(CaptureSelection, HitRegionsAndTheirCursors) {
  const Edges selection{100, 100, 200, 160};  // middles at x 150, y 130
  struct Case {
    Point at;
    Region region;
    Cursor cursor;
  };
  const std::vector<Case> cases = {
      {{200, 160}, Region::BottomRight, Cursor::SizeNwse},
      {{202, 162}, Region::BottomRight, Cursor::SizeNwse},  // handles include their border
      {{203, 160}, Region::None, Cursor::CaptureArrow},
      {{98, 98}, Region::TopLeft, Cursor::SizeNwse},
      {{102, 100}, Region::TopLeft, Cursor::SizeNwse},
      {{103, 100}, Region::Top, Cursor::SizeNs},  // the edge line, clear of the corner
      {{150, 98}, Region::Top, Cursor::SizeNs},   // its handle, above the edge
      {{130, 99}, Region::None, Cursor::CaptureArrow},
      {{197, 100}, Region::Top, Cursor::SizeNs},
      {{198, 100}, Region::TopRight, Cursor::SizeNesw},
      {{100, 103}, Region::Left, Cursor::SizeWe},
      {{100, 157}, Region::Left, Cursor::SizeWe},
      {{100, 158}, Region::BottomLeft, Cursor::SizeNesw},
      {{202, 130}, Region::Right, Cursor::SizeWe},
      {{200, 110}, Region::Right, Cursor::SizeWe},
      {{150, 160}, Region::Bottom, Cursor::SizeNs},
      {{120, 160}, Region::Bottom, Cursor::SizeNs},
      {{150, 159}, Region::Bottom, Cursor::SizeNs},  // its handle, inside
      {{120, 159}, Region::Inside, Cursor::SizeAll},
      {{101, 140}, Region::Inside, Cursor::SizeAll},
      {{99, 140}, Region::None, Cursor::CaptureArrow},
      {{150, 161}, Region::Bottom, Cursor::SizeNs},
      {{120, 161}, Region::None, Cursor::CaptureArrow},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.at.x << "," << c.at.y);
    EXPECT_EQ(hitTest(selection, c.at), c.region);
    EXPECT_EQ(cursorOver(hitTest(selection, c.at)), c.cursor);
  }
  // Where the handles of a small selection overlap, bottom-right comes first.
  EXPECT_EQ(hitTest({100, 100, 103, 103}, {101, 101}), Region::BottomRight);
  EXPECT_EQ(hitTest({100, 100, 103, 103}, {99, 99}), Region::TopLeft);
  EXPECT_EQ(hitTest({100, 100, 103, 103}, {104, 99}), Region::TopRight);
}

TEST(CaptureSelection, ADragChangesTheGrabbedEdgesOrMovesTheWhole) {
  const Edges start{100, 100, 200, 160};
  const Point at{90, 170};
  const Point anchor{100, 100};
  const Point press{150, 130};
  struct Case {
    Region region;
    Edges expected;
  };
  const std::vector<Case> cases = {
      {Region::TopLeft, {90, 170, 200, 160}},  // past the bottom: inverted until release
      {Region::Top, {100, 170, 200, 160}},
      {Region::TopRight, {100, 170, 90, 160}},
      {Region::Left, {90, 100, 200, 160}},
      {Region::Right, {100, 100, 90, 160}},
      {Region::BottomLeft, {90, 100, 200, 170}},
      {Region::Bottom, {100, 100, 200, 170}},
      {Region::BottomRight, {100, 100, 90, 170}},
      {Region::Inside, {40, 140, 140, 200}},  // by (-60, +40), same size
      {Region::None, start},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.region));
    EXPECT_EQ(dragged(start, c.region, at, anchor, press), c.expected);
  }
}

TEST(CaptureSelection, ArrowKeysMoveItOnePixelUnclamped) {
  const Edges start{0, 0, 9, 9};
  EXPECT_EQ(nudged(start, hf::keys::kLeft), (Edges{-1, 0, 8, 9}));
  EXPECT_EQ(nudged(start, hf::keys::kUp), (Edges{0, -1, 9, 8}));
  EXPECT_EQ(nudged(start, hf::keys::kRight), (Edges{1, 0, 10, 9}));
  EXPECT_EQ(nudged(start, hf::keys::kDown), (Edges{0, 1, 9, 10}));
  EXPECT_EQ(nudged(start, hf::keys::kHome), std::nullopt);
}

TEST(CaptureSelection, WhatIsSavedIsThePartOnTheScreen) {
  const Size screen{640, 480};
  struct Case {
    Edges selection;
    std::optional<Edges> saved;
  };
  const std::vector<Case> cases = {
      {{10, 20, 30, 40}, Edges{10, 20, 30, 40}},
      {{-3, -2, 30, 40}, Edges{0, 0, 30, 40}},
      {{600, 450, 700, 500}, Edges{600, 450, 639, 479}},
      {{639, 479, 639, 479}, Edges{639, 479, 639, 479}},
      {{-20, 10, -1, 30}, std::nullopt},   // entirely left of the screen
      {{10, 480, 30, 500}, std::nullopt},  // entirely below it
  };
  for (const Case& c : cases) EXPECT_EQ(clampedTo(c.selection, screen), c.saved);
}

TEST(CaptureInfoBox, StaysOnTheScreenSideWhereItFits) {
  const Size screen{1280, 800};
  struct Case {
    Point cursor;
    Point origin;
  };
  const std::vector<Case> cases = {
      {{500, 83}, {508, 91}},      // near the top: below the cursor
      {{500, 84}, {508, 4}},       // otherwise above it
      {{1210, 400}, {1218, 320}},  // right of the cursor while 70 from the edge
      {{1211, 400}, {1147, 320}},  // then left of it
  };
  for (const Case& c : cases) EXPECT_EQ(infoBoxOrigin(c.cursor, screen), c.origin);
  EXPECT_EQ(infoBoxFrame({508, 91}), (Rect{505, 88, 58, 78}));
}

TEST(CaptureInfoBox, ANumberOfFourDigitsLosesItsLinesClosingBracket) {
  EXPECT_EQ(infoBoxLines({5, 6, 1003, 106}, {999, 50}),
            (std::array<std::string, 6>{"顶点位置", "(5,6)", "矩形大小", "(999,101)", "光标坐标",
                                        "(999,50)"}));
  EXPECT_EQ(infoBoxLines({5, 6, 1004, 106}, {1000, 50})[3], "(1000,101");
  EXPECT_EQ(infoBoxLines({5, 6, 1004, 106}, {1000, 50})[5], "(1000,50");
  EXPECT_EQ(infoBoxLines({7, 7, 7, 7}, {7, 7})[3], "(1,1)");
}

TEST(CapturePanel, DodgesToTheOtherSideAndShowsTheColourInFixedPlaces) {
  EXPECT_EQ(dodgedPanelLeft({639, 50}, 1280), 1280 - 172 - 8);
  EXPECT_EQ(dodgedPanelLeft({640, 50}, 1280), 8);
  EXPECT_EQ(pixelLine({0, 5, 255}), "·当前像素RGB(  0,  5,255)");
  EXPECT_EQ(pixelLine({10, 100, 130}), "·当前像素RGB( 10,100,130)");
}

// Characters as wide as they are high, single bytes half that: the layout
// then puts each instruction where the panel's picture expects it.
int fixedWidth(std::string_view gbk) {
  int width = 0;
  for (std::size_t i = 0; i < gbk.size(); ++i) {
    const bool wide = static_cast<unsigned char>(gbk[i]) >= 0x80;
    width += wide ? 12 : 6;
    if (wide) ++i;
  }
  return width;
}

TEST(CapturePanel, InstructionsWrapIntoRowsTenPixelsApart) {
  const auto tops = [](Stage stage) {
    std::vector<int> found;
    for (const PanelRow& row : layoutInstructions(instructions(stage), 162, fixedWidth))
      found.push_back(row.top);
    return found;
  };
  EXPECT_EQ(tops(Stage::Selected), (std::vector<int>{52, 64, 86, 98, 120}));
  EXPECT_EQ(tops(Stage::Selecting), (std::vector<int>{52, 74}));
  EXPECT_EQ(tops(Stage::Idle), (std::vector<int>{52, 64, 86}));
}

TEST(CapturePanel, WrappingCutsBetweenCharactersAndKeepsOneAtLeast) {
  EXPECT_EQ(wrapped("截取范围", 30, fixedWidth), (std::vector<std::string>{"截取", "范围"}));
  EXPECT_EQ(wrapped("截ab取", 24, fixedWidth), (std::vector<std::string>{"截ab", "取"}));
  EXPECT_EQ(wrapped("截取", 5, fixedWidth), (std::vector<std::string>{"截", "取"}));
  EXPECT_EQ(wrapped("", 100, fixedWidth), (std::vector<std::string>{""}));
}

}  // namespace
