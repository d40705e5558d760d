#include <windows.h>

#include <commctrl.h>

#include "platform/win32/display.h"
#include "platform/win32/ui_impl.h"
#include "platform/win32/wide_text.h"

namespace hf::ui {
namespace {

// Tracking tips never hide by themselves.
constexpr int kShownMs = 4000;
constexpr int kMaxWidth = 320;  // units; longer lines wrap, line breaks are kept

}  // namespace

struct BalloonTip::Impl {
  explicit Impl(Window& parent) : font(win32::createUiFont(parent.impl().dpi)), hideTimer(parent) {}
  ~Impl() {
    // The tip goes with its window; the font must outlive it.
    if (IsWindow(tip)) DestroyWindow(tip);
    DeleteObject(font);
  }

  TOOLINFOW tool() {
    TOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;  // understood by every common-controls version
    info.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    info.hwnd = owner;
    info.uId = 1;
    info.lpszText = text.data();
    return info;
  }

  HWND owner = nullptr;
  HWND tip = nullptr;
  HFONT font;  // the window's font changes with the DPI, this one stays with the tip
  std::wstring text = L" ";
  bool shown = false;
  Timer hideTimer;
};

BalloonTip::BalloonTip(Window& parent) : parent_(parent), impl_(std::make_unique<Impl>(parent)) {
  Window::Impl& window = parent.impl();
  impl_->owner = window.hwnd;
  impl_->tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_BALLOON | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window.hwnd, nullptr,
                               win32::programInstance(), nullptr);
  TOOLINFOW info = impl_->tool();
  SendMessageW(impl_->tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  SendMessageW(impl_->tip, TTM_SETMAXTIPWIDTH, 0, window.scaled(kMaxWidth));
  SendMessageW(impl_->tip, WM_SETFONT, reinterpret_cast<WPARAM>(impl_->font), FALSE);
  impl_->hideTimer.onTick = [this] { hide(); };
}

BalloonTip::~BalloonTip() = default;

void BalloonTip::show(Point screen, std::string_view gbk) {
  text_ = std::string(gbk);
  position_ = screen;
  impl_->text = win32::widen(gbk);
  TOOLINFOW info = impl_->tool();
  SendMessageW(impl_->tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&info));
  SendMessageW(impl_->tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
  SendMessageW(impl_->tip, TTM_TRACKPOSITION, 0, MAKELPARAM(screen.x, screen.y));
  SendMessageW(impl_->tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
  impl_->shown = true;
  impl_->hideTimer.setInterval(kShownMs);  // restarts the count
}

void BalloonTip::hide() {
  impl_->hideTimer.setInterval(0);
  if (!impl_->shown) return;
  TOOLINFOW info = impl_->tool();
  SendMessageW(impl_->tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&info));
  impl_->shown = false;
}

bool BalloonTip::isShown() const {
  return impl_->shown;
}

}  // namespace hf::ui
