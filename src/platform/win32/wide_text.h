#pragma once

#include <string>
#include <string_view>

// GBK <-> UTF-16 for the W APIs (code page 936 regardless of the system's
// ANSI code page); the rules are those of platform/text_codec.h.
namespace hf::win32 {

std::wstring widen(std::string_view gbk);
std::string narrow(std::wstring_view text);

}  // namespace hf::win32
