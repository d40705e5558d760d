#include "macro/speed_selector.h"

#include "text/numbers.h"

namespace hf::macro {

int SpeedSelector::percent() const {
  return text::toInt(c_.组合框65.text());
}

bool SpeedSelector::atFullSpeed() const {
  return c_.组合框65.text() == "100";
}

bool SpeedSelector::requireFullSpeed() {
  if (atFullSpeed()) return true;
  hints_.show(hints_.气球提示框1, c_.组合框65, 18, "●设置为100！");
  return false;
}

}  // namespace hf::macro
