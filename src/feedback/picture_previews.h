#pragma once

#include <filesystem>

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

  // Shows the picture of a find-image step, stretched over the preview.
  void showFindImagePicture(Bitmap picture);
  // Shows the picture file in the row preview; false, with the preview
  // emptied and hidden, when the file cannot be read or is no picture.
  bool showRowPicture(const std::filesystem::path& file);
  // Empties and hides the row picture, or the find-image picture.
  void hideRowPicture();
  void hideFindImagePicture();
  // Empties and hides both.
  void hideAll();

  // The row preview, which the user may drag within the window, and where
  // hints about its picture point.
  const ui::Control& rowPreview() const { return c_.图片框4; }
  void moveRowPreview(Rect rect) { c_.图片框4.setRect(rect); }

 private:
  Controls c_;
};

}  // namespace hf::feedback
