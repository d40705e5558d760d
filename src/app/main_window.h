#pragma once

#include "app/main_controls.h"
#include "copying/back_quote_actions.h"
#include "editing/cell_editors.h"
#include "editing/file_slots.h"
#include "editing/hotkey_boxes.h"
#include "editing/hotkey_editor.h"
#include "editing/import.h"
#include "editing/step_editing.h"
#include "editing/table_editing.h"
#include "feedback/hints.h"
#include "feedback/picture_previews.h"
#include "input/delivery.h"
#include "macro/macro_panel.h"
#include "macro/macro_slots.h"
#include "macro/record_table.h"
#include "macro/speed_selector.h"
#include "office/document_modes.h"
#include "paste/dispatcher.h"
#include "paste/hotkey_loading.h"
#include "paste/hotkeys.h"
#include "paste/paste_modes.h"
#include "paste/target_picker.h"
#include "paste/working_modes.h"
#include "picture/picture_finder.h"
#include "platform/ui.h"
#include "recorder/find_steps.h"
#include "recorder/macro_hotkeys.h"
#include "recorder/macro_recorder.h"
#include "recorder/replay.h"
#include "screenshot/picture_buttons.h"
#include "screenshot/screenshot_hotkey.h"
#include "table/check_file.h"
#include "table/data_table.h"
#include "text/numbers.h"

namespace hf::app {

inline constexpr std::string_view kWindowTitle = "2019墨川一键复制粘贴工具免费版V12.12";
inline constexpr int kFullHeight = 627;       // with the macro panel
inline constexpr int kCollapsedHeight = 506;  // macro panel cut off

// The one main window: it builds every control, hands each concern the
// controls it owns and the concerns it needs, runs the start-up and close
// sequences, and routes the events that concern more than one owner.
class MainWindow {
 public:
  MainWindow();

  // Runs once after the window has been built. Ends with the single-instance
  // test, which closes this window when another instance is running.
  void startUp();

  ui::Window& window() { return window_; }
  MainControls& controls() { return c_; }
  feedback::Hints& hints() { return hints_; }
  table::DataTable& table() { return table_; }
  paste::PasteEngine& engine() { return engine_; }
  paste::WorkingModes& modes() { return modes_; }
  paste::HotkeyRegistry& hotkeys() { return hotkeys_; }
  paste::HotkeyDispatcher& dispatcher() { return dispatcher_; }
  paste::TargetPicker& picker() { return picker_; }
  macro::RecordTable& recordTable() { return recordTable_; }
  macro::MacroPanel& macroPanel() { return macroPanel_; }
  recorder::Replay& replay() { return replay_; }
  recorder::FindSteps& findSteps() { return findSteps_; }
  recorder::MacroRecorder& recorder() { return recorder_; }
  editing::FileSlots& slots() { return slots_; }
  editing::TableEditing& editing() { return editing_; }
  office::DocumentModes& documents() { return documents_; }
  screenshot::ScreenshotHotkey& screenshot() { return screenshot_; }

 private:
  void connectEvents();
  void connectTableEvents();
  void connectMacroEvents();
  void connectScreenshotEvents();
  static picture::PictureFinder screenPictureFinder();
  void closeSequence();
  void enterTray();
  void leaveTray();
  void togglePanel();
  void applyDefaultLayout();

