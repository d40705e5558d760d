#include "paste/composite_entries.h"

#include <array>

#include "text/gbk_text.h"

namespace hf::paste {
namespace {

constexpr std::array<std::string_view, 4> kPictureExtensions{".bmp", ".jpg", ".jpeg", ".png"};

// File names ignore case, and cameras write ".JPG".
bool namesPicture(std::string_view item) {
  for (std::string_view extension : kPictureExtensions)
    if (text::find(item, extension, 1, true) != -1) return true;
  return false;
}

}  // namespace

bool isCompositeEntry(std::string_view entry) {
  return entry.find('#') != std::string_view::npos;
}

bool fitsInEntry(std::string_view path) {
  return !isCompositeEntry(path);
}

std::string hashInPathHint(std::string_view path) {
  return "●路径中含有#，无法作为图文条目，请改名或移动后再试：" + std::string(path);
}

std::vector<EntryItem> entryItems(std::string_view entry) {
  std::vector<EntryItem> items;
  for (const std::string& part : text::split(entry, "#")) {
    if (part.empty()) continue;
    if (namesPicture(part))
      items.push_back({EntryItem::Kind::Picture, text::replaceAll(part, "\r\n", "")});
    else
      items.push_back({EntryItem::Kind::Text, part});
  }
  return items;
}

}  // namespace hf::paste
