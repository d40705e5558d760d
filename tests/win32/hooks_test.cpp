#include <windows.h>

#include <cstdint>
#include <thread>
#include <vector>

#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/hooks.h"
#include "window_fixture.h"

namespace {

namespace hooks = hf::hooks;
using hf::loop::nowMs;

using HookThread = WindowTest;

// The UI thread sleeps (as in a pause's wait) while another thread sends a
// key: the key goes on to the window without waiting for the UI thread, and
// the callback sees it once the UI thread processes events again, with the
// time it happened. Its answer came too late to swallow the key.
TEST_F(HookThread, KeysDoNotWaitForASleepingUiThread) {
  if (!win32test::bringToFront(*window_)) GTEST_SKIP() << "the window cannot come to the front";
  win32test::takeInputMessages(WM_KEYFIRST, WM_KEYLAST, 0);
  struct Seen {
    hooks::KeyEvent event;
    std::int64_t calledAt = 0;
    bool onUiThread = false;
  };
  std::vector<Seen> seen;
  hooks::KeyboardSubscription subscription([&](const hooks::KeyEvent& event) {
    seen.push_back({event, nowMs(), hf::loop::onUiThread()});
    return true;
  });

  constexpr int kSleepMs = 1000;
  std::int64_t sentAt = 0;
  std::int64_t sendTook = 0;
  std::thread sender([&] {
    Sleep(100);
    sentAt = nowMs();
    hf::desktop::keyChord({'G'});
    sendTook = nowMs() - sentAt;
  });
  const std::int64_t sleptAt = nowMs();
  Sleep(kSleepMs);
  sender.join();
  EXPECT_LT(sendTook, kSleepMs / 2) << "the key waited for the UI thread";
  EXPECT_EQ(win32test::takeInputMessages(WM_KEYDOWN, WM_KEYUP, 2).size(), 2u)
      << "the window got the key";

  ASSERT_TRUE(win32test::waitFor([&] { return seen.size() == 2; }));
  EXPECT_EQ(seen[0].event.message, hooks::KeyMessage::Down);
  EXPECT_EQ(seen[1].event.message, hooks::KeyMessage::Up);
  for (const Seen& s : seen) {
    EXPECT_EQ(s.event.virtualKey, 'G');
    EXPECT_TRUE(s.onUiThread);
    EXPECT_GE(s.calledAt, sleptAt + kSleepMs);
    EXPECT_GE(s.event.time, sentAt - 50);
    EXPECT_LE(s.event.time, sentAt + sendTook + 50);
  }
}

}  // namespace
