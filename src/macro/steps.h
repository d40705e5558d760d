#pragma once

#include <array>
#include <string>
#include <string_view>

// A step of a macro: one row of the record table, seven text cells.
namespace hf::macro {

enum StepColumn { kNumber = 0, kKind = 1, kName = 2, kCode = 3, kX = 4, kY = 5, kDelay = 6 };
inline constexpr int kStepColumns = 7;

using Step = std::array<std::string, kStepColumns>;

inline constexpr std::string_view kMouseStep = "鼠标";
inline constexpr std::string_view kKeyStep = "按键";
inline constexpr std::string_view kFindColourStep = "找色";
inline constexpr std::string_view kFindImageStep = "找图";

// The mouse messages a mouse step records and replays.
inline constexpr int kLeftDown = 513;
inline constexpr int kLeftUp = 514;
inline constexpr int kRightDown = 516;
inline constexpr int kRightUp = 517;
inline constexpr int kMiddleDown = 519;
inline constexpr int kMiddleUp = 520;

// "左键按下" … "中键放开" for a button message, "" for any other message.
std::string_view buttonActionName(int message);

}  // namespace hf::macro
