// The popup: a topmost frameless window at the screen's origin, painted from
// an off-screen DIB in one blit.
#include <windows.h>

#include <windowsx.h>

#include <functional>

#include "platform/win32/bitmaps.h"
#include "platform/win32/display.h"
#include "platform/win32/pictures.h"
#include "platform/win32/ui_impl.h"
#include "platform/win32/wide_text.h"

namespace hf::ui {
namespace {

constexpr wchar_t kPopupClass[] = L"hotfill.popup";

LRESULT CALLBACK popupProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* impl =
        static_cast<Popup::Impl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    impl->hwnd = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(impl));
  }
  if (auto* impl = reinterpret_cast<Popup::Impl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
    return impl->handle(message, wParam, lParam);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void registerClass() {
  static const bool done = [] {
    win32::ensureDpiAware();
    WNDCLASSEXW popupClass{};
    popupClass.cbSize = sizeof popupClass;
    popupClass.style = CS_DBLCLKS;
    popupClass.lpfnWndProc = popupProcedure;
    popupClass.hInstance = win32::programInstance();
    popupClass.lpszClassName = kPopupClass;
    return RegisterClassExW(&popupClass) != 0;
  }();
  (void)done;
}

// Text through GDI into the DIB. GDI may batch its drawing, so each call is
// flushed before the canvas writes to the memory again.
class GdiText final : public Canvas::TextPainter {
 public:
  explicit GdiText(Popup::Impl& impl) : impl_(impl) {}

  void draw(Point at, std::string_view gbk, Rgb color, int height) override {
    const std::wstring text = win32::widen(gbk);
    HGDIOBJ previous = SelectObject(impl_.memory, impl_.font(height));
    SetBkMode(impl_.memory, TRANSPARENT);
    SetTextColor(impl_.memory, RGB(color.r, color.g, color.b));
    TextOutW(impl_.memory, at.x, at.y, text.c_str(), static_cast<int>(text.size()));
    SelectObject(impl_.memory, previous);
    GdiFlush();
  }

  Size extent(std::string_view gbk, int height) const override {
    const std::wstring text = win32::widen(gbk);
    HGDIOBJ previous = SelectObject(impl_.memory, impl_.font(height));
    SIZE size{};
    GetTextExtentPoint32W(impl_.memory, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(impl_.memory, previous);
    return {size.cx, height};  // the font's cell may come out a pixel lower
  }

 private:
  Popup::Impl& impl_;
};

Point pointOf(LPARAM lParam) {
  return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

}  // namespace

Popup::Impl::~Impl() {
  if (hwnd) DestroyWindow(hwnd);
  if (memory) {
    SelectObject(memory, previousPicture);
    DeleteDC(memory);
  }
  if (picture) DeleteObject(picture);
  for (auto& [height, font] : fonts) DeleteObject(font);
}

HFONT Popup::Impl::font(int height) {
  HFONT& font = fonts[height];
  if (!font) font = win32::createPixelFont(height);
  return font;
}

// A DIB of the popup's client size, made on the first paint and again when
// the screen's size changed.
bool Popup::Impl::preparePicture(HDC target) {
  RECT client{};
  GetClientRect(hwnd, &client);
  const Size size{client.right, client.bottom};
  if (picture && size == pictureSize) return true;
  if (memory) {
    SelectObject(memory, previousPicture);
    DeleteObject(picture);
  } else {
    memory = CreateCompatibleDC(target);
  }
  const BITMAPINFO info = win32::topDownInfo(size.width, size.height);
  void* bits = nullptr;
  picture = CreateDIBSection(target, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!memory || !picture) {
    picture = nullptr;
    pixels = nullptr;
    return false;
  }
  pixels = static_cast<std::uint32_t*>(bits);
  pictureSize = size;
  previousPicture = SelectObject(memory, picture);
  return true;
}

void Popup::Impl::paint(HDC target, const RECT& area) {
  if (!preparePicture(target)) return;
  GdiText text(*this);
  Canvas canvas(pixels, pictureSize, text);
  raise(owner.onPaint, canvas);
  GdiFlush();
  BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, memory,
         area.left, area.top, SRCCOPY);
}

LRESULT Popup::Impl::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the paint covers everything
    case WM_PAINT: {
      PAINTSTRUCT paintStruct;
      HDC target = BeginPaint(hwnd, &paintStruct);
      paint(target, paintStruct.rcPaint);
      EndPaint(hwnd, &paintStruct);
      return 0;
    }
    case WM_LBUTTONDOWN:
      raise(owner.onMouseDown, MouseButton::Left, pointOf(lParam));
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      raise(owner.onMouseDown, MouseButton::Right, pointOf(lParam));
      return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      raise(owner.onMouseDown, MouseButton::Middle, pointOf(lParam));
      return 0;
    case WM_LBUTTONDBLCLK:
      raise(owner.onDoubleClick, pointOf(lParam));
      return 0;
    case WM_LBUTTONUP:
      raise(owner.onMouseUp, MouseButton::Left, pointOf(lParam));
      return 0;
    case WM_RBUTTONUP:
      raise(owner.onMouseUp, MouseButton::Right, pointOf(lParam));
      return 0;
    case WM_MBUTTONUP:
      raise(owner.onMouseUp, MouseButton::Middle, pointOf(lParam));
      return 0;
    case WM_MOUSEMOVE:
      raise(owner.onMouseMove, pointOf(lParam));
      return 0;
    case WM_KEYDOWN:
      raise(owner.onKeyDown, static_cast<int>(wParam));
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        HCURSOR cursor = win32::cursorFor(owner.cursor());
        SetCursor(cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW));
        return TRUE;
      }
      break;
    case WM_CLOSE: {
      bool mayClose = true;
      raise(std::function<void()>(
          [&] { mayClose = !owner.onCloseRequest || owner.onCloseRequest(); }));
      if (mayClose) owner.close();
      return 0;
    }
    case WM_NCDESTROY: {
      HWND gone = hwnd;
      SetWindowLongPtrW(gone, GWLP_USERDATA, 0);
      hwnd = nullptr;
      return DefWindowProcW(gone, message, wParam, lParam);
    }
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

