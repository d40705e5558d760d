// Files dropped on controls: the handler a control registers and the user's
// drop that reaches it.
#include "platform/headless/simulation.h"
#include "platform/headless/widget_state.h"

namespace hf::ui {

void Control::acceptDroppedFiles(
    std::function<void(const std::vector<std::filesystem::path>& paths)> onDrop) {
  impl_->onFilesDropped = std::move(onDrop);
}

}  // namespace hf::ui

namespace hf::headless {

bool dropFiles(ui::Control& target, const std::vector<std::filesystem::path>& paths) {
  const auto& impl = target.impl();
  // A hidden or disabled control is not where a drop lands.
  if (!impl.onFilesDropped || !impl.visible || !impl.enabled) return false;
  auto handler = impl.onFilesDropped;  // the handler may replace itself
  handler(paths);
  return true;
}

}  // namespace hf::headless
