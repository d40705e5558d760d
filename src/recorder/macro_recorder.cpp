#include "recorder/macro_recorder.h"

#include "platform/desktop.h"
#include "platform/event_loop.h"

namespace hf::recorder {
namespace {

using macro::RecorderState;

constexpr Rgb kRefusedSwitchColor{128, 224, 0};
// A probe of a hook takes a few milliseconds while the hook answers.
constexpr int kHookCheckMs = 2000;

}  // namespace

MacroRecorder::MacroRecorder(Controls controls, feedback::Hints& hints, Neighbours neighbours)
    : c_(controls), hints_(hints), n_(neighbours) {
  hookCheck_.onTick = [this] { checkHooks(); };
}

void MacroRecorder::hintStopRecordingFirst() {
  hints_.show(hints_.气球提示框1, *n_.panel.macroHotkeyBoxes()[0], 30,
              "●按" + n_.panel.macroHotkeys()[0] + "停止记录，重新记录！");
}

void MacroRecorder::enableMacroHotkeyBoxes(bool enabled) {
  for (ui::EditBox* box : n_.panel.macroHotkeyBoxes()) box->setEnabled(enabled);
}

void MacroRecorder::switchClicked() {
  if (n_.panel.recorderOn())
    switchOff();
  else
    switchOn();
}

void MacroRecorder::switchOn() {
  if (!n_.macroHotkeys.registerAll()) return;
  n_.panel.showRecordTable(true);
  n_.previews.hideRowPicture();
  enableMacroHotkeyBoxes(false);
  steps_.start(loop::nowMs());
  hints_.show(hints_.气球提示框2, c_.清空, 32, "●zira【清空】、【删除】按钮！");
  hints_.showAt(hints_.气球提示框1, 53, 350,
                "●zira----专为网页填表点击定身打造\r\n\r\n"
                " 记录【鼠标】、【键盘】、【找图】、【找色】命令进行模拟。\r\n\r\n"
                " 遇到网页填表刷新速度有快慢，找图功能特别适合，");
  n_.panel.showRecorderOn(true);
  if (n_.loading.loaded()) n_.loading.unload();
  n_.hotkeys.release(n_.hotkeys.backQuote);
  endDragCopy();
  n_.panel.setMayRun(true);
}

void MacroRecorder::switchOff() {
  if (recording()) {
    n_.panel.showSwitchRefused(kRefusedSwitchColor);
    hintStopRecordingFirst();
    return;
  }
  n_.replay.disarmTimedStart();
  enableMacroHotkeyBoxes(true);
  steps_.start(loop::nowMs());
  n_.previews.hideFindImagePicture();
  n_.panel.showRecordTable(false);
  n_.replay.showLoopLabelIdle();
  n_.panel.setState(RecorderState::NotRecorded);
  n_.panel.setMayRun(false);
  n_.panel.showRecorderOn(false);
  n_.table.clear();  // not saved: the slot file keeps the steps
  n_.hotkeys.registerBackQuote();
  stopListening();
}

void MacroRecorder::hotkeyPressed() {
  if (!n_.panel.recorderOn()) return;
  n_.panel.setMayRun(true);
  if (recording()) return stopRecording();
  if (!n_.speed.requireFullSpeed()) return;  // delays are recorded at 100 % only
  startRecording();
}

// 反撇号键粘贴 may have been chosen again in table mode since the switch-on.
void MacroRecorder::startRecording() {
  if (n_.loading.loaded()) n_.loading.unload();
  n_.hotkeys.release(n_.hotkeys.backQuote);
  endDragCopy();
  n_.panel.setState(RecorderState::Recording);
  hints_.show(hints_.气球提示框1, c_.外形框1, 130, "●记录已开始！");
  desktop::playSound(Sound::RecordStart);
  loop::pause(10);
  steps_.start(loop::nowMs());
  listen();
}

void MacroRecorder::stopRecording() {
  n_.panel.setState(RecorderState::RecordingStopped);
  desktop::playSound(Sound::RecordStop);
  n_.hotkeys.registerBackQuote();
  stopListening();
  if (!n_.table.cell(0, macro::kKind).empty()) n_.slots.save();
  if (!n_.loading.loaded())
    hints_.show(hints_.气球提示框2, n_.loading.toggleButton(), 10,
                "●使用zirodi，记得点击【加载热键】！");
  hints_.show(hints_.气球提示框1, c_.外形框1, 130, "●记录已结束！");
}

// The recorder never swallows an event: recording must not block input.
void MacroRecorder::listen() {
  keyHook_ = hooks::KeyboardSubscription([this](const hooks::KeyEvent& event) {
    recordKey(event);
    return false;
  });
  mouseHook_ = hooks::MouseSubscription([this](const hooks::MouseEvent& event) {
    recordMouse(event);
    return false;
  });
  hookCheck_.setInterval(kHookCheckMs);
}

void MacroRecorder::stopListening() {
  hookCheck_.setInterval(0);
  keyHook_ = {};
  mouseHook_ = {};
}

// A release with Alt held comes as a system key-up; it completes a step as
// any release does.
void MacroRecorder::recordKey(const hooks::KeyEvent& event) {
  if (n_.capturing()) return steps_.leaveOutKey(event.time);
  const bool released = !event.down();
  if (auto step = steps_.key(event.virtualKey, released, event.time, n_.panel.hotkeyTexts()))
    n_.table.addStep(std::move(*step));
}

// The point is the event's own, not the cursor's when the UI thread gets to
// it: the mouse may have moved on by then.
void MacroRecorder::recordMouse(const hooks::MouseEvent& event) {
  const int message = static_cast<int>(event.message);
  if (n_.capturing()) return steps_.leaveOutMouse(message, event.time);
  if (auto step = steps_.mouse(message, event.point, event.time))
    n_.table.addStep(std::move(*step));
}

void MacroRecorder::checkHooks() {
  if (!recording()) return;
  bool reinstalled = false;
  bool lost = false;
  const hooks::Subscription* const hooks[] = {&keyHook_, &mouseHook_};
  for (const hooks::Subscription* hook : hooks) {
    if (hook->receiving()) continue;
    (hook->reinstall() ? reinstalled : lost) = true;
  }
  if (lost)
    hints_.show(hints_.气球提示框1, c_.外形框1, 130,
                "●系统移除了记录用的键盘鼠标监视，无法重新安装！请按" + n_.panel.macroHotkeys()[0] +
                    "停止记录后重新记录！");
  else if (reinstalled)
    hints_.show(hints_.气球提示框1, c_.外形框1, 130,
                "●系统曾移除了记录用的键盘鼠标监视，已重新安装，记录继续！");
}

}  // namespace hf::recorder
