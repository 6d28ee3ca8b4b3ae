#include "benchmarks/ratio_report.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace velmora {
namespace {

// The benchmark's name without the suffixes Google Benchmark adds for its options.
std::string pairName(const benchmark::BenchmarkName& name) {
  return name.args.empty() ? name.function_name : name.function_name + "/" + name.args;
}

double medianOf(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  const size_t middle = times.size() / 2;
  return times.size() % 2 == 1 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
}

// The console table as usual, keeping each benchmark's wall times: the median aggregate when the
// benchmark ran with repetitions, otherwise the median of its runs. Notes whether a run failed.
class MedianRecorder : public benchmark::ConsoleReporter {
 public:
  MedianRecorder() : ConsoleReporter(OO_None) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) {
        failed_ = true;
        continue;
      }
      const std::string name = pairName(run.run_name);
      if (run.run_type == Run::RT_Iteration) {
        runTimes_[name].push_back(run.GetAdjustedRealTime());
      } else if (run.aggregate_name == "median") {
        medians_[name] = run.GetAdjustedRealTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  bool failed() const { return failed_; }

  // 0 when the benchmark did not run.
  double median(const std::string& name) const {
    if (auto found = medians_.find(name); found != medians_.end()) return found->second;
    if (auto found = runTimes_.find(name); found != runTimes_.end()) return medianOf(found->second);
    return 0;
  }

 private:
  std::map<std::string, double> medians_;
  std::map<std::string, std::vector<double>> runTimes_;
  bool failed_ = false;
};

}  // namespace

int runWithRatios(int argc, char** argv, std::span<const RatioPair> pairs) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  MedianRecorder recorder;
  benchmark::RunSpecifiedBenchmarks(&recorder);
  benchmark::Shutdown();
  std::cout.flush();
  // A measurement's first pair is its ratio; a further pair for it names its baseline.
  std::set<std::string> named;
  for (const RatioPair& pair : pairs) {
    const double program = recorder.median(pair.program);
    const double baseline = recorder.median(pair.baseline);
    const bool further = !named.insert(pair.program).second;
    if (program <= 0 || baseline <= 0) continue;
    if (pair.label) {
      std::printf("ratio %s = %.2f\n", pair.label, program / baseline);
    } else if (further) {
      std::printf("ratio %s / %s = %.2f\n", pair.program, pair.baseline, program / baseline);
    } else {
      std::printf("ratio %s = %.2f\n", pair.program, program / baseline);
    }
  }
  return recorder.failed() ? 1 : 0;
}

}  // namespace velmora
