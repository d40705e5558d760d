#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include "platform/event_loop.h"
#include "platform/win32/bitmaps.h"
#include "platform/win32/display.h"
#include "platform/win32/hotkey_repeats.h"
#include "platform/win32/pictures.h"
#include "platform/win32/resource_ids.h"
#include "platform/win32/ui_impl.h"
#include "platform/win32/wide_text.h"

namespace hf::ui {
namespace {

constexpr wchar_t kWindowClass[] = L"hotfill.window";
constexpr UINT kTrayMessage = WM_APP + 1;
constexpr UINT kTrayIconId = 1;

LRESULT CALLBACK windowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* impl =
        static_cast<Window::Impl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    impl->hwnd = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(impl));
  }
  if (auto* impl = reinterpret_cast<Window::Impl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))) {
    return impl->handle(message, wParam, lParam);
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Class registration and common controls, once for the process.
void prepareProcess() {
  static const bool done = [] {
    win32::ensureDpiAware();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = win32::programInstance();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = win32::windowBrush();
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassExW(&windowClass) != 0;
  }();
  (void)done;
}

// Shared icons: the system keeps them, nothing to free.
HICON loadIcon(int systemMetricX, int systemMetricY) {
  auto icon = static_cast<HICON>(LoadImageW(win32::programInstance(), MAKEINTRESOURCEW(IDI_HOTFILL),
                                            IMAGE_ICON, GetSystemMetrics(systemMetricX),
                                            GetSystemMetrics(systemMetricY), LR_SHARED));
  return icon ? icon : LoadIconW(nullptr, IDI_APPLICATION);
}

// Explorer announces a restart with this message; the tray icon must then be added again.
UINT taskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

// A grab of the window (PrintWindow) asks it to paint itself into a device
// context. Wine sends only WM_PRINTCLIENT for that, without erasing the
// background or printing the children, and the grab stays black unless the
// window draws both itself. Each child prints into a picture of its own,
// which is then copied to its place. Themed controls ask for the parent's
// background with the same message but without PRF_CHILDREN; for them the
// background alone is right, and printing the children would paint every
// control again for each one, without end.
void printClientArea(HWND hwnd, HDC dc, LPARAM flags) {
  RECT client{};
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, win32::windowBrush());
  if (!(flags & PRF_CHILDREN)) return;
  // The lowest child first, so that the ones above cover it.
  HWND child = GetWindow(hwnd, GW_CHILD);
  for (child = child ? GetWindow(child, GW_HWNDLAST) : nullptr; child;
       child = GetWindow(child, GW_HWNDPREV)) {
    if (!IsWindowVisible(child)) continue;
    RECT area{};
    GetWindowRect(child, &area);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&area), 2);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    win32::PixelCanvas canvas(width, height);
    if (canvas.valid() && PrintWindow(child, canvas.dc(), 0))
      BitBlt(dc, area.left, area.top, width, height, canvas.dc(), 0, 0, SRCCOPY);
  }
}

Point clientPoint(const Window::Impl& impl, LPARAM lParam) {
  return impl.unscaled(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
}

}  // namespace

Control::Impl* Window::Impl::controlOf(HWND child) const {
  auto found = controls.find(child);
  return found == controls.end() ? nullptr : found->second;
}

bool Window::Impl::updateTrayIcon(DWORD action) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = hwnd;
  data.uID = kTrayIconId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayMessage;
  data.hIcon = smallIcon;
  lstrcpynW(data.szTip, win32::widen(title).c_str(), ARRAYSIZE(data.szTip));
  return Shell_NotifyIconW(action, &data) != FALSE;
}

void Window::Impl::changeDpi(int newDpi, const RECT& suggested) {
  int oldDpi = dpi;
  dpi = newDpi;
  HFONT oldFont = font;
  font = win32::createUiFont(dpi);
  SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  for (auto& [child, control] : controls) control->applyDpi(oldDpi);
  DeleteObject(oldFont);
}

void Window::Impl::finishDestroy() {
  destroyed = true;
  hwnd = nullptr;
  DeleteObject(font);
  font = nullptr;
}

