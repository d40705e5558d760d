// The other program's form that the system fills. It edits its fields the
// way a plain form's edit boxes do and notes every reaction with its time.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/headless/internal.h"
#include "platform/headless/target_simulation.h"
#include "platform/headless/us_keyboard.h"
#include "platform/input_gate.h"
#include "platform/keys.h"
#include "platform/text_codec.h"

namespace hf::headless::internal {
namespace {

using namespace keys;

struct TargetForm {
  bool open = false;
  std::vector<std::string> fields;  // GBK
  int focused = 0;
  bool focusedAllSelected = false;  // the caret otherwise rests at the end
  std::vector<TargetEvent> events;
};

TargetForm& form() {
  static TargetForm instance;
  return instance;
}

void note(std::string what) {
  form().events.push_back({loop::nowMs(), std::move(what)});
}

// Nothing for a form without fields.
std::string* focusedField() {
  auto& fields = form().fields;
  return fields.empty() ? nullptr : &fields[form().focused];
}

// Replaces the selection, or adds at the caret.
void insert(std::string_view gbk) {
  std::string* field = focusedField();
  if (!field) return;
  if (form().focusedAllSelected) field->clear();
  form().focusedAllSelected = false;
  *field += gbk;
}

// A picture on the clipboard is pasted as a note of its size.
void paste() {
  if (const auto size = clipboardPictureSizeOnce()) {
    note("paste picture " + std::to_string(size->width) + "x" + std::to_string(size->height));
    return;
  }
  const std::string text = readClipboardOnce().value_or("");
  insert(text);
  note("paste " + text);
}

void copySelection() {
  const std::string* field = focusedField();
  if (field && form().focusedAllSelected) writeClipboardOnce(*field);
  note("copy");
}

void deleteSelection() {
  std::string* field = focusedField();
  if (field && form().focusedAllSelected) field->clear();
  form().focusedAllSelected = false;
  note("delete");
}

void moveFocus(int step, std::string what) {
  if (const int count = int(form().fields.size()); count > 0)
    form().focused = (form().focused + step + count) % count;
  form().focusedAllSelected = false;
  note(std::move(what));
}

// A key pressed with a modifier that the form has no use for: noted with the
// modifiers held, as a shortcut the form would hand to its program.
void shortcut(std::string modifiers, int virtualKey) {
  note(modifiers + "+" + std::to_string(virtualKey));
}

bool hasKeyboardFocus() {
  return form().open && desktop::foregroundWindow() == kTargetWindow;
}

}  // namespace

void resetTarget() {
  form() = TargetForm{};
}

bool targetIsOpen() {
  return form().open;
}

void targetKeyDown(int virtualKey) {
  if (!hasKeyboardFocus()) return;
  if (isModifierKey(virtualKey)) return;
  const bool shift = desktop::isKeyDown(kShift);
  if (desktop::isKeyDown(kLeftWin) || desktop::isKeyDown(kRightWin))
    return shortcut("win", virtualKey);
  if (desktop::isKeyDown(kAlt)) return shortcut("alt", virtualKey);
  if (desktop::isKeyDown(kCtrl)) {
    if (virtualKey == 'V') return paste();
    if (virtualKey == 'C') return copySelection();
    return shortcut("ctrl", virtualKey);
  }
  switch (virtualKey) {
    case kTab:
      return shift ? moveFocus(-1, "back-tab") : moveFocus(1, "tab");
    case kEnter:
      return note(shift ? "shift+enter" : "enter");
    case kRight:
      return note("right");
    case kDown:
      return note("down");
    case kDelete:
      return deleteSelection();
  }
  const bool letter = virtualKey >= 'A' && virtualKey <= 'Z';
  if (const auto character =
          characterOf(virtualKey, shift != (letter && desktop::isCapsLockOn()))) {
    insert({&*character, 1});
    note(std::string("type ") + *character);
  }
}

}  // namespace hf::headless::internal

namespace hf::desktop {

// GBK has no character outside the BMP, so every code unit is a character.
void postCharacters(WindowId window, std::string_view gbk) {
  if (simulatedInputEnded()) return;
  if (window != headless::kTargetWindow || !headless::internal::targetIsOpen()) return;
  for (const char16_t unit : codec::gbkToUtf16(gbk)) {
    const std::string character = codec::utf16ToGbk({&unit, 1});
    headless::internal::insert(character);
    headless::internal::note("char " + character);
  }
}

}  // namespace hf::desktop

namespace hf::headless {

using internal::form;

void openTarget(int fields) {
  form() = internal::TargetForm{};
  form().open = true;
  form().fields.resize(std::max(fields, 0));
  internal::bringTargetForward();
}

std::vector<std::string> targetFields() {
  return form().fields;
}

int targetFocusedField() {
  return form().focused;
}

void selectInTarget(std::string_view gbk) {
  std::string* field = internal::focusedField();
  if (!field) return;
  *field = gbk;
  form().focusedAllSelected = true;
}

std::vector<TargetEvent> targetEvents() {
  return form().events;
}

void clearTargetEvents() {
  form().events.clear();
}

}  // namespace hf::headless
