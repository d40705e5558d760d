#pragma once

#include "platform/ui.h"

namespace hf::feedback {

// The two previews that lie over the lower right of the table area: the
// picture of the row being pasted `图片框4` and the find-image picture `图片框6`.
class PicturePreviews {
 public:
  struct Controls {
    ui::PictureBox& 图片框4;
    ui::PictureBox& 图片框6;
  };
  explicit PicturePreviews(Controls controls) : c_(controls) {}

  // Shows the picture of a find-image step, at its own size from the
  // preview's top-left corner.
  void showFindImagePicture(Bitmap picture);
  // Empties and hides the row picture, or the find-image picture.
  void hideRowPicture();
  void hideFindImagePicture();
  // Empties and hides both.
  void hideAll();

 private:
  Controls c_;
};

}  // namespace hf::feedback
