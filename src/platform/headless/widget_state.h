#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/headless/internal.h"
#include "platform/ui.h"

// The in-memory state behind the headless widgets. Tests may read it through
// impl() for what the widget interface does not show (redraw, cursor, ...).
namespace hf::ui {

struct Control::Impl {
  enum class Kind { Button, CheckBox, DropDown, EditBox, Label, Frame, PictureBox, ListView };

  Kind kind = Kind::Label;
  std::string text;
  Rect rect;
  bool visible = true;
  bool enabled = true;
  // Set while the control takes dropped files.
  std::function<void(const std::vector<std::filesystem::path>&)> onFilesDropped;
  bool checked = false;                   // CheckBox
  bool multiline = false;                 // EditBox
  std::size_t caret = 0;                  // EditBox: byte index the next typed character goes to
  std::vector<std::string> items;         // DropDown
  int selectedIndex = -1;                 // DropDown
  bool editable = false;                  // DropDown
  std::vector<ListView::Column> columns;  // ListView, from here on
  bool checkBoxes = false;
  int rowHeight = 18;
  int rowCount = 0;  // as last read from the model
  int selectedRow = -1;
  int topRow = 0;
  bool redraw = true;
  int repaints = 0;  // times the rows were painted
};

struct Window::Impl {
  std::string title;
  Rect frame;
  bool visible = false;
  bool minimized = false;
  bool destroyed = false;
  bool trayIcon = false;
  Cursor cursor = Cursor::Arrow;
  bool mouseCaptured = false;
};

struct Timer::Impl {
  std::optional<headless::internal::EventKey> nextTick;
};

struct BalloonTip::Impl {
  std::optional<headless::internal::EventKey> autoHide;  // set while shown
};

}  // namespace hf::ui
