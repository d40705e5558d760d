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

// The items in order. A picture item names ".bmp", ".jpg", ".jpeg" or
// ".png" in small letters; an item that names one of them only in capitals
// is neither kind and is left out.
std::vector<EntryItem> entryItems(std::string_view entry);

}  // namespace hf::paste
