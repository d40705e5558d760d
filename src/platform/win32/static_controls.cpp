
#include <windows.h>

#include <algorithm>
#include <utility>

#include "platform/win32/bitmaps.h"
#include "platform/win32/display.h"
#include "platform/win32/pictures.h"
#include "platform/win32/ui_impl.h"

// Label, Frame and PictureBox: static controls on the window's colour.
namespace hf::ui {
namespace {

struct LabelImpl final : Control::Impl {
  using Impl::Impl;
  bool paintsOnWindowColor() const override { return true; }
};

struct FrameImpl final : Control::Impl {
  using Impl::Impl;
  bool paintsOnWindowColor() const override { return true; }
  bool staysBehindSiblings() const override { return true; }
  // The frame draws only its lines, and the window does not paint under its
  // children: the inside is the frame's to fill.
  std::optional<LRESULT> intercept(UINT message, WPARAM wParam, LPARAM) override {
    if (message != WM_ERASEBKGND) return std::nullopt;
    RECT inside;
    GetClientRect(hwnd, &inside);
    FillRect(reinterpret_cast<HDC>(wParam), &inside, win32::windowBrush());
    return TRUE;
  }
};

struct PictureBoxImpl final : Control::Impl {
  PictureBoxImpl(PictureBox& pictureBox, Window& window, Rect rect)
      : Impl(pictureBox, window, rect), pictureBox(pictureBox) {}

  void draw(const DRAWITEMSTRUCT& item) override {
    if (const auto color = pictureBox.background()) {
      HBRUSH brush = CreateSolidBrush(RGB(color->r, color->g, color->b));
      FillRect(item.hDC, &item.rcItem, brush);
      DeleteObject(brush);
    } else {
      FillRect(item.hDC, &item.rcItem, win32::windowBrush());
    }
    win32::drawPicture(item.hDC, item.rcItem, picture, host().dpi);
    const Bitmap& own = pictureBox.bitmap();
    if (own.empty()) return;
    // The top-left part that fits, unscaled, copied out first: a whole DIB
    // is drawn the same way whatever the direction of its rows.
    const int width = std::min<int>(own.width, item.rcItem.right - item.rcItem.left);
    const int height = std::min<int>(own.height, item.rcItem.bottom - item.rcItem.top);
    if (width <= 0 || height <= 0) return;
    Bitmap part(width, height);
    for (int y = 0; y < height; ++y) std::copy_n(own.row(y), width, &part.at(0, y));
    const BITMAPINFO info = win32::topDownInfo(width, height);
    SetDIBitsToDevice(item.hDC, item.rcItem.left, item.rcItem.top, DWORD(width), DWORD(height), 0,
                      0, 0, UINT(height), part.pixels.data(), &info, DIB_RGB_COLORS);
  }
  // The box keeps the mouse from press to release, so the release reaches it
  // wherever the pointer was dragged (the target picker).
  std::optional<LRESULT> intercept(UINT message, WPARAM, LPARAM) override {
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
      SetCapture(hwnd);
      return 0;
    }
    if (message == WM_LBUTTONUP) {
      if (GetCapture() == hwnd) ReleaseCapture();
      raise(pictureBox.onMouseUp);
      return 0;
    }
    return std::nullopt;
  }

  PictureBox& pictureBox;
  Image picture = Image::None;
};

}  // namespace

Label::Label(Window& parent, const Args& args) : Control(parent) {
  impl_ = std::make_unique<LabelImpl>(*this, parent, args.rect);
  impl_->create({WC_STATICW, SS_LEFTNOWORDWRAP | SS_NOTIFY | SS_NOPREFIX}, args.caption,
                args.visible);
}

Frame::Frame(Window& parent, const Args& args) : Control(parent) {
  impl_ = std::make_unique<FrameImpl>(*this, parent, args.rect);
  impl_->create({WC_STATICW, SS_ETCHEDFRAME}, "", args.visible);
}

PictureBox::PictureBox(Window& parent, const Args& args) : Control(parent) {
  impl_ = std::make_unique<PictureBoxImpl>(*this, parent, args.rect);
  impl_->create({WC_STATICW, SS_OWNERDRAW | SS_NOTIFY}, "", args.visible);
  setPicture(args.image);
}

void PictureBox::setBackground(std::optional<Rgb> color) {
  background_ = color;
  InvalidateRect(impl_->hwnd, nullptr, FALSE);
}

void PictureBox::setBitmap(Bitmap picture) {
  bitmap_ = std::move(picture);
  InvalidateRect(impl_->hwnd, nullptr, FALSE);
}

void PictureBox::setPicture(Image image) {
  picture_ = image;
  static_cast<PictureBoxImpl&>(*impl_).picture = image;
  InvalidateRect(impl_->hwnd, nullptr, FALSE);
}

}  // namespace hf::ui
