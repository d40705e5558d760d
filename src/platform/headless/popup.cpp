// The popup as an in-memory picture of the screen's size: a paint draws into
// it, tests read it back and raise the user's input.
#include <algorithm>
#include <vector>

#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/headless/popup_simulation.h"

namespace hf::ui {

struct Popup::Impl {
  bool shown = false;
  bool closed = false;
  bool modal = false;  // inside runUntilClosed
  bool mouseCaptured = false;
  Bitmap picture;
  std::vector<headless::ShownText> texts;  // of the last paint
  int paints = 0;
};

namespace {

// Open popups, the one in front last.
std::vector<Popup*>& shownPopups() {
  static std::vector<Popup*> popups;
  return popups;
}

void forget(Popup* popup) {
  auto& popups = shownPopups();
  popups.erase(std::remove(popups.begin(), popups.end(), popup), popups.end());
}

// Characters as boxes, in cells as wide as the height for a double-byte
// character and half that for a single byte.
class BoxText final : public Canvas::TextPainter {
 public:
  BoxText(Bitmap& picture, std::vector<headless::ShownText>& shown)
      : picture_(picture), shown_(shown) {}

  void draw(Point at, std::string_view gbk, Rgb color, int height) override {
    shown_.push_back({at, std::string(gbk), color, height});
    Canvas boxes(picture_.pixels.data(), {picture_.width, picture_.height}, *this);
    int x = at.x;
    for (std::size_t i = 0; i < gbk.size();) {
      const bool wide = static_cast<unsigned char>(gbk[i]) >= 0x80 && i + 1 < gbk.size();
      const int width = cellWidth(wide, height);
      if (gbk[i] != ' ') boxes.fillRect({x + 1, at.y + 1, width - 2, height - 2}, color);
      x += width;
      i += wide ? 2 : 1;
    }
  }

  Size extent(std::string_view gbk, int height) const override {
    int width = 0;
    for (std::size_t i = 0; i < gbk.size();) {
      const bool wide = static_cast<unsigned char>(gbk[i]) >= 0x80 && i + 1 < gbk.size();
      width += cellWidth(wide, height);
      i += wide ? 2 : 1;
    }
    return {width, height};
  }

 private:
  static int cellWidth(bool wide, int height) { return wide ? height : (height + 1) / 2; }

  Bitmap& picture_;
  std::vector<headless::ShownText>& shown_;
};

}  // namespace

Popup::Popup() : impl_(std::make_unique<Impl>()) {}

Popup::~Popup() {
  forget(this);
}

Rect Popup::rect() const {
  const Size screen = desktop::screenSize();
  return {0, 0, screen.width, screen.height};
}

void Popup::show() {
  if (impl_->closed) return;
  impl_->shown = true;
  forget(this);
  shownPopups().push_back(this);
  repaint();
}

void Popup::close() {
  if (impl_->closed) return;
  impl_->closed = true;
  impl_->shown = false;
  impl_->mouseCaptured = false;
  forget(this);
  if (impl_->modal) loop::quit();
}

bool Popup::isOpen() const {
  return impl_->shown && !impl_->closed;
}

// As the main loop does: events in time order until the popup closes, or
// until nothing more is queued that could close it.
void Popup::runUntilClosed() {
  if (!isOpen()) return;
  impl_->modal = true;
  loop::run();
  impl_->modal = false;
}

void Popup::repaint() {
  if (!isOpen()) return;
  const Rect area = rect();
  Bitmap& picture = impl_->picture;
  if (picture.width != area.width || picture.height != area.height)
    picture = Bitmap(area.width, area.height);
  impl_->texts.clear();
  BoxText text(picture, impl_->texts);
  Canvas canvas(picture.pixels.data(), {picture.width, picture.height}, text);
  if (onPaint) onPaint(canvas);
  ++impl_->paints;
}

void Popup::setCursor(Cursor cursor) {
  cursor_ = cursor;
}

void Popup::captureMouse() {
  if (isOpen()) impl_->mouseCaptured = true;
}

void Popup::releaseMouse() {
  impl_->mouseCaptured = false;
}

}  // namespace hf::ui

namespace hf::headless {

using ui::Popup;

ui::Popup* popupInFront() {
  const auto& popups = ui::shownPopups();
  return popups.empty() ? nullptr : popups.back();
}

namespace {

// The user's action reaches an open popup; the cursor is where it happened.
template <class Handler, class... Args>
bool deliver(Popup& popup, Point at, const Handler& handler, Args... args) {
  if (!popup.isOpen()) return false;
  desktop::setCursorPos(at);
  if (handler) {
    Handler copy = handler;  // the handler may replace itself
    copy(args...);
  }
  return true;
}

}  // namespace

bool mouseDown(Popup& popup, ui::MouseButton button, Point at) {
  return deliver(popup, at, popup.onMouseDown, button, at);
}

bool mouseUp(Popup& popup, ui::MouseButton button, Point at) {
  return deliver(popup, at, popup.onMouseUp, button, at);
}

bool mouseMove(Popup& popup, Point at) {
  return deliver(popup, at, popup.onMouseMove, at);
}

bool doubleClick(Popup& popup, Point at) {
  return deliver(popup, at, popup.onDoubleClick, at);
}

bool keyDown(Popup& popup, int virtualKey) {
  if (!popup.isOpen()) return false;
  if (popup.onKeyDown) {
    auto copy = popup.onKeyDown;
    copy(virtualKey);
  }
  return true;
}

bool askToClose(Popup& popup) {
  if (!popup.isOpen()) return false;
  if (!popup.onCloseRequest || popup.onCloseRequest()) popup.close();
  return !popup.isOpen();
}

const Bitmap& shownPicture(const Popup& popup) {
  return popup.impl().picture;
}

const std::vector<ShownText>& shownTexts(const Popup& popup) {
  return popup.impl().texts;
}

int paintCount(const Popup& popup) {
  return popup.impl().paints;
}

bool hasMouseCaptured(const Popup& popup) {
  return popup.impl().mouseCaptured;
}

}  // namespace hf::headless
