#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "table/row_store.h"

// The text formats of a file slot and of the check file. Every file is GBK
// without a byte-order mark; "★" separates fields, CR LF ends lines.
namespace hf::table {

inline constexpr std::string_view kStar = "\xA1\xEF";  // ★, spelt in bytes for every compiler
inline constexpr std::string_view kCrLf = "\r\n";
inline constexpr int kEntriesPerBatch = 10000;

// Splits an entries file into entries at every "★": a final "★" adds no empty
// entry, two in a row give an empty one, a text without "★" is one entry.
// afterBatch runs after every kEntriesPerBatch entries (the caller keeps its
// window responsive there).
RowStore::Pieces splitEntries(std::string text, const std::function<void()>& afterBatch = {});

// Column 1 of every row, each followed by "★".
std::string formatEntries(const RowStore& rows);
// The first row (from 0) whose entry cannot be stored because it holds "★", or -1.
int firstEntryWithStar(const RowStore& rows);

// One line per row: columns 2, 3, 4 and 5 joined by "★", then CR LF.
std::string formatRowSettings(const RowStore& rows);
// One row's line of that file; without the hotkey it ends "c4★" (the pattern fill's lines).
std::string rowSettingsLine(const RowStore& rows, int row, bool withHotkey = true);
// Line k of the text fills columns 2.. of row k - 1; extra lines and fields are dropped.
void applyRowSettings(std::string_view text, RowStore& rows);

// The row number (column 0) of every marked row, each followed by CR LF.
std::string formatCheckFile(const RowStore& rows);
// Marks row n - 1 for every line that reads as the number n; other lines change nothing.
void applyCheckFile(std::string_view text, RowStore& rows);

}  // namespace hf::table
