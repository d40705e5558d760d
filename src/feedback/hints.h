#pragma once

#include <string_view>

#include "platform/ui.h"

namespace hf::feedback {

// The three balloon tips that show the program's short hints. A hint sits
// at (window left + anchor left + dx, window top + anchor top + dy).
class Hints {
  ui::Window& window_;  // first: the tips below are built on it

 public:
  explicit Hints(ui::Window& window) : window_(window) {}

  void show(ui::BalloonTip& tip, const ui::Control& anchor, int dx, std::string_view text,
            int dy = 30);
  // At an offset from the window's top left corner.
  void showAt(ui::BalloonTip& tip, int dx, int dy, std::string_view text);

  ui::BalloonTip 气球提示框1{window_};
  ui::BalloonTip 气球提示框2{window_};
  ui::BalloonTip 气球提示框3{window_};
};

}  // namespace hf::feedback