  ui::Window window_{{std::string(kWindowTitle), {460, kFullHeight}}};
  MainControls c_{window_};
  feedback::Hints hints_{window_};
  ui::Timer 时钟1{window_};  // trims the working set
  table::DataTable table_{c_.超级列表框1};
  table::CheckFile checkFile_{hints_, table_};
  feedback::PicturePreviews previews_{{c_.图片框4, c_.图片框6}};
  macro::RecordTable recordTable_{c_.超级列表框2};
  macro::MacroPanel macroPanel_{{c_.按钮5, c_.按钮15, c_.记录, c_.模拟, c_.停止, c_.截图, c_.模拟1},
                                recordTable_};
  macro::SpeedSelector speed_{{c_.组合框65}, hints_};
  macro::MacroSlots macroSlots_{
      {{&c_.选择框94, &c_.选择框95, &c_.选择框96, &c_.选择框97, &c_.选择框98, &c_.选择框12},
       c_.按钮59,
       c_.按钮21},
      hints_,
      recordTable_,
      speed_};
  input::Delivery delivery_{[this] { return text::toInt(c_.组合框2.text()); }};
  paste::PasteEngine engine_{{c_.组合框66}, hints_, table_, checkFile_, previews_, delivery_};
  paste::HotkeyRegistry hotkeys_{window_};
  paste::SelectionCopy selectionCopy_{delivery_, c_.选择框14};
  paste::WorkingModes modes_{{c_.按钮1, c_.按钮102, c_.按钮66, c_.按钮104, c_.按钮10, c_.按钮word,
                              c_.按钮excel, c_.按钮6, c_.编辑框25, c_.导入方式},
                             hints_,
                             hotkeys_,
                             engine_,
                             table_,
                             macroPanel_,
                             selectionCopy_};
  paste::HotkeyLoading loading_{{c_.加载热键}, hints_, table_, hotkeys_, macroPanel_};
  paste::HotkeyDispatcher dispatcher_{hotkeys_, modes_, engine_, hints_, c_.按钮66};
  paste::TargetPicker picker_{{window_, c_.图片框_探测, c_.图片框2}, hints_, macroPanel_};
  recorder::MacroHotkeys macroHotkeys_{hints_, macroPanel_, table_, hotkeys_};
  // The search of the find-image steps, shared by the replay and the instant preview.
  picture::PictureFinder finder_{screenPictureFinder()};
  recorder::Replay replay_{
      {window_, c_.组合框64, c_.透明标签17, c_.选择框13, c_.记录1},
      hints_,
      {macroPanel_, recordTable_, macroSlots_, speed_, hotkeys_, delivery_, picker_, finder_}};
  recorder::FindSteps findSteps_{
      {c_.编辑框13, c_.取色确认1, c_.选择框16, c_.图片框_探测},
      hints_,
      {macroPanel_, recordTable_, macroSlots_, speed_, picker_, previews_, finder_}};
  recorder::MacroRecorder recorder_{
      {window_, c_.外形框1, c_.按钮2},
      hints_,
      {macroPanel_, recordTable_, macroSlots_, speed_, macroHotkeys_, replay_, loading_, hotkeys_,
       previews_, modes_, [this] { return screenshot_.capturing(); }}};
  editing::CellEditors cellEditors_{
      {window_, c_.组合框4, c_.编辑框1008, c_.编辑框1009}, hints_, table_, engine_, loading_};
  editing::FileSlots slots_{{{&c_.打开A, &c_.打开B, &c_.打开C, &c_.打开D, &c_.打开E},
                             {&c_.保存A, &c_.保存B, &c_.保存C, &c_.保存D, &c_.保存E}},
                            hints_,
                            table_,
                            checkFile_,
                            engine_,
                            loading_};
  editing::StepEditing stepEditing_{{window_, c_.编辑框10, c_.按钮59},
                                    hints_,
                                    {recordTable_, macroSlots_, speed_, previews_, findSteps_}};
  editing::TableEditing editing_{{c_.按钮2, c_.删除, c_.插入, c_.打开, c_.编辑框查询, c_.组合框63},
                                 hints_,
                                 table_,
                                 {slots_, cellEditors_, checkFile_, engine_, modes_, loading_,
                                  previews_, macroPanel_, stepEditing_}};
  editing::Importer importer_{
      {c_.导入方式, c_.分割符, c_.选择框14}, hints_, table_, {cellEditors_, engine_, modes_}};
  office::DocumentModes documents_{{c_.按钮word, c_.按钮excel},
                                   hints_,
                                   {modes_, hotkeys_, macroPanel_, importer_, editing_, delivery_}};
  editing::HotkeyBoxes hotkeyBoxes_{table_, macroPanel_};
  copying::BackQuoteActions backQuote_{{c_.zira, c_.图片框_探测},
                                       hints_,
                                       {modes_, engine_, picker_, importer_, previews_, delivery_}};
  editing::HotkeyEditor hotkeyEditor_{
      {window_, c_.编辑框1007}, hints_, table_, {hotkeyBoxes_, cellEditors_, slots_, loading_}};
  screenshot::ScreenshotHotkey screenshot_{
      hints_,
      {macroPanel_, recordTable_, macroSlots_, speed_, table_, engine_, hotkeys_, loading_,
       [this] { slots_.save(slots_.currentSlot()); }}};
  screenshot::PictureButtons pictureButtons_{{window_, c_.按钮16}, hints_, macroPanel_, previews_};
};

}  // namespace hf::app
