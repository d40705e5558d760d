// The capture window on the real backend, with the system's own mouse: the
// mouse capture, the cursor over the selection and the double click that
// saves it. Its rules are tested on the headless backend.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "capture/capture_window.h"
#include "platform/event_loop.h"
#include "window_fixture.h"

namespace {

using hf::Bitmap;

void sendMouse(DWORD flags) {
  INPUT input{INPUT_MOUSE};
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof(INPUT));
}

void moveTo(int x, int y) {
  SetCursorPos(x, y);
  hf::loop::pause(30);
}

TEST(CaptureWindowOnWine, ADragAndADoubleClickInsideSaveTheFrozenPart) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  Bitmap frozen(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) frozen.at(x, y) = std::uint32_t(y * 7919 + x * 31) & 0xFFFFFF;
  std::vector<Bitmap> copies;
  hf::capture::CaptureWindow window([&](const Bitmap& picture) { copies.push_back(picture); });
  window.open(frozen);
  if (!window.isOpen()) GTEST_SKIP() << "no display to make windows on";

  moveTo(400, 300);
  sendMouse(MOUSEEVENTF_LEFTDOWN);
  moveTo(450, 330);
  moveTo(520, 380);
  sendMouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(win32test::waitFor([&] { return window.hasSelection(); }));
  EXPECT_EQ(window.selection(), (hf::capture::Edges{400, 300, 520, 380}));

  moveTo(460, 340);
  for (int press = 0; press < 2; ++press) {
    sendMouse(MOUSEEVENTF_LEFTDOWN);
    sendMouse(MOUSEEVENTF_LEFTUP);
  }
  ASSERT_TRUE(win32test::waitFor([&] { return !window.isOpen(); }));
  ASSERT_EQ(copies.size(), 1u);
  const Bitmap& copy = copies[0];
  ASSERT_EQ(copy.width, 121);
  ASSERT_EQ(copy.height, 81);
  EXPECT_EQ(copy.at(0, 0), frozen.at(400, 300));
  EXPECT_EQ(copy.at(120, 80), frozen.at(520, 380));
  EXPECT_EQ(copy.at(60, 40), frozen.at(460, 340));
}

// The second press of a quick click and drag reaches the window as a double
// click; it starts the selection all the same.
TEST(CaptureWindowOnWine, AClickThenAQuickDragSelects) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  std::vector<Bitmap> copies;
  hf::capture::CaptureWindow window([&](const Bitmap& picture) { copies.push_back(picture); });
  window.open(Bitmap(width, height, 0x808080));
  if (!window.isOpen()) GTEST_SKIP() << "no display to make windows on";

  moveTo(300, 200);
  sendMouse(MOUSEEVENTF_LEFTDOWN);
  sendMouse(MOUSEEVENTF_LEFTUP);
  sendMouse(MOUSEEVENTF_LEFTDOWN);
  moveTo(350, 240);
  moveTo(420, 280);
  sendMouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(win32test::waitFor([&] { return window.hasSelection(); }));
  EXPECT_EQ(window.selection(), (hf::capture::Edges{300, 200, 420, 280}));
  window.dismiss();
  EXPECT_TRUE(copies.empty());
}

}  // namespace
