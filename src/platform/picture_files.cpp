#include <new>

#include "platform/files.h"
#include "platform/screen.h"

namespace hf::screen {

std::optional<Bitmap> decodePictureFile(const std::filesystem::path& file) {
  // Room for the largest picture that is decoded at all, as an uncompressed
  // 32-bit BMP with its headers and a palette.
  constexpr std::size_t kMaxFileBytes = std::size_t(kMaxPicturePixels) * 4 + 4096;
  try {
    const auto bytes = files::readWhole(file, kMaxFileBytes);
    if (!bytes) return std::nullopt;
    return decodePicture(*bytes);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace hf::screen
