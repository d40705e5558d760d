#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "macro/steps.h"

// The six macro slots "数据1.txt" … "数据6.txt" in the program folder: GBK,
// one line per step, every cell followed by "←→", CR LF after each line.
namespace hf::macro {

inline constexpr int kMacroSlots = 6;
inline constexpr std::string_view kCellSeparator = "←→";

std::filesystem::path slotFile(int slot);  // slot 1 to 6

std::string formatSlotFile(const std::vector<Step>& steps);
// Every line becomes a step, an empty line an empty step; cells past the
// seventh are dropped.
std::vector<Step> parseSlotFile(std::string_view text);

}  // namespace hf::macro
