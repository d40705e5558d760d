#pragma once

#include <functional>

#include "feedback/hints.h"
#include "feedback/picture_previews.h"
#include "macro/macro_panel.h"
#include "macro/macro_slots.h"
#include "macro/record_table.h"
#include "macro/speed_selector.h"
#include "macro/step_recorder.h"
#include "paste/hotkey_loading.h"
#include "paste/hotkeys.h"
#include "paste/working_modes.h"
#include "platform/hooks.h"
#include "platform/ui.h"
#include "recorder/macro_hotkeys.h"
#include "recorder/replay.h"

namespace hf::recorder {

// The recorder switch `按钮5` and the record hotkey: switched on, the
// macro panel shows the record table and the macro hotkeys are registered;
// the record hotkey then starts and stops a recording of the user's clicks
// and keys into the record table. The program's own hotkeys and what the
// user does in a capture window are left out of a recording.
class MacroRecorder {
 public:
  struct Controls {
    ui::Window& window;          // where the long hint is placed
    const ui::Control& 外形框1;  // the macro panel's frame, where recording hints point
    const ui::Control& 清空;     // the data table's 清空 button, named in a hint
  };
  struct Neighbours {
    macro::MacroPanel& panel;
    macro::RecordTable& table;
    macro::MacroSlots& slots;
    macro::SpeedSelector& speed;
    MacroHotkeys& macroHotkeys;
    Replay& replay;
    paste::HotkeyLoading& loading;
    paste::HotkeyRegistry& hotkeys;
    feedback::PicturePreviews& previews;
    paste::WorkingModes& modes;  // 反撇号键粘贴, ended by the recorder
    // A capture window is open: what the user does there is not recorded.
    std::function<bool()> capturing;
  };
  MacroRecorder(Controls controls, feedback::Hints& hints, Neighbours neighbours);

  // A click on the switch.
  void switchClicked();
  // The record hotkey.
  void hotkeyPressed();
  bool recording() const { return n_.panel.state() == macro::RecorderState::Recording; }

 private:
  void switchOn();
  void switchOff();
  void startRecording();
  void stopRecording();
  void hintStopRecordingFirst();
  void enableMacroHotkeyBoxes(bool enabled);
  // 反撇号键粘贴 copies at every drag: recorded, its Ctrl+C (or cut) would
  // run again at every replay.
  void endDragCopy() { n_.modes.endSelectionCopy(false); }
  // The desktop's keys and clicks reach the step recorder while listening.
  void listen();
  void stopListening();
  void recordKey(const hooks::KeyEvent& event);
  void recordMouse(const hooks::MouseEvent& event);
  // The system may drop a hook that once answered too slowly: a recording
  // would then stop without a word. The check puts it back and says so.
  void checkHooks();

  Controls c_;
  feedback::Hints& hints_;
  Neighbours n_;
  macro::StepRecorder steps_;
  hooks::KeyboardSubscription keyHook_;
  hooks::MouseSubscription mouseHook_;
  ui::Timer hookCheck_{c_.window};
};

}  // namespace hf::recorder
