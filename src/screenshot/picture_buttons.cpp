#include "screenshot/picture_buttons.h"

#include <algorithm>
#include <string>

#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/text_codec.h"

namespace hf::screenshot {
namespace {

constexpr int kUnitsPerInch = 96;

int clampedEdge(int edge, int length, int bound) {
  return std::max(0, std::min(edge, bound - length));
}

}  // namespace

Rect draggedWithin(Rect atPress, int dx, int dy, Size bounds) {
  return {clampedEdge(atPress.left + dx, atPress.width, bounds.width),
          clampedEdge(atPress.top + dy, atPress.height, bounds.height), atPress.width,
          atPress.height};
}

void PictureButtons::clearFindImages() {
  if (!panel_.recordTableShown()) return;
  if (!ui::askOkCancel(c_.window, "确定清空【找图】文件夹的图片吗？", "提示：")) return;
  const std::filesystem::path folder = files::programFolder() / codec::pathFromGbk("找图");
  const bool removed = files::removeFolder(folder);
  loop::pause(100);
  files::createFolder(folder);
  if (!removed)
    hints_.show(hints_.气球提示框1, c_.按钮16, 10, "●有图片正被其他程序使用，未能全部清空！");
}

void PictureButtons::toggleRecordTable() {
  if (!panel_.toggleRecordTable()) return;
  if (panel_.recordTableShown())
    previews_.hideRowPicture();
  else
    previews_.hideFindImagePicture();
}

void PictureButtons::showEntryPicture(std::string_view entry) {
  if (entry.empty() || entry.front() != '#') return previews_.hideRowPicture();
  std::string name(entry.substr(1));
  std::erase_if(name, [](char c) { return c == '\r' || c == '\n'; });
  if (!previews_.showRowPicture(codec::pathFromGbk(name)))
    hints_.show(hints_.气球提示框1, previews_.rowPreview(), 10, "●图片无法打开：" + name);
}

void PictureButtons::pressOnPreview() {
  dragging_ = true;
  pressedAt_ = desktop::cursorPos();
  boxAtPress_ = previews_.rowPreview().rect();
}

// The mouse moves in screen pixels; the box is placed in 96-DPI units within
// the window's frame.
void PictureButtons::mouseMovedOverPreview(Point screen) {
  if (!dragging_) return;
  const int pixelsPerInch = c_.window.scaled(kUnitsPerInch);
  const auto units = [&](int pixels) { return pixels * kUnitsPerInch / pixelsPerInch; };
  const Rect frame = c_.window.frameRect();
  previews_.moveRowPreview(draggedWithin(boxAtPress_, units(screen.x - pressedAt_.x),
                                         units(screen.y - pressedAt_.y),
                                         {units(frame.width), units(frame.height)}));
}

void PictureButtons::releaseOnPreview() {
  dragging_ = false;
}

}  // namespace hf::screenshot
