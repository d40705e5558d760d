#pragma once

// The console report, and afterwards how a benchmark compares with another.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace bench {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (!run.error_occurred && run.run_type == Run::RT_Iteration)
        cpuTime_[run.benchmark_name()] = run.GetAdjustedCPUTime();
    ConsoleReporter::ReportRuns(runs);
  }

  // Prints time(name) / time(base) as "label: ratio", by processor time, which
  // other work on a shared machine disturbs less than the wall clock.
  void printRatio(const std::string& label, const std::string& name, const std::string& base) {
    const auto a = cpuTime_.find(name), b = cpuTime_.find(base);
    if (a == cpuTime_.end() || b == cpuTime_.end() || b->second <= 0) return;
    std::printf("%s: %.2f\n", label.c_str(), a->second / b->second);
  }

 private:
  std::map<std::string, double> cpuTime_;
};

}  // namespace bench
