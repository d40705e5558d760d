#pragma once

#include <string_view>

#include "feedback/hints.h"
#include "feedback/picture_previews.h"
#include "macro/macro_panel.h"
#include "platform/geometry.h"
#include "platform/ui.h"

namespace hf::screenshot {

// Where a box dragged by the mouse goes: its rectangle at the press moved by
// how far the mouse went, kept inside `bounds` (all in the same units). A box
// larger than the bounds keeps its left or top edge on theirs.
Rect draggedWithin(Rect atPress, int dx, int dy, Size bounds);

// The small picture buttons beside the macro panel: 清空图片 empties the 找图
// folder, the preview box `图片框4` can be dragged about the main window, and
// the record table's toggle switches between table mode and macro mode.
class PictureButtons {
 public:
  struct Controls {
    ui::Window& window;
    ui::Button& 按钮16;  // 清空图片
  };
  PictureButtons(Controls controls, feedback::Hints& hints, macro::MacroPanel& panel,
                 feedback::PicturePreviews& previews)
      : c_(controls), hints_(hints), panel_(panel), previews_(previews) {}

  // 清空图片: only in macro mode, and only once the user has said OK.
  void clearFindImages();
  // `按钮15`: macro mode shows the record table over the data table and
  // clears the row preview; table mode hides it with the find-image preview.
  void toggleRecordTable();

  // The row preview shows the picture of an image entry ("#" + path); a file
  // that cannot be read or is no picture leaves it hidden and says so.
  void showEntryPicture(std::string_view entry);

  // The preview box follows the mouse from a press on it to the release.
  void pressOnPreview();
  void mouseMovedOverPreview(Point screen);
  void releaseOnPreview();

 private:
  Controls c_;
  feedback::Hints& hints_;
  macro::MacroPanel& panel_;
  feedback::PicturePreviews& previews_;
  bool dragging_ = false;
  Point pressedAt_;  // screen pixels
  Rect boxAtPress_;  // 96-DPI units
};

}  // namespace hf::screenshot
