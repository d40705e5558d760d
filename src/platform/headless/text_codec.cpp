// GBK conversions through glibc's iconv. Its "CP936" table is the Windows code
// page (0x80 is the euro sign); what iconv refuses is replaced, never an error.
#include "platform/text_codec.h"

#include <errno.h>
#include <iconv.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <functional>

namespace hf::codec {
namespace {

constexpr const char* kGbk = "CP936";
constexpr const char* kUtf8 = "UTF-8";
constexpr const char* kUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

// What to do with input iconv cannot convert: how many bytes to skip and the
// bytes (in the target encoding) to write instead.
struct Replacement {
  std::size_t skip;
  std::string_view bytes;
};
using Fallback = std::function<Replacement(std::string_view rest)>;

std::string convert(const char* from, const char* to, std::string_view input,
                    const Fallback& fallback) {
  iconv_t converter = iconv_open(to, from);
  std::string output(input.size() * 2 + 16, '\0');
  std::size_t used = 0;
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  while (inLeft > 0) {
    char* out = output.data() + used;
    std::size_t outLeft = output.size() - used;
    const bool failed = iconv(converter, &in, &inLeft, &out, &outLeft) == std::size_t(-1);
    const int reason = errno;
    used = output.size() - outLeft;
    if (!failed) break;
    if (reason == E2BIG) {
      output.resize(output.size() * 2);
      continue;
    }
    const Replacement replacement = fallback({in, inLeft});  // EILSEQ or a cut-off end
    output.replace(used, replacement.bytes.size(), replacement.bytes);
    used += replacement.bytes.size();
    in += replacement.skip;
    inLeft -= replacement.skip;
    if (output.size() - used < 8) output.resize(output.size() * 2);
  }
  iconv_close(converter);
  output.resize(used);
  return output;
}

bool isGbkLead(unsigned char byte) {
  return byte >= 0x81 && byte <= 0xFE;
}
bool isGbkTrail(unsigned char byte) {
  return byte >= 0x40 && byte <= 0xFE && byte != 0x7F;
}

// An unmapped lead-trail pair is one character; a lead byte without a valid
// trail byte is one on its own, so the ASCII byte after it survives.
std::size_t undecodableGbkLength(std::string_view rest) {
  return rest.size() >= 2 && isGbkLead(rest[0]) && isGbkTrail(rest[1]) ? 2 : 1;
}

// The bytes a UTF-8 character with this lead byte takes, 0 for no lead byte.
std::size_t utf8LengthFromLead(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead < 0xC2) return 0;
  if (lead < 0xE0) return 2;
  if (lead < 0xF0) return 3;
  return lead < 0xF5 ? 4 : 0;
}

// The length of the well-formed UTF-8 character at the start, 0 when malformed.
std::size_t utf8CharLength(std::string_view rest) {
  const std::size_t length = utf8LengthFromLead(static_cast<unsigned char>(rest[0]));
  if (length == 0 || rest.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(rest[i]) & 0xC0) != 0x80) return 0;
  }
  return length;
}

// A surrogate pair is one character; anything else is one code unit.
std::size_t utf16CharBytes(std::string_view rest) {
  char16_t units[2] = {};
  std::memcpy(units, rest.data(), std::min<std::size_t>(rest.size(), sizeof units));
  const bool pair = rest.size() >= 4 && units[0] >= 0xD800 && units[0] < 0xDC00 &&
                    units[1] >= 0xDC00 && units[1] < 0xE000;
  return pair ? 4 : 2;
}

std::string decodeGbk(std::string_view gbk, const char* to, std::string_view replacementCharacter) {
  return convert(kGbk, to, gbk, [&](std::string_view rest) {
    return Replacement{undecodableGbkLength(rest), replacementCharacter};
  });
}

}  // namespace

std::u16string gbkToUtf16(std::string_view gbk) {
  static const char16_t replacementCharacter = u'\uFFFD';
  const std::string bytes =
      decodeGbk(gbk, kUtf16, {reinterpret_cast<const char*>(&replacementCharacter), 2});
  std::u16string text(bytes.size() / 2, u'\0');
  std::memcpy(text.data(), bytes.data(), text.size() * 2);
  return text;
}

std::string utf16ToGbk(std::u16string_view text) {
  const std::string_view bytes(reinterpret_cast<const char*>(text.data()), text.size() * 2);
  return convert(kUtf16, kGbk, bytes, [](std::string_view rest) {
    return Replacement{utf16CharBytes(rest), "?"};
  });
}

std::string gbkToUtf8(std::string_view gbk) {
  return decodeGbk(gbk, kUtf8, "\xEF\xBF\xBD");
}

std::string utf8ToGbk(std::string_view utf8) {
  return convert(kUtf8, kGbk, utf8, [](std::string_view rest) {
    return Replacement{std::max<std::size_t>(utf8CharLength(rest), 1), "?"};
  });
}

std::filesystem::path pathFromGbk(std::string_view gbk) {
  return gbkToUtf8(gbk);
}

}  // namespace hf::codec
