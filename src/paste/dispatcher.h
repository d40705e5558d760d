#pragma once

#include <functional>

#include "paste/hotkeys.h"
#include "paste/paste_modes.h"
#include "paste/working_modes.h"

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

  HotkeyDispatcher(HotkeyRegistry& hotkeys, const WorkingModes& modes, PasteEngine& engine)
      : hotkeys_(hotkeys), modes_(modes), engine_(engine) {}

  Routes routes;

  void dispatch(int id);

 private:
  static void run(const std::function<void()>& action) {
    if (action) action();
  }
  void pasteAction(int id);
  void backQuote();

  HotkeyRegistry& hotkeys_;
  const WorkingModes& modes_;
  PasteEngine& engine_;
  bool capturing_ = false;
  int backQuotesWaiting_ = 0;
};

}  // namespace hf::paste
