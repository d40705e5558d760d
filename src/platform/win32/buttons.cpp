
#include <windows.h>

#include "platform/win32/button_face.h"
#include "platform/win32/ui_impl.h"

namespace hf::ui {
namespace {

struct ButtonImpl final : Control::Impl {
  ButtonImpl(Button& button, Window& window, Rect rect)
      : Impl(button, window, rect), button(button) {}

  // An owner-drawn button reports a second quick click as a double click
  // only; for the user it is one more click.
  void command(int code) override {
    if ((code == BN_CLICKED || code == BN_DOUBLECLICKED) && userInput()) raise(button.onClick);
  }
  void draw(const DRAWITEMSTRUCT& item) override {
    win32::drawButtonFace(item, face, picture, host().font, host().dpi);
  }
  // A colour or a picture needs our own painting; otherwise the system's look stays.
  void updateLook() {
    bool ownDrawn = face || picture != Image::None;
    SendMessageW(hwnd, BM_SETSTYLE, ownDrawn ? BS_OWNERDRAW : BS_PUSHBUTTON, TRUE);
    InvalidateRect(hwnd, nullptr, TRUE);
  }

  Button& button;
  std::optional<COLORREF> face;
  Image picture = Image::None;
};

struct CheckBoxImpl final : Control::Impl {
  CheckBoxImpl(CheckBox& checkBox, Window& window, Rect rect)
      : Impl(checkBox, window, rect), checkBox(checkBox) {}

  void command(int code) override {
    if (code == BN_CLICKED && userInput()) raise(checkBox.onClick);
  }
  bool paintsOnWindowColor() const override { return true; }

  CheckBox& checkBox;
};

}  // namespace

Button::Button(Window& parent, const Args& args) : Control(parent) {
  impl_ = std::make_unique<ButtonImpl>(*this, parent, args.rect);
  impl_->create({WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON}, args.caption, args.visible);
}

void Button::setColor(Rgb color) {
  color_ = color;
  auto& impl = static_cast<ButtonImpl&>(*impl_);
  impl.face = RGB(color.r, color.g, color.b);
  impl.updateLook();
}

void Button::setPicture(Image image) {
  picture_ = image;
  auto& impl = static_cast<ButtonImpl&>(*impl_);
  impl.picture = image;
  impl.updateLook();
}

CheckBox::CheckBox(Window& parent, const Args& args) : Control(parent) {
  impl_ = std::make_unique<CheckBoxImpl>(*this, parent, args.rect);
  impl_->create({WC_BUTTONW, WS_TABSTOP | BS_AUTOCHECKBOX}, args.caption, args.visible);
  setChecked(args.checked);
}

void CheckBox::setChecked(bool checked) {
  SendMessageW(impl_->hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool CheckBox::isChecked() const {
  return SendMessageW(impl_->hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

}  // namespace hf::ui
