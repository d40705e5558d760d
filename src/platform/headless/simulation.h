#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/bitmap.h"
#include "platform/desktop.h"
#include "platform/geometry.h"
#include "platform/resources.h"

namespace hf::ui {
class Control;
class EditBox;
class Window;
}  // namespace hf::ui

// Test control of the headless backend: the simulated desktop and its
// virtual clock. Everything here is what a user or another program would do.
namespace hf::headless {

// A fresh desktop: clock at 0, no hotkeys, no single-instance marker, empty
// event queue, no target form open, an empty clipboard nobody holds, no key
// held, no key events, the cursor at 0,0, the given screen, and
// programFolder as the program folder.
void reset(const std::filesystem::path& programFolder, Size screen = {1920, 1080});

// Schedules an event at virtual time ms (absolute). Events run in time order
// when the clock reaches them: inside loop::pause, loop::processPending or advance.
void at(std::int64_t ms, std::function<void()> event);

// Moves the clock forward by ms, running every event due on the way.
void advance(std::int64_t ms);

struct Hotkey {
  int id = 0;
  unsigned modifiers = 0;
  int virtualKey = 0;
  ui::Window* owner = nullptr;
};
std::vector<Hotkey> registeredHotkeys();
// Another program takes the key: registering it then fails.
void holdHotkeyElsewhere(unsigned modifiers, int virtualKey);
// The user presses a key chord: fires the owner's onHotkey when it is registered.
bool pressHotkey(unsigned modifiers, int virtualKey);

// Another instance of the program is running.
void claimInstanceElsewhere(const std::string& name);

// The user drops files on the control: its handler gets them when the
// control takes files and is shown and enabled. Returns whether it did.
bool dropFiles(ui::Control& target, const std::vector<std::filesystem::path>& paths);

// The user types into the edit box: each character goes in at the caret,
// which moves past it, and the box reports a text change. "\r\n" is the
// Enter key: onKeyDown sees it first, then a multi-line box takes a line
// break and raises onLineBreak, and a one-line box takes nothing.
void typeInto(ui::EditBox& box, std::string_view gbk);

// The screen, black after reset. Windows of other programs that a test shows
// lie above what it paints, each window above those shown before it.
void paintScreen(Rect area, Rgb colour);
void paintScreen(Point topLeft, const Bitmap& picture);
// Another program's window whose client area, at clientOrigin on the screen,
// shows the picture. Showing an id again replaces that window and brings it
// to the top.
void showWindow(desktop::WindowId window, Point clientOrigin, const Bitmap& client);
// The window is minimised or hidden: it leaves the screen and grabs of it give nothing.
void takeWindowOffScreen(desktop::WindowId window);
// The user sets another resolution: the screen has the new size from now on,
// black again.
void changeScreenSize(Size screen);
// Each grab of the whole screen takes this long on the clock from now on (a
// large screen, a slow display); none after reset.
void setScreenGrabMs(int ms);
// When each grab of the whole screen began, in order.
std::vector<std::int64_t> screenGrabTimes();

// The local time now; it moves on with the virtual clock. After reset it
// reads 2019-12-12 08:00:00.
void setLocalTime(const desktop::LocalTime& now);

int workingSetTrims();
std::vector<std::string> shellOpened();  // GBK targets and paths (native names), in order
std::vector<Sound> soundsPlayed();

// The user's answer to the next question a message box asks (OK as true);
// a question with no answer given is cancelled.
void answerNextQuestion(bool ok);
// The questions asked so far, each as "title|question" (GBK).
std::vector<std::string> questionsAsked();

}  // namespace hf::headless
