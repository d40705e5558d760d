#pragma once

#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "platform/geometry.h"
#include "platform/ui.h"

// Test control of the popups of the headless backend: the user's mouse and
// keys on a popup, and what it shows. Text is drawn as one filled box per
// character, inside the character's cell; a character is half as wide as it
// is high, a double-byte one as wide as high.
namespace hf::headless {

// The popup the user sees: the one shown last that is still open.
ui::Popup* popupInFront();

// The user presses, lets go of or moves the mouse at a screen point; the
// cursor goes there. Each reaches the popup only while it is open: false
// otherwise.
bool mouseDown(ui::Popup& popup, ui::MouseButton button, Point at);
bool mouseUp(ui::Popup& popup, ui::MouseButton button, Point at);
bool mouseMove(ui::Popup& popup, Point at);
// The second press of a left double click (the first is a mouseDown and mouseUp).
bool doubleClick(ui::Popup& popup, Point at);
bool keyDown(ui::Popup& popup, int virtualKey);
// The system asks the popup to close; true when it did.
bool askToClose(ui::Popup& popup);

// The picture the popup showed after its last paint, and the texts drawn in it.
const Bitmap& shownPicture(const ui::Popup& popup);
struct ShownText {
  Point at;
  std::string text;  // GBK
  Rgb color;
  int height = 0;
  friend bool operator==(const ShownText&, const ShownText&) = default;
};
const std::vector<ShownText>& shownTexts(const ui::Popup& popup);
int paintCount(const ui::Popup& popup);
bool hasMouseCaptured(const ui::Popup& popup);

}  // namespace hf::headless
