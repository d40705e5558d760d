#include "paste/target_picker.h"

#include "platform/desktop.h"
#include "platform/event_loop.h"

namespace hf::paste {

void TargetPicker::press() {
  showPickedColour(std::nullopt);
  dragging_ = true;
  c_.window.setCursor(Cursor::Bullseye);
  c_.图片框_探测.setPicture(Image::PickerEmpty);
  loop::pumpIfInput();
}

void TargetPicker::endDrag() {
  dragging_ = false;
  c_.图片框_探测.setPicture(Image::PickerBullseye);
  c_.window.setCursor(Cursor::Arrow);
}

void TargetPicker::pickAt(Point point) {
  target_ = point;
  pickedWindow_ = desktop::topLevelWindowAt(point);
  picked_ = true;
}

bool TargetPicker::pickedWindowStillThere() const {
  return desktop::topLevelWindowAt(target_) == pickedWindow_;
}

std::optional<Point> TargetPicker::endColourPick() {
  if (!dragging_) return std::nullopt;
  endDrag();
  pickAt(desktop::cursorPos());
  return target_;
}

void TargetPicker::release() {
  if (macroPanel_.recordTableShown() || !dragging_) return;  // the colour pick is the recorder's
  endDrag();
  const Point point = desktop::cursorPos();
  // A release on the picker itself would click the picker again: no target there.
  const Rect picker = c_.图片框_探测.screenRect();
  if (point.x >= picker.left && point.x < picker.left + picker.width && point.y >= picker.top &&
      point.y < picker.top + picker.height)
    return;
  pickAt(point);
  loop::pause(100);
  desktop::clickAt(target_);
  loop::pause(100);
  desktop::makeTopmost(desktop::foregroundWindow());
  hints_.show(hints_.气球提示框1, c_.图片框_探测, 10, "●已确定点击位置！窗口已置顶！", 25);
}

}  // namespace hf::paste
