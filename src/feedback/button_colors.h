#pragma once

#include "platform/geometry.h"

namespace hf::feedback {

// A button that shows the chosen working mode or file slot wears the
// highlight colour; the others wear the normal one.
inline constexpr Rgb kHighlightColor{255, 168, 255};
inline constexpr Rgb kNormalColor{121, 209, 200};

}  // namespace hf::feedback
