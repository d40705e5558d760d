
#include <windows.h>

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
    const Bitmap& shown = pictureBox.bitmap();
    if (shown.empty()) return win32::drawPicture(item.hDC, item.rcItem, picture, host().dpi);
    // 0x00RRGGBB pixels, top row first, are a top-down 32-bit DIB.
    const BITMAPINFO info = win32::topDownInfo(shown.width, shown.height);
    SetStretchBltMode(item.hDC, HALFTONE);
    StretchDIBits(item.hDC, item.rcItem.left, item.rcItem.top, item.rcItem.right - item.rcItem.left,
                  item.rcItem.bottom - item.rcItem.top, 0, 0, shown.width, shown.height,
                  shown.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
  }
  // The box keeps the mouse from press to release, so the release reaches it
  // wherever the pointer was dragged (the target picker).
  std::optional<LRESULT> intercept(UINT message, WPARAM, LPARAM) override {
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
      SetCapture(hwnd);
      return 0;
    }
    if (message == WM_MOUSEMOVE && GetCapture() == hwnd) {
      POINT at{};
      GetCursorPos(&at);
      raise(pictureBox.onMouseMove, Point{at.x, at.y});
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

void PictureBox::setPicture(Image image) {
  picture_ = image;
  bitmap_ = Bitmap();
  static_cast<PictureBoxImpl&>(*impl_).picture = image;
  InvalidateRect(impl_->hwnd, nullptr, FALSE);
}

void PictureBox::setPicture(Bitmap picture) {
  picture_ = Image::None;
  bitmap_ = std::move(picture);
  static_cast<PictureBoxImpl&>(*impl_).picture = Image::None;
  InvalidateRect(impl_->hwnd, nullptr, FALSE);
}

}  // namespace hf::ui
