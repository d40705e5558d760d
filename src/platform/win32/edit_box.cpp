
#include <windows.h>

#include "platform/win32/ui_impl.h"
#include "platform/win32/wide_text.h"

namespace hf::ui {
namespace {

struct EditBoxImpl final : Control::Impl {
  EditBoxImpl(EditBox& editBox, Window& window, Rect rect)
      : Impl(editBox, window, rect), editBox(editBox) {}

  void command(int code) override {
    if (code == EN_CHANGE && userInput()) raise(editBox.onTextChanged);
  }
  std::optional<LRESULT> intercept(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        raise(editBox.onKeyDown, static_cast<int>(wParam));
        break;
      case WM_KEYUP:
      case WM_SYSKEYUP:
        raise(editBox.onKeyUp, static_cast<int>(wParam));
        break;
      case WM_CHAR:
        if (wParam == '\r' && (GetWindowLongW(hwnd, GWL_STYLE) & ES_MULTILINE)) {
          LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
          raise(editBox.onLineBreak);
          return result;
        }
        break;
      case WM_KILLFOCUS: {
        // Raised once the box has really let the focus go.
        LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
        raise(editBox.onFocusLost);
        return result;
      }
    }
    return std::nullopt;
  }

  EditBox& editBox;
};

}  // namespace

EditBox::EditBox(Window& parent, const Args& args) : Control(parent) {
  impl_ = std::make_unique<EditBoxImpl>(*this, parent, args.rect);
  DWORD style = WS_TABSTOP | ES_AUTOHSCROLL;
  if (args.multiline) style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL;
  impl_->create({WC_EDITW, style, WS_EX_CLIENTEDGE}, args.text, args.visible);
  SendMessageW(impl_->hwnd, EM_SETLIMITTEXT, 0, 0);  // no 32 K cap on what the user types
}

void EditBox::putCaretAtEnd() {
  const int length = GetWindowTextLengthW(impl_->hwnd);
  SendMessageW(impl_->hwnd, EM_SETSEL, length, length);
  SendMessageW(impl_->hwnd, EM_SCROLLCARET, 0, 0);
}

void EditBox::insertAtCaret(std::string_view gbk) {
  QuietScope quietScope(*impl_);
  SendMessageW(impl_->hwnd, EM_REPLACESEL, TRUE,
               reinterpret_cast<LPARAM>(win32::widen(gbk).c_str()));
}

}  // namespace hf::ui
