#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hf::paste {

// An entry that holds "#" is a list of items separated by "#": a picture
// item names a picture file and goes to the target as a picture, any other
// item as text. Empty parts are no items.
struct EntryItem {
  enum class Kind { Text, Picture };
  Kind kind;
  std::string text;  // a picture item's path, without line breaks
  friend bool operator==(const EntryItem&, const EntryItem&) = default;
};

bool isCompositeEntry(std::string_view entry);

// A path holding "#" would be read back cut apart at it, so no item is made
// of it; the hint that says why, naming the path.
bool fitsInEntry(std::string_view path);
std::string hashInPathHint(std::string_view path);

// The items in order. A picture item names ".bmp", ".jpg", ".jpeg" or
// ".png", in small or capital letters.
std::vector<EntryItem> entryItems(std::string_view entry);

}  // namespace hf::paste
