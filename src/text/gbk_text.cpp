#include "text/gbk_text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace hf::text {
namespace {

constexpr std::size_t kNoMatch = std::string_view::npos;

bool isLeadByte(char c) {
  return static_cast<unsigned char>(c) >= 0x80;
}

char foldAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether `what` matches the characters of `text` that start at the boundary
// `at`, ending on a boundary too. Only one-byte characters are folded: the
// trail byte of a Chinese character may equal an ASCII letter.
bool matchesAt(std::string_view text, std::size_t at, std::string_view what, bool ignoreCase) {
  const std::size_t end = at + what.size();
  if (end > text.size()) return false;
  std::size_t pos = at;
  while (pos < end) {
    const std::size_t size = charSize(text, pos);
    if (pos + size > end) return false;
    const char* expected = what.data() + (pos - at);
    if (size == 1 && ignoreCase) {
      if (foldAscii(text[pos]) != foldAscii(*expected)) return false;
    } else if (std::memcmp(text.data() + pos, expected, size) != 0) {
      return false;
    }
    pos += size;
  }
  return true;
}

// The first character boundary at or after byte index `at`.
std::size_t boundaryAtOrAfter(std::string_view text, std::size_t at) {
  std::size_t pos = 0;
  while (pos < at && pos < text.size()) pos += charSize(text, pos);
  return pos;
}

std::size_t countMatches(std::string_view text, std::string_view what) {
  std::size_t count = 0;
  for (std::size_t pos = findFromBoundary(text, what, 0, false); pos != kNoMatch;
       pos = findFromBoundary(text, what, pos + what.size(), false)) {
    ++count;
  }
  return count;
}

struct HalfWidthForm {
  std::uint16_t code;  // lead byte, trail byte
  std::string_view half;
};

// The characters outside row A3 that the mapping changes into something code
// page 936 can write, by code, as that code page writes the result.
constexpr HalfWidthForm kOtherForms[] = {
    {0xA1A1, " "},         // ideographic space
    {0xA1AB, "~"},         // ～ full-width tilde
    {0xA1AF, "'"},         // ’ right single quotation mark
    {0xA1B1, "\""},        // ” right double quotation mark
    {0xA1E7, "$"},         // ＄ full-width dollar
    {0xA3FE, "\xA1\xA5"},  // ￣ full-width macron: the macron, written ˉ
    {0xA957, "|"},         // ￤ full-width broken bar: the broken bar, written |
};

// Appends the character as the system's half-width mapping (LCMapString with
// LCMAP_HALFWIDTH) leaves it in code page 936 text, except that a character
// whose half-width form that code page cannot write stays as it is (the
// mapping would write "?": 、 。 「 」 the katakana, ￢ and the sound marks).
// Row A3 holds the full-width forms of ASCII, except A3 A4 (￥, whose
// half-width yen sign code page 936 writes as ￥ again) and A3 FE (￣); the
// mapping leaves the full-width backslash A3 DC alone. ￠ and ￡ come back as
// themselves.
void appendHalfWidth(std::string& out, std::string_view character) {
  if (character.size() != 2) {
    out += character;
    return;
  }
  const auto lead = static_cast<unsigned char>(character[0]);
  const auto trail = static_cast<unsigned char>(character[1]);
  const std::uint16_t code = static_cast<std::uint16_t>(lead << 8 | trail);
  if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFD && code != 0xA3A4 && code != 0xA3DC) {
    out += static_cast<char>(trail - 0x80);
    return;
  }
  const auto* form =
      std::lower_bound(std::begin(kOtherForms), std::end(kOtherForms), code,
                       [](const HalfWidthForm& f, std::uint16_t c) { return f.code < c; });
  out += form != std::end(kOtherForms) && form->code == code ? form->half : character;
}

}  // namespace

