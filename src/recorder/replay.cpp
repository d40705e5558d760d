#include "recorder/replay.h"

#include <algorithm>

#include "input/key_actions.h"
#include "macro/replay_timing.h"
#include "macro/step_keys.h"
#include "text/numbers.h"

namespace hf::recorder {
namespace {

using macro::RecorderState;
using macro::Step;

template <typename Read>
auto onUi(Read read) {
  decltype(read()) value{};
  loop::runOnUiThread([&] { value = read(); });
  return value;
}

struct ButtonEvent {
  desktop::MouseButton button;
  desktop::MouseAction action;
};

std::optional<ButtonEvent> buttonEventOf(int message) {
  using desktop::MouseAction;
  using desktop::MouseButton;
  switch (message) {
    case macro::kLeftDown:
      return ButtonEvent{MouseButton::Left, MouseAction::Down};
    case macro::kLeftUp:
      return ButtonEvent{MouseButton::Left, MouseAction::Up};
    case macro::kRightDown:
      return ButtonEvent{MouseButton::Right, MouseAction::Down};
    case macro::kRightUp:
      return ButtonEvent{MouseButton::Right, MouseAction::Up};
    case macro::kMiddleDown:
      return ButtonEvent{MouseButton::Middle, MouseAction::Down};
    case macro::kMiddleUp:
      return ButtonEvent{MouseButton::Middle, MouseAction::Up};
  }
  return std::nullopt;
}

}  // namespace

Replay::Replay(Controls controls, feedback::Hints& hints, Neighbours neighbours)
    : c_(controls), hints_(hints), n_(neighbours) {
  c_.选择框13.onClick = [this] { timedStartClicked(); };
  时钟3.onTick = [this] { clockTick(); };
}

Replay::~Replay() {
  stopForClose();
}

void Replay::hintStopRecordingFirst() {
  hints_.show(hints_.气球提示框1, *n_.panel.macroHotkeyBoxes()[0], 30,
              "●按" + n_.panel.macroHotkeys()[0] + "停止记录，重新记录！");
}

void Replay::hotkeyPressed() {
  if (!n_.panel.recorderOn()) return;
  if (n_.panel.state() == RecorderState::Recording) return hintStopRecordingFirst();
  if (running()) {
    hints_.show(hints_.气球提示框1, *n_.panel.macroHotkeyBoxes()[1], 30,
                "●模拟正在进行，按停止快捷键停止！");
    return;
  }
  n_.picker.showPickedColour(std::nullopt);
  loop::pause(n_.delivery.interval());
  hints_.show(hints_.气球提示框1, *n_.panel.macroHotkeyBoxes()[1], 30, "●模拟已开始！");
  n_.hotkeys.registerBackQuote();
  start();
}

void Replay::start() {
  if (running()) return;
  worker_.reset();  // the one that ended
  worker_ = std::make_unique<loop::Worker>([this] { run(); });
}

void Replay::stopPressed() {
  if (!n_.panel.recorderOn()) return;
  if (n_.panel.state() == RecorderState::Recording) return hintStopRecordingFirst();
  n_.panel.setState(RecorderState::ReplayStopped);
  n_.panel.setMayRun(false);
  loop::pause(50);
  hints_.show(hints_.气球提示框1, *n_.panel.macroHotkeyBoxes()[2], 30, "●已停止模拟！");
}

void Replay::stopForClose() {
  closing_ = true;
  n_.panel.setMayRun(false);
  worker_.reset();
}

void Replay::speedChosen() {
  n_.slots.loadCurrent();
  const int speed = n_.speed.percent();
  for (int row = 0; row < n_.table.rowCount(); ++row)
    n_.table.setCell(row, macro::kDelay,
                     macro::rescaledDelay(n_.table.cell(row, macro::kDelay), speed));
}

void Replay::wait(int ms) {
  constexpr std::int64_t kSlice = 10;
  due_ = std::max(due_, loop::nowMs() - kMaxCatchUpMs) + ms;
  for (std::int64_t left = due_ - loop::nowMs(); left > 0 && !closing_; left = due_ - loop::nowMs())
    loop::pauseOnWorker(static_cast<int>(std::min(left, kSlice)));
}

void Replay::run() {
  due_ = loop::nowMs();
  n_.panel.setMayRun(true);
  const bool allowed = onUi([this] {
    return n_.panel.recorderOn() && n_.panel.state() != RecorderState::Recording &&
           n_.slots.currentSlot() != 0;
  });
  if (!allowed) return;
  wait(onUi([this] { return n_.delivery.interval(); }));
  // The replay hotkey's own modifiers would turn the first keys into shortcuts.
  input::letGoOfModifiers();
  due_ = loop::nowMs();
  loop::runOnUiThread([this] { n_.panel.setState(RecorderState::Replaying); });
  const std::string passesText = onUi([this] { return c_.组合框64.text(); });
  const int passes = text::toInt(passesText);
  for (int pass = 1; pass <= passes && !closing_; ++pass) {
    if (!n_.panel.mayRun()) break;
    loop::runOnUiThread([&] { c_.透明标签17.setText("第" + text::toText(pass) + "次"); });
    runSteps();
    wait(50);
    if (text::toText(pass) == passesText && n_.panel.mayRun() && !closing_)
      loop::runOnUiThread([this] {
        hints_.show(hints_.气球提示框1, *n_.panel.macroHotkeyBoxes()[1], 30, "●模拟结束！");
      });
  }
  releaseHeldButtons();
}

// Cells are read when their step runs, so an edit during the replay counts
// from the next step that reads it.
void Replay::runSteps() {
  const int rows = onUi([this] { return n_.table.rowCount(); });
  for (int row = 0; row < rows; ++row) {
    if (!n_.panel.mayRun() || closing_) return;
    performStep(onUi([&] { return row < n_.table.rowCount() ? n_.table.steps()[row] : Step{}; }));
  }
}

void Replay::performStep(const Step& step) {
  const std::string& kind = step[macro::kKind];
  if (kind == macro::kMouseStep) {
    wait(text::toInt(step[macro::kDelay]));
    if (closing_) return;
    desktop::setCursorPos({text::toInt(step[macro::kX]), text::toInt(step[macro::kY])});
    if (const auto event = buttonEventOf(text::toInt(step[macro::kCode]))) {
      desktop::mouseButton(event->button, event->action);
      if (event->action == desktop::MouseAction::Down)
        heldButtons_.insert(event->button);
      else
        heldButtons_.erase(event->button);
    }
  } else if (kind == macro::kKeyStep) {
    wait(text::toInt(step[macro::kDelay]));
    if (closing_) return;
    // Downs and ups of one step go out together: no key stays held after it.
    for (const macro::KeyEvent& key : macro::keyStepEvents(step[macro::kName], step[macro::kCode]))
      key.up ? desktop::keyUp(key.virtualKey) : desktop::keyDown(key.virtualKey);
  } else if (kind == macro::kFindColourStep) {
    performFindColour(step);
  } else if (kind == macro::kFindImageStep) {
    performFindImage(step);
  }
}

// A replay stopped between a button's down and up step lets go of it.
void Replay::releaseHeldButtons() {
  for (desktop::MouseButton button : heldButtons_)
    desktop::mouseButton(button, desktop::MouseAction::Up);
  heldButtons_.clear();
}

void Replay::timedStartClicked() {
  if (!n_.panel.recorderOn()) {
    c_.选择框13.setChecked(false);
    hints_.show(hints_.气球提示框1, n_.panel.recorderSwitch(), 10, "●请开启zira再操作！");
    return;
  }
  const bool armed = c_.选择框13.isChecked();
  时钟3.setInterval(armed ? 1 : 0);
  c_.记录1.setVisible(armed);
  n_.panel.showStartTime(armed);
}

void Replay::disarmTimedStart() {
  c_.选择框13.setChecked(false);
  时钟3.setInterval(0);
  c_.记录1.setVisible(false);
  n_.panel.showStartTime(false);
}

// The start time compares as text: it must be typed as the clock shows it.
void Replay::clockTick() {
  const desktop::LocalTime now = desktop::localTime();
  const std::string clock = macro::clockText(now.hour, now.minute, now.second);
  c_.记录1.setText(clock);
  if (clock != n_.panel.startTime()) return;
  时钟3.setInterval(0);
  if (!n_.panel.recorderOn()) return;
  if (n_.panel.state() == RecorderState::Recording) return hintStopRecordingFirst();
  n_.picker.showPickedColour(std::nullopt);
  loop::pause(10);
  hints_.show(hints_.气球提示框1, *n_.panel.macroHotkeyBoxes()[1], 30, "●模拟已开始！");
  n_.hotkeys.registerBackQuote();
  start();
}

}  // namespace hf::recorder
