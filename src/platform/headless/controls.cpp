// The simple controls: state in memory, events only when a test raises them.
#include <algorithm>
#include <utility>

#include "platform/headless/simulation.h"
#include "platform/headless/widget_state.h"

namespace hf::ui {
namespace {

using Kind = Control::Impl::Kind;

// As on Windows, one control of the program has the keyboard focus, whichever
// window it is in.
const Control* focusedControl = nullptr;

void initialise(Control::Impl& impl, Kind kind, Rect rect, std::string_view text, bool visible) {
  impl.kind = kind;
  impl.rect = rect;
  impl.text = text;
  impl.visible = visible;
}

}  // namespace

Control::Control(Window& parent) : parent_(parent), impl_(std::make_unique<Impl>()) {}

Control::~Control() {
  if (focusedControl == this) focusedControl = nullptr;
}

void Control::setVisible(bool visible) {
  impl_->visible = visible;
}
bool Control::isVisible() const {
  return impl_->visible;
}
void Control::setEnabled(bool enabled) {
  impl_->enabled = enabled;
}
bool Control::isEnabled() const {
  return impl_->enabled;
}

void Control::setText(std::string_view gbk) {
  if (impl_->kind != Kind::DropDown) {
    impl_->text = gbk;
    impl_->caret = 0;  // as a system edit box does
    return;
  }
  // A pick list shows only its items: a text picks the item that matches it.
  auto& items = impl_->items;
  auto match = std::find(items.begin(), items.end(), gbk);
  static_cast<DropDown*>(this)->select(match == items.end() ? -1 : int(match - items.begin()));
  if (impl_->editable) impl_->text = gbk;
}

std::string Control::text() const {
  return impl_->text;
}
Rect Control::rect() const {
  return impl_->rect;
}
// The simulated window has no frame: its client area starts at the frame's corner.
Rect Control::screenRect() const {
  const Rect frame = parent_.frameRect();
  return {frame.left + impl_->rect.left, frame.top + impl_->rect.top, impl_->rect.width,
          impl_->rect.height};
}
void Control::setRect(Rect rect) {
  impl_->rect = rect;
}
// The control that loses the focus hears of it, whoever moved the focus, as
// on Windows: the cell editors commit then.
void Control::focus() {
  const Control* previous = focusedControl;
  focusedControl = this;
  if (!previous || previous == this) return;
  const std::function<void()>* focusLost = nullptr;
  if (const auto* edit = dynamic_cast<const EditBox*>(previous)) focusLost = &edit->onFocusLost;
  if (const auto* drop = dynamic_cast<const DropDown*>(previous)) focusLost = &drop->onFocusLost;
  if (const auto* list = dynamic_cast<const ListView*>(previous)) focusLost = &list->onFocusLost;
  if (focusLost && *focusLost) (*focusLost)();
}
bool Control::hasFocus() const {
  return focusedControl == this;
}

Button::Button(Window& parent, const Args& args) : Control(parent) {
  initialise(*impl_, Kind::Button, args.rect, args.caption, args.visible);
}

void Button::setColor(Rgb color) {
  color_ = color;
}
void Button::setPicture(Image image) {
  picture_ = image;
}

CheckBox::CheckBox(Window& parent, const Args& args) : Control(parent) {
  initialise(*impl_, Kind::CheckBox, args.rect, args.caption, args.visible);
  impl_->checked = args.checked;
}

void CheckBox::setChecked(bool checked) {
  impl_->checked = checked;
}
bool CheckBox::isChecked() const {
  return impl_->checked;
}

DropDown::DropDown(Window& parent, const Args& args) : Control(parent) {
  initialise(*impl_, Kind::DropDown, args.rect, "", args.visible);
  impl_->items = args.items;
  impl_->editable = args.editable;
}

void DropDown::setItems(const std::vector<std::string>& items) {
  impl_->items = items;
  select(-1);
}

int DropDown::itemCount() const {
  return int(impl_->items.size());
}

std::string DropDown::itemText(int index) const {
  return index >= 0 && index < itemCount() ? impl_->items[index] : std::string();
}

void DropDown::select(int index) {
  impl_->selectedIndex = index >= 0 && index < itemCount() ? index : -1;
  impl_->text = itemText(impl_->selectedIndex);
}

int DropDown::selectedIndex() const {
  return impl_->selectedIndex;
}

EditBox::EditBox(Window& parent, const Args& args) : Control(parent) {
  initialise(*impl_, Kind::EditBox, args.rect, args.text, args.visible);
  impl_->multiline = args.multiline;
}

void EditBox::putCaretAtEnd() {
  impl_->caret = impl_->text.size();
}

// The simulated box has no selection: the text goes in at the caret.
void EditBox::insertAtCaret(std::string_view gbk) {
  impl_->caret = std::min(impl_->caret, impl_->text.size());
  impl_->text.insert(impl_->caret, gbk);
  impl_->caret += gbk.size();
}

Label::Label(Window& parent, const Args& args) : Control(parent) {
  initialise(*impl_, Kind::Label, args.rect, args.caption, args.visible);
}

Frame::Frame(Window& parent, const Args& args) : Control(parent) {
  initialise(*impl_, Kind::Frame, args.rect, "", args.visible);
}

PictureBox::PictureBox(Window& parent, const Args& args) : Control(parent) {
  initialise(*impl_, Kind::PictureBox, args.rect, "", args.visible);
  picture_ = args.image;
}

void PictureBox::setPicture(Image image) {
  picture_ = image;
  bitmap_ = Bitmap();
}

void PictureBox::setPicture(Bitmap picture) {
  picture_ = Image::None;
  bitmap_ = std::move(picture);
}
void PictureBox::setBackground(std::optional<Rgb> color) {
  background_ = color;
}

}  // namespace hf::ui

namespace hf::headless {

void typeInto(ui::EditBox& box, std::string_view gbk) {
  constexpr int kEnterKey = 0x0D;
  const auto insert = [&](std::string_view typed) {
    box.insertAtCaret(typed);
    if (box.onTextChanged) box.onTextChanged();
  };
  for (std::size_t at = 0; at < gbk.size();) {
    if (gbk.substr(at, 2) == "\r\n") {
      if (box.onKeyDown) box.onKeyDown(kEnterKey);
      if (box.impl().multiline) {
        insert("\r\n");
        if (box.onLineBreak) box.onLineBreak();
      }
      at += 2;
      continue;
    }
    const std::size_t size = static_cast<unsigned char>(gbk[at]) >= 0x80 ? 2 : 1;
    insert(gbk.substr(at, size));
    at += size;
  }
}

}  // namespace hf::headless
