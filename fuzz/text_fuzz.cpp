// Runs the GBK text operations on arbitrary bytes and checks that they agree
// with each other: characters cover the text, split pieces join back to the
// text, replaceAll matches split, and find gives the first match on a
// character boundary.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "text/gbk_text.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

std::string join(const std::vector<std::string>& pieces, std::string_view glue) {
  std::string joined;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) joined += glue;
    joined += pieces[i];
  }
  return joined;
}

std::set<std::size_t> checkCharacters(std::string_view text) {
  std::set<std::size_t> boundaries;
  std::string joined;
  for (std::string_view character : hf::text::characters(text)) {
    boundaries.insert(joined.size());
    require(character.size() == 1 || character.size() == 2);
    require(character.size() == 1 || static_cast<unsigned char>(character[0]) >= 0x80);
    joined += character;
  }
  require(joined == text);
  return boundaries;
}

// The first case-sensitive match at a boundary at or after from, by brute force.
int firstMatch(std::string_view text, std::string_view what, int from,
               const std::set<std::size_t>& boundaries) {
  if (what.empty()) return -1;
  const std::size_t start = from < 1 ? 0 : static_cast<std::size_t>(from) - 1;
  for (std::size_t at : boundaries) {
    if (at < start || text.substr(at, what.size()) != what) continue;
    const std::size_t end = at + what.size();
    if (end == text.size() || boundaries.count(end) == 1) return static_cast<int>(at) + 1;
  }
  return -1;
}

void checkFind(std::string_view text, std::string_view what, int from,
               const std::set<std::size_t>& boundaries) {
  require(hf::text::find(text, what, from) == firstMatch(text, what, from, boundaries));
  for (bool ignoreCase : {false, true}) {
    const int found = hf::text::find(text, what, from, ignoreCase);
    if (found == -1) continue;
    require(found >= 1 && found >= from);
    const std::size_t at = static_cast<std::size_t>(found) - 1;
    require(boundaries.count(at) == 1);
    require(at + what.size() == text.size() || boundaries.count(at + what.size()) == 1);
    if (!ignoreCase) require(text.substr(at, what.size()) == what);
  }
}

void checkSplitAndReplace(std::string_view text, std::string_view separator) {
  const std::vector<std::string> pieces = hf::text::split(text, separator);
  require(!pieces.empty());
  const std::string joined = join(pieces, separator);
  const bool droppedFinalSeparator = joined != text;
  require(!droppedFinalSeparator || joined + std::string(separator) == text);

  const std::string with = "<>";
  const std::string expected = separator.empty()
                                   ? std::string(text)
                                   : join(pieces, with) + (droppedFinalSeparator ? with : "");
  require(hf::text::replaceAll(text, separator, with) == expected);
}

void checkCuts(std::string_view text, int start, int n) {
  const std::size_t size = text.size();
  const std::size_t offset = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
  const std::size_t count = n < 0 ? 0 : static_cast<std::size_t>(n);
  const std::string cut = hf::text::mid(text, start, n);
  require(cut == (offset >= size ? std::string() : std::string(text.substr(offset, count))));
  require(hf::text::left(text, n) == text.substr(0, count));
  require(hf::text::right(text, n) == text.substr(size - std::min(size, count)));
}

}  // namespace

// Layout: one byte of separator length (0..3), one byte for the search start,
// one byte for the cut length, then the separator and the text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const std::size_t separatorSize = data[0] % 4;
  const int from = static_cast<int>(data[1]) - 8;
  const int n = static_cast<int>(data[2]) - 8;
  const std::string_view rest(reinterpret_cast<const char*>(data) + 3, size - 3);
  if (rest.size() < separatorSize) return 0;
  const std::string_view separator = rest.substr(0, separatorSize);
  const std::string_view text = rest.substr(separatorSize);

  const std::set<std::size_t> boundaries = checkCharacters(text);
  checkFind(text, separator, from, boundaries);
  checkSplitAndReplace(text, separator);
  checkCuts(text, from, n);
  return 0;
}
