
#include <windows.h>

#include "platform/win32/ui_impl.h"
#include "platform/win32/wide_text.h"

namespace hf::ui {
namespace {

constexpr int kListHeight = 240;  // units the opened list may take below the field

std::string itemAt(HWND hwnd, int index) {
  LRESULT length = SendMessageW(hwnd, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) return {};
  std::wstring text(length + 1, L'\0');
  LRESULT copied = SendMessageW(hwnd, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied == CB_ERR ? 0 : copied);
  return win32::narrow(text);
}

struct DropDownImpl final : Control::Impl {
  DropDownImpl(DropDown& dropDown, Window& window, Rect rect, bool editable)
      : Impl(dropDown, window, rect), dropDown(dropDown), editable(editable) {}

  void command(int code) override {
    if (code == CBN_SELCHANGE && userInput()) raise(dropDown.onSelectionChanged);
    if (code == CBN_KILLFOCUS) raise(dropDown.onFocusLost);
  }
  int dropDownHeight() const override { return kListHeight; }
  std::string text() const override {
    if (editable) return Impl::text();
    return itemAt(hwnd, static_cast<int>(SendMessageW(hwnd, CB_GETCURSEL, 0, 0)));
  }
  // The text of a drop-down list is its picked item: picks the item with that
  // text. An editable one shows any text.
  void setText(std::string_view gbk) override {
    QuietScope quietScope(*this);
    LRESULT index = SendMessageW(hwnd, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(win32::widen(gbk).c_str()));
    SendMessageW(hwnd, CB_SETCURSEL, index == CB_ERR ? static_cast<WPARAM>(-1) : index, 0);
    if (editable) Impl::setText(gbk);
  }

  DropDown& dropDown;
  bool editable;
};

}  // namespace

DropDown::DropDown(Window& parent, const Args& args) : Control(parent) {
  impl_ = std::make_unique<DropDownImpl>(*this, parent, args.rect, args.editable);
  const DWORD style = args.editable ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST;
  impl_->create({WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | style}, "", args.visible);
  setItems(args.items);
}

void DropDown::setItems(const std::vector<std::string>& items) {
  QuietScope quietScope(*impl_);
  HWND hwnd = impl_->hwnd;
  SendMessageW(hwnd, CB_RESETCONTENT, 0, 0);
  for (const std::string& item : items) {
    SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win32::widen(item).c_str()));
  }
}

int DropDown::itemCount() const {
  LRESULT count = SendMessageW(impl_->hwnd, CB_GETCOUNT, 0, 0);
  return count == CB_ERR ? 0 : static_cast<int>(count);
}

std::string DropDown::itemText(int index) const {
  return itemAt(impl_->hwnd, index);
}

void DropDown::select(int index) {
  QuietScope quietScope(*impl_);
  // An index beyond the items clears the choice, whether the list does so
  // itself (Windows) or keeps the old one (Wine).
  if (index < 0 || index >= itemCount()) index = -1;
  SendMessageW(impl_->hwnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int DropDown::selectedIndex() const {
  LRESULT index = SendMessageW(impl_->hwnd, CB_GETCURSEL, 0, 0);
  return index == CB_ERR ? -1 : static_cast<int>(index);
}

}  // namespace hf::ui
