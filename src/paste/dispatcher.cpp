#include "paste/dispatcher.h"

#include "paste/flag_scope.h"

namespace hf::paste {

void HotkeyDispatcher::dispatch(int id) {
  if (id == 0) return;
  if (id == hotkeys_.screenshot) return run(routes.screenshot);
  if (id == hotkeys_.backQuote) return backQuote();
  if (id == hotkeys_.record) return run(routes.record);
  if (id == hotkeys_.replay) return run(routes.replay);
  if (id == hotkeys_.stop) return run(routes.stop);
  pasteAction(id);
}

// A back-quote press while an earlier capture is still going waits for it to
// end: two captures interleaved share the clipboard (and the Excel row), so
// one would take the other's text or lose its own.
void HotkeyDispatcher::backQuote() {
  ++backQuotesWaiting_;
  if (capturing_) return;
  const FlagScope capturing(capturing_);
  while (backQuotesWaiting_ > 0) {
    --backQuotesWaiting_;
    if (!modes_.backQuoteImports())
      run(routes.backQuoteAction);
    else if (modes_.copyMode() != CopyMode::Characters)
      run(routes.captureImport);
  }
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
