#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "feedback/hints.h"
#include "paste/hotkeys.h"
#include "paste/paste_modes.h"
#include "paste/working_modes.h"
#include "platform/desktop.h"
#include "platform/ui.h"

namespace hf::paste {

// The one receiver of every global hotkey: it decides from the id which
// action runs. A handler that pauses lets the next hotkey in, so a second
// press arrives here while the first one's run is still going.
class HotkeyDispatcher {
 public:
  // The actions of the fixed-purpose hotkeys; an unset one does nothing.
  struct Routes {
    std::function<void()> screenshot;
    std::function<void()> captureImport;    // back-quote key while importing into the table
    std::function<void()> backQuoteAction;  // back-quote key in the other working modes
    std::function<void()> record;
    std::function<void()> replay;
    std::function<void()> stop;
  };

  // The hint about a back-quote press left unserved points at backQuoteAnchor.
  HotkeyDispatcher(HotkeyRegistry& hotkeys, const WorkingModes& modes, PasteEngine& engine,
                   feedback::Hints& hints, const ui::Control& backQuoteAnchor)
      : hotkeys_(hotkeys),
        modes_(modes),
        engine_(engine),
        hints_(hints),
        backQuoteAnchor_(backQuoteAnchor) {}

  Routes routes;

  void dispatch(int id);

 private:
  static void run(const std::function<void()>& action) {
    if (action) action();
  }
  void pasteAction(int id);
  void backQuote();
  void runBackQuote();
  void refuseBackQuote();

  // A back-quote press waiting for the capture before it to end.
  struct WaitingPress {
    std::int64_t at = 0;
    desktop::WindowId window = 0;  // in front when it was pressed
  };

  HotkeyRegistry& hotkeys_;
  const WorkingModes& modes_;
  PasteEngine& engine_;
  feedback::Hints& hints_;
  const ui::Control& backQuoteAnchor_;
  bool capturing_ = false;
  std::optional<WaitingPress> waiting_;
};

// How long a back-quote press may wait for the capture before it.
inline constexpr int kBackQuoteWaitMs = 2000;

}  // namespace hf::paste
