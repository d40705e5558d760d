#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Text operations on GBK byte strings. A character is one byte below 0x80, or
// a lead byte of 0x80 or above with the byte after it; a lead byte at the very
// end of a text is a character of its own. Positions are 1-based byte
// positions. Searches match only at character boundaries, so a separator
// never matches across the two bytes of a Chinese character.
namespace hf::text {

// Bytes taken by the character that starts at byte index `at` (0-based): 1 or
// 2, and 0 past the end.
std::size_t charSize(std::string_view text, std::size_t at);

// The characters of the text, in order.
std::vector<std::string_view> characters(std::string_view text);

// Position of the first occurrence of `what` at or after position `from`, or
// -1. ASCII letters compare without case when ignoreCase is set. An empty
// `what` is not found.
int find(std::string_view text, std::string_view what, int from = 1, bool ignoreCase = false);

// Every occurrence of `what` replaced, case-sensitive; an empty `what`
// leaves the text unchanged.
std::string replaceAll(std::string_view text, std::string_view what, std::string_view with);

// Byte index (0-based) of the first match of `what` at a character boundary,
// searching from `boundary`, which must itself be a character boundary; npos
// when there is none. The linear building block of repeated searches.
std::size_t findFromBoundary(std::string_view text, std::string_view what, std::size_t boundary,
                             bool ignoreCase = false);

// The pieces between separators. A final separator adds no empty piece; a text
// without separator (or an empty separator) is one piece; the empty text is
// one empty piece.
std::vector<std::string> split(std::string_view text, std::string_view separator);

// Calls visit(piece) for every piece split() gives, without copying: the
// pieces are views into text.
template <typename Visit>
void forEachPiece(std::string_view text, std::string_view separator, Visit&& visit) {
  std::size_t start = 0;
  bool any = false;
  for (std::size_t at = findFromBoundary(text, separator, 0); at != std::string_view::npos;
       at = findFromBoundary(text, separator, start)) {
    visit(text.substr(start, at - start));
    start = at + separator.size();
    any = true;
  }
  if (start < text.size() || !any) visit(text.substr(start));
}

// The text as the system's half-width mapping (LCMapString with
// LCMAP_HALFWIDTH) makes it under code page 936: full-width letters, digits
// and symbols and the ideographic space become their one-byte forms, and a
// few other characters change (right quotation marks, the macron). A
// character whose half-width form code page 936 lacks (、 。 「 」, katakana)
// stays as it is rather than becoming "?".
std::string halfWidth(std::string_view text);

// Byte cuts; out-of-range counts are clamped.
std::string left(std::string_view text, int n);
std::string right(std::string_view text, int n);
std::string mid(std::string_view text, int start, int n);  // start is 1-based

}  // namespace hf::text
