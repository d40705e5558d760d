#pragma once

#include <atomic>
#include <memory>
#include <set>

#include "feedback/hints.h"
#include "input/delivery.h"
#include "macro/macro_panel.h"
#include "macro/macro_slots.h"
#include "macro/record_table.h"
#include "macro/speed_selector.h"
#include "paste/hotkeys.h"
#include "paste/target_picker.h"
#include "picture/picture_finder.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/ui.h"

namespace hf::recorder {

// Replay of the record table's steps, a chosen number of passes, on a worker
// thread: the step delays are waited, then the recorded clicks and keys are
// sent as a user's would be. The worker never touches a widget: it reads the
// steps and the selectors through runOnUiThread, and stops on the run flag.
class Replay {
 public:
  struct Controls {
    ui::Window& window;      // the timed start's clock ticks there
    ui::DropDown& 组合框64;  // passes
    ui::Label& 透明标签17;   // "第N次" while replaying
    ui::CheckBox& 选择框13;  // the timed start is armed
    ui::EditBox& 记录1;      // the clock, shown while armed
  };
  struct Neighbours {
    macro::MacroPanel& panel;
    macro::RecordTable& table;
    macro::MacroSlots& slots;
    macro::SpeedSelector& speed;
    paste::HotkeyRegistry& hotkeys;
    input::Delivery& delivery;    // the interval
    paste::TargetPicker& picker;  // the colour swatch, cleared at each start
    picture::PictureFinder& finder;
  };
  Replay(Controls controls, feedback::Hints& hints, Neighbours neighbours);
  ~Replay();

  // The replay hotkey.
  void hotkeyPressed();
  // The stop hotkey: the replay ends after the step in progress.
  void stopPressed();
  // Starts the worker (the replay hotkey after its checks, and the timed start).
  void start();
  bool running() const { return worker_ && !worker_->finished(); }
  // A new speed: the slot's steps again, their delays rescaled.
  void speedChosen();
  // The program is closing: the worker ends at once and lets go of a button
  // it held down; no further step is sent.
  void stopForClose();

  // The timed start: armed by its box, it starts the replay once when the
  // clock text reaches the start time exactly.
  void timedStartClicked();
  void disarmTimedStart();
  void showLoopLabelIdle() { c_.透明标签17.setText("模拟次数"); }

 private:
  void hintStopRecordingFirst();
  // The worker's body and its parts; they run off the UI thread.
  void run();
  void runSteps();
  void performStep(const macro::Step& step);
  // The find steps wait for their colour or picture, attempt after attempt;
  // a stop ends them before the next attempt.
  void performFindColour(const macro::Step& step);
  void performFindImage(const macro::Step& step);
  bool stopped() const { return closing_ || !n_.panel.mayRun(); }
  int interval() const;
  // Waits, cut short only by a close. Each wait counts from when the one
  // before it was due, so the time a step takes to send is not added to the
  // next delay and a replay keeps the recorded rhythm; a wait that ran late
  // by more than kMaxCatchUpMs (a slow moment) is not made up for.
  void wait(int ms);
  static constexpr int kMaxCatchUpMs = 50;
  // A search of the screen takes as long as it takes: the waits after it
  // count whole from its end, not from the rhythm before it.
  void restartRhythm() { due_ = loop::nowMs(); }
  void releaseHeldButtons();
  void clockTick();

  Controls c_;
  feedback::Hints& hints_;
  Neighbours n_;
  ui::Timer 时钟3{c_.window};
  std::unique_ptr<loop::Worker> worker_;
  std::atomic<bool> closing_ = false;
  std::int64_t due_ = 0;                        // the worker's own: when the last wait ended
  std::set<desktop::MouseButton> heldButtons_;  // the worker's own
};

}  // namespace hf::recorder
