#include "feedback/picture_previews.h"

#include <utility>

namespace hf::feedback {
namespace {

void hide(ui::PictureBox& preview) {
  preview.setPicture(Image::None);
  preview.setBitmap({});
  preview.setVisible(false);
}

}  // namespace

void PicturePreviews::showFindImagePicture(Bitmap picture) {
  c_.图片框6.setBitmap(std::move(picture));
  c_.图片框6.setVisible(true);
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
