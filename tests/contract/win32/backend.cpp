// The contract fixture on the win32 backend: other threads and the system's
// own input stand in for the user and the other programs.
#include <windows.h>

#include <thread>

#include "contract/backend.h"
#include "platform/event_loop.h"
#include "platform/keys.h"
#include "platform/win32/bitmaps.h"
#include "platform/win32/ui_impl.h"
#include "win32/window_fixture.h"

namespace contract {

struct BackendTest::Backend {
  int hotkeysHeld = 0;  // thread hotkeys registered by holdHotkeyElsewhere, ids 1 … n
};

BackendTest::BackendTest() : backend_(std::make_unique<Backend>()) {}
BackendTest::~BackendTest() = default;

void BackendTest::startBackend() {}

void BackendTest::endBackend() {
  for (int id = 1; id <= backend_->hotkeysHeld; ++id) UnregisterHotKey(nullptr, id);
  // A closed window told the loop to end; the next test starts a new loop.
  MSG quit;
  while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

bool BackendTest::refusesWritingReadOnlyFiles(const std::filesystem::path& readOnlyFile) {
  HANDLE probe =
      CreateFileW(readOnlyFile.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (probe == INVALID_HANDLE_VALUE) return true;
  CloseHandle(probe);
  return false;
}

void BackendTest::emptyClipboard() {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
}

namespace {

// Another thread opens the clipboard with a window of its own and keeps it
// open until told to let go: the clipboard is busy for the UI thread meanwhile.
class ThreadHolder final : public BackendTest::ClipboardHolder {
 public:
  ThreadHolder() {
    thread_ = std::thread([this] {
      HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                   nullptr);
      const bool opened = OpenClipboard(owner) != FALSE;
      SetEvent(held_);
      WaitForSingleObject(release_, INFINITE);
      if (opened) CloseClipboard();
      DestroyWindow(owner);
    });
    WaitForSingleObject(held_, INFINITE);
  }
  ~ThreadHolder() override {
    SetEvent(release_);
    thread_.join();
    if (releaser_.joinable()) releaser_.join();
    CloseHandle(held_);
    CloseHandle(release_);
  }
  void releaseAfter(int ms) override {
    releaser_ = std::thread([this, ms] {
      Sleep(ms);
      SetEvent(release_);
    });
  }

 private:
  HANDLE held_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread thread_;
  std::thread releaser_;
};

INPUT keyInput(int virtualKey, DWORD flags) {
  INPUT input{INPUT_KEYBOARD};
  input.ki.wVk = static_cast<WORD>(virtualKey);
  input.ki.dwFlags = flags;
  return input;
}

}  // namespace

std::unique_ptr<BackendTest::ClipboardHolder> BackendTest::holdClipboard() {
  return std::make_unique<ThreadHolder>();
}

namespace {

// A borderless topmost window that paints its picture, on the screen and
// into a device context it is asked to print into (PrintWindow).
class OwnPaintedWindow final : public BackendTest::PaintedWindow {
 public:
  OwnPaintedWindow(hf::Point clientOrigin, const hf::Bitmap& picture) : picture_(picture) {
    static const ATOM windowClass = [] {
      WNDCLASSEXW description{};
      description.cbSize = sizeof description;
      description.lpfnWndProc = procedure;
      description.hInstance = GetModuleHandleW(nullptr);
      description.lpszClassName = L"hotfill.contract.painted";
      return RegisterClassExW(&description);
    }();
    hwnd_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                            MAKEINTATOM(windowClass), L"", WS_POPUP, clientOrigin.x, clientOrigin.y,
                            picture.width, picture.height, nullptr, nullptr,
                            GetModuleHandleW(nullptr), this);
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    // Without a window manager a window mapped later may stay above it otherwise.
    constexpr UINT kKeepPlace = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;
    SetWindowPos(hwnd_, HWND_NOTOPMOST, 0, 0, 0, 0, kKeepPlace);
    SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, kKeepPlace);
    UpdateWindow(hwnd_);
  }
  ~OwnPaintedWindow() override { DestroyWindow(hwnd_); }
  hf::desktop::WindowId id() const override {
    return reinterpret_cast<hf::desktop::WindowId>(hwnd_);
  }
  void minimize() override { ShowWindow(hwnd_, SW_MINIMIZE); }
  void hide() override { ShowWindow(hwnd_, SW_HIDE); }

 private:
  void paint(HDC dc) const {
    const BITMAPINFO info = hf::win32::topDownInfo(picture_.width, picture_.height);
    StretchDIBits(dc, 0, 0, picture_.width, picture_.height, 0, 0, picture_.width, picture_.height,
                  picture_.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
  }

  static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      SetWindowLongPtrW(
          hwnd, GWLP_USERDATA,
          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    const auto* self = reinterpret_cast<OwnPaintedWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT: {
        PAINTSTRUCT paintStruct;
        HDC dc = BeginPaint(hwnd, &paintStruct);
        if (self) self->paint(dc);
        EndPaint(hwnd, &paintStruct);
        return 0;
      }
      case WM_PRINTCLIENT:
        if (self) self->paint(reinterpret_cast<HDC>(wParam));
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }

  hf::Bitmap picture_;
  HWND hwnd_ = nullptr;
};

}  // namespace

std::unique_ptr<BackendTest::PaintedWindow> BackendTest::showPaintedWindow(
    hf::Point clientOrigin, const hf::Bitmap& picture) {
  return std::make_unique<OwnPaintedWindow>(clientOrigin, picture);
}

// A hotkey of the thread rather than of a window: it takes the chord all the
// same, as another program's would.
void BackendTest::holdHotkeyElsewhere(unsigned modifiers, int virtualKey) {
  const UINT systemModifiers = ((modifiers & hf::keys::kCtrlFlag) ? MOD_CONTROL : 0) |
                               ((modifiers & hf::keys::kShiftFlag) ? MOD_SHIFT : 0) |
                               ((modifiers & hf::keys::kAltFlag) ? MOD_ALT : 0);
  ASSERT_TRUE(RegisterHotKey(nullptr, ++backend_->hotkeysHeld, systemModifiers,
                             static_cast<UINT>(virtualKey)));
}

void BackendTest::pressHotkey(unsigned modifiers, int virtualKey) {
  std::vector<int> keys;
  if (modifiers & hf::keys::kCtrlFlag) keys.push_back(VK_CONTROL);
  if (modifiers & hf::keys::kShiftFlag) keys.push_back(VK_SHIFT);
  if (modifiers & hf::keys::kAltFlag) keys.push_back(VK_MENU);
  keys.push_back(virtualKey);
  std::vector<INPUT> chord;
  for (int key : keys) chord.push_back(keyInput(key, 0));
  for (auto key = keys.rbegin(); key != keys.rend(); ++key)
    chord.push_back(keyInput(*key, KEYEVENTF_KEYUP));
  SendInput(static_cast<UINT>(chord.size()), chord.data(), sizeof(INPUT));
}

bool BackendTest::takeKeyboard(hf::ui::Window& window) {
  return win32test::bringToFront(window);
}

std::vector<BackendTest::KeySeen> BackendTest::keysSeen(std::size_t expected) {
  std::vector<KeySeen> seen;
  for (const MSG& message : win32test::takeInputMessages(WM_KEYFIRST, WM_KEYLAST, expected)) {
    const bool down = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
    const bool up = message.message == WM_KEYUP || message.message == WM_SYSKEYUP;
    if (down || up) seen.push_back({static_cast<int>((message.lParam >> 16) & 0xFF), down});
  }
  return seen;
}

namespace {

// Real input through the system: the cursor moves there, the buttons go down
// and up where it is.
void sendButton(hf::ui::MouseButton button, bool down) {
  INPUT input{INPUT_MOUSE};
  switch (button) {
    case hf::ui::MouseButton::Left:
      input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
      break;
    case hf::ui::MouseButton::Right:
      input.mi.dwFlags = down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP;
      break;
    case hf::ui::MouseButton::Middle:
      input.mi.dwFlags = down ? MOUSEEVENTF_MIDDLEDOWN : MOUSEEVENTF_MIDDLEUP;
      break;
  }
  SendInput(1, &input, sizeof(INPUT));
}

// Lets the popup's thread take the input and paint what follows from it.
void settle() {
  hf::loop::pause(30);
  hf::loop::processPending();
}

}  // namespace

void BackendTest::useMouse(hf::ui::Popup&, MouseAction action, hf::Point at,
                           hf::ui::MouseButton button) {
  SetCursorPos(at.x, at.y);
  settle();
  switch (action) {
    case MouseAction::Move:
      break;
    case MouseAction::Down:
      sendButton(button, true);
      break;
    case MouseAction::Up:
      sendButton(button, false);
      break;
    case MouseAction::DoubleClick:
      for (int press = 0; press < 2; ++press) {
        sendButton(hf::ui::MouseButton::Left, true);
        sendButton(hf::ui::MouseButton::Left, false);
      }
      break;
  }
  settle();
}

void BackendTest::pressKey(hf::ui::Popup& popup, int virtualKey) {
  const HWND hwnd = popup.impl().hwnd;
  SetForegroundWindow(hwnd);
  win32test::waitFor([&] { return GetForegroundWindow() == hwnd; });
  INPUT keys[] = {keyInput(virtualKey, 0), keyInput(virtualKey, KEYEVENTF_KEYUP)};
  SendInput(2, keys, sizeof(INPUT));
  settle();
}

void BackendTest::askToClose(hf::ui::Popup& popup) {
  SendMessageW(popup.impl().hwnd, WM_CLOSE, 0, 0);
}

// What the screen shows, read back from the screen itself once the popup's
// drawing has reached it.
std::vector<hf::Rgb> BackendTest::colorsShown(hf::ui::Popup&,
                                              const std::vector<hf::Point>& points) {
  settle();
  HDC screen = GetDC(nullptr);
  std::vector<hf::Rgb> colors;
  for (const hf::Point at : points) {
    const COLORREF pixel = GetPixel(screen, at.x, at.y);
    colors.push_back({GetRValue(pixel), GetGValue(pixel), GetBValue(pixel)});
  }
  ReleaseDC(nullptr, screen);
  return colors;
}

// Wine and Windows carry the scripting runtime.
void BackendTest::provideDictionary() {}

bool exists(const hf::ui::Window& window) {
  return window.impl().hwnd != nullptr;
}

bool exists(const hf::ui::Popup& popup) {
  return popup.impl().hwnd != nullptr;
}

}  // namespace contract
