#pragma once

#include "app/hidden_fields.h"
#include "app/main_controls.h"
#include "feedback/hints.h"

namespace hf::paste {

// The bullseye `图片框_探测`: the user drags it onto another program's window
// and lets go. The release point becomes the target point; it is clicked
// once, and the window then in front is made topmost.
class TargetPicker {
 public:
  TargetPicker(app::MainControls& controls, app::HiddenFields& fields, feedback::Hints& hints)
      : controls_(controls), fields_(fields), hints_(hints) {}

  void press();
  void release();

 private:
  void endDrag();

  app::MainControls& controls_;
  app::HiddenFields& fields_;
  feedback::Hints& hints_;
  bool dragging_ = false;
};

}  // namespace hf::paste
