#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// GBK (code page 936) is the one text encoding inside the system; these
// conversions are used only at the edges (window texts, file names, the
// clipboard). Invalid or truncated input never fails: undecodable bytes
// become U+FFFD, unencodable characters become '?'.
namespace hf::codec {

std::u16string gbkToUtf16(std::string_view gbk);
std::string utf16ToGbk(std::u16string_view text);
std::string gbkToUtf8(std::string_view gbk);
std::string utf8ToGbk(std::string_view utf8);

// A file-system path from a GBK file name, for names built from the
// system's own texts ("保存A.txt", a same-page name).
std::filesystem::path pathFromGbk(std::string_view gbk);

}  // namespace hf::codec
