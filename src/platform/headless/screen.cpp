// The simulated screen: a picture tests paint, with the windows of other
// programs above it.
#include <algorithm>
#include <optional>
#include <vector>

#include "platform/event_loop.h"
#include "platform/headless/internal.h"
#include "platform/headless/simulation.h"
#include "platform/screen.h"

namespace hf::headless::internal {
namespace {

struct SimulatedWindow {
  desktop::WindowId id = 0;
  Point clientOrigin;
  Bitmap client;
  bool onScreen = true;  // neither minimised nor hidden
};

struct Screen {
  Bitmap painted;                        // made at the first paint; black until then
  std::vector<SimulatedWindow> windows;  // bottom to top
  int grabMs = 0;                        // what a grab of the whole screen costs
  std::vector<std::int64_t> grabTimes;
};

Screen& screen() {
  static Screen instance;
  return instance;
}

Rect screenRect() {
  const Size size = desktop::screenSize();
  return {0, 0, size.width, size.height};
}

// Copies the part of `source` (placed with its top-left at `at`, in the
// target's coordinates) that falls inside the target.
void drawOnto(Bitmap& target, const Bitmap& source, Point at) {
  const Rect area =
      intersection({0, 0, target.width, target.height}, {at.x, at.y, source.width, source.height});
  for (int y = area.top; y < area.top + area.height; ++y) {
    const std::uint32_t* from = source.row(y - at.y) + (area.left - at.x);
    std::copy(from, from + area.width, &target.at(area.left, y));
  }
}

Bitmap& paintedScreen() {
  Bitmap& painted = screen().painted;
  const Rect whole = screenRect();
  if (painted.width != whole.width || painted.height != whole.height)
    painted = Bitmap(whole.width, whole.height);
  return painted;
}

SimulatedWindow* findWindow(desktop::WindowId id) {
  auto& windows = screen().windows;
  auto found = std::find_if(windows.begin(), windows.end(),
                            [&](const SimulatedWindow& w) { return w.id == id; });
  return found == windows.end() ? nullptr : &*found;
}

}  // namespace

void resetScreen() {
  screen() = Screen{};
}

std::optional<desktop::WindowId> windowShownAt(Point point) {
  const auto& windows = screen().windows;
  for (auto window = windows.rbegin(); window != windows.rend(); ++window) {
    const Rect area{window->clientOrigin.x, window->clientOrigin.y, window->client.width,
                    window->client.height};
    if (window->onScreen && intersection(area, {point.x, point.y, 1, 1}).width > 0)
      return window->id;
  }
  return std::nullopt;
}

}  // namespace hf::headless::internal

namespace hf::screen {

using headless::internal::screen;

Bitmap grabScreen() {
  screen().grabTimes.push_back(loop::nowMs());
  if (screen().grabMs > 0) loop::pauseOnWorker(screen().grabMs);
  return grabScreen(headless::internal::screenRect());
}

Bitmap grabScreen(Rect area) {
  using namespace headless::internal;
  const Rect visible = intersection(area, screenRect());
  Bitmap picture(visible.width, visible.height);
  if (picture.empty()) return {};
  const Point shift{-visible.left, -visible.top};
  if (!screen().painted.empty()) drawOnto(picture, screen().painted, shift);
  for (const SimulatedWindow& window : screen().windows) {
    if (!window.onScreen) continue;
    drawOnto(picture, window.client,
             {window.clientOrigin.x + shift.x, window.clientOrigin.y + shift.y});
  }
  return picture;
}

std::optional<WindowPicture> grabWindow(desktop::WindowId id) {
  const auto* window = headless::internal::findWindow(id);
  if (!window || !window->onScreen) return std::nullopt;
  return WindowPicture{window->client, window->clientOrigin};
}

}  // namespace hf::screen

namespace hf::headless {

void paintScreen(Rect area, Rgb colour) {
  using namespace internal;
  const Rect inside = intersection(area, screenRect());
  paintScreen({inside.left, inside.top}, Bitmap(inside.width, inside.height, Bitmap::pack(colour)));
}

void paintScreen(Point topLeft, const Bitmap& picture) {
  internal::drawOnto(internal::paintedScreen(), picture, topLeft);
}

void showWindow(desktop::WindowId window, Point clientOrigin, const Bitmap& client) {
  std::erase_if(internal::screen().windows,
                [&](const internal::SimulatedWindow& w) { return w.id == window; });
  internal::screen().windows.push_back({window, clientOrigin, client});
}

void takeWindowOffScreen(desktop::WindowId window) {
  if (auto* found = internal::findWindow(window)) found->onScreen = false;
}

void changeScreenSize(Size screen) {
  internal::setScreenSize(screen);
  internal::screen().painted = Bitmap();
}

void setScreenGrabMs(int ms) {
  internal::screen().grabMs = ms;
}

std::vector<std::int64_t> screenGrabTimes() {
  return internal::screen().grabTimes;
}

}  // namespace hf::headless
