#include <windows.h>

#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "platform/desktop.h"
#include "platform/input_gate.h"
#include "platform/screen.h"
#include "platform/win32/bitmaps.h"
#include "platform/win32/wide_text.h"

// The clipboard: texts and pictures.
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

// Puts a copy of the bytes on the opened clipboard in the given format. The
// clipboard owns the memory once SetClipboardData succeeds.
bool put(UINT format, const void* bytes, SIZE_T size) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!memory) return false;
  void* data = GlobalLock(memory);
  if (data) {
    std::memcpy(data, bytes, size);
    GlobalUnlock(memory);
    if (SetClipboardData(format, memory)) return true;
  }
  GlobalFree(memory);
  return false;
}

bool putDword(UINT format, DWORD value) {
  return put(format, &value, sizeof value);
}

// Without a CF_LOCALE of its own, the system converts the text for programs
// that read CF_TEXT with the code page of the active keyboard layout, and
// Chinese turns into "?" under a Western layout.
bool putChineseText(std::string_view gbk) {
  const std::wstring text = win32::widen(gbk);
  return put(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t)) &&
         putDword(CF_LOCALE,
                  MAKELCID(MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), SORT_DEFAULT));
}

// The registered formats by which Windows 10 and later keep a clipboard
// content out of the clipboard history, the cloud clipboard and clipboard
// monitors; older systems ignore them.
bool putPrivacyMarks() {
  static const UINT exclude =
      RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing");
  static const UINT history = RegisterClipboardFormatW(L"CanIncludeInClipboardHistory");
  static const UINT cloud = RegisterClipboardFormatW(L"CanUploadToCloudClipboard");
  return exclude && history && cloud && putDword(exclude, 0) && putDword(history, 0) &&
         putDword(cloud, 0);
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

bool setClipboardText(std::string_view gbk, ClipboardPrivacy privacy) {
  if (simulatedInputEnded() || !openClipboard()) return false;
  const bool stored = EmptyClipboard() && putChineseText(gbk) &&
                      (privacy == ClipboardPrivacy::Normal || putPrivacyMarks());
  // All or nothing: a private text that could not be marked must not reach
  // the history, which takes its copy when the clipboard is closed.
  if (!stored) EmptyClipboard();
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

std::uint32_t clipboardSequence() {
  return GetClipboardSequenceNumber();
}

}  // namespace hf::desktop

namespace hf::screen {
namespace {

std::optional<Bitmap> pictureOfDib(HANDLE data) {
  const void* dib = GlobalLock(data);
  if (!dib) return std::nullopt;
  auto picture = win32::pictureOfPackedDib(dib, GlobalSize(data));
  GlobalUnlock(data);
  return picture;
}

}  // namespace

// The device-independent form first: it holds the exact colours whatever the
// display's depth. The system turns either form into the other for readers.
std::optional<Bitmap> clipboardBitmap() {
  if (!desktop::openClipboard()) return std::nullopt;
  std::optional<Bitmap> picture;
  if (HANDLE dib = GetClipboardData(CF_DIB)) {
    picture = pictureOfDib(dib);
  } else if (HANDLE bitmap = GetClipboardData(CF_BITMAP)) {
    picture = win32::pictureOfDeviceBitmap(static_cast<HBITMAP>(bitmap));
  }
  CloseClipboard();
  return picture;
}

// Both forms are put on the clipboard, so that no reader depends on the
// system's conversion: CF_BITMAP for the programs that paste only a bitmap,
// CF_DIB (24 bits, rows bottom-up, which every reader takes) with the exact
// colours.
bool setClipboardBitmap(const Bitmap& picture) {
  if (picture.empty()) return false;
  std::string dib;
  try {
    dib = win32::packedDibOf(picture);
  } catch (const std::bad_alloc&) {
    return false;  // a picture too large for the memory left
  }
  HBITMAP bitmap = win32::deviceBitmapOf(picture);
  if (!bitmap || !desktop::openClipboard()) {
    if (bitmap) DeleteObject(bitmap);
    return false;
  }
  bool stored = EmptyClipboard() && SetClipboardData(CF_BITMAP, bitmap);
  if (!stored) DeleteObject(bitmap);  // the clipboard owns it only once it took it
  stored = stored && desktop::put(CF_DIB, dib.data(), dib.size());
  if (!stored) EmptyClipboard();
  CloseClipboard();
  return stored;
}

}  // namespace hf::screen
