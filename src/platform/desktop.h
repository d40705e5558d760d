#pragma once

#include <string_view>

#include "platform/geometry.h"
#include "platform/resources.h"

namespace hf::ui {
class Window;
}

// The outside world the system acts on: the screen, global hotkeys, the
// process itself and the shell.
namespace hf::desktop {

Size screenSize();  // physical pixels

// Global hotkeys. Modifier bits: Ctrl 1, Shift 2, Alt 4. A registered hotkey
// raises owner.onHotkey(id). Registration fails when another program (or
// this one) holds the key, or when the id is in use.
constexpr unsigned kCtrl = 1;
constexpr unsigned kShift = 2;
constexpr unsigned kAlt = 4;
bool registerHotkey(ui::Window& owner, int id, unsigned modifiers, int virtualKey);
void unregisterHotkey(ui::Window& owner, int id);

// Claims the named single-instance marker for the life of the process;
// false when another running instance holds it.
bool claimSingleInstance(std::string_view name);

// Asks the system to trim the process's working set.
void trimWorkingSet();

// Opens a file, folder or web address with its default program.
void openWithShell(std::string_view gbkTarget);

void playSound(Sound sound);

}  // namespace hf::desktop
