// GBK conversions through glibc's iconv. Its "CP936" table is the Windows code
// page (0x80 is the euro sign) but for the codes Windows maps to the private
// use area, added here; what is still refused is replaced, never an error.
#include "platform/text_codec.h"

#include <errno.h>
#include <iconv.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <vector>

namespace hf::codec {
namespace {

constexpr const char* kGbk = "CP936";
constexpr const char* kUtf8 = "UTF-8";
constexpr const char* kUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

// What to do with input iconv cannot convert: how many bytes to skip and the
// bytes (in the target encoding) to write instead.
struct Replacement {
  std::size_t skip;
  std::string bytes;
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

// The Windows code page decodes every lead-trail pair: those GBK leaves free
// are private-use characters. First the three user-defined areas, row by row:
// AAA1-AFFE and F8A1-FEFE (trail bytes A1-FE), then A140-A7A0 (trail bytes
// 40-A0); after them every other free pair, in order.
constexpr char16_t kSecondUserArea = 0xE234;
constexpr char16_t kThirdUserArea = 0xE4C6;
constexpr char16_t kOtherFreePairs = 0xE766;

std::optional<char16_t> userAreaCharacter(unsigned char lead, unsigned char trail) {
  if (lead >= 0xAA && lead <= 0xAF && trail >= 0xA1)
    return 0xE000 + (lead - 0xAA) * 94 + trail - 0xA1;
  if (lead >= 0xF8 && trail >= 0xA1) return kSecondUserArea + (lead - 0xF8) * 94 + trail - 0xA1;
  if (lead >= 0xA1 && lead <= 0xA7 && trail <= 0xA0)
    return kThirdUserArea + (lead - 0xA1) * 96 + trail - 0x40 - (trail > 0x7F ? 1 : 0);
  return std::nullopt;
}

std::string gbkPair(int lead, int trail) {
  return {static_cast<char>(lead), static_cast<char>(trail)};
}

std::string userAreaPair(char16_t character) {
  if (character < kSecondUserArea)
    return gbkPair(0xAA + (character - 0xE000) / 94, 0xA1 + (character - 0xE000) % 94);
  if (character < kThirdUserArea)
    return gbkPair(0xF8 + (character - kSecondUserArea) / 94,
                   0xA1 + (character - kSecondUserArea) % 94);
  const int index = (character - kThirdUserArea) % 96;
  return gbkPair(0xA1 + (character - kThirdUserArea) / 96, 0x40 + index + (index >= 63 ? 1 : 0));
}

// The free pairs outside the user-defined areas, as lead * 256 + trail in
// order: the pairs glibc's table leaves out.
const std::vector<std::uint16_t>& otherFreePairs() {
  static const std::vector<std::uint16_t> pairs = [] {
    std::vector<std::uint16_t> free;
    iconv_t converter = iconv_open("UTF-16LE", kGbk);
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
      for (int trail = 0x40; trail <= 0xFE; ++trail) {
        if (!isGbkTrail(trail) || userAreaCharacter(lead, trail)) continue;
        char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        char unit[4];
        char* in = pair;
        char* out = unit;
        std::size_t inLeft = 2, outLeft = sizeof unit;
        if (iconv(converter, &in, &inLeft, &out, &outLeft) == std::size_t(-1))
          free.push_back(static_cast<std::uint16_t>(lead * 256 + trail));
      }
    }
    iconv_close(converter);
    return free;
  }();
  return pairs;
}

std::optional<char16_t> privateUseCharacter(std::string_view gbk) {
  if (gbk.size() < 2 || !isGbkLead(gbk[0]) || !isGbkTrail(gbk[1])) return std::nullopt;
  const auto lead = static_cast<unsigned char>(gbk[0]);
  const auto trail = static_cast<unsigned char>(gbk[1]);
  if (auto character = userAreaCharacter(lead, trail)) return character;
  const auto& pairs = otherFreePairs();
  const auto found = std::lower_bound(pairs.begin(), pairs.end(), lead * 256 + trail);
  if (found == pairs.end() || *found != lead * 256 + trail) return std::nullopt;
  return static_cast<char16_t>(kOtherFreePairs + (found - pairs.begin()));
}

// The GBK pair of a private-use character, "" for one the code page lacks.
std::string privateUsePair(char32_t character) {
  if (character >= 0xE000 && character < kOtherFreePairs) return userAreaPair(character);
  const auto& pairs = otherFreePairs();
  if (character < kOtherFreePairs || character >= kOtherFreePairs + pairs.size()) return {};
  const std::uint16_t pair = pairs[character - kOtherFreePairs];
  return gbkPair(pair >> 8, pair & 0xFF);
}

// The bytes a UTF-8 character with this lead byte takes, 1 for no lead byte.
std::size_t utf8LengthFromLead(unsigned char lead) {
  if (lead < 0xC2) return 1;
  if (lead < 0xE0) return 2;
  if (lead < 0xF0) return 3;
  return lead < 0xF5 ? 4 : 1;
}

// The bytes of a broken UTF-8 character that belong together (the lead byte
// and what could still continue it), at least one; a whole character when
// it is well-formed.
std::size_t utf8CharLength(std::string_view rest) {
  const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(rest[at]); };
  const unsigned char lead = byte(0);
  const std::size_t length = utf8LengthFromLead(lead);
  std::size_t taken = 1;
  for (; taken < length && taken < rest.size(); ++taken) {
    unsigned char low = 0x80, high = 0xBF;  // what the second byte may be narrows per lead
    if (taken == 1 && lead == 0xE0) low = 0xA0;
    if (taken == 1 && lead == 0xED) high = 0x9F;
    if (taken == 1 && lead == 0xF0) low = 0x90;
    if (taken == 1 && lead == 0xF4) high = 0x8F;
    if (byte(taken) < low || byte(taken) > high) break;
  }
  return taken;
}

char32_t utf8CodePoint(std::string_view character) {
  const auto byte = [&](std::size_t at) { return static_cast<char32_t>(character[at] & 0xFF); };
  switch (character.size()) {
    case 2:
      return (byte(0) & 0x1F) << 6 | (byte(1) & 0x3F);
    case 3:
      return (byte(0) & 0x0F) << 12 | (byte(1) & 0x3F) << 6 | (byte(2) & 0x3F);
    case 4:
      return (byte(0) & 0x07) << 18 | (byte(1) & 0x3F) << 12 | (byte(2) & 0x3F) << 6 |
             (byte(3) & 0x3F);
  }
  return byte(0);
}

// A surrogate pair is one character; anything else is one code unit.
std::size_t utf16CharBytes(std::string_view rest) {
  char16_t units[2] = {};
  std::memcpy(units, rest.data(), std::min<std::size_t>(rest.size(), sizeof units));
  const bool pair = rest.size() >= 4 && units[0] >= 0xD800 && units[0] < 0xDC00 &&
                    units[1] >= 0xDC00 && units[1] < 0xE000;
  return pair ? 4 : 2;
}

std::string inUtf16(char16_t character) {
  return {reinterpret_cast<const char*>(&character), sizeof character};
}

std::string inUtf8(char16_t character) {
  if (character < 0x80) return std::string(1, static_cast<char>(character));
  if (character < 0x800)
    return {static_cast<char>(0xC0 | character >> 6), static_cast<char>(0x80 | (character & 0x3F))};
  return {static_cast<char>(0xE0 | character >> 12),
          static_cast<char>(0x80 | (character >> 6 & 0x3F)),
          static_cast<char>(0x80 | (character & 0x3F))};
}

// Decodes into UTF-16 or UTF-8; `encode` writes one character in the target.
std::string decodeGbk(std::string_view gbk, const char* to, std::string (*encode)(char16_t)) {
  return convert(kGbk, to, gbk, [&](std::string_view rest) {
    if (auto character = privateUseCharacter(rest)) return Replacement{2, encode(*character)};
    return Replacement{undecodableGbkLength(rest), encode(u'\uFFFD')};
  });
}

}  // namespace

