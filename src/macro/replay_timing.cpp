#include "macro/replay_timing.h"

#include "text/numbers.h"

namespace hf::macro {

std::string rescaledDelay(std::string_view delay, int speedPercent) {
  const long long scaled = static_cast<long long>(text::toInt(delay)) * speedPercent;
  // floor, also for a negative delay typed by hand
  const long long floored = scaled >= 0 ? scaled / 100 : -((-scaled + 99) / 100);
  return text::toText(floored + 1);
}

std::string clockText(int hour, int minute, int second) {
  return text::toText(hour) + "时" + text::toText(minute) + "分" + text::toText(second) + "秒";
}

}  // namespace hf::macro
