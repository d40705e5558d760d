#include "paste/composite_entries.h"

#include <array>

#include "text/gbk_text.h"

namespace hf::paste {
namespace {

constexpr std::array<std::string_view, 4> kPictureExtensions{".bmp", ".jpg", ".jpeg", ".png"};

bool namesPicture(std::string_view item, bool ignoreCase) {
  for (std::string_view extension : kPictureExtensions)
    if (text::find(item, extension, 1, ignoreCase) != -1) return true;
  return false;
}

}  // namespace

bool isCompositeEntry(std::string_view entry) {
  return entry.find('#') != std::string_view::npos;
}

std::vector<EntryItem> entryItems(std::string_view entry) {
  std::vector<EntryItem> items;
  for (const std::string& part : text::split(entry, "#")) {
    if (part.empty()) continue;
    if (namesPicture(part, false))
      items.push_back({EntryItem::Kind::Picture, text::replaceAll(part, "\r\n", "")});
    else if (!namesPicture(part, true))
      items.push_back({EntryItem::Kind::Text, part});
  }
  return items;
}

}  // namespace hf::paste
