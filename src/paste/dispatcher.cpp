#include "paste/dispatcher.h"

namespace hf::paste {

void HotkeyDispatcher::dispatch(int id) {
  if (id == 0) return;
  if (id == hotkeys_.screenshot) return run(routes.screenshot);
  if (id == hotkeys_.backQuote) {
    if (!fields_.选择框11) return run(routes.backQuoteAction);
    if (fields_.组合框1 == 0 || fields_.组合框1 == 1) run(routes.captureImport);
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
  const int copyMode = fields_.组合框1;
  if (controls_.按钮1.color() == app::kHighlightColor && (copyMode == 0 || copyMode == 2))
    engine_.paste(slot);
  else if (controls_.按钮102.color() == app::kHighlightColor && (copyMode == 1 || copyMode == 2))
    engine_.pasteMarked();
}

}  // namespace hf::paste
