// A top-level window as flags and a frame rectangle; the display scale is 1.
#include "platform/event_loop.h"
#include "platform/headless/internal.h"
#include "platform/headless/widget_state.h"

namespace hf::ui {

Window::Window(const Args& args) : impl_(std::make_unique<Impl>()) {
  impl_->title = args.title;
  impl_->frame = {0, 0, args.outerSize.width, args.outerSize.height};
}

Window::~Window() {
  headless::internal::releaseHotkeysOf(*this);
}

std::string Window::title() const {
  return impl_->title;
}
Rect Window::frameRect() const {
  return impl_->frame;
}

void Window::moveTo(Point screen) {
  impl_->frame.left = screen.x;
  impl_->frame.top = screen.y;
}

void Window::setOuterHeight(int height) {
  impl_->frame.height = scaled(height);
}
int Window::scaled(int units) const {
  return units;
}

void Window::show() {
  impl_->visible = true;
}
void Window::hide() {
  impl_->visible = false;
}
bool Window::isVisible() const {
  return impl_->visible;
}
bool Window::isMinimized() const {
  return impl_->minimized;
}
void Window::minimize() {
  impl_->minimized = true;
}

void Window::restore() {
  impl_->visible = true;
  impl_->minimized = false;
}

void Window::close() {
  if (impl_->destroyed) return;
  if (onClose) onClose();
  impl_->destroyed = true;
  impl_->visible = false;
  impl_->trayIcon = false;
  headless::internal::releaseHotkeysOf(*this);
  if (onDestroy) onDestroy();
  loop::quit();
}

bool Window::isDestroyed() const {
  return impl_->destroyed;
}

void Window::showTrayIcon() {
  impl_->trayIcon = true;
}
void Window::removeTrayIcon() {
  impl_->trayIcon = false;
}
bool Window::hasTrayIcon() const {
  return impl_->trayIcon;
}

void Window::setCursor(Cursor cursor) {
  impl_->cursor = cursor;
}

void Window::captureMouse() {
  impl_->mouseCaptured = true;
}

void Window::releaseMouse() {
  impl_->mouseCaptured = false;
}

}  // namespace hf::ui
