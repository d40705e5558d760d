#pragma once

#include <string>
#include <string_view>
#include <vector>

// How an imported text becomes table entries, and how the same-page modes
// reshape a captured text. Plain values in and out: the caller appends the
// pieces as rows, runs the empty-row sweep and empties the clipboard.
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

bool isTableImportMode(ImportMode mode);
bool isSamePageMode(ImportMode mode);

// The pieces the mode's rule cuts the text into, one per new row, in order,
// empty pieces included. `separator` is the custom separator text (used only
// by CustomSeparator; empty splits at line breaks alone). Headings, same-page
// modes, and DroppedImages on a capture or with no paths give no pieces.
std::vector<std::string> splitForImport(ImportMode mode, std::string_view text, ImportSource source,
                                        std::string_view separator);

// Whether the empty-row sweep follows the mode's import.
bool sweepsEmptyRows(ImportMode mode);

// Whether an import with the mode empties the clipboard afterwards, so that
// a later press of the back-quote key with nothing selected imports nothing.
bool emptiesClipboard(ImportMode mode, ImportSource source);

// The text a same-page mode makes of a captured text, to be appended to the
// same-page editor; `separator` is the custom separator text. Other modes give
// the empty text.
std::string extractSamePage(ImportMode mode, std::string_view text, std::string_view separator);

}  // namespace hf::table
