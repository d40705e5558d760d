// Picture decoding with Debian's stb_image, limited to the formats the
// system reads (stb_image would take a few more, some without a signature).
#include <stb_image.h>

#include <climits>
#include <cstdlib>
#include <memory>
#include <new>

#include "platform/screen.h"

namespace hf::screen {
namespace {

bool startsWith(std::string_view bytes, std::string_view signature) {
  return bytes.substr(0, signature.size()) == signature;
}

bool isSupportedFormat(std::string_view bytes) {
  return startsWith(bytes, "BM") || startsWith(bytes, "\x89PNG\r\n\x1a\n") ||
         startsWith(bytes, "\xFF\xD8\xFF") || startsWith(bytes, "GIF87a") ||
         startsWith(bytes, "GIF89a");
}

}  // namespace

std::optional<Bitmap> decodePicture(std::string_view bytes) {
  if (!isSupportedFormat(bytes) || bytes.size() > INT_MAX) return std::nullopt;
  const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
  const int size = static_cast<int>(bytes.size());
  int width = 0;
  int height = 0;
  int channels = 0;
  // The size alone first, so that a huge picture is refused before it is
  // decoded. (A top-down BMP reports its height as negative here.)
  if (!stbi_info_from_memory(data, size, &width, &height, &channels) ||
      static_cast<long long>(std::abs(width)) * std::abs(height) > kMaxPicturePixels)
    return std::nullopt;
  const std::unique_ptr<stbi_uc, void (*)(void*)> rgba(
      stbi_load_from_memory(data, size, &width, &height, &channels, 4), stbi_image_free);
  if (!rgba) return std::nullopt;
  try {
    Bitmap picture(width, height);
    const stbi_uc* pixel = rgba.get();
    for (std::uint32_t& out : picture.pixels) {
      out = Bitmap::pack({pixel[0], pixel[1], pixel[2]});
      pixel += 4;
    }
    return picture;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace hf::screen
