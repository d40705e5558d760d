#pragma once

#include <string>
#include <string_view>

namespace hf::macro {

// A recorded delay at a speed percentage: floor(delay × speed / 100) + 1.
std::string rescaledDelay(std::string_view delay, int speedPercent);

// The time of day as the timed start shows and compares it: "9时5分0秒".
std::string clockText(int hour, int minute, int second);

}  // namespace hf::macro
