#pragma once

#include "feedback/hints.h"
#include "platform/ui.h"

namespace hf::macro {

// The replay speed `组合框65`: a percentage of the recorded delays. Steps are
// recorded, saved and edited at 100 only, so the slot files always hold the
// delays as recorded.
class SpeedSelector {
 public:
  struct Controls {
    ui::DropDown& 组合框65;
  };
  SpeedSelector(Controls controls, feedback::Hints& hints) : c_(controls), hints_(hints) {}

  int percent() const;
  bool atFullSpeed() const;
  // True at 100; otherwise says "●设置为100！" at the selector.
  bool requireFullSpeed();
  const ui::Control& box() const { return c_.组合框65; }

 private:
  Controls c_;
  feedback::Hints& hints_;
};

}  // namespace hf::macro
