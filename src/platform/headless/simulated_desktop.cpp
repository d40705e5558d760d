// The simulated outside world: screen, global hotkeys, other programs and the
// shell, as far as the system can see them.
#include <algorithm>
#include <chrono>
#include <deque>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/headless/internal.h"
#include "platform/headless/simulation.h"
#include "platform/ui.h"

namespace hf::headless::internal {
namespace {

using Chord = std::pair<unsigned, int>;  // modifiers, virtual key

struct Desktop {
  Size screen{1920, 1080};
  std::vector<Hotkey> hotkeys;
  std::set<Chord> chordsHeldElsewhere;
  std::set<std::string, std::less<>> claimedInstances;
  int workingSetTrims = 0;
  std::vector<std::string> shellOpened;
  std::vector<Sound> soundsPlayed;
  std::vector<std::string> questionsAsked;
  std::deque<bool> answers;  // the user's next answers to questions, OK as true
  // The local time reads localTimeSet at virtual time localTimeSetAt.
  desktop::LocalTime localTimeSet{2019, 12, 12, 8, 0, 0};
  std::int64_t localTimeSetAt = 0;
};

Desktop& desktop() {
  static Desktop instance;
  return instance;
}

bool chordTaken(Chord chord) {
  const auto& hotkeys = desktop().hotkeys;
  return desktop().chordsHeldElsewhere.contains(chord) ||
         std::any_of(hotkeys.begin(), hotkeys.end(), [&](const Hotkey& h) {
           return Chord{h.modifiers, h.virtualKey} == chord;
         });
}

}  // namespace

void resetDesktop(Size screen) {
  desktop() = Desktop{};
  desktop().screen = screen;
}

void setScreenSize(Size screen) {
  desktop().screen = screen;
}

void releaseHotkeysOf(const ui::Window& owner) {
  std::erase_if(desktop().hotkeys, [&](const Hotkey& h) { return h.owner == &owner; });
}

}  // namespace hf::headless::internal

namespace hf::desktop {

using headless::internal::desktop;

Size screenSize() {
  return desktop().screen;
}

bool registerHotkey(ui::Window& owner, int id, unsigned modifiers, int virtualKey) {
  auto& hotkeys = desktop().hotkeys;
  const bool idInUse = std::any_of(hotkeys.begin(), hotkeys.end(), [&](const headless::Hotkey& h) {
    return h.owner == &owner && h.id == id;
  });
  if (idInUse || headless::internal::chordTaken({modifiers, virtualKey})) return false;
  hotkeys.push_back({id, modifiers, virtualKey, &owner});
  return true;
}

void unregisterHotkey(ui::Window& owner, int id) {
  std::erase_if(desktop().hotkeys,
                [&](const headless::Hotkey& h) { return h.owner == &owner && h.id == id; });
}

bool claimSingleInstance(std::string_view name) {
  return desktop().claimedInstances.emplace(name).second;
}

void trimWorkingSet() {
  ++desktop().workingSetTrims;
}

void openWithShell(std::string_view gbkTarget) {
  desktop().shellOpened.emplace_back(gbkTarget);
}

void openPath(const std::filesystem::path& path) {
  desktop().shellOpened.push_back(path.string());
}

void playSound(Sound sound) {
  desktop().soundsPlayed.push_back(sound);
}

LocalTime localTime() {
  namespace chrono = std::chrono;
  const LocalTime& set = desktop().localTimeSet;
  const chrono::sys_days day = chrono::year_month_day{
      chrono::year(set.year), chrono::month(unsigned(set.month)), chrono::day(unsigned(set.day))};
  const auto then =
      day + chrono::hours(set.hour) + chrono::minutes(set.minute) + chrono::seconds(set.second);
  const auto now = chrono::floor<chrono::seconds>(
      then + chrono::milliseconds(loop::nowMs() - desktop().localTimeSetAt));
  const auto nowDay = chrono::floor<chrono::days>(now);
  const chrono::year_month_day date{nowDay};
  const chrono::hh_mm_ss clock{now - nowDay};
  return {int(date.year()),           int(unsigned(date.month())),  int(unsigned(date.day())),
          int(clock.hours().count()), int(clock.minutes().count()), int(clock.seconds().count())};
}

}  // namespace hf::desktop

namespace hf::headless {

using internal::desktop;

std::vector<Hotkey> registeredHotkeys() {
  return desktop().hotkeys;
}

void holdHotkeyElsewhere(unsigned modifiers, int virtualKey) {
  desktop().chordsHeldElsewhere.emplace(modifiers, virtualKey);
}

bool pressHotkey(unsigned modifiers, int virtualKey) {
  const auto& hotkeys = desktop().hotkeys;
  auto hotkey = std::find_if(hotkeys.begin(), hotkeys.end(), [&](const Hotkey& h) {
    return h.modifiers == modifiers && h.virtualKey == virtualKey;
  });
  if (hotkey == hotkeys.end()) return false;
  // Copied: the handler may unregister the hotkey while it runs.
  const Hotkey pressed = *hotkey;
  if (pressed.owner->onHotkey) pressed.owner->onHotkey(pressed.id);
  return true;
}

void claimInstanceElsewhere(const std::string& name) {
  desktop().claimedInstances.insert(name);
}

void setLocalTime(const desktop::LocalTime& now) {
  desktop().localTimeSet = now;
  desktop().localTimeSetAt = loop::nowMs();
}

int workingSetTrims() {
  return desktop().workingSetTrims;
}
std::vector<std::string> shellOpened() {
  return desktop().shellOpened;
}
std::vector<Sound> soundsPlayed() {
  return desktop().soundsPlayed;
}

void answerNextQuestion(bool ok) {
  desktop().answers.push_back(ok);
}
std::vector<std::string> questionsAsked() {
  return desktop().questionsAsked;
}

}  // namespace hf::headless

namespace hf::ui {

bool askOkCancel(Window&, std::string_view question, std::string_view title) {
  auto& d = headless::internal::desktop();
  d.questionsAsked.push_back(std::string(title) + "|" + std::string(question));
  if (d.answers.empty()) return false;
  const bool ok = d.answers.front();
  d.answers.pop_front();
  return ok;
}

}  // namespace hf::ui
