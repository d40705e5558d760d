#include <windows.h>

#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "platform/desktop.h"
#include "platform/input_gate.h"
#include "platform/win32/wide_text.h"

namespace hf::desktop {
namespace {

// The clipboard's owner: with no owner window, EmptyClipboard leaves the
// clipboard without an owner, and SetClipboardData may then fail.
HWND clipboardOwner() {
  static const HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                            GetModuleHandleW(nullptr), nullptr);
  return owner;
}

// Another program may hold the clipboard for a moment (a clipboard viewer,
// the program that just copied); try for about a second before giving up.
bool openClipboard() {
  constexpr int kAttempts = 100;
  constexpr DWORD kRetryMs = 10;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (OpenClipboard(clipboardOwner())) return true;
    Sleep(kRetryMs);
  }
  return false;
}

// Moveable global memory holding the text and its terminating zero, as
// SetClipboardData expects; nullptr when the allocation failed.
HGLOBAL globalCopy(const std::wstring& text) {
  const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!memory) return nullptr;
  void* data = GlobalLock(memory);
  if (!data) {
    GlobalFree(memory);
    return nullptr;
  }
  std::memcpy(data, text.c_str(), bytes);
  GlobalUnlock(memory);
  return memory;
}

std::string textOf(HANDLE data) {
  const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
  if (!text) return {};
  // The size bounds the search for the zero in case a program left none.
  const SIZE_T units = GlobalSize(data) / sizeof(wchar_t);
  std::string gbk = win32::narrow(std::wstring_view(text, wcsnlen(text, units)));
  GlobalUnlock(data);
  return gbk;
}

}  // namespace

bool setClipboardText(std::string_view gbk) {
  if (simulatedInputEnded() || !openClipboard()) return false;
  bool stored = false;
  if (EmptyClipboard()) {
    HGLOBAL memory = globalCopy(win32::widen(gbk));
    // The clipboard owns the memory once SetClipboardData succeeds.
    stored = memory && SetClipboardData(CF_UNICODETEXT, memory);
    if (memory && !stored) GlobalFree(memory);
  }
  CloseClipboard();
  return stored;
}

std::optional<std::string> clipboardText() {
  if (!openClipboard()) return std::nullopt;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  std::string text = data ? textOf(data) : std::string();
  CloseClipboard();
  return text;
}

}  // namespace hf::desktop