std::u16string gbkToUtf16(std::string_view gbk) {
  const std::string bytes = decodeGbk(gbk, kUtf16, inUtf16);
  std::u16string text(bytes.size() / 2, u'\0');
  std::memcpy(text.data(), bytes.data(), text.size() * 2);
  return text;
}

std::string utf16ToGbk(std::u16string_view text) {
  const std::string_view bytes(reinterpret_cast<const char*>(text.data()), text.size() * 2);
  return convert(kUtf16, kGbk, bytes, [](std::string_view rest) {
    char16_t unit = 0;
    std::memcpy(&unit, rest.data(), std::min(rest.size(), sizeof unit));
    std::string pair = privateUsePair(unit);
    if (!pair.empty()) return Replacement{2, pair};
    return Replacement{utf16CharBytes(rest), "?"};
  });
}

std::string gbkToUtf8(std::string_view gbk) {
  return decodeGbk(gbk, kUtf8, inUtf8);
}

std::string utf8ToGbk(std::string_view utf8) {
  return convert(kUtf8, kGbk, utf8, [](std::string_view rest) {
    const std::size_t length = utf8CharLength(rest);
    std::string pair = privateUsePair(utf8CodePoint(rest.substr(0, length)));
    return Replacement{length, pair.empty() ? "?" : pair};
  });
}

std::filesystem::path pathFromGbk(std::string_view gbk) {
  return gbkToUtf8(gbk);
}

}  // namespace hf::codec
