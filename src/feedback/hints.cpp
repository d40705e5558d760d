#include "feedback/hints.h"

namespace hf::feedback {

void Hints::show(ui::BalloonTip& tip, const ui::Control& anchor, int dx, std::string_view text,
                 int dy) {
  const Rect at = anchor.rect();
  showAt(tip, at.left + dx, at.top + dy, text);
}

void Hints::showAt(ui::BalloonTip& tip, int dx, int dy, std::string_view text) {
  const Rect frame = window_.frameRect();
  tip.show({frame.left + window_.scaled(dx), frame.top + window_.scaled(dy)}, text);
}

}  // namespace hf::feedback
