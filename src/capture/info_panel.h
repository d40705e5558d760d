#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/bitmap.h"
#include "platform/geometry.h"

// The capture window's info panel: a small picture in a corner of the screen
// that shows the colour under the cursor and what the mouse does next. It
// slides in from above when the window opens and jumps to the other side of
// the screen when the cursor comes onto it.
namespace hf::capture {

inline constexpr Size kPanelSize{172, 146};
inline constexpr Point kPanelHome{10, 10};  // where the slide ends
inline constexpr int kPanelSlideSteps = 34;
inline constexpr int kPanelSlideStep = 5;   // pixels down per step
inline constexpr int kPanelSlidePause = 8;  // milliseconds between steps
inline constexpr int kPanelLineHeight = 12;

// The panel's left edge once the cursor has come onto it: 8 pixels from the
// screen's edge on the side away from the cursor.
int dodgedPanelLeft(Point cursor, int screenWidth);

// The colour under the cursor, each component right-aligned in three places.
std::string pixelLine(Rgb color);

// What the user is doing, which decides the panel's instructions.
enum class Stage {
  Idle,       // no selection, button up
  Selecting,  // button held, no selection yet
  Selected,   // a selection exists
};
std::vector<std::string> instructions(Stage stage);

// The text cut into rows no wider than `width` by the measure, between
// characters; a row holds at least one character.
std::vector<std::string> wrapped(std::string_view gbk, int width,
                                 const std::function<int(std::string_view)>& measure);

// A row of panel text and its top, in panel coordinates.
struct PanelRow {
  int top = 0;
  std::string text;
  friend bool operator==(const PanelRow&, const PanelRow&) = default;
};
// The instructions top-down from 52, each wrapped to `width` in rows of 12
// pixels, with 10 pixels between one instruction and the next.
std::vector<PanelRow> layoutInstructions(const std::vector<std::string>& lines, int width,
                                         const std::function<int(std::string_view)>& measure);

// The panel's background: a blue gradient with a band along the top that
// holds a small landscape icon (174 x 147; the panel shows its top-left part).
Bitmap panelBackground();
// The title drawn in the band, and where its text starts.
inline constexpr std::string_view kPanelTitle = "截图";
inline constexpr Point kPanelTitleAt{28, 5};

}  // namespace hf::capture