std::size_t findFromBoundary(std::string_view text, std::string_view what, std::size_t boundary,
                             bool ignoreCase) {
  if (what.empty() || text.size() < what.size()) return kNoMatch;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t lastStart = text.size() - what.size();
  if (ignoreCase) {
    const char first = foldAscii(what.front());
    for (std::size_t pos = boundary; pos <= lastStart; pos += 1 + (bytes[pos] >> 7))
      if (foldAscii(text[pos]) == first && matchesAt(text, pos, what, true)) return pos;
    return kNoMatch;
  }
  // Jump from candidate to candidate with memchr. A byte below 0x80 always
  // ends a character, so a candidate is on a boundary when the run of bytes
  // of 0x80 and above just before it (back to a known boundary) has even length.
  std::size_t known = boundary;
  for (std::size_t from = boundary; from <= lastStart;) {
    const void* hit = std::memchr(bytes + from, what.front(), lastStart + 1 - from);
    if (hit == nullptr) break;
    const std::size_t candidate = static_cast<const unsigned char*>(hit) - bytes;
    std::size_t runStart = candidate;
    while (runStart > known && bytes[runStart - 1] >= 0x80) --runStart;
    if ((candidate - runStart) % 2 == 0) {
      if (matchesAt(text, candidate, what, false)) return candidate;
      known = candidate;
    } else {
      known = candidate + 1;  // the candidate was a trail byte
    }
    from = candidate + 1;
  }
  return kNoMatch;
}

std::size_t charSize(std::string_view text, std::size_t at) {
  if (at >= text.size()) return 0;
  return (isLeadByte(text[at]) && at + 1 < text.size()) ? 2 : 1;
}

std::vector<std::string_view> characters(std::string_view text) {
  std::vector<std::string_view> result;
  result.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t size = charSize(text, pos);
    result.push_back(text.substr(pos, size));
    pos += size;
  }
  return result;
}

int find(std::string_view text, std::string_view what, int from, bool ignoreCase) {
  const std::size_t start = from < 1 ? 0 : static_cast<std::size_t>(from) - 1;
  if (start > text.size()) return -1;
  const std::size_t found =
      findFromBoundary(text, what, boundaryAtOrAfter(text, start), ignoreCase);
  return found == kNoMatch ? -1 : static_cast<int>(found) + 1;
}

std::string replaceAll(std::string_view text, std::string_view what, std::string_view with) {
  std::string result;
  result.reserve(text.size());
  std::size_t pieceStart = 0;
  for (std::size_t pos = findFromBoundary(text, what, 0, false); pos != kNoMatch;
       pos = findFromBoundary(text, what, pieceStart, false)) {
    result.append(text, pieceStart, pos - pieceStart);
    result.append(with);
    pieceStart = pos + what.size();
  }
  result.append(text, pieceStart);
  return result;
}

std::vector<std::string> split(std::string_view text, std::string_view separator) {
  std::vector<std::string> pieces;
  // Counting first keeps a million-piece split to one allocation of the list.
  pieces.reserve(countMatches(text, separator) + 1);
  forEachPiece(text, separator, [&](std::string_view piece) { pieces.emplace_back(piece); });
  return pieces;
}

std::string left(std::string_view text, int n) {
  if (n <= 0) return {};
  return std::string(text.substr(0, static_cast<std::size_t>(n)));
}

std::string right(std::string_view text, int n) {
  if (n <= 0) return {};
  const std::size_t count = std::min(text.size(), static_cast<std::size_t>(n));
  return std::string(text.substr(text.size() - count));
}

std::string mid(std::string_view text, int start, int n) {
  const std::size_t offset = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
  if (n <= 0 || offset >= text.size()) return {};
  return std::string(text.substr(offset, static_cast<std::size_t>(n)));
}

std::string halfWidth(std::string_view text) {
  std::string half;
  half.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t size = charSize(text, at);
    appendHalfWidth(half, text.substr(at, size));
    at += size;
  }
  return half;
}

}  // namespace hf::text
