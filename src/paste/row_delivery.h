#pragma once

#include <string>
#include <string_view>

#include "feedback/hints.h"
#include "input/delivery.h"
#include "paste/paste_mode_table.h"
#include "platform/desktop.h"
#include "platform/ui.h"
#include "table/data_table.h"

namespace hf::paste {

// What delivering one row of the data table means in a paste mode: its
// entry in the mode's style (a composite entry item by item, pictures
// through the clipboard), then the separator presses its cells ask for.
// Which rows, and when, is the paste engine's business.
class RowDelivery {
 public:
  RowDelivery(const ui::Control& hintAnchor, feedback::Hints& hints, table::DataTable& table,
              input::Delivery& delivery)
      : hintAnchor_(hintAnchor), hints_(hints), table_(table), delivery_(delivery) {}

  // Remembers the window under the cursor as the target of posted characters.
  void captureTarget() { target_ = desktop::windowUnderCursor(); }
  // The entry of `entryRow` followed by the separator runs from the cells of
  // `settingsRow`; false when the clipboard stayed busy and nothing was pasted.
  bool deliver(PasteMode mode, int entryRow, int settingsRow);

 private:
  bool deliverEntry(Style style, std::string_view entry);
  void deliverSeparators(const PasteModeTraits& traits, int settingsRow);
  bool deliverItems(const PasteModeTraits& traits, std::string_view entry, int settingsRow);
  bool deliverPicture(const std::string& path, bool waitFirst);

  const ui::Control& hintAnchor_;  // the paste mode selector
  feedback::Hints& hints_;
  table::DataTable& table_;
  input::Delivery& delivery_;
  desktop::WindowId target_ = 0;  // where posted characters go (句柄1)
};

// The word in a row's 暂停 cell that ends an automatic run after that row.
inline constexpr std::string_view kPauseWord = "暂停";

}  // namespace hf::paste
