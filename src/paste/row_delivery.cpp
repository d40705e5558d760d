#include "paste/row_delivery.h"

#include <iterator>

#include "input/key_actions.h"
#include "paste/composite_entries.h"
#include "platform/event_loop.h"
#include "platform/screen.h"
#include "platform/text_codec.h"

namespace hf::paste {
namespace {

using Column = table::DataTable::Column;

// The presses after the entry, from the row's column 2 and column 4.
using input::Delivery;
using CellStep = void (Delivery::*)(std::string_view);
struct SeparatorSteps {
  CellStep fromTabsCell;
  CellStep fromEnterCell;
};
constexpr SeparatorSteps kSeparatorSteps[] = {
    {&Delivery::tabRun, &Delivery::enterFlag},
    {&Delivery::scanTabRun, &Delivery::scanEnterFlag},
    {nullptr, &Delivery::enterRun},
    {&Delivery::rightRun, &Delivery::downRun},
};
static_assert(std::size(kSeparatorSteps) == static_cast<std::size_t>(Separators::None));

}  // namespace

// Puts the entry into the target in the mode's style: false when the
// clipboard stayed busy and nothing was pasted.
bool RowDelivery::deliverEntry(Style style, std::string_view entry) {
  switch (style) {
    case Style::Clipboard:
      return delivery_.clipboard(entry);
    case Style::ScanClipboard:
      return delivery_.scanClipboard(entry);
    case Style::Characters:
      delivery_.characters(target_, entry);
      return true;
    case Style::ForcedTyping:
      return delivery_.forcedTyping(entry);
    case Style::Items:
      return delivery_.clipboard(entry);
    case Style::None:
      break;
  }
  return true;
}

// Delivers the entry of `entryRow` in the mode's style, followed by the
// mode's separator runs from the cells of `settingsRow`; false when the
// clipboard stayed busy and nothing was pasted.
bool RowDelivery::deliver(PasteMode mode, int entryRow, int settingsRow) {
  const PasteModeTraits& traits = traitsOf(mode);
  const std::string entry = table_.cell(entryRow, Column::kEntry);
  if (traits.style == Style::Items && isCompositeEntry(entry))
    return deliverItems(traits, entry, settingsRow);
  if (!deliverEntry(traits.style, entry)) return false;
  deliverSeparators(traits, settingsRow);
  return true;
}

void RowDelivery::deliverSeparators(const PasteModeTraits& traits, int settingsRow) {
  if (traits.pauseRowWaitsLonger && table_.cell(settingsRow, Column::kPause) == kPauseWord)
    loop::pause(delivery_.interval());
  const SeparatorSteps& steps = kSeparatorSteps[static_cast<int>(traits.separators)];
  if (steps.fromTabsCell) (delivery_.*steps.fromTabsCell)(table_.cell(settingsRow, Column::kTabs));
  (delivery_.*steps.fromEnterCell)(table_.cell(settingsRow, Column::kEnter));
}

// Each item is followed by the row's separators, so a row of items fills a
// row of fields; a picture that cannot be read leaves its field empty.
bool RowDelivery::deliverItems(const PasteModeTraits& traits, std::string_view entry,
                               int settingsRow) {
  for (const EntryItem& item : entryItems(entry)) {
    if (item.kind == EntryItem::Kind::Text) {
      if (!delivery_.clipboard(item.text)) return false;
    } else if (!deliverPicture(item.text, traits.trigger == Trigger::ChosenByHotkey)) {
      return false;
    }
    deliverSeparators(traits, settingsRow);
  }
  return true;
}

// False only when the clipboard stayed busy.
bool RowDelivery::deliverPicture(const std::string& path, bool waitFirst) {
  if (waitFirst) loop::pause(delivery_.interval());
  const auto picture = screen::decodePictureFile(codec::pathFromGbk(path));
  loop::pause(delivery_.interval());
  if (!picture) {
    hints_.show(hints_.气球提示框1, hintAnchor_, 18, "●图片无法读取，已跳过：" + path);
    return true;
  }
  if (!screen::setClipboardBitmap(*picture)) return false;
  loop::pause(delivery_.interval());
  input::ctrlV();
  return true;
}

}  // namespace hf::paste
