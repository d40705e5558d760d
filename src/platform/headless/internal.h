#pragma once

#include <compare>
#include <cstdint>
#include <filesystem>
#include <functional>

#include "platform/geometry.h"

namespace hf::ui {
class Window;
}

// Glue between the parts of the headless backend; nothing outside
// platform/headless includes this.
namespace hf::headless::internal {

// A queued event on the virtual clock; events of equal time run in the order
// they were queued.
struct EventKey {
  std::int64_t time = 0;
  std::uint64_t sequence = 0;
  friend auto operator<=>(const EventKey&, const EventKey&) = default;
};

EventKey schedule(std::int64_t time, std::function<void()> event);
// Drops a queued event; an event that already ran (or a reset queue) is ignored.
void cancel(EventKey key);

void resetClock();
void resetDesktop(Size screen);
void setProgramFolder(const std::filesystem::path& folder);

// A destroyed window holds no hotkeys any more.
void releaseHotkeysOf(const ui::Window& owner);

}  // namespace hf::headless::internal
