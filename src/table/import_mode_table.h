#pragma once

#include <cstddef>
#include <iterator>
#include <string_view>

#include "table/enum_table.h"

// What each import mode does, in one place: the selector's items, the
// importer, the back-quote capture and the same-page collection look a mode
// up here instead of testing its number.
namespace hf::table {

// The items of the import-mode selector, in order: the value is the item index.
enum class ImportMode {
  TableHeading,     // "↓--万条|有序--↓", imports nothing
  CustomSeparator,  // 自定义分割符录入
  Single,           // 单次录入
  DroppedImages,    // 鼠标拖图片录入
  ExcelTabs,        // Excel制表符录入
  Spaces,           // 空格分割录入
  EachCharacter,    // 逐字分割录入
  Letters,          // 字母(保留)分割录入
  Digits,           // 数字(保留)分割录入
  SamePageHeading,  // "↓---同页粘贴---↓", imports nothing
  LeftAcross,       // 取字符串左边(横向)
  RightAcross,      // 取字符串右边(横向)
  LeftDown,         // 取字符串左边(纵向)
  RightDown,        // 取字符串右边(纵向)
};

// Where the imported text comes from: a dropped file (or the dropped paths)
// or the back-quote capture of a selection.
enum class ImportSource { Drop, Capture };

// What the mode fills: nothing (a heading), the data table, or the editor of
// a same-page collection.
enum class ImportKind { Heading, Table, SamePage };

// How a table mode cuts a text into rows.
enum class Split {
  None,
  Whole,            // the text is one row
  DroppedPaths,     // one picture item per dropped path; a drop is not read as a file
  CustomSeparator,  // at the separator text and at line breaks
  Tabs,             // at tabs and line breaks
  Spaces,           // at spaces and line breaks
  EachCharacter,    // a row per character
  Letters,          // before each run of letters
  Digits,           // before each run of digits
};

// Whether an import empties the clipboard afterwards, so that a later press
// of the back-quote key with nothing selected imports nothing.
enum class EmptiesClipboard { Never, AfterCapture, Always };

// How a same-page mode writes what it keeps of each captured line.
struct SamePageLayout {
  bool keepsLeft = false;  // the text before the first separator, else after the last
  std::string_view lineEnd;
  std::string_view finalMark;
};

struct ImportModeTraits {
  ImportMode mode;   // the row's own mode, checked against its place below
  const char* name;  // the selector's item
  ImportKind kind = ImportKind::Heading;
  Split split = Split::None;
  bool sweepsEmptyRows = false;  // the empty-row sweep follows an import
  EmptiesClipboard emptiesClipboard = EmptiesClipboard::Never;
  bool appendsToSamePage = false;        // an open same-page collection takes a capture whole
  int captureCopyWaitMs = 0;             // from a capture's Ctrl+C to reading it; 0: no capture
  bool captureBecomesCurrent = false;    // the captured row is made current and shown
  bool choosesPicturesWithText = false;  // choosing the mode switches the table to pictures
  SamePageLayout samePage;
};

namespace detail {
inline constexpr std::string_view kLineBreak = "\r\n";
}  // namespace detail

// clang-format off
inline constexpr ImportModeTraits kImportModes[] = {
    {.mode = ImportMode::TableHeading, .name = "↓--万条|有序--↓"},
    {.mode = ImportMode::CustomSeparator, .name = "自定义分割符录入", .kind = ImportKind::Table,
     .split = Split::CustomSeparator, .sweepsEmptyRows = true,
     .emptiesClipboard = EmptiesClipboard::AfterCapture, .appendsToSamePage = true,
     .captureCopyWaitMs = 50},
    {.mode = ImportMode::Single, .name = "单次录入", .kind = ImportKind::Table,
     .split = Split::Whole, .emptiesClipboard = EmptiesClipboard::AfterCapture,
     .appendsToSamePage = true, .captureCopyWaitMs = 50, .captureBecomesCurrent = true},
    {.mode = ImportMode::DroppedImages, .name = "鼠标拖图片录入", .kind = ImportKind::Table,
     .split = Split::DroppedPaths, .choosesPicturesWithText = true},
    {.mode = ImportMode::ExcelTabs, .name = "Excel制表符录入", .kind = ImportKind::Table,
     .split = Split::Tabs, .sweepsEmptyRows = true, .emptiesClipboard = EmptiesClipboard::Always,
     .appendsToSamePage = true, .captureCopyWaitMs = 50},
    {.mode = ImportMode::Spaces, .name = "空格分割录入", .kind = ImportKind::Table,
     .split = Split::Spaces, .sweepsEmptyRows = true, .emptiesClipboard = EmptiesClipboard::Always,
     .appendsToSamePage = true, .captureCopyWaitMs = 50},
    {.mode = ImportMode::EachCharacter, .name = "逐字分割录入", .kind = ImportKind::Table,
     .split = Split::EachCharacter, .sweepsEmptyRows = true,
     .emptiesClipboard = EmptiesClipboard::Always, .appendsToSamePage = true,
     .captureCopyWaitMs = 50},
    {.mode = ImportMode::Letters, .name = "字母(保留)分割录入", .kind = ImportKind::Table,
     .split = Split::Letters, .sweepsEmptyRows = true, .captureCopyWaitMs = 30},
    {.mode = ImportMode::Digits, .name = "数字(保留)分割录入", .kind = ImportKind::Table,
     .split = Split::Digits, .sweepsEmptyRows = true, .captureCopyWaitMs = 30},
    {.mode = ImportMode::SamePageHeading, .name = "↓---同页粘贴---↓"},
    {.mode = ImportMode::LeftAcross, .name = "取字符串左边(横向)", .kind = ImportKind::SamePage,
     .samePage = {true, "\t", detail::kLineBreak}},
    {.mode = ImportMode::RightAcross, .name = "取字符串右边(横向)", .kind = ImportKind::SamePage,
     .samePage = {false, "\t", ""}},
    {.mode = ImportMode::LeftDown, .name = "取字符串左边(纵向)", .kind = ImportKind::SamePage,
     .samePage = {true, detail::kLineBreak, ""}},
    {.mode = ImportMode::RightDown, .name = "取字符串右边(纵向)", .kind = ImportKind::SamePage,
     .samePage = {false, detail::kLineBreak, detail::kLineBreak}},
};
// clang-format on
inline constexpr std::size_t kImportModeCount = std::size(kImportModes);

static_assert(rowsInEnumOrder(kImportModes),
              "the import-mode table lists every mode once, in the enum's order");

inline const ImportModeTraits& traitsOf(ImportMode mode) {
  return kImportModes[static_cast<std::size_t>(mode)];
}

inline bool isTableImportMode(ImportMode mode) {
  return traitsOf(mode).kind == ImportKind::Table;
}
inline bool isSamePageMode(ImportMode mode) {
  return traitsOf(mode).kind == ImportKind::SamePage;
}
inline bool sweepsEmptyRows(ImportMode mode) {
  return traitsOf(mode).sweepsEmptyRows;
}
inline bool emptiesClipboard(ImportMode mode, ImportSource source) {
  const EmptiesClipboard when = traitsOf(mode).emptiesClipboard;
  return when == EmptiesClipboard::Always ||
         (when == EmptiesClipboard::AfterCapture && source == ImportSource::Capture);
}

}  // namespace hf::table
