#pragma once

#include <string>
#include <string_view>

// Numbers kept in cells and edit boxes are decimal text. Reading one takes the
// leading number of the text (after leading blanks, with an optional sign and
// fraction) and 0 when there is none.
namespace hf::text {

double toNumber(std::string_view text);

// The leading number truncated toward zero, saturated to the int range.
int toInt(std::string_view text);

std::string toText(long long value);

}  // namespace hf::text