Popup::Popup() : impl_(std::make_unique<Impl>(*this)) {
  registerClass();
  CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kPopupClass, L"", WS_POPUP, 0, 0,
                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                  win32::programInstance(), impl_.get());
}

Popup::~Popup() = default;

Rect Popup::rect() const {
  RECT frame{};
  if (impl_->hwnd) GetWindowRect(impl_->hwnd, &frame);
  return {frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top};
}

void Popup::show() {
  HWND hwnd = impl_->hwnd;
  if (!hwnd || impl_->closed) return;
  impl_->shown = true;
  // Without a window manager a window mapped later may stay above a topmost
  // one until it is made topmost again.
  SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, GetSystemMetrics(SM_CXSCREEN),
               GetSystemMetrics(SM_CYSCREEN), SWP_SHOWWINDOW);
  SetForegroundWindow(hwnd);
  SetFocus(hwnd);
  UpdateWindow(hwnd);
}

void Popup::close() {
  if (impl_->closed) return;
  impl_->closed = true;
  if (!impl_->hwnd) return;
  releaseMouse();
  ShowWindow(impl_->hwnd, SW_HIDE);
  // Wakes runUntilClosed when the close came from a call sent by another thread.
  PostMessageW(impl_->hwnd, WM_NULL, 0, 0);
}

bool Popup::isOpen() const {
  return impl_->hwnd && impl_->shown && !impl_->closed;
}

// A modal loop: a WM_QUIT that arrives meanwhile is meant for the main loop,
// so it is put back and the popup stops waiting.
void Popup::runUntilClosed() {
  while (isOpen()) {
    MSG message;
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == -1) return;
    if (got == 0) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void Popup::repaint() {
  if (!isOpen()) return;
  InvalidateRect(impl_->hwnd, nullptr, FALSE);
  UpdateWindow(impl_->hwnd);
}

void Popup::setCursor(Cursor cursor) {
  cursor_ = cursor;
  if (!isOpen()) return;
  POINT at;
  // Applied at once when the mouse is over the popup, as no WM_SETCURSOR
  // comes until the mouse moves.
  if (GetCursorPos(&at) && WindowFromPoint(at) == impl_->hwnd) {
    HCURSOR shown = win32::cursorFor(cursor);
    SetCursor(shown ? shown : LoadCursorW(nullptr, IDC_ARROW));
  }
}

void Popup::captureMouse() {
  if (isOpen()) SetCapture(impl_->hwnd);
}

void Popup::releaseMouse() {
  if (impl_->hwnd && GetCapture() == impl_->hwnd) ReleaseCapture();
}

}  // namespace hf::ui
