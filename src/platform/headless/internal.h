#pragma once

#include <compare>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/desktop.h"
#include "platform/geometry.h"

namespace hf::ui {
class Window;
}

namespace hf::hooks {
struct KeyEvent;
struct MouseEvent;
}  // namespace hf::hooks

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

// Workers' events, which run even while the UI thread only waits: a worker
// going on after its pause, and a worker's runOnUiThread call (which runs
// only where the UI thread handles calls: not inside a pause's wait).
enum class WorkerEvent { Wakeup, Call };
EventKey scheduleForWorker(std::int64_t time, WorkerEvent kind, std::function<void()> event);
// The UI thread waits until `time` without processing its events; workers
// that wake up meanwhile go on at their own times.
void sleepUntil(std::int64_t time);
// Runs every event in time order until done() holds (waiting for a worker
// while processing events).
void runEventsUntil(const std::function<bool()>& done);
// Runs only workers' events in time order until done() holds: a UI thread
// blocked in a join, where other events wait and run late.
void runWorkerEventsUntil(const std::function<bool()>& done);

void resetClock();
void resetDesktop(Size screen);
void setScreenSize(Size screen);
void resetScreen();
void setProgramFolder(const std::filesystem::path& folder);

// A destroyed window holds no hotkeys any more.
void releaseHotkeysOf(const ui::Window& owner);

// The input devices and the target form the system fills; reset() resets each.
void resetClipboard();
void resetKeyboard();
void resetPointer();
void resetTarget();
void resetHooks();
void resetAutomation();

// Every key and mouse event passes the installed hooks before it acts: true
// when one swallowed it, and then it does nothing more.
bool swallowedByHooks(const hooks::KeyEvent& event);
bool swallowedByHooks(const hooks::MouseEvent& event);

// Another program's single try at the clipboard (no retry, not counted as
// the system's attempt); it fails while the clipboard is held.
std::optional<std::string> readClipboardOnce();
// The size of the picture on the clipboard, if it holds one and is free.
std::optional<Size> clipboardPictureSizeOnce();
bool writeClipboardOnce(std::string_view gbk);

// The topmost window of another program shown at the screen point, if any.
std::optional<desktop::WindowId> windowShownAt(Point screen);

bool targetIsOpen();
// The target form reacts to a key going down when it has the keyboard focus.
void targetKeyDown(int virtualKey);
// The newly opened target is in front and under the cursor: earlier
// overrides of those windows no longer hold.
void bringTargetForward();

}  // namespace hf::headless::internal
