#include "paste/dispatcher.h"

namespace hf::paste {

void HotkeyDispatcher::dispatch(int id) {
  if (id == 0) return;
  if (id == hotkeys_.screenshot) return run(routes.screenshot);
  if (id == hotkeys_.backQuote) {
    if (!modes_.backQuoteImports()) return run(routes.backQuoteAction);
    if (modes_.copyMode() != CopyMode::Characters) run(routes.captureImport);
    return;
  }
  if (id == hotkeys_.record) return run(routes.record);
  if (id == hotkeys_.replay) return run(routes.replay);
  if (id == hotkeys_.stop) return run(routes.stop);
  pasteAction(id);
}

void HotkeyDispatcher::pasteAction(int id) {
  int slot = 0;
  for (int k = 1; k <= kCustomSlots; ++k)
    if (hotkeys_.custom[k - 1] == id) slot = k;
  const CopyMode copyMode = modes_.copyMode();
  if (modes_.massCopyChosen() && copyMode != CopyMode::Ordered)
    engine_.paste(slot);
  else if (modes_.orderedCopyChosen() && copyMode != CopyMode::Mass)
    engine_.pasteMarked();
}

}  // namespace hf::paste
