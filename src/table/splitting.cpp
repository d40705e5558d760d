#include "table/splitting.h"

#include <algorithm>
#include <cstring>

#include "table/entry_files.h"
#include "text/gbk_text.h"

// Non-ASCII literals are written as GBK byte escapes so that this file gives
// the same bytes with or without a GBK execution character set.
namespace hf::table {
namespace {

bool isLeadByte(char c) {
  return static_cast<unsigned char>(c) >= 0x80;
}

// A capture replaces every CR LF CR LF by CR LF ten times over; each pass
// halves a run of n line breaks in a row to ceil(n / 2).
constexpr std::size_t kLineBreaksPerOneKept = 1 << 10;  // 2 to the number of passes

// The ten passes in one: every run of n line breaks shrinks to ceil(n / 1024).
void collapseBlankLines(std::string& text) {
  std::size_t kept = 0;
  std::size_t from = 0;
  while (true) {
    const std::size_t lineBreak = text::findFromBoundary(text, kCrLf, from);
    const std::size_t end = lineBreak == std::string::npos ? text.size() : lineBreak;
    std::memmove(text.data() + kept, text.data() + from, end - from);
    kept += end - from;
    if (lineBreak == std::string::npos) break;
    std::size_t run = 0;
    for (from = lineBreak; std::string_view(text).substr(from, 2) == kCrLf; from += 2) ++run;
    for (std::size_t left = (run + kLineBreaksPerOneKept - 1) / kLineBreaksPerOneKept; left > 0;
         --left, kept += 2)
      kCrLf.copy(text.data() + kept, 2);
  }
  text.resize(kept);
}

// A capture collapses blank lines before the text is split.
std::vector<std::string> splitAt(std::string text, std::string_view separator,
                                 ImportSource source) {
  if (source == ImportSource::Capture) collapseBlankLines(text);
  return text::split(text, separator);
}

std::vector<std::string> imageEntries(std::string_view paths) {
  std::vector<std::string> pieces;
  if (paths.empty()) return pieces;
  text::forEachPiece(paths, kCrLf,
                     [&](std::string_view path) { pieces.push_back("#" + std::string(path)); });
  return pieces;
}

// Tabs and then line breaks are removed, every character is written followed
// by a space, and the text is split at the spaces. So a space of the text
// leaves two empty pieces, and a lone lead byte at the end forms one character
// with the space written after it.
std::vector<std::string> eachCharacter(std::string_view text) {
  const std::string kept = text::replaceAll(text::replaceAll(text, "\t", ""), kCrLf, "");
  if (kept.empty()) return {""};
  std::vector<std::string> pieces;
  pieces.reserve(kept.size());
  for (std::size_t at = 0; at < kept.size();) {
    const std::size_t size = text::charSize(kept, at);
    const std::string_view character = std::string_view(kept).substr(at, size);
    if (character == " ") {
      pieces.resize(pieces.size() + 2);
    } else if (size == 1 && isLeadByte(character[0])) {  // only at the end
      pieces.push_back(std::string(character) + " ");
    } else {
      pieces.emplace_back(character);
    }
    at += size;
  }
  return pieces;
}

// The system's alphabetic test on a character's first byte, which under code
// page 936 is the ASCII letter test: a lead byte never passes.
bool isLetter(std::string_view character) {
  const char c = character[0];
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isDigit(std::string_view character) {
  for (char c : character)
    if (c < '0' || c > '9') return false;
  return true;
}

// Cuts the half-width form of the text before every character of the kind
// that follows a character of another kind: each piece is a run of the kind
// followed by what comes after it, up to the next run.
template <typename IsOfKind>
std::vector<std::string> splitBeforeRuns(std::string_view text, IsOfKind isOfKind) {
  const std::string half = text::halfWidth(text);
  const std::string_view all = half;
  std::vector<std::string> pieces;
  std::size_t pieceStart = 0;
  bool seenOther = false;
  for (std::size_t at = 0; at < all.size();) {
    const std::size_t size = text::charSize(all, at);
    if (!isOfKind(all.substr(at, size))) {
      seenOther = true;
    } else if (seenOther) {
      pieces.emplace_back(all.substr(pieceStart, at - pieceStart));
      pieceStart = at;
      seenOther = false;
    }
    at += size;
  }
  if (pieceStart < all.size()) pieces.emplace_back(all.substr(pieceStart));
  return pieces;
}

// Without ASCII spaces, with the ASCII punctuation that Chinese text writes
// full-width replaced by its full-width form.
std::string normaliseForSamePage(std::string_view text) {
  std::string normal = text::replaceAll(text, " ", "");
  normal = text::replaceAll(normal, ":", "\xA3\xBA");  // ：
  normal = text::replaceAll(normal, ",", "\xA3\xAC");  // ，
  normal = text::replaceAll(normal, ".", "\xA1\xA3");  // 。
  normal = text::replaceAll(normal, "!", "\xA3\xA1");  // ！
  normal = text::replaceAll(normal, ";", "\xA3\xBB");  // ；
  normal = text::replaceAll(normal, "?", "\xA3\xBF");  // ？
  return normal;
}

std::size_t lastMatch(std::string_view line, std::string_view separator, std::size_t first) {
  std::size_t last = first;
  for (std::size_t at = first; at != std::string_view::npos;
       at = text::findFromBoundary(line, separator, at + text::charSize(line, at))) {
    last = at;
  }
  return last;
}

}  // namespace

std::vector<std::string> splitForImport(ImportMode mode, std::string_view text, ImportSource source,
                                        std::string_view separator) {
  switch (traitsOf(mode).split) {
    case Split::Whole:
      return {std::string(text)};
    case Split::DroppedPaths:
      return source == ImportSource::Drop ? imageEntries(text) : std::vector<std::string>();
    case Split::CustomSeparator: {
      const std::string separatorLine = std::string(separator) + std::string(kCrLf);
      return splitAt(text::replaceAll(text, separator, separatorLine), separatorLine, source);
    }
    case Split::Tabs:
      if (text.empty()) return {};
      return splitAt(text::replaceAll(text, "\t", kCrLf), kCrLf, source);
    case Split::Spaces:
      if (text.empty()) return {};
      return splitAt(text::replaceAll(text, " ", kCrLf), kCrLf, source);
    case Split::EachCharacter:
      return eachCharacter(text);
    case Split::Letters:
      return splitBeforeRuns(text, isLetter);
    case Split::Digits:
      return splitBeforeRuns(text, isDigit);
    case Split::None:
      return {};
  }
  return {};
}

std::string extractSamePage(ImportMode mode, std::string_view text, std::string_view separator) {
  if (!isSamePageMode(mode)) return {};
  const SamePageLayout& layout = traitsOf(mode).samePage;
  const std::string normal = normaliseForSamePage(text);
  std::string out;
  text::forEachPiece(normal, kCrLf, [&](std::string_view line) {
    if (text::findFromBoundary(line, separator, 0, true) == std::string_view::npos) {
      out.append(line).append(kStar).append(layout.lineEnd);
      return;
    }
    const std::size_t first = text::findFromBoundary(line, separator, 0);
    if (first == std::string_view::npos) return;  // present only in another letter case
    out.append(layout.keepsLeft
                   ? line.substr(0, first)
                   : line.substr(lastMatch(line, separator, first) + separator.size()));
    out.append(layout.lineEnd);
  });
  out.append(layout.finalMark);
  return out;
}

}  // namespace hf::table
