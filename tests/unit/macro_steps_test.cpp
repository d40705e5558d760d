#include <gtest/gtest.h>

#include "macro/replay_timing.h"
#include "macro/slot_files.h"
#include "macro/step_keys.h"
#include "macro/step_recorder.h"

namespace hf::macro {
namespace {

constexpr int kCtrlLeft = 162, kShiftLeft = 160, kAltLeft = 164, kC = 67;

struct KeyPress {
  int vk;
  bool released;
  std::int64_t at;
};

// The steps a recording of these key events makes, as "text code delay".
std::vector<std::string> recordKeys(const std::vector<KeyPress>& events,
                                    const StepRecorder::UnrecordedHotkeys& hotkeys = {
                                        "F9", "F10", "F11", "F8"}) {
  StepRecorder recorder;
  recorder.start(1000);
  std::vector<std::string> out;
  for (const KeyPress& e : events)
    if (auto step = recorder.key(e.vk, e.released, e.at, hotkeys))
      out.push_back(step->at(kName) + " " + step->at(kCode) + " " + step->at(kDelay));
  return out;
}

TEST(StepRecorder, KeyStepsTakeTheHeldModifiersAndTheLastKey) {
  struct Case {
    const char* name;
    std::vector<KeyPress> events;
    std::vector<std::string> steps;
  } cases[] = {
      {"Ctrl+C, C released first",
       {{kCtrlLeft, false, 1100}, {kC, false, 1250}, {kC, true, 1300}, {kCtrlLeft, true, 1350}},
       {"Ctrl+C 67 250"}},
      {"Ctrl+C, Ctrl released first",
       {{kCtrlLeft, false, 1100}, {kC, false, 1250}, {kCtrlLeft, true, 1300}, {kC, true, 1350}},
       {"Ctrl+C 162 250"}},
      {"modifiers alone",
       {{kCtrlLeft, false, 1100},
        {kShiftLeft, false, 1110},
        {kAltLeft, false, 1120},
        {kAltLeft, true, 1130},
        {kShiftLeft, true, 1140},
        {kCtrlLeft, true, 1150}},
       {}},
      {"prefixes in the order Ctrl, Shift, Alt",
       {{kAltLeft, false, 1100},
        {kShiftLeft, false, 1110},
        {kCtrlLeft, false, 1120},
        {'A', false, 1130},
        {'A', true, 1140}},
       {"Ctrl+Shift+Alt+A 65 130"}},  // modifier presses are no events of their own
      {"a delay measured as 0 waits 78 ms", {{'B', false, 1000}, {'B', true, 1050}}, {"B 66 78"}},
      {"the macro and screenshot hotkeys are never recorded",
       {{120, false, 1100},
        {120, true, 1150},
        {119, false, 1160},
        {119, true, 1170},
        {'D', false, 1200},
        {'D', true, 1250}},
       {"D 68 40"}},
      {"an unnamed key by its code", {{91, false, 1100}, {91, true, 1150}}, {"91 91 100"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(recordKeys(c.events), c.steps);
  }
}

TEST(StepRecorder, ButtonsAreStepsAndMovesAreNot) {
  StepRecorder recorder;
  recorder.start(1000);
  EXPECT_FALSE(recorder.mouse(512, {5, 5}, 1100));  // a move
  const auto down = recorder.mouse(kLeftDown, {300, 200}, 1200);
  const auto up = recorder.mouse(kLeftUp, {301, 200}, 1280);
  ASSERT_TRUE(down && up);
  EXPECT_EQ(*down, (Step{"", "鼠标", "左键按下", "513", "300", "200", "200"}));
  EXPECT_EQ(*up, (Step{"", "鼠标", "左键放开", "514", "301", "200", "80"}));
  // A key pressed after the click measures its delay from the click.
  EXPECT_FALSE(recorder.key('E', false, 1300, {}));
  const auto key = recorder.key('E', true, 1310, {});
  ASSERT_TRUE(key);
  EXPECT_EQ(key->at(kDelay), "20");
}

TEST(StepKeys, NamesAndCodesOfKeySteps) {
  const std::pair<int, std::string> named[] = {
      {112, "F1"},  {123, "F12"}, {48, "Num0"},  {105, "num9"}, {65, "A"},
      {27, "Esc"},  {145, "Scr"}, {13, "Enter"}, {8, "BackS"},  {38, " ↑"},
      {107, " ＋"}, {186, " ；"}, {222, " ‘"},   {220, " \\"},  {255, "255"}};
  for (const auto& [vk, name] : named) {
    EXPECT_EQ(recordedKeyName(vk), name) << vk;
    if (vk != 255) {
      EXPECT_EQ(replayKeyCode(name), vk) << name;
    }
  }
  EXPECT_EQ(replayKeyCode("Ctrl"), 163);
  EXPECT_EQ(replayKeyCode("Shift"), 161);
  EXPECT_EQ(replayKeyCode("Alt"), 165);
  EXPECT_EQ(replayKeyCode("esc"), 0);  // names compare exactly
  EXPECT_EQ(replayKeyCode("91"), 0);
}

TEST(StepKeys, WhatAKeyStepSends) {
  using E = KeyEvent;
  struct Case {
    std::string text, code;
    std::vector<KeyEvent> events;
  } cases[] = {
      {"Ctrl+C", "67", {E{163, false}, E{67, false}, E{67, true}, E{163, true}}},
      {"F5", "116", {E{116, false}, E{116, true}}},
      {"F5", "40", {E{40, false}, E{40, true}}},  // the code cell, not the name
      {"Ctrl+Shift+Alt+A",
       "65",
       {E{163, false}, E{161, false}, E{165, false}, E{65, false}, E{65, true}, E{165, true},
        E{161, true}, E{163, true}}},
      {"Ctrl+ ＋", "107", {E{163, false}, E{107, false}, E{107, true}, E{163, true}}},
      {"Ctrl+", "162", {E{163, false}, E{0, false}, E{0, true}, E{163, true}}},
      {"a+b+c+d+e", "1", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(keyStepEvents(c.text, c.code), c.events);
  }
}

TEST(SlotFiles, StepsRoundTripByteForByte) {
  const std::vector<Step> steps{{"1", "鼠标", "左键按下", "513", "300", "200", "450"},
                                {"2", "按键", "Ctrl+C", "67", "", "", "78"},
                                {},
                                {"4", "找图", "2019年12月12日12时5分.bmp", "", "", "", "200"}};
  const std::string text = formatSlotFile(steps);
  EXPECT_EQ(text.substr(0, text.find("\r\n") + 2), "1←→鼠标←→左键按下←→513←→300←→200←→450←→\r\n");
  EXPECT_EQ(parseSlotFile(text), steps);
  EXPECT_EQ(formatSlotFile(parseSlotFile(text)), text);
  EXPECT_EQ(formatSlotFile({}), "");
  EXPECT_TRUE(parseSlotFile("").empty());
  // Short and long lines: missing cells stay empty, extra cells are dropped.
  EXPECT_EQ(parseSlotFile("1←→鼠标\r\n1←→2←→3←→4←→5←→6←→7←→8←→\r\n"),
            (std::vector<Step>{{"1", "鼠标"}, {"1", "2", "3", "4", "5", "6", "7"}}));
}

TEST(ReplayTiming, SpeedRescalesTheRecordedDelays) {
  const std::tuple<std::string, int, std::string> cases[] = {
      {"200", 50, "101"}, {"1", 50, "1"},  {"0", 50, "1"},   {"200", 100, "201"},
      {"1", 100, "2"},    {"0", 100, "1"}, {"abc", 10, "1"}, {"999", 1, "10"}};
  for (const auto& [delay, speed, expected] : cases)
    EXPECT_EQ(rescaledDelay(delay, speed), expected) << delay << " at " << speed;
}

TEST(ReplayTiming, ClockTextHasNoLeadingZeros) {
  EXPECT_EQ(clockText(9, 5, 0), "9时5分0秒");
  EXPECT_EQ(clockText(23, 59, 59), "23时59分59秒");
  EXPECT_EQ(clockText(0, 0, 0), "0时0分0秒");
}

}  // namespace
}  // namespace hf::macro
