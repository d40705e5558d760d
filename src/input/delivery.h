#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/desktop.h"

// How an entry reaches the program that has the keyboard focus, the way a
// user would put it there: by clipboard and Ctrl+V, by posted characters, or
// typed key by key; and the Tab, Enter and arrow presses that move on to the
// next field. It knows no widget: the paste engine, the working modes and the
// macro replay give it the interval and the target window.
namespace hf::input {

class Delivery {
 public:
  // The interval in milliseconds, asked afresh before every pause.
  using IntervalSource = std::function<int()>;
  explicit Delivery(IntervalSource interval) : interval_(std::move(interval)) {}

  int interval() const { return interval_(); }

  // Delivery styles. Those that go through the clipboard return false, and
  // press nothing, when the clipboard stayed held by another program.
  bool clipboard(std::string_view entry);
  bool scanClipboard(std::string_view entry);
  void characters(desktop::WindowId target, std::string_view entry);
  // Account texts: typed key by key, and kept out of the clipboard history.
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

  // Sets the clipboard and presses Ctrl+V; false when the clipboard stayed busy.
  bool pasteText(std::string_view text);

 private:
  void pauseInterval() const;
  void repeat(std::string_view cell, void (*step)(int), int key);

  IntervalSource interval_;
};

// The text without the blanks (ASCII and full-width) at either end.
std::string trimBlanks(std::string_view text);

}  // namespace hf::input
