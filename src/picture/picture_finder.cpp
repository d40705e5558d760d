#include "picture/picture_finder.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <span>
#include <utility>

#include "picture/bmp.h"
#include "picture/picture_search.h"
#include "platform/files.h"
#include "platform/text_codec.h"
#include "text/gbk_text.h"

namespace hf::picture {
namespace {

// Picture files larger than this are not read.
constexpr std::size_t kMaxPictureFileBytes = std::size_t(256) << 20;

constexpr char kNotFoundText[] = "-1|-1|-1";

}  // namespace

PictureFinder::PictureFinder(Decoder decode, ScreenGrab grabScreen, MoveMouse moveMouse)
    : decode_(std::move(decode)),
      grabScreen_(std::move(grabScreen)),
      moveMouse_(std::move(moveMouse)) {}

void PictureFinder::SetPath(const std::filesystem::path& folder) {
  const std::lock_guard<std::mutex> lock(folderLock_);
  folder_ = folder;
}

// A picture of the largest size read takes 256 MB, which a 32-bit process
// often cannot find in one piece: that is a picture it cannot read.
std::optional<Bitmap> PictureFinder::readPicture(const std::filesystem::path& file) const {
  try {
    const auto bytes = files::readWhole(file, kMaxPictureFileBytes);
    if (!bytes) return std::nullopt;
    const std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(bytes->data()),
                                             bytes->size());
    if (data.size() >= 2 && data[0] == 'B' && data[1] == 'M') return parseBmp(data);
    return decode_ ? decode_(file) : std::nullopt;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

std::string PictureFinder::FindPicE(int x1, int y1, int x2, int y2, std::string_view names,
                                    std::string_view, double, int) {
  std::filesystem::path folder;
  {
    const std::lock_guard<std::mutex> lock(folderLock_);
    folder = folder_;
  }
  if (!grabScreen_ || x2 < x1 || y2 < y1) return kNotFoundText;
  std::optional<Bitmap> screen;
  const auto span = [](int first, int last) {
    return int(std::min<std::int64_t>(std::int64_t(last) - first + 1, INT32_MAX));
  };
  const Rect area{x1, y1, span(x1, x2), span(y1, y2)};
  int index = 0;
  std::string result = kNotFoundText;
  text::forEachPiece(names, "|", [&](std::string_view name) {
    if (result != kNotFoundText) return;
    const int thisIndex = index++;
    if (name.empty()) return;
    const auto picture = readPicture(folder / codec::pathFromGbk(name));
    if (!picture) return;
    if (!screen && !(screen = grabbedScreen())) return;
    if (const auto at = findPicture(*screen, area, *picture))
      result =
          std::to_string(thisIndex) + "|" + std::to_string(at->x) + "|" + std::to_string(at->y);
  });
  return result;
}

std::optional<Bitmap> PictureFinder::grabbedScreen() const {
  try {
    return grabScreen_();
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

void PictureFinder::MoveTo(int x, int y) {
  if (moveMouse_) moveMouse_({x, y});
}

}  // namespace hf::picture
