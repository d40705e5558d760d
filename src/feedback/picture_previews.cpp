#include "feedback/picture_previews.h"

#include <utility>

#include "platform/screen.h"

namespace hf::feedback {
namespace {

void hide(ui::PictureBox& preview) {
  preview.setPicture(Image::None);
  preview.setVisible(false);
}

}  // namespace

void PicturePreviews::showFindImagePicture(Bitmap picture) {
  c_.图片框6.setPicture(std::move(picture));
  c_.图片框6.setVisible(true);
}

bool PicturePreviews::showRowPicture(const std::filesystem::path& file) {
  std::optional<Bitmap> picture = screen::decodePictureFile(file);
  if (!picture) {
    hide(c_.图片框4);
    return false;
  }
  c_.图片框4.setPicture(std::move(*picture));
  c_.图片框4.setVisible(true);
  return true;
}

void PicturePreviews::hideRowPicture() {
  hide(c_.图片框4);
}

void PicturePreviews::hideFindImagePicture() {
  hide(c_.图片框6);
}

void PicturePreviews::hideAll() {
  hide(c_.图片框4);
  hide(c_.图片框6);
}

}  // namespace hf::feedback
