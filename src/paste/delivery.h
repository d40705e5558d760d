#pragma once

#include <string>
#include <string_view>

#include "app/hidden_fields.h"
#include "platform/ui.h"

// How an entry reaches the program that has the keyboard focus, the way a
// user would put it there: by clipboard and Ctrl+V, by posted characters, or
// typed key by key; and the Tab, Enter and arrow presses that move on to the
// next field. Every step waits the interval chosen in the interval selector,
// read afresh before each pause.
namespace hf::paste {

class Delivery {
 public:
  Delivery(ui::DropDown& intervalSelector, app::HiddenFields& fields)
      : intervalSelector_(intervalSelector), fields_(fields) {}

  int interval() const;

  // Delivery styles. Those that go through the clipboard return false, and
  // press nothing, when the clipboard stayed held by another program.
  bool clipboard(std::string_view entry);
  bool scanClipboard(std::string_view entry);
  bool characters(std::string_view entry);  // always true: no clipboard involved
  bool forcedTyping(std::string_view entry);

  // Separator runs; counts come from a cell ("" or a non-number: none).
  void tabRun(std::string_view cell);
  void scanTabRun(std::string_view cell);
  void enterRun(std::string_view cell);
  void rightRun(std::string_view cell);
  void downRun(std::string_view cell);
  // One Enter when the cell reads exactly "回车".
  void enterFlag(std::string_view cell);
  void scanEnterFlag(std::string_view cell);

  // Remembers the window under the cursor as the target of posted characters.
  void captureTarget();
  // Sets the clipboard and presses Ctrl+V; false when the clipboard stayed busy.
  bool pasteText(std::string_view text);

  static void ctrlV();
  static void ctrlC();
  static void scanCtrlV();
  static void press(int key);
  static void scanPress(int key);

 private:
  void pauseInterval() const;
  static void typeCharacter(char character);
  void repeat(std::string_view cell, void (*step)(int), int key);

  ui::DropDown& intervalSelector_;
  app::HiddenFields& fields_;
};

// The keys that type one character on a US keyboard: the key and whether
// Shift goes with it; key 0 for characters that no key types.
struct TypedKey {
  int virtualKey = 0;
  bool shift = false;
  friend bool operator==(const TypedKey&, const TypedKey&) = default;
};
TypedKey keyForCharacter(char c);

// The text without the blanks (ASCII and full-width) at either end.
std::string trimBlanks(std::string_view text);

}  // namespace hf::paste
