#pragma once

#include <optional>
#include <string_view>

#include "macro/steps.h"
#include "platform/geometry.h"

// The rules of the find-colour and find-image steps that need no screen.
namespace hf::macro {

// Attempts a waiting find step makes before it ends without effect, and the
// pause between two colour attempts.
inline constexpr int kFindAttempts = 10000;
inline constexpr int kColourAttemptPauseMs = 30;

// The delay the 添加 button gives a new find-colour step (the hidden field 时间).
inline constexpr std::string_view kFindColourDelay = "200";

// The search of a find-image step: the colour tolerance, the similarity and
// the direction (it covers the whole screen).
inline constexpr std::string_view kImageTolerance = "000000";
inline constexpr double kImageSimilarity = 1.0;
inline constexpr int kImageDirection = 0;

// A find-colour step for the colour value (decimal text) with its delay.
Step findColourStep(std::string_view colour, std::string_view delay);

// Where a find-image step clicks: the centre of the picture found, from the
// picture finder's "index|x|y" and the picture's size (half of each,
// truncated); nothing for "-1|-1|-1" or a result that names no place.
std::optional<Point> foundPictureCentre(std::string_view findResult, Size picture);

// What the instant preview shows for a step, by its 按键名称 cell: a
// picture when the cell holds ".bmp" in lower case; the step's point when it
// holds ".bmp" in no letter case at all; nothing otherwise (".BMP").
enum class PreviewKind { Picture, Point, Nothing };
PreviewKind previewKindOf(std::string_view nameCell);

}  // namespace hf::macro
