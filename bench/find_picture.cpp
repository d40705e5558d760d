// The exact picture search for a 40 x 20 picture on a generated 2000 x 2000
// screen, beside OpenCV's template matching (squared differences) on the
// same pixels. Before the picture's place in the scan lie copies of it that
// differ in one pixel each. Both must name the same place.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <optional>
#include <set>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include "picture/picture_search.h"
#include "ratio_reporter.h"
#include "screen_like.h"

namespace {

constexpr int kScreenSize = 2000;
constexpr hf::Rect kArea{0, 0, kScreenSize, kScreenSize};

struct Scene {
  hf::Bitmap screen;
  hf::Bitmap picture;
  hf::Point at;
  cv::Mat screenMat;
  cv::Mat pictureMat;
};

hf::Bitmap cut(const hf::Bitmap& from, hf::Point at, int width, int height) {
  hf::Bitmap piece(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) piece.at(x, y) = from.at(at.x + x, at.y + y);
  return piece;
}

cv::Mat toMat(const hf::Bitmap& picture) {
  cv::Mat mat(picture.height, picture.width, CV_8UC3);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) {
      const std::uint32_t pixel = picture.at(x, y);
      mat.at<cv::Vec3b>(y, x) = {std::uint8_t(pixel), std::uint8_t(pixel >> 8),
                                 std::uint8_t(pixel >> 16)};
    }
  return mat;
}

int colourCount(const hf::Bitmap& picture) {
  return int(std::set<std::uint32_t>(picture.pixels.begin(), picture.pixels.end()).size());
}

// A 40 x 20 piece of text from the lower half of the screen that occurs only
// there, and one-pixel near-misses of it planted higher up.
Scene makeScene() {
  Scene scene;
  scene.screen = bench::screenLike(kScreenSize, kScreenSize, 9);
  for (int y = 1100; y < kScreenSize - 100 && scene.picture.empty(); y += 37)
    for (int x = 900; x < kScreenSize - 100 && scene.picture.empty(); x += 53) {
      const hf::Bitmap piece = cut(scene.screen, {x, y}, 40, 20);
      if (colourCount(piece) >= 4 &&
          hf::picture::findPicture(scene.screen, kArea, piece) == hf::Point{x, y}) {
        scene.picture = piece;
        scene.at = {x, y};
      }
    }
  for (int i = 0; i < 40; ++i) {
    hf::Bitmap nearMiss = scene.picture;
    // A clear difference: OpenCV sums squares in floating point, where a
    // difference of 1 in one channel is lost among the rounding errors.
    nearMiss.pixels[std::size_t(i * 19 % 800)] ^= 0x404040;
    bench::drawPicture(scene.screen, nearMiss, 20 + (i % 20) * 95, 200 + (i / 20) * 400);
  }
  scene.screenMat = toMat(scene.screen);
  scene.pictureMat = toMat(scene.picture);
  return scene;
}

const Scene& scene() {
  static const Scene made = makeScene();
  return made;
}

hf::Point openCvMatch(const Scene& s, cv::Mat& result) {
  cv::matchTemplate(s.screenMat, s.pictureMat, result, cv::TM_SQDIFF);
  cv::Point at;
  cv::minMaxLoc(result, nullptr, nullptr, &at);
  return {at.x, at.y};
}

void OwnSearch(benchmark::State& state) {
  const Scene& s = scene();
  for (auto _ : state) {
    const auto found = hf::picture::findPicture(s.screen, kArea, s.picture);
    if (found != s.at) state.SkipWithError("the search did not name the picture's place");
    benchmark::DoNotOptimize(found);
  }
}

void OpenCvMatchTemplate(benchmark::State& state) {
  const Scene& s = scene();
  const int threads = cv::getNumThreads();
  if (state.range(0) > 0) cv::setNumThreads(int(state.range(0)));
  cv::Mat result;
  for (auto _ : state) {
    if (openCvMatch(s, result) != s.at)
      state.SkipWithError("OpenCV did not name the picture's place");
  }
  cv::setNumThreads(threads);
}

}  // namespace

int main(int argc, char** argv) {
  const Scene& s = scene();
  if (s.picture.empty()) {
    std::fprintf(stderr, "no unique piece of text found on the generated screen\n");
    return 1;
  }
  cv::Mat result;
  const auto own = hf::picture::findPicture(s.screen, kArea, s.picture);
  const hf::Point theirs = openCvMatch(s, result);
  std::printf("picture 40 x 20 at (%d, %d); own search: (%d, %d); OpenCV: (%d, %d)\n", s.at.x,
              s.at.y, own ? own->x : -1, own ? own->y : -1, theirs.x, theirs.y);
  if (own != s.at || theirs != s.at) {
    std::fprintf(stderr, "the two searches disagree\n");
    return 1;
  }

  benchmark::RegisterBenchmark("OwnSearch", OwnSearch)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("OpenCvMatchTemplate", OpenCvMatchTemplate)
      ->ArgName("threads")
      ->Arg(1)
      ->Arg(0)  // OpenCV's own choice
      ->Unit(benchmark::kMicrosecond);
  benchmark::Initialize(&argc, argv);
  bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printRatio("OpenCV (1 thread) / own search", "OpenCvMatchTemplate/threads:1",
                      "OwnSearch");
  reporter.printRatio("OpenCV (its own threads) / own search", "OpenCvMatchTemplate/threads:0",
                      "OwnSearch");
  benchmark::Shutdown();
  return 0;
}
