// Every table import mode on about 50 MB of GBK text, beside the floor of a
// single memchr pass over the same text.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "table/splitting.h"

namespace {

using hf::table::ImportMode;
using hf::table::ImportSource;

constexpr std::size_t kTextBytes = 50'000'000;
constexpr char kSeparator[] = ",";

// Lines of Chinese and ASCII cells separated by tabs, words separated by
// spaces, the custom separator, full-width letters and digits, and now and
// then a blank line.
const std::string& sampleText() {
  static const std::string text = [] {
    std::string out;
    out.reserve(kTextBytes + 200);
    for (int line = 0; out.size() < kTextBytes; ++line) {
      out += "\xD5\xC5\xC8\xFD\t";  // 张三
      out += std::to_string(13800138000LL + line);
      out += "\tNo.";
      out += std::to_string(line);
      out += " abc def,\xB1\xB1\xBE\xA9\xCA\xD0 \xB3\xAF\xD1\xF4,";  // 北京市 朝阳
      out += "\xA3\xC1\xA3\xC2\xA3\xB1\xA3\xB2 x1y2\r\n";            // ＡＢ１２
      if (line % 10 == 0) out += "\r\n";
    }
    return out;
  }();
  return text;
}

void MemchrPass(benchmark::State& state) {
  const std::string& text = sampleText();
  for (auto _ : state) {
    std::size_t lines = 0;
    const char* end = text.data() + text.size();
    for (const char* p = text.data(); (p = static_cast<const char*>(std::memchr(p, '\n', end - p)));
         ++p)
      ++lines;
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void Split(benchmark::State& state, ImportMode mode, ImportSource source) {
  const std::string& text = sampleText();
  std::size_t pieces = 0;
  for (auto _ : state) {
    const auto result = hf::table::splitForImport(mode, text, source, kSeparator);
    pieces = result.size();
    benchmark::DoNotOptimize(pieces);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
  state.counters["pieces"] = static_cast<double>(pieces);
}

struct Run {
  const char* name;
  ImportMode mode;
  ImportSource source;
};

constexpr Run kRuns[] = {
    {"Single", ImportMode::Single, ImportSource::Capture},
    {"DroppedImages", ImportMode::DroppedImages, ImportSource::Drop},
    {"CustomSeparator/drop", ImportMode::CustomSeparator, ImportSource::Drop},
    {"CustomSeparator/capture", ImportMode::CustomSeparator, ImportSource::Capture},
    {"ExcelTabs/drop", ImportMode::ExcelTabs, ImportSource::Drop},
    {"ExcelTabs/capture", ImportMode::ExcelTabs, ImportSource::Capture},
    {"Spaces/drop", ImportMode::Spaces, ImportSource::Drop},
    {"Spaces/capture", ImportMode::Spaces, ImportSource::Capture},
    {"EachCharacter", ImportMode::EachCharacter, ImportSource::Drop},
    {"Letters", ImportMode::Letters, ImportSource::Drop},
    {"Digits", ImportMode::Digits, ImportSource::Drop},
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("MemchrPass", MemchrPass)->Unit(benchmark::kMillisecond);
  for (const Run& run : kRuns)
    benchmark::RegisterBenchmark(run.name, Split, run.mode, run.source)
        ->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
