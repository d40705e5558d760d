#include <windows.h>

#include <commctrl.h>

#include "platform/win32/display.h"
#include "platform/win32/ui_impl.h"
#include "platform/win32/wide_text.h"

namespace hf::ui {
namespace {

// The control's own handling of a message: dropped files, the kind's
// handling, then the system's.
LRESULT ownHandling(Control::Impl& impl, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (impl.fileDrop && impl.fileDrop->handle(message, wParam)) return 0;
  if (auto result = impl.intercept(message, wParam, lParam)) return *result;
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

// Every child control passes through here first: the mouse events common to
// all controls, the window's cursor, then the kind's own handling.
LRESULT CALLBACK childProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR data) {
  auto& impl = *reinterpret_cast<Control::Impl*>(data);
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {  // the second press of a double click
      // The control takes the press first (an edit box or a button captures
      // the mouse until the release). A handler that waits lets the release
      // through; had the control not seen the press yet, it would miss the
      // release, keep the mouse and swallow the next click anywhere.
      const LRESULT result = ownHandling(impl, hwnd, message, wParam, lParam);
      raise(impl.control.onMouseDown);
      if (message == WM_LBUTTONDBLCLK && !impl.reportsDoubleClickItself())
        raise(impl.control.onDoubleClick);
      return result;
    }
    case WM_SETCURSOR:
      if (HCURSOR cursor = impl.host().cursor) {
        SetCursor(cursor);
        return TRUE;
      }
      break;
    case WM_NCDESTROY:
      impl.fileDrop.reset();  // OLE lets go of a window only while it exists
      impl.detach();
      RemoveWindowSubclass(hwnd, childProcedure, 0);
      return DefSubclassProc(hwnd, message, wParam, lParam);
  }
  return ownHandling(impl, hwnd, message, wParam, lParam);
}

void sendToBack(HWND hwnd) {
  SetWindowPos(hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

std::string windowText(HWND hwnd) {
  std::wstring text(GetWindowTextLengthW(hwnd) + 1, L'\0');
  text.resize(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size())));
  return win32::narrow(text);
}

}  // namespace

void Control::Impl::create(const Kind& kind, std::string_view gbkText, bool visible) {
  Window::Impl& parent = host();
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | kind.style | (visible ? WS_VISIBLE : 0);
  hwnd = CreateWindowExW(kind.exStyle, kind.className, win32::widen(gbkText).c_str(), style, 0, 0,
                         0, 0, parent.hwnd, nullptr, win32::programInstance(), nullptr);
  if (!hwnd) return;
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(parent.font), FALSE);
  SetWindowSubclass(hwnd, childProcedure, 0, reinterpret_cast<DWORD_PTR>(this));
  parent.controls[hwnd] = this;
  // New children go below their siblings, so the frames go below the newcomer
  // again: a control under a frame would be clipped away by it.
  for (auto& [sibling, control] : parent.controls) {
    if (control->staysBehindSiblings()) sendToBack(sibling);
  }
  place();
}

void Control::Impl::place() {
  SetWindowPos(hwnd, nullptr, scaled(rect.left), scaled(rect.top), scaled(rect.width),
               scaled(rect.height + dropDownHeight()), SWP_NOZORDER | SWP_NOACTIVATE);
}

void Control::Impl::applyDpi(int oldDpi) {
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(host().font), FALSE);
  place();
  dpiChanged(oldDpi);
  InvalidateRect(hwnd, nullptr, TRUE);
}

void Control::Impl::detach() {
  host().controls.erase(hwnd);
  hwnd = nullptr;
}

std::string Control::Impl::text() const {
  return windowText(hwnd);
}

void Control::Impl::setText(std::string_view gbk) {
  QuietScope quietScope(*this);
  SetWindowTextW(hwnd, win32::widen(gbk).c_str());
}

Control::Control(Window& parent) : parent_(parent) {}

Control::~Control() {
  if (!impl_ || !impl_->hwnd) return;
  // The derived parts and their events are gone already: no message of the
  // dying window (a focus loss, a notification) may reach them.
  const HWND hwnd = impl_->hwnd;
  impl_->fileDrop.reset();
  RemoveWindowSubclass(hwnd, childProcedure, 0);
  impl_->detach();
  DestroyWindow(hwnd);
}

void Control::setVisible(bool visible) {
  if (!visible) {
    ShowWindow(impl_->hwnd, SW_HIDE);
    return;
  }
  if (isVisible()) return;
  // A control that appears lies over the ones it was laid out on (the
  // floating cell editors over a table); a frame stays behind.
  HWND order = impl_->staysBehindSiblings() ? HWND_BOTTOM : HWND_TOP;
  SetWindowPos(impl_->hwnd, order, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

bool Control::isVisible() const {
  return (GetWindowLongPtrW(impl_->hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Control::setEnabled(bool enabled) {
  EnableWindow(impl_->hwnd, enabled);
}

bool Control::isEnabled() const {
  return impl_->hwnd && IsWindowEnabled(impl_->hwnd);
}

void Control::setText(std::string_view gbk) {
  impl_->setText(gbk);
}

std::string Control::text() const {
  return impl_->text();
}

Rect Control::rect() const {
  return impl_->rect;
}

Rect Control::screenRect() const {
  RECT r{};
  GetWindowRect(impl_->hwnd, &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void Control::setRect(Rect rect) {
  impl_->rect = rect;
  impl_->place();
}

void Control::focus() {
  SetFocus(impl_->hwnd);
}

bool Control::hasFocus() const {
  return impl_->hwnd && GetFocus() == impl_->hwnd;
}

}  // namespace hf::ui
