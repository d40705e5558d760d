#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace hf::copying {

// The file name (without ".txt") a same-page collection is saved under: its
// first line, made safe as a name inside the 同页粘贴 folder. Characters
// Windows forbids in names (path separators included) and control characters
// become "_", trailing dots and blanks go, and a reserved device name (CON,
// NUL, COM1 ...) gets a leading "_". Nothing when no name is left.
std::optional<std::string> samePageFileName(std::string_view firstLine);

}  // namespace hf::copying
