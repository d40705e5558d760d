// The IDispatch layer across a process boundary, against the test server
// (tests/win32/servers, built next to this test), registered for the test
// under its own ProgID: texts, numbers and objects crossing, a busy refusal,
// a server that has gone, and one that does not answer in time.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/automation.h"
#include "platform/event_loop.h"
#include "servers/registration.h"

namespace {

namespace automation = hf::automation;
using automation::Variant;

constexpr wchar_t kProgId[] = L"Hotfill.TestServer";
constexpr wchar_t kClassId[] = L"{6F0B7E52-3C1D-4E7A-9A51-2B8C5D0E4F17}";

std::filesystem::path serverExe() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return std::filesystem::path(self).parent_path() / L"hf_automation_server.exe";
}

class AutomationServerTest : public testing::Test {
 protected:
  void SetUp() override {
    const auto exe = serverExe();
    ASSERT_TRUE(std::filesystem::exists(exe)) << "build hf_automation_server first";
    ASSERT_TRUE(servers::registerLocalServer(kProgId, kClassId, L"\"" + exe.wstring() + L"\""));
  }
  void TearDown() override { servers::unregisterLocalServer(kProgId, kClassId); }

  automation::Object start() {
    const auto created = automation::create({"Word.Application", "Hotfill.TestServer"});
    if (!created) {
      ADD_FAILURE() << std::hex << created.error().code;
      return {};
    }
    EXPECT_EQ(created.value().progId, "Hotfill.TestServer");
    return created.value().object;
  }

  automation::Apartment apartment_;
};

TEST_F(AutomationServerTest, ValuesCrossTheProcessBoundary) {
  const automation::Object server = start();
  ASSERT_FALSE(server.empty());
  const auto name = server.get("Name");
  ASSERT_TRUE(name) << std::hex << name.error().code;
  EXPECT_EQ(std::get<std::string>(name.value()), "测试");
  ASSERT_TRUE(server.put("Name", std::string("张三 A1\r\n")));
  EXPECT_EQ(std::get<std::string>(server.get("name").value()), "张三 A1\r\n");

  EXPECT_EQ(std::get<int>(server.call("Echo", {-42}).value()), -42);
  EXPECT_TRUE(std::get<bool>(server.call("Echo", {true}).value()));
}

TEST_F(AutomationServerTest, AnObjectGoesToTheServerAndBack) {
  const automation::Object server = start();
  ASSERT_FALSE(server.empty());
  ASSERT_TRUE(server.put("Name", std::string("张三 A1\r\n")));
  const auto self = automation::asObject(server.call("Echo", {server}));
  ASSERT_TRUE(self);
  EXPECT_EQ(std::get<std::string>(self.value().get("Name").value()), "张三 A1\r\n");
}

TEST_F(AutomationServerTest, RefusalsAndAServerThatHasGoneAreTold) {
  const automation::Object server = start();
  const auto busy = server.call("Busy");
  ASSERT_FALSE(busy);
  EXPECT_TRUE(busy.error().busy()) << std::hex << busy.error().code;

  const auto unknown = server.call("Save");
  ASSERT_FALSE(unknown);
  EXPECT_EQ(unknown.error().code, automation::kUnknownName);

  ASSERT_TRUE(server.call("Quit"));  // the user closes the application
  hf::loop::pause(500);
  const auto gone = server.get("Name");
  ASSERT_FALSE(gone);
  EXPECT_TRUE(gone.error().serverGone())
      << std::hex << gone.error().code << " " << gone.error().text;
  EXPECT_FALSE(gone.error().text.empty());
}

std::int64_t clicked = -1;  // when the window below got a click

LRESULT CALLBACK recordClick(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_LBUTTONDOWN) clicked = hf::loop::nowMs();
  return DefWindowProcW(window, message, wParam, lParam);
}

// A click that comes while a call waits for a server that hangs is handled at
// once; the call gives up at its time limit, and until the late answer comes
// nothing more is sent.
TEST_F(AutomationServerTest, AnUnansweredCallGivesUpAtItsLimitWhileTheWindowAnswersClicks) {
  const automation::Object server = start();
  ASSERT_FALSE(server.empty());
  clicked = -1;
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = recordClick;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"hotfill click target";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                nullptr, windowClass.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  std::thread user([window] {
    Sleep(500);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  });

  const int hangMs = automation::kCallTimeLimitMs + 3000;
  const std::int64_t started = hf::loop::nowMs();
  const auto hung = server.call("Hang", {hangMs});
  const std::int64_t gaveUp = hf::loop::nowMs();
  user.join();
  ASSERT_FALSE(hung);
  EXPECT_TRUE(hung.error().unanswered()) << std::hex << hung.error().code;
  EXPECT_GE(gaveUp - started, automation::kCallTimeLimitMs - 20);
  EXPECT_LT(gaveUp - started, automation::kCallTimeLimitMs + 1500);
  EXPECT_GE(clicked, started);
  EXPECT_LT(clicked, started + 1500);
  EXPECT_TRUE(automation::awaitingLateAnswer());

  const auto refused = server.put("Name", std::string("late"));
  EXPECT_TRUE(!refused && refused.error().unanswered());
  EXPECT_LT(hf::loop::nowMs() - gaveUp, 500);

  for (int waited = 0; automation::awaitingLateAnswer() && waited < 10000; waited += 100)
    hf::loop::pause(100);
  EXPECT_FALSE(automation::awaitingLateAnswer());
  const auto name = server.get("Name");
  ASSERT_TRUE(name) << std::hex << name.error().code;
  EXPECT_EQ(std::get<std::string>(name.value()), "测试");  // the refused put never went out
  DestroyWindow(window);
}

}  // namespace
