#include "macro/step_recorder.h"

#include "macro/step_keys.h"
#include "text/numbers.h"

namespace hf::macro {
namespace {

// A key step whose delay measured 0 (the same tick as the event before) waits this long.
constexpr std::string_view kUnmeasuredKeyDelay = "78";

}  // namespace

void StepRecorder::start(std::int64_t nowMs) {
  lastEvent_ = nowMs;
  keyDelay_ = 0;
  forgetKeys();
  leftOutReleases_.clear();
}

void StepRecorder::leaveOutKey(std::int64_t nowMs) {
  lastEvent_ = nowMs;
  forgetKeys();
}

void StepRecorder::leaveOutMouse(int message, std::int64_t nowMs) {
  lastEvent_ = nowMs;
  if (message == kLeftDown || message == kRightDown || message == kMiddleDown)
    leftOutReleases_.insert(message + 1);  // each button's up follows its down
  else
    leftOutReleases_.erase(message);
}

void StepRecorder::forgetKeys() {
  ctrl_.clear();
  shift_.clear();
  alt_.clear();
  keyName_.clear();
}

std::optional<Step> StepRecorder::key(int vk, bool released, std::int64_t nowMs,
                                      const UnrecordedHotkeys& hotkeys) {
  if (!released) {
    keyDelay_ = nowMs - lastEvent_;
    if (vk == 160 || vk == 161) {
      shift_ = "Shift+";
    } else if (vk == 162 || vk == 163) {
      ctrl_ = "Ctrl+";
    } else if (vk == 164 || vk == 165) {
      alt_ = "Alt+";
    } else {
      keyName_ = recordedKeyName(vk);
      lastEvent_ = nowMs;
    }
    return std::nullopt;
  }
  const std::string keyText = ctrl_ + shift_ + alt_ + keyName_;
  const bool named = !keyName_.empty();
  forgetKeys();
  if (!named) return std::nullopt;
  for (const std::string& hotkey : hotkeys)
    if (keyText == hotkey) return std::nullopt;
  Step step;
  step[kKind] = kKeyStep;
  step[kName] = keyText;
  step[kCode] = text::toText(vk);
  step[kDelay] = keyDelay_ == 0 ? std::string(kUnmeasuredKeyDelay) : text::toText(keyDelay_);
  return step;
}

std::optional<Step> StepRecorder::mouse(int message, Point cursor, std::int64_t nowMs) {
  if (leftOutReleases_.erase(message) != 0) {
    lastEvent_ = nowMs;
    return std::nullopt;
  }
  const std::int64_t delay = lastEvent_ == 0 ? 0 : nowMs - lastEvent_;
  if (lastEvent_ == 0) lastEvent_ = nowMs;
  const std::string_view action = buttonActionName(message);
  if (action.empty()) return std::nullopt;
  Step step;
  step[kKind] = kMouseStep;
  step[kName] = action;
  step[kCode] = text::toText(message);
  step[kX] = text::toText(cursor.x);
  step[kY] = text::toText(cursor.y);
  step[kDelay] = text::toText(delay);
  lastEvent_ = nowMs;
  return step;
}

}  // namespace hf::macro
