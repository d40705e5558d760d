// What a find-colour attempt of a macro step costs beside the screen grab it
// starts with: the grab alone, then the grab, the area capture's 16-bit pass
// and a search for a colour that is not there, over the whole screen. Built
// for Windows and run under Wine (bench/grab_and_find.sh); prints figures.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "picture/area_capture.h"
#include "picture/colour_search.h"
#include "platform/screen.h"

namespace {

using Clock = std::chrono::steady_clock;

template <typename Work>
double medianMs(int runs, Work work) {
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    const auto start = Clock::now();
    work();
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main() {
  using namespace hf;
  constexpr int kRuns = 31;
  const Bitmap first = screen::grabScreen();
  std::printf("screen %d x %d, median of %d runs\n", first.width, first.height, kRuns);
  const double grab = medianMs(kRuns, [] { (void)screen::grabScreen(); });
  Point found{};
  const double attempt = medianMs(kRuns, [&] {
    const picture::CapturedArea area = picture::captureArea(screen::grabScreen(), {});
    found = picture::findColour(area.bmp, area.origin, picture::colourOf({1, 2, 3}), 0);
  });
  std::printf("grab alone %.2f ms; grab, 16-bit pass and search %.2f ms (%.2f x the grab)%s\n",
              grab, attempt, attempt / grab, found == picture::kNotFound ? "" : " (colour found)");
  return 0;
}
