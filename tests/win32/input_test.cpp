#include <windows.h>

#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/desktop.h"
#include "window_fixture.h"

namespace {

using namespace hf::desktop;

std::wstring windowText(HWND window) {
  std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
  text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
  return text;
}

// What the clipboard holds as Unicode text, read without the code under test.
std::wstring rawClipboardText() {
  if (!OpenClipboard(nullptr)) return L"<busy>";
  std::wstring text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

// Texts travel as Unicode text, both ways: what the program puts there and
// what another program put there.
TEST(UnicodeClipboard, CarriesTheTextBothWays) {
  ASSERT_TRUE(setClipboardText("中文，全角★\r\nline 2"));
  EXPECT_EQ(rawClipboardText(), L"中文，全角★\r\nline 2");

  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  const std::wstring theirs = L"别的程序 \u00E9";
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (theirs.size() + 1) * sizeof(wchar_t));
  std::memcpy(GlobalLock(memory), theirs.c_str(), (theirs.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
  EXPECT_EQ(clipboardText(), "别的程序 \xA8\xA6");
}

// The clipboard's bytes in a format, read without the code under test;
// nothing when it holds none.
std::optional<std::string> rawClipboardData(UINT format) {
  if (!OpenClipboard(nullptr)) {
    ADD_FAILURE() << "the clipboard is busy";
    return std::nullopt;
  }
  std::optional<std::string> bytes;
  HANDLE data = GetClipboardData(format);
  if (const auto* locked = data ? static_cast<const char*>(GlobalLock(data)) : nullptr) {
    bytes = std::string(locked, GlobalSize(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return bytes;
}

std::optional<DWORD> rawClipboardDword(UINT format) {
  const std::optional<std::string> bytes = rawClipboardData(format);
  if (!bytes || bytes->size() < sizeof(DWORD)) return std::nullopt;
  DWORD value = 0;
  std::memcpy(&value, bytes->data(), sizeof value);
  return value;
}

TEST(ClipboardMarks, TextIsMarkedChineseSoThatAnsiReadersGetGbk) {
  ASSERT_TRUE(setClipboardText("中文，全角"));
  EXPECT_EQ(rawClipboardDword(CF_LOCALE), 0x0804u);
  // The system converts CF_TEXT with the code page of CF_LOCALE, whatever
  // the keyboard layout and the system's own code page.
  const std::string ansi = rawClipboardData(CF_TEXT).value_or("<none>");
  EXPECT_EQ(ansi.substr(0, ansi.find('\0')), "中文，全角");
}

TEST(ClipboardMarks, PrivateTextIsKeptOutOfHistoryAndCloud) {
  const UINT exclude = RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing");
  const UINT history = RegisterClipboardFormatW(L"CanIncludeInClipboardHistory");
  const UINT cloud = RegisterClipboardFormatW(L"CanUploadToCloudClipboard");
  struct Case {
    ClipboardPrivacy privacy;
    std::optional<DWORD> allowed;  // the value of the two permission formats
  };
  // Private first: a normal text after it must not keep its marks.
  const Case cases[] = {{ClipboardPrivacy::Private, 0}, {ClipboardPrivacy::Normal, std::nullopt}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.privacy == ClipboardPrivacy::Private ? "private" : "normal");
    ASSERT_TRUE(setClipboardText("账号 zhang", c.privacy));
    EXPECT_EQ(rawClipboardText(), L"账号 zhang");
    EXPECT_EQ(rawClipboardData(exclude).has_value(), c.allowed.has_value());
    EXPECT_EQ(rawClipboardDword(history), c.allowed);
    EXPECT_EQ(rawClipboardDword(cloud), c.allowed);
  }
}

// The test window with an edit box that has the keyboard focus.
class EditTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    if (IsSkipped()) return;
    edit_ = std::make_unique<hf::ui::EditBox>(*window_, hf::ui::EditBox::Args{{10, 10, 300, 22}});
    edit_->focus();
  }

  HWND edit() const { return hwndOf(*edit_); }
  WindowId editId() const { return reinterpret_cast<WindowId>(edit()); }

  std::unique_ptr<hf::ui::EditBox> edit_;
};

TEST_F(EditTest, PostedCharactersArriveWhole) {
  postCharacters(editId(), "汉字★ and ASCII");
  waitFor([&] { return windowText(edit()) == L"汉字★ and ASCII"; });
  EXPECT_EQ(windowText(edit()), L"汉字★ and ASCII");
}

TEST_F(EditTest, PreciseWaitRunsEventsThatArriveDuringTheWait) {
  std::thread poster([edit = edit()] {
    Sleep(20);
    PostMessageW(edit, WM_CHAR, L'x', 0);
  });
  const auto start = hf::loop::nowMs();
  hf::loop::preciseWait(100);
  const auto waited = hf::loop::nowMs() - start;
  poster.join();
  EXPECT_GE(waited, 100);
  EXPECT_EQ(windowText(edit()), L"x");
}

// Simulated input goes to the foreground window, so these tests show theirs there.
class InputTest : public EditTest {
 protected:
  void SetUp() override {
    EditTest::SetUp();
    if (IsSkipped()) return;
    if (!win32test::bringToFront(*window_))
      GTEST_SKIP() << "the test window cannot become the foreground window";
  }

  static std::vector<MSG> keyMessages(size_t expected) {
    return win32test::takeInputMessages(WM_KEYFIRST, WM_KEYLAST, expected);
  }
};

TEST_F(InputTest, KeysCarryTheirScanCodeAndRightCtrlIsExtended) {
  struct Case {
    int key;
    WPARAM reported;  // the system reports either Ctrl as VK_CONTROL
    bool extended;
  };
  const Case cases[] = {{'V', 'V', false},
                        {VK_TAB, VK_TAB, false},
                        {VK_LCONTROL, VK_CONTROL, false},
                        {VK_RCONTROL, VK_CONTROL, true}};
  for (const Case& c : cases) {
    keyChord({c.key});
    const std::vector<MSG> messages = keyMessages(2);
    ASSERT_EQ(messages.size(), 2u) << "key " << c.key;
    const UINT kinds[] = {WM_KEYDOWN, WM_KEYUP};
    for (size_t at = 0; at < 2; ++at) {
      const MSG& message = messages[at];
      const auto scanCode = static_cast<UINT>((message.lParam >> 16) & 0xFF);
      EXPECT_EQ(message.message, kinds[at]) << "key " << c.key;
      EXPECT_EQ(message.wParam, c.reported) << "key " << c.key;
      EXPECT_EQ(scanCode, MapVirtualKeyW(c.key, MAPVK_VK_TO_VSC)) << "key " << c.key;
      EXPECT_EQ((message.lParam & (1 << 24)) != 0, c.extended) << "key " << c.key;
    }
  }
}

TEST_F(InputTest, ChordOfCtrlAndVPastesIntoTheFocusedEdit) {
  for (int ctrl : {VK_CONTROL, VK_RCONTROL}) {
    SetWindowTextW(edit(), L"");
    ASSERT_TRUE(setClipboardText("粘贴 paste"));
    keyChord({ctrl, 'V'});
    waitFor([&] { return windowText(edit()) == L"粘贴 paste"; });
    EXPECT_EQ(windowText(edit()), L"粘贴 paste") << "with Ctrl " << ctrl;
  }
}

TEST_F(InputTest, PumpIfInputRunsEventsOnlyWhenInputWaits) {
  hf::loop::processPending();
  PostMessageW(edit(), WM_CHAR, L'a', 0);
  hf::loop::pumpIfInput();
  EXPECT_EQ(windowText(edit()), L"") << "ran events with no input waiting";

  keyChord({VK_SHIFT});
  ASSERT_TRUE(win32test::waitUnpumped(hasPendingInput));
  hf::loop::pumpIfInput();
  EXPECT_EQ(windowText(edit()), L"a");
}

TEST_F(InputTest, ClickAtMovesTheCursorAndTheFocus) {
  hf::ui::EditBox other(*window_, {{10, 50, 300, 22}});
  RECT rect;
  GetWindowRect(hwndOf(other), &rect);
  const hf::Point centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};

  clickAt(centre);
  EXPECT_EQ(windowUnderCursor(), reinterpret_cast<WindowId>(hwndOf(other)));
  EXPECT_TRUE(waitFor([&] { return GetFocus() == hwndOf(other); }));
}

TEST_F(InputTest, MouseButtonsGoDownAndUpWhereTheCursorIs) {
  struct Case {
    MouseButton button;
    MouseAction action;
    std::vector<UINT> messages;
  };
  const Case cases[] = {
      {MouseButton::Left, MouseAction::Down, {WM_LBUTTONDOWN}},
      {MouseButton::Left, MouseAction::Up, {WM_LBUTTONUP}},
      {MouseButton::Right, MouseAction::Click, {WM_RBUTTONDOWN, WM_RBUTTONUP}},
      {MouseButton::Middle, MouseAction::Click, {WM_MBUTTONDOWN, WM_MBUTTONUP}},
  };
  RECT rect;
  GetWindowRect(edit(), &rect);
  setCursorPos({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
  for (const Case& c : cases) {
    mouseButton(c.button, c.action);
    std::vector<UINT> received;
    for (const MSG& message :
         win32test::takeInputMessages(WM_MOUSEFIRST, WM_MOUSELAST, c.messages.size()))
      received.push_back(message.message);
    EXPECT_EQ(received, c.messages) << "button " << static_cast<int>(c.button);
  }
}

TEST_F(InputTest, ForegroundAndTopmostWindows) {
  EXPECT_EQ(foregroundWindow(), reinterpret_cast<WindowId>(hwnd()));
  makeTopmost(reinterpret_cast<WindowId>(hwnd()));
  EXPECT_TRUE(GetWindowLongW(hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  SetWindowPos(hwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

}  // namespace
