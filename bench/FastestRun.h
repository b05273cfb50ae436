#pragma once
// The console report of a benchmark program, keeping the fastest repetition
// of each benchmark: on a busy machine other work only ever adds time.

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace sketch_bench {

class FastestRunReporter final : public benchmark::ConsoleReporter {
 public:
  FastestRunReporter()
      : ConsoleReporter(isatty(fileno(stdout)) ? benchmark::ConsoleReporter::OO_Defaults
                                               : benchmark::ConsoleReporter::OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) errors.push_back(run.benchmark_name() + ": " + run.error_message);
      if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0) continue;
      const double seconds = run.real_accumulated_time / static_cast<double>(run.iterations);
      const auto [entry, added] = fastest.try_emplace(
          run.run_name.function_name + (run.run_name.args.empty() ? "" : "/" + run.run_name.args), seconds);
      if (!added && seconds < entry->second) entry->second = seconds;
    }
    ConsoleReporter::ReportRuns(runs);
  }

  std::map<std::string, double> fastest;  // seconds per iteration, by benchmark (and arguments)
  std::vector<std::string> errors;        // runs that failed their own checks
};

// benchmark::Initialize with the repetitions of all benchmarks run in random
// order, so that a spell of load elsewhere does not fall on one of them
// only; flags given override this. False when an argument is not known.
inline bool InitializeInterleaved(int argc, char** argv) {
  std::vector<char*> arguments(argv, argv + argc);
  char interleave[] = "--benchmark_enable_random_interleaving=true";
  arguments.insert(arguments.begin() + 1, interleave);
  int benchmarkArgc = static_cast<int>(arguments.size());
  benchmark::Initialize(&benchmarkArgc, arguments.data());
  return !benchmark::ReportUnrecognizedArguments(benchmarkArgc, arguments.data());
}

}  // namespace sketch_bench
