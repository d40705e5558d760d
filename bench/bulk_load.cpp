// Loading a 1,000,000-entry entries file into the data table, beside the
// floor of only reading the file and scanning it once for the separator.
// Peak memory is the most heap memory held at once during one run, counted
// by the allocation functions below.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>

#include "platform/files.h"
#include "platform/headless/simulation.h"
#include "platform/ui.h"
#include "table/data_table.h"

namespace {

namespace fs = std::filesystem;
constexpr char kStar[] = "\xA1\xEF";  // the GBK separator
constexpr int kEntries = 1000000;

// About 22 bytes of GBK text per entry, mixing Chinese and ASCII.
const fs::path& entriesFile() {
  static const fs::path path = [] {
    const fs::path file = fs::temp_directory_path() / "hotfill-bench-entries.txt";
    std::string text;
    text.reserve(kEntries * 23);
    for (int i = 0; i < kEntries; ++i) {
      text += "\xD5\xC5\xC8\xFD";  // two Chinese characters
      text += " No.";
      text += std::to_string(100000 + i);
      text += i % 3 == 0 ? " \xB1\xB1\xBE\xA9\xCA\xD0" : " abc";
      text += kStar;
    }
    std::ofstream(file, std::ios::binary) << text;
    return file;
  }();
  return path;
}

}  // namespace

// Heap in use and its peak, kept by the allocation functions at the end.
std::atomic<long long> heapBytes{0};
std::atomic<long long> heapPeak{0};

namespace {

// Starts measuring the peak from the heap in use now; returns that base.
long long resetPeak() {
  heapPeak = heapBytes.load();
  return heapBytes.load();
}

void setMemoryCounters(benchmark::State& state, long long base) {
  const double fileBytes = static_cast<double>(fs::file_size(entriesFile()));
  const double peakBytes = static_cast<double>(heapPeak.load() - base);
  state.counters["file_MB"] = fileBytes / 1e6;
  state.counters["peak_MB"] = peakBytes / 1e6;
  state.counters["peak_per_file"] = peakBytes / fileBytes;
}

void ReadAndScan(benchmark::State& state) {
  entriesFile();
  long long base = 0;
  for (auto _ : state) {
    base = resetPeak();
    const std::string text = hf::files::readWhole(entriesFile()).value();
    std::size_t stars = 0;
    for (const char* p = text.data();
         (p = static_cast<const char*>(std::memchr(p, kStar[0], text.data() + text.size() - p)));
         ++p)
      stars += p + 1 < text.data() + text.size() && p[1] == kStar[1];
    benchmark::DoNotOptimize(stars);
  }
  setMemoryCounters(state, base);
}

void ReadSplitAndLoad(benchmark::State& state) {
  entriesFile();
  hf::headless::reset(fs::temp_directory_path());
  hf::ui::Window window({"bench", {460, 627}});
  hf::ui::ListView view(window, {{14, 109, 426, 326}, {{"#", 53}, {"text", 141}}});
  for (auto _ : state) {
    state.PauseTiming();
    std::optional<hf::table::DataTable> table;
    table.emplace(view);
    const long long base = resetPeak();
    state.ResumeTiming();
    table->bulkLoad(hf::files::readWhole(entriesFile()).value());
    benchmark::DoNotOptimize(table->rowCount());
    state.PauseTiming();
    if (table->rowCount() != kEntries) state.SkipWithError("wrong row count");
    setMemoryCounters(state, base);
    table.reset();
    state.ResumeTiming();
  }
}

BENCHMARK(ReadAndScan)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(ReadSplitAndLoad)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

void* operator new(std::size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (!p) throw std::bad_alloc();
  const long long now = heapBytes += static_cast<long long>(malloc_usable_size(p));
  long long peak = heapPeak.load();
  while (now > peak && !heapPeak.compare_exchange_weak(peak, now)) {
  }
  return p;
}

void operator delete(void* p) noexcept {
  if (!p) return;
  heapBytes -= static_cast<long long>(malloc_usable_size(p));
  std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
  operator delete(p);
}

BENCHMARK_MAIN();
