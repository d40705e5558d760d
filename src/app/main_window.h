#pragma once

#include "app/hidden_fields.h"
#include "app/main_controls.h"
#include "feedback/hints.h"
#include "input/delivery.h"
#include "paste/dispatcher.h"
#include "paste/hotkey_boxes.h"
#include "paste/hotkey_editor.h"
#include "paste/hotkey_loading.h"
#include "paste/hotkeys.h"
#include "paste/paste_modes.h"
#include "paste/target_picker.h"
#include "paste/working_modes.h"
#include "platform/ui.h"
#include "table/cell_editors.h"
#include "table/data_table.h"
#include "table/editing.h"
#include "table/file_slots.h"
#include "table/import.h"
#include "text/numbers.h"

namespace hf::app {

inline constexpr std::string_view kWindowTitle = "2019墨川一键复制粘贴工具免费版V12.12";
inline constexpr int kFullHeight = 627;       // with the macro panel
inline constexpr int kCollapsedHeight = 506;  // macro panel cut off

// The one main window: it owns every control and every piece of state, runs
// the start-up and close sequences, and hands each event to the class that
// owns the concern.
class MainWindow {
 public:
  MainWindow();

  // Runs once after the window has been built. Ends with the single-instance
  // test, which closes this window when another instance is running.
  void startUp();

  ui::Window& window() { return window_; }
  MainControls& controls() { return controls_; }
  HiddenFields& fields() { return fields_; }
  HiddenCommands& commands() { return commands_; }
  feedback::Hints& hints() { return hints_; }
  table::DataTable& table() { return table_; }
  table::FileSlots& slots() { return slots_; }
  table::TableEditing& editing() { return editing_; }
  paste::HotkeyRegistry& hotkeys() { return hotkeys_; }
  paste::HotkeyDispatcher& dispatcher() { return dispatcher_; }

 private:
  void connectEvents();
  void closeSequence();
  void enterTray();
  void leaveTray();
  void togglePanel();
  void applyDefaultLayout();
  void connectTableEvents();

  ui::Window window_{{std::string(kWindowTitle), {460, kFullHeight}}};
  MainControls controls_{window_};
  HiddenFields fields_;
  HiddenCommands commands_;
  feedback::Hints hints_{window_};
  ui::Timer 时钟1{window_};  // trims the working set
  table::DataTable table_{controls_.超级列表框1};
  input::Delivery delivery_{[this] { return text::toInt(controls_.组合框2.text()); }};
  paste::PasteEngine engine_{controls_, fields_, commands_, hints_, table_, delivery_};
  table::FileSlots slots_{controls_, fields_, commands_, hints_, table_};
  table::TableEditing editing_{controls_, fields_, commands_, hints_, table_, slots_, engine_};
  table::CellEditors cellEditors_{controls_, fields_, hints_, table_, engine_};
  table::Importer importer_{controls_, fields_, commands_, hints_, table_, engine_};
  paste::HotkeyRegistry hotkeys_{window_};
  paste::WorkingModes modes_{controls_, fields_, hints_, hotkeys_};
  paste::HotkeyLoading loading_{controls_, fields_, hints_, table_, hotkeys_};
  paste::HotkeyBoxes hotkeyBoxes_{controls_, table_};
  paste::HotkeyEditor hotkeyEditor_{controls_, hints_, table_, slots_, hotkeyBoxes_};
  paste::HotkeyDispatcher dispatcher_{controls_, fields_, hotkeys_, engine_};
  paste::TargetPicker picker_{controls_, fields_, hints_};
};

}  // namespace hf::app
