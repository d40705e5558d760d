#include "macro/steps.h"

namespace hf::macro {

std::string_view buttonActionName(int message) {
  switch (message) {
    case kLeftDown:
      return "左键按下";
    case kLeftUp:
      return "左键放开";
    case kRightDown:
      return "右键按下";
    case kRightUp:
      return "右键放开";
    case kMiddleDown:
      return "中键按下";
    case kMiddleUp:
      return "中键放开";
  }
  return {};
}

}  // namespace hf::macro
