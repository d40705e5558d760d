#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <string>

#include "macro/steps.h"
#include "platform/geometry.h"

namespace hf::macro {

// Turns the key and mouse events of a recording into steps. A key step is
// made on a release: the held Ctrl, Shift and Alt as prefixes in that order,
// then the name of the last other key pressed. A mouse step is made for each
// button down and up. The step's delay is the time since the previous step.
class StepRecorder {
 public:
  // The record, replay, stop and screenshot hotkeys: their presses are never recorded.
  using UnrecordedHotkeys = std::array<std::string, 4>;

  // A recording starts now: no delay measured yet.
  void start(std::int64_t nowMs);

  // A key event; a release may complete a step. The number cell is left empty.
  std::optional<Step> key(int virtualKey, bool released, std::int64_t nowMs,
                          const UnrecordedHotkeys& hotkeys);
  // A mouse message with the cursor position; button downs and ups are steps.
  std::optional<Step> mouse(int message, Point cursor, std::int64_t nowMs);

  // An event the recording leaves out (one inside a capture window): no
  // step, and the next step's delay counts from it. A key held then makes
  // no step when let go, nor does the release of a button pressed then.
  void leaveOutKey(std::int64_t nowMs);
  void leaveOutMouse(int message, std::int64_t nowMs);

 private:
  void forgetKeys();

  std::int64_t lastEvent_ = 0;
  std::int64_t keyDelay_ = 0;
  std::string ctrl_, shift_, alt_, keyName_;
  std::set<int> leftOutReleases_;  // button-up messages whose press was left out
};

}  // namespace hf::macro
