// Runs every import rule, from a drop and from a capture, and every same-page
// extraction on arbitrary bytes. The one-pass rules must give exactly what the
// rules give when composed step by step from the text operations (replace
// all, ten collapsing passes, split); pieces of the custom separator rule
// never hold the separator, and a single entry is the whole text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "table/splitting.h"
#include "text/gbk_text.h"

namespace {

using hf::table::ImportMode;
using hf::table::ImportSource;
using Pieces = std::vector<std::string>;
namespace text = hf::text;

constexpr std::string_view kCrLf = "\r\n";

void require(bool condition) {
  if (!condition) std::abort();
}

std::string collapsedIfCaptured(std::string text, ImportSource source) {
  if (source == ImportSource::Capture)
    for (int pass = 0; pass < 10; ++pass) text = text::replaceAll(text, "\r\n\r\n", kCrLf);
  return text;
}

Pieces splitAfterReplacing(std::string_view text, std::string_view what, std::string_view with,
                           ImportSource source) {
  return text::split(collapsedIfCaptured(text::replaceAll(text, what, with), source), with);
}

Pieces eachCharacter(std::string_view text) {
  const std::string kept = text::replaceAll(text::replaceAll(text, "\t", ""), kCrLf, "");
  std::string spaced;
  for (std::string_view character : text::characters(kept)) spaced.append(character).append(" ");
  return text::split(text::replaceAll(spaced, " ", kCrLf), kCrLf);
}

// The half-width form taken character by character must be the form of the
// whole text; the runs are then cut between its characters.
Pieces walk(std::string_view text, bool digits) {
  std::string half;
  for (std::string_view original : text::characters(text)) half += text::halfWidth(original);
  Pieces pieces;
  std::string current;
  bool seenOther = false;
  for (std::string_view c : text::characters(half)) {
    const bool ofKind = digits ? c.find_first_not_of("0123456789") == std::string::npos
                               : (c[0] >= 'A' && c[0] <= 'Z') || (c[0] >= 'a' && c[0] <= 'z');
    if (!ofKind) {
      seenOther = true;
    } else if (seenOther) {
      pieces.push_back(current);
      current.clear();
      seenOther = false;
    }
    current += c;
  }
  if (!current.empty()) pieces.push_back(current);
  return pieces;
}

// The rule composed step by step; modes without such a composition give what
// the one-pass rule gives.
Pieces stepByStep(ImportMode mode, std::string_view text, ImportSource source,
                  std::string_view separator) {
  switch (mode) {
    case ImportMode::CustomSeparator:
      return splitAfterReplacing(text, separator, std::string(separator) + std::string(kCrLf),
                                 source);
    case ImportMode::ExcelTabs:
      return text.empty() ? Pieces() : splitAfterReplacing(text, "\t", kCrLf, source);
    case ImportMode::Spaces:
      return text.empty() ? Pieces() : splitAfterReplacing(text, " ", kCrLf, source);
    case ImportMode::EachCharacter:
      return eachCharacter(text);
    case ImportMode::Letters:
      return walk(text, false);
    case ImportMode::Digits:
      return walk(text, true);
    default:
      return hf::table::splitForImport(mode, text, source, separator);
  }
}

void checkSplits(std::string_view text, std::string_view separator) {
  for (ImportSource source : {ImportSource::Drop, ImportSource::Capture}) {
    for (int index = 0; index <= static_cast<int>(ImportMode::RightDown); ++index) {
      const auto mode = static_cast<ImportMode>(index);
      const Pieces pieces = hf::table::splitForImport(mode, text, source, separator);
      require(pieces == stepByStep(mode, text, source, separator));
      if (mode == ImportMode::Single) require(pieces.size() == 1 && pieces[0] == text);
      // A capture collapses line breaks that may belong to the separator.
      const bool separatorSurvivesCollapse =
          source == ImportSource::Drop || separator.find_first_of("\r\n") == std::string::npos;
      if (mode == ImportMode::CustomSeparator && separatorSurvivesCollapse)
        for (const std::string& piece : pieces) require(text::find(piece, separator) == -1);
    }
  }
}

void checkExtraction(std::string_view text, std::string_view separator) {
  for (int index = 0; index <= static_cast<int>(ImportMode::RightDown); ++index) {
    const auto mode = static_cast<ImportMode>(index);
    const std::string result = hf::table::extractSamePage(mode, text, separator);
    if (!hf::table::isSamePageMode(mode)) require(result.empty());
  }
}

}  // namespace

// Layout: one byte of separator length (0..3), then the separator and the text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::size_t separatorSize = data[0] % 4;
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (rest.size() < separatorSize) return 0;
  const std::string_view separator = rest.substr(0, separatorSize);
  const std::string_view text = rest.substr(separatorSize);
  checkSplits(text, separator);
  checkExtraction(text, separator);
  return 0;
}
