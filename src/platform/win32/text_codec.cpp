#include "platform/text_codec.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/wide_text.h"

namespace hf::win32 {
namespace {

// GBK is named by number so the conversion does not follow the system's ANSI code page.
constexpr UINT kGbkCodePage = 936;
constexpr wchar_t kReplacement = 0xFFFD;

int length(std::size_t size) {
  return static_cast<int>(size);
}

// Decodes bytes that must form exactly one GBK character.
bool decodeCharacter(std::string_view bytes, std::wstring& out) {
  wchar_t unit[2];
  if (MultiByteToWideChar(kGbkCodePage, MB_ERR_INVALID_CHARS, bytes.data(), length(bytes.size()),
                          unit, 2) != 1) {
    return false;
  }
  out += unit[0];
  return true;
}

// The slow path for text with undecodable bytes: each bad byte becomes U+FFFD
// on its own, so a broken lead byte never swallows the ASCII byte after it.
std::wstring widenByCharacter(std::string_view gbk) {
  std::wstring out;
  out.reserve(gbk.size());
  for (std::size_t at = 0; at < gbk.size();) {
    auto byte = static_cast<unsigned char>(gbk[at]);
    if (byte < 0x80) {
      out += wchar_t(byte);
      ++at;
    } else if (at + 1 < gbk.size() && decodeCharacter(gbk.substr(at, 2), out)) {
      at += 2;
    } else {
      if (!decodeCharacter(gbk.substr(at, 1), out)) out += kReplacement;
      ++at;
    }
  }
  return out;
}

bool isSurrogate(wchar_t unit) {
  return unit >= 0xD800 && unit <= 0xDFFF;
}

// GBK has no characters outside the basic plane: each surrogate pair (or a
// lone surrogate) becomes one '?'.
std::wstring withoutSurrogates(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (!isSurrogate(text[at])) {
      out += text[at];
      continue;
    }
    out += L'?';
    bool pair = text[at] <= 0xDBFF && at + 1 < text.size() && text[at + 1] >= 0xDC00 &&
                text[at + 1] <= 0xDFFF;
    if (pair) ++at;
  }
  return out;
}

std::wstring utf8ToWide(std::string_view utf8) {
  if (utf8.empty()) return {};
  int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length(utf8.size()), nullptr, 0);
  std::wstring out(size, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length(utf8.size()), out.data(), size);
  return out;
}

std::string wideToUtf8(std::wstring_view text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), length(text.size()), nullptr, 0, nullptr,
                                 nullptr);
  std::string out(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), length(text.size()), out.data(), size, nullptr,
                      nullptr);
  return out;
}

}  // namespace

std::wstring widen(std::string_view gbk) {
  if (gbk.empty()) return {};
  int size = MultiByteToWideChar(kGbkCodePage, MB_ERR_INVALID_CHARS, gbk.data(), length(gbk.size()),
                                 nullptr, 0);
  if (size == 0) return widenByCharacter(gbk);
  std::wstring out(size, L'\0');
  MultiByteToWideChar(kGbkCodePage, MB_ERR_INVALID_CHARS, gbk.data(), length(gbk.size()),
                      out.data(), size);
  return out;
}

std::string narrow(std::wstring_view text) {
  if (text.empty()) return {};
  std::wstring cleaned;
  if (std::any_of(text.begin(), text.end(), isSurrogate)) {
    cleaned = withoutSurrogates(text);
    text = cleaned;
  }
  // No best fit: a character GBK lacks becomes '?', never a look-alike.
  int size = WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, text.data(),
                                 length(text.size()), nullptr, 0, "?", nullptr);
  std::string out(size, '\0');
  WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, text.data(), length(text.size()),
                      out.data(), size, "?", nullptr);
  return out;
}

}  // namespace hf::win32

namespace hf::codec {

std::u16string gbkToUtf16(std::string_view gbk) {
  std::wstring wide = win32::widen(gbk);
  return std::u16string(wide.begin(), wide.end());
}

std::string utf16ToGbk(std::u16string_view text) {
  return win32::narrow(std::wstring(text.begin(), text.end()));
}

std::string gbkToUtf8(std::string_view gbk) {
  return win32::wideToUtf8(win32::widen(gbk));
}

std::string utf8ToGbk(std::string_view utf8) {
  return win32::narrow(win32::utf8ToWide(utf8));
}

std::filesystem::path pathFromGbk(std::string_view gbk) {
  return win32::widen(gbk);
}

}  // namespace hf::codec
