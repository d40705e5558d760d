#pragma once

#include <optional>

#include "feedback/hints.h"
#include "macro/macro_panel.h"
#include "platform/desktop.h"

namespace hf::paste {

// The bullseye `图片框_探测`: the user drags it onto another program's window
// and lets go. The release point becomes the target point; it is clicked
// once, and the window then in front is made topmost.
class TargetPicker {
 public:
  struct Controls {
    ui::Window& window;           // its cursor while dragging
    ui::PictureBox& 图片框_探测;  // the bullseye
    ui::PictureBox& 图片框2;      // the picked colour
  };
  TargetPicker(Controls controls, feedback::Hints& hints, const macro::MacroPanel& macroPanel)
      : c_(controls), hints_(hints), macroPanel_(macroPanel) {}

  void press();
  void release();
  // The release while the record table is shown picks a colour instead: the
  // drag ends and its point, also the new target point, is given back;
  // nothing when no drag was under way.
  std::optional<Point> endColourPick();
  // The point the last pick chose (`编辑框21`, `编辑框23`), where a click goes.
  Point targetPoint() const { return target_; }
  // Whether the user has picked a point since the program started.
  bool picked() const { return picked_; }
  // Whether the window picked at the point still lies there: a click would
  // not reach another one that took its place.
  bool pickedWindowStillThere() const;
  // The pick no longer holds: the next use asks for a new one.
  void forget() { picked_ = false; }

  // The colour swatch: the picked colour, or nothing for the window's own background.
  void showPickedColour(std::optional<Rgb> color) { c_.图片框2.setBackground(color); }

 private:
  void endDrag();
  void pickAt(Point point);

  Controls c_;
  feedback::Hints& hints_;
  const macro::MacroPanel& macroPanel_;
  Point target_;
  desktop::WindowId pickedWindow_ = 0;  // the top-level window at target_ when picked
  bool picked_ = false;
  bool dragging_ = false;
};

}  // namespace hf::paste
