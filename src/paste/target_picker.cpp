#include "paste/target_picker.h"

#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "text/numbers.h"

namespace hf::paste {

void TargetPicker::press() {
  controls_.图片框2.setPicture(Image::None);
  dragging_ = true;
  controls_.window.setCursor(Cursor::Bullseye);
  controls_.图片框_探测.setPicture(Image::PickerEmpty);
  loop::pumpIfInput();
}

void TargetPicker::endDrag() {
  dragging_ = false;
  controls_.图片框_探测.setPicture(Image::PickerBullseye);
  controls_.window.setCursor(Cursor::Arrow);
}

void TargetPicker::release() {
  if (controls_.超级列表框2.isVisible() || !dragging_) return;  // the colour pick is the recorder's
  endDrag();
  const Point point = desktop::cursorPos();
  // A release on the picker itself would click the picker again: no target there.
  const Rect picker = controls_.图片框_探测.screenRect();
  if (point.x >= picker.left && point.x < picker.left + picker.width && point.y >= picker.top &&
      point.y < picker.top + picker.height)
    return;
  fields_.编辑框21 = fields_.编辑框14 = text::toText(point.x);
  fields_.编辑框23 = fields_.编辑框15 = text::toText(point.y);
  loop::pause(100);
  desktop::clickAt({text::toInt(fields_.编辑框21), text::toInt(fields_.编辑框23)});
  loop::pause(100);
  desktop::makeTopmost(desktop::foregroundWindow());
  hints_.show(hints_.气球提示框1, controls_.图片框_探测, 10, "●已确定点击位置！窗口已置顶！", 25);
}

}  // namespace hf::paste
