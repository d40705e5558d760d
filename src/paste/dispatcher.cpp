#include "paste/dispatcher.h"

#include "paste/flag_scope.h"
#include "platform/event_loop.h"

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
// one would take the other's text or lose its own. One press at most waits,
// and only while it can still be served in time, in the window it was made
// in; any other is dropped with a hint, so that no copy goes out late into
// whatever has the focus by then (an office application that hangs holds a
// capture up to its time limit).
void HotkeyDispatcher::backQuote() {
  const WaitingPress press{loop::nowMs(), desktop::foregroundWindow()};
  if (capturing_) {
    if (waiting_) return refuseBackQuote();
    waiting_ = press;
    return;
  }
  const FlagScope capturing(capturing_);
  runBackQuote();
  while (waiting_) {
    const WaitingPress next = *waiting_;
    waiting_.reset();
    if (loop::nowMs() - next.at > kBackQuoteWaitMs || desktop::foregroundWindow() != next.window)
      refuseBackQuote();
    else
      runBackQuote();
  }
}

void HotkeyDispatcher::runBackQuote() {
  if (!modes_.backQuoteImports())
    run(routes.backQuoteAction);
  else if (modes_.copyMode() != CopyMode::Characters)
    run(routes.captureImport);
}

void HotkeyDispatcher::refuseBackQuote() {
  hints_.show(hints_.气球提示框1, backQuoteAnchor_, 16, "●上一次复制还未完成，这次按键未执行！");
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