LRESULT Window::Impl::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (Control::Impl* control = controlOf(reinterpret_cast<HWND>(lParam))) {
        control->command(HIWORD(wParam));
        return 0;
      }
      break;
    case WM_NOTIFY: {
      auto& header = *reinterpret_cast<NMHDR*>(lParam);
      if (Control::Impl* control = controlOf(header.hwndFrom)) return control->notify(header);
      break;
    }
    case WM_DRAWITEM: {
      auto& item = *reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (Control::Impl* control = controlOf(item.hwndItem)) {
        control->draw(item);
        return TRUE;
      }
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      Control::Impl* control = controlOf(reinterpret_cast<HWND>(lParam));
      if (control && control->paintsOnWindowColor()) {
        SetBkColor(reinterpret_cast<HDC>(wParam), win32::kWindowColor);
        return reinterpret_cast<LRESULT>(win32::windowBrush());
      }
      break;
    }
    case WM_TIMER: {
      auto found = timers.find(wParam);
      if (found != timers.end()) raise(found->second->onTick);
      return 0;
    }
    case WM_HOTKEY:
      if (!win32::isHotkeyRepeat(hwnd, static_cast<int>(wParam)))
        raise(owner.onHotkey, static_cast<int>(wParam));
      return 0;
    case kTrayMessage:
      switch (LOWORD(lParam)) {
        case WM_LBUTTONUP:
          raise(owner.onTrayIcon, 1);
          break;
        case WM_LBUTTONDBLCLK:
          raise(owner.onTrayIcon, 2);
          break;
        case WM_RBUTTONUP:
          raise(owner.onTrayIcon, 3);
          break;
      }
      return 0;
    case WM_LBUTTONUP:
      raise(owner.onMouseUp, clientPoint(*this, lParam));
      return 0;
    case WM_MOUSEMOVE:
      raise(owner.onMouseMove, clientPoint(*this, lParam));
      return 0;
    case WM_SETCURSOR:
      if (cursor && LOWORD(lParam) == HTCLIENT) {
        SetCursor(cursor);
        return TRUE;
      }
      break;
    case WM_SIZE:
      if (wParam == SIZE_MINIMIZED && !minimizing) raise(owner.onMinimized);
      return 0;
    case WM_PRINTCLIENT:
      printClientArea(hwnd, reinterpret_cast<HDC>(wParam), lParam);
      return 0;
    case WM_DPICHANGED:
      changeDpi(HIWORD(wParam), *reinterpret_cast<RECT*>(lParam));
      return 0;
    case WM_CLOSE:
      raise(owner.onClose);
      DestroyWindow(hwnd);
      return 0;
    case WM_ENDSESSION:
      // The process ends once this returns: the close sequence runs now.
      if (wParam) raise(owner.onClose);
      return 0;
    case WM_DESTROY:
      if (trayIcon) owner.removeTrayIcon();
      for (int id : hotkeys) {
        UnregisterHotKey(hwnd, id);
        win32::noteHotkeyReleased(hwnd, id);
      }
      hotkeys.clear();
      if (!destroyedByOwner) {
        raise(owner.onDestroy);
        loop::quit();
      }
      return 0;
    case WM_NCDESTROY: {
      HWND gone = hwnd;
      SetWindowLongPtrW(gone, GWLP_USERDATA, 0);
      finishDestroy();
      return DefWindowProcW(gone, message, wParam, lParam);
    }
  }
  if (message == taskbarCreatedMessage() && trayIcon) updateTrayIcon(NIM_ADD);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

Window::Window(const Args& args) : impl_(std::make_unique<Impl>(*this, args.title)) {
  prepareProcess();
  CreateWindowExW(0, kWindowClass, win32::widen(args.title).c_str(),
                  WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                  CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, nullptr, win32::programInstance(),
                  impl_.get());
  HWND hwnd = impl_->hwnd;
  if (!hwnd) return;
  impl_->dpi = win32::dpiOf(hwnd);
  impl_->font = win32::createUiFont(impl_->dpi);
  impl_->bigIcon = loadIcon(SM_CXICON, SM_CYICON);
  impl_->smallIcon = loadIcon(SM_CXSMICON, SM_CYSMICON);
  SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(impl_->bigIcon));
  SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(impl_->smallIcon));
  // Centred on the screen until the owner moves it.
  int width = scaled(args.outerSize.width);
  int height = scaled(args.outerSize.height);
  SetWindowPos(hwnd, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

Window::~Window() {
  if (!impl_->hwnd) return;
  impl_->destroyedByOwner = true;
  DestroyWindow(impl_->hwnd);
}

std::string Window::title() const {
  return impl_->title;
}

Rect Window::frameRect() const {
  RECT frame{};
  GetWindowRect(impl_->hwnd, &frame);
  return {frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top};
}

void Window::moveTo(Point screen) {
  SetWindowPos(impl_->hwnd, nullptr, screen.x, screen.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::setOuterHeight(int height) {
  SetWindowPos(impl_->hwnd, nullptr, 0, 0, frameRect().width, scaled(height),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Window::scaled(int units) const {
  return impl_->scaled(units);
}

void Window::show() {
  ShowWindow(impl_->hwnd, SW_SHOW);
  UpdateWindow(impl_->hwnd);
}

void Window::hide() {
  ShowWindow(impl_->hwnd, SW_HIDE);
}

bool Window::isVisible() const {
  return impl_->hwnd && IsWindowVisible(impl_->hwnd);
}

bool Window::isMinimized() const {
  return impl_->hwnd && IsIconic(impl_->hwnd);
}

// Minimized by the program, not by the user: no onMinimized.
void Window::minimize() {
  impl_->minimizing = true;
  ShowWindow(impl_->hwnd, SW_MINIMIZE);
  impl_->minimizing = false;
}

void Window::restore() {
  ShowWindow(impl_->hwnd, IsIconic(impl_->hwnd) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(impl_->hwnd);
}

void Window::close() {
  if (impl_->hwnd) SendMessageW(impl_->hwnd, WM_CLOSE, 0, 0);
}

bool Window::isDestroyed() const {
  return impl_->destroyed;
}

void Window::showTrayIcon() {
  if (!impl_->trayIcon && impl_->hwnd) impl_->trayIcon = impl_->updateTrayIcon(NIM_ADD);
}

void Window::removeTrayIcon() {
  if (!impl_->trayIcon) return;
  impl_->updateTrayIcon(NIM_DELETE);
  impl_->trayIcon = false;
}

bool Window::hasTrayIcon() const {
  return impl_->trayIcon;
}

void Window::captureMouse() {
  SetCapture(impl_->hwnd);
}

void Window::releaseMouse() {
  if (GetCapture() == impl_->hwnd) ReleaseCapture();
}

void Window::setCursor(Cursor cursor) {
  impl_->cursor = win32::cursorFor(cursor);
  // Applied at once: while a control holds the mouse capture no WM_SETCURSOR arrives.
  SetCursor(impl_->cursor ? impl_->cursor : LoadCursorW(nullptr, IDC_ARROW));
}

bool askOkCancel(Window& owner, std::string_view question, std::string_view title) {
  const std::wstring text = win32::widen(question);
  const std::wstring caption = win32::widen(title);
  return MessageBoxW(owner.impl().hwnd, text.c_str(), caption.c_str(),
                     MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
}

}  // namespace hf::ui
