// The colour search over a whole 1920 x 1080 capture for a colour that is not
// there, beside the floor: one plain pass that reads every byte of the same
// BMP data once, 16 bytes at a time where the processor can.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <string>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "picture/area_capture.h"
#include "picture/colour_search.h"
#include "ratio_reporter.h"
#include "screen_like.h"

namespace {

using hf::picture::BmpData;

const hf::picture::CapturedArea& capture() {
  static const hf::picture::CapturedArea captured =
      hf::picture::captureArea(bench::screenLike(1920, 1080, 5), {0, 0, {}, {}});
  return captured;
}

// Absent colours, even at tolerance 1 (after the 16-bit pass every channel
// is a multiple of 8): one whose channels are nowhere, and the hard case, one
// whose blue is the text's ink and whose red and green are the windows'
// background, so that nearly every group of pixels in text looks like a hit
// at first.
constexpr hf::picture::Colour kAbsent[] = {hf::picture::colourOf({1, 2, 3}),
                                           hf::picture::colourOf({0xF0, 0xF0, 0x20})};

// ORs every byte into one value, with four independent lanes so that the
// loads, not the chain of ORs, set the pace.
std::uint64_t foldBytes(const std::uint8_t* p, std::size_t size) {
  std::size_t i = 0;
  std::uint64_t folded = 0;
#ifdef __SSE2__
  const auto load = [p](std::size_t at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
  };
  __m128i a = _mm_setzero_si128(), b = a, c = a, d = a;
  for (; i + 64 <= size; i += 64) {
    a = _mm_or_si128(a, load(i));
    b = _mm_or_si128(b, load(i + 16));
    c = _mm_or_si128(c, load(i + 32));
    d = _mm_or_si128(d, load(i + 48));
  }
  const __m128i lanes = _mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d));
  folded = std::uint64_t(_mm_cvtsi128_si64(lanes)) |
           std::uint64_t(_mm_cvtsi128_si64(_mm_unpackhi_epi64(lanes, lanes)));
#endif
  for (; i < size; ++i) folded |= p[i];
  return folded;
}

void PlainPass(benchmark::State& state) {
  const BmpData& data = capture().bmp;
  for (auto _ : state) {
    benchmark::DoNotOptimize(foldBytes(data.data(), data.size()));
  }
  state.SetBytesProcessed(std::int64_t(state.iterations() * data.size()));
}

void FindColour(benchmark::State& state) {
  const auto& captured = capture();
  const int tolerance = int(state.range(0));
  const hf::picture::Colour colour = kAbsent[state.range(1)];
  for (auto _ : state) {
    const hf::Point found =
        hf::picture::findColour(captured.bmp, captured.origin, colour, tolerance);
    if (found != hf::picture::kNotFound) state.SkipWithError("the absent colour was found");
    benchmark::DoNotOptimize(found);
  }
  state.SetBytesProcessed(std::int64_t(state.iterations() * captured.bmp.size()));
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("PlainPass", PlainPass)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("FindColour", FindColour)
      ->ArgNames({"tolerance", "shared_channels"})
      ->Args({0, 0})
      ->Args({1, 0})
      ->Args({0, 1})
      ->Args({1, 1})
      ->Unit(benchmark::kMicrosecond);
  benchmark::Initialize(&argc, argv);
  bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (const char* tolerance : {"0", "1"})
    for (const char* shared : {"0", "1"})
      reporter.printRatio(
          std::string("find colour, tolerance ") + tolerance +
              (*shared == '1' ? ", shared channels" : "") + " / plain pass",
          std::string("FindColour/tolerance:") + tolerance + "/shared_channels:" + shared,
          "PlainPass");
  benchmark::Shutdown();
  return 0;
}
