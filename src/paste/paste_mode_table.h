#pragma once

#include <array>
#include <cstddef>
#include <iterator>
#include <optional>

#include "table/enum_table.h"

// What each paste mode does, in one place: the dispatcher, the runs, the
// working modes and the table's editors look a mode up here instead of
// testing its number.
namespace hf::paste {

// The items of the paste-mode selector `组合框66`, in its order.
enum class PasteMode {
  ManualHorizontal,     // 手动横向粘贴
  AutoHorizontal,       // 自动横向粘贴
  AutoHorizontalScan,   // 自动横向粘贴(内部网)
  RandomHorizontal,     // 随机横向粘贴
  ManualVertical,       // 手动纵向粘贴
  AutoVerticalEnter,    // 自动纵向粘贴（回车键）
  AutoVerticalArrows,   // 自动纵向粘贴(↓)
  AutoForcedTyping,     // 自动账号强制粘贴
  WebForced,            // 网页强制粘贴
  AutoWebForced,        // 自动网页强制粘贴
  AllMarked,            // 勾选项全部粘贴
  MultiHotkey,          // 多热键粘贴
  ImageText,            // 单快捷键图文粘贴
  ImageTextAuto,        // 单快捷键自动图文粘贴
  ImageTextArrows,      // 单快捷键图文粘贴(↓)
  ImageTextAutoArrows,  // 单快捷键自动图文粘贴(↓)
  ImageTextMultiHotkey  // 多快捷键图文粘贴
};

// What one press does.
enum class Trigger {
  Manual,          // delivers the current row and moves on
  Automatic,       // delivers row after row until a "暂停" row, the end or a second press
  Random,          // delivers every row once per cycle, in random order
  AllMarked,       // pastes every marked row at once, as a grid
  ChosenByHotkey,  // delivers the row of the pressed hotkey's slot
};

// How the entry itself reaches the target. Items: an entry holding "#" goes
// item by item, pictures as pictures, each followed by the separators;
// any other entry as Clipboard.
enum class Style { Clipboard, ScanClipboard, Characters, ForcedTyping, Items, None };

// The presses after the entry, from the row's cells.
enum class Separators {
  TabsThenEnterFlag,      // column 2 Tabs, one Enter when column 4 reads "回车"
  ScanTabsThenEnterFlag,  // the same by scan codes
  EnterRun,               // column 4 Enters
  ArrowRuns,              // column 2 Rights, column 4 Downs
  None,
};

// What choosing the mode does to the working mode.
enum class OnChoice { Nothing, SwitchToMassCopy, PressOrderedCopy };

// Titles of columns 2 and 4 and the widths of columns 1 to 4.
struct ColumnLayout {
  const char* tabsTitle;
  const char* enterTitle;  // nullptr: unchanged
  std::array<int, 4> widths;
};

struct PasteModeTraits {
  PasteMode mode;  // the row's own mode, checked against its place below
  const char* name;
  Trigger trigger;
  Style style = Style::None;
  Separators separators = Separators::None;
  bool capturesTarget = false;       // remembers the window under the cursor at the press
  bool pictures = false;             // delivers pictures with text (the image-and-text modes)
  bool countsEnterPresses = false;   // column 4 is a number of presses, not the word "回车"
  bool underOrderedCopy = false;     // works on marked rows under 有序复制
  int markedRunFirstPause = 0;       // first pause of a marked-rows run; 0: the interval
  bool pauseRowWaitsLonger = false;  // a "暂停" row waits an interval more before its separators
  bool markedRunWaitsAfterRow = false;  // a marked-rows run waits an interval after each row
  OnChoice onChoice = OnChoice::Nothing;
  ColumnLayout layout;
};

namespace detail {
inline constexpr ColumnLayout kHorizontal{"跳格", "回车", {181, 40, 0, 40}};
inline constexpr ColumnLayout kHorizontalAuto{"跳格", "回车", {141, 40, 40, 40}};
inline constexpr ColumnLayout kArrowsAuto{"→", "↓", {141, 40, 40, 40}};
constexpr auto kClipboard = Style::Clipboard;
constexpr auto kCharacters = Style::Characters;
constexpr auto kItems = Style::Items;
constexpr auto kTabs = Separators::TabsThenEnterFlag;
constexpr auto kMassCopy = OnChoice::SwitchToMassCopy;
}  // namespace detail

// clang-format off
inline constexpr PasteModeTraits kPasteModes[] = {
    {.mode = PasteMode::ManualHorizontal,
     .name = "手动横向粘贴", .trigger = Trigger::Manual, .style = detail::kClipboard,
     .separators = detail::kTabs, .underOrderedCopy = true, .layout = detail::kHorizontal},
    {.mode = PasteMode::AutoHorizontal,
     .name = "自动横向粘贴", .trigger = Trigger::Automatic, .style = detail::kClipboard,
     .separators = detail::kTabs, .underOrderedCopy = true, .layout = detail::kHorizontalAuto},
    {.mode = PasteMode::AutoHorizontalScan,
     .name = "自动横向粘贴(内部网)", .trigger = Trigger::Automatic, .style = Style::ScanClipboard,
     .separators = Separators::ScanTabsThenEnterFlag, .onChoice = detail::kMassCopy,
     .layout = detail::kHorizontalAuto},
    {.mode = PasteMode::RandomHorizontal,
     .name = "随机横向粘贴", .trigger = Trigger::Random, .style = detail::kClipboard,
     .separators = detail::kTabs, .onChoice = detail::kMassCopy, .layout = detail::kHorizontalAuto},
    {.mode = PasteMode::ManualVertical,
     .name = "手动纵向粘贴", .trigger = Trigger::Manual, .style = detail::kClipboard,
     .separators = Separators::EnterRun, .countsEnterPresses = true, .underOrderedCopy = true,
     .layout = {"回车", "回车", {221, 0, 0, 40}}},
    {.mode = PasteMode::AutoVerticalEnter,
     .name = "自动纵向粘贴（回车键）", .trigger = Trigger::Automatic, .style = detail::kClipboard,
     .separators = Separators::EnterRun, .countsEnterPresses = true, .underOrderedCopy = true,
     .markedRunFirstPause = 50, .pauseRowWaitsLonger = true,
     .layout = {"回车", "回车", {181, 0, 40, 40}}},
    {.mode = PasteMode::AutoVerticalArrows,
     .name = "自动纵向粘贴(↓)", .trigger = Trigger::Automatic, .style = detail::kCharacters,
     .separators = Separators::ArrowRuns, .capturesTarget = true, .countsEnterPresses = true,
     .underOrderedCopy = true, .markedRunFirstPause = 30, .layout = detail::kArrowsAuto},
    {.mode = PasteMode::AutoForcedTyping,
     .name = "自动账号强制粘贴", .trigger = Trigger::Automatic, .style = Style::ForcedTyping,
     .separators = detail::kTabs, .onChoice = detail::kMassCopy, .layout = detail::kHorizontalAuto},
    {.mode = PasteMode::WebForced,
     .name = "网页强制粘贴", .trigger = Trigger::Manual, .style = detail::kCharacters,
     .separators = detail::kTabs, .capturesTarget = true, .underOrderedCopy = true,
     .layout = detail::kHorizontal},
    {.mode = PasteMode::AutoWebForced,
     .name = "自动网页强制粘贴", .trigger = Trigger::Automatic, .style = detail::kCharacters,
     .separators = detail::kTabs, .capturesTarget = true, .underOrderedCopy = true,
     .markedRunWaitsAfterRow = true, .layout = detail::kHorizontalAuto},
    {.mode = PasteMode::AllMarked,
     .name = "勾选项全部粘贴", .trigger = Trigger::AllMarked, .style = detail::kClipboard,
     .underOrderedCopy = true, .onChoice = OnChoice::PressOrderedCopy,
     .layout = {"列数", nullptr, {221, 40, 0, 0}}},
    {.mode = PasteMode::MultiHotkey,
     .name = "多热键粘贴", .trigger = Trigger::ChosenByHotkey, .style = detail::kCharacters,
     .separators = detail::kTabs, .capturesTarget = true, .onChoice = detail::kMassCopy,
     .layout = detail::kHorizontal},
    {.mode = PasteMode::ImageText,
     .name = "单快捷键图文粘贴", .trigger = Trigger::Manual, .style = detail::kItems,
     .separators = detail::kTabs, .pictures = true, .onChoice = detail::kMassCopy,
     .layout = detail::kHorizontal},
    {.mode = PasteMode::ImageTextAuto,
     .name = "单快捷键自动图文粘贴", .trigger = Trigger::Automatic, .style = detail::kItems,
     .separators = detail::kTabs, .pictures = true, .onChoice = detail::kMassCopy,
     .layout = detail::kHorizontalAuto},
    {.mode = PasteMode::ImageTextArrows,
     .name = "单快捷键图文粘贴(↓)", .trigger = Trigger::Manual, .style = detail::kItems,
     .separators = Separators::ArrowRuns, .pictures = true, .countsEnterPresses = true,
     .onChoice = detail::kMassCopy, .layout = {"→", "↓", {181, 40, 0, 40}}},
    {.mode = PasteMode::ImageTextAutoArrows,
     .name = "单快捷键自动图文粘贴(↓)", .trigger = Trigger::Automatic, .style = detail::kItems,
     .separators = Separators::ArrowRuns, .pictures = true, .countsEnterPresses = true,
     .onChoice = detail::kMassCopy, .layout = detail::kArrowsAuto},
    {.mode = PasteMode::ImageTextMultiHotkey,
     .name = "多快捷键图文粘贴", .trigger = Trigger::ChosenByHotkey, .style = detail::kItems,
     .separators = detail::kTabs, .pictures = true, .onChoice = detail::kMassCopy,
     .layout = detail::kHorizontal},
};
// clang-format on
inline constexpr std::size_t kPasteModeCount = std::size(kPasteModes);

static_assert(table::rowsInEnumOrder(kPasteModes),
              "the paste-mode table lists every mode once, in the enum's order");

inline const PasteModeTraits& traitsOf(PasteMode mode) {
  return kPasteModes[static_cast<std::size_t>(mode)];
}

// The mode of a selector item; nothing for no selection.
inline std::optional<PasteMode> pasteModeAt(int item) {
  if (item < 0 || item >= static_cast<int>(kPasteModeCount)) return std::nullopt;
  return static_cast<PasteMode>(item);
}

}  // namespace hf::paste
