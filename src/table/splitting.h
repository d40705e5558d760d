#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "table/import_mode_table.h"

// How an imported text becomes table entries, and how the same-page modes
// reshape a captured text. Plain values in and out: the caller appends the
// pieces as rows, runs the empty-row sweep and empties the clipboard.
namespace hf::table {

// The pieces the mode's rule cuts the text into, one per new row, in order,
// empty pieces included. `separator` is the custom separator text (used only
// by CustomSeparator; empty splits at line breaks alone). Headings, same-page
// modes, and DroppedImages on a capture or with no paths give no pieces.
std::vector<std::string> splitForImport(ImportMode mode, std::string_view text, ImportSource source,
                                        std::string_view separator);

// The text a same-page mode makes of a captured text, to be appended to the
// same-page editor; `separator` is the custom separator text. Other modes give
// the empty text.
std::string extractSamePage(ImportMode mode, std::string_view text, std::string_view separator);

}  // namespace hf::table
