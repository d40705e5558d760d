#pragma once

#include <optional>

// The US keyboard layout as the simulated desktop knows it.
namespace hf::headless::internal {

// The scan code the system maps the virtual key to (MapVirtualKey with
// MAPVK_VK_TO_VSC); 0 for a key it does not know.
int scanCodeOf(int virtualKey);

// The character the key types, shifted or not; nothing for a key that types none.
std::optional<char> characterOf(int virtualKey, bool shift);

}  // namespace hf::headless::internal
