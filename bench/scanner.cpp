// bench_scanner: the field scanner over the lines of a generated posting,
// sketch lines and prose alike, as the draw pass and the editor meet them.

#include <benchmark/benchmark.h>

#include "SketchPosting.h"
#include "format/FieldScanner.h"

namespace {

const sketch_bench::Posting& TestPosting() {
  static const sketch_bench::Posting posting = sketch_bench::GeneratePosting(4000, 20240611);
  return posting;
}

// Every field of every line.
void BM_ScanField(benchmark::State& state) {
  const sketch_bench::Posting& posting = TestPosting();
  for (auto _ : state) {
    for (const std::string& line : posting.lines) {
      std::string_view rest = line;
      while (!rest.empty()) {
        sketch::Field field = sketch::ScanField(rest);
        benchmark::DoNotOptimize(field);
      }
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * posting.bytes));
}
BENCHMARK(BM_ScanField);

// Every field of every line read as a number, most of them coordinates.
void BM_ReadNumber(benchmark::State& state) {
  const sketch_bench::Posting& posting = TestPosting();
  std::int64_t numbers = 0;
  for (auto _ : state) {
    for (const std::string& line : posting.lines) {
      std::string_view rest = line;
      while (!rest.empty()) {
        sketch::Number number = sketch::ReadNumber(rest);
        numbers += number.ok;
        benchmark::DoNotOptimize(number);
      }
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * posting.bytes));
  state.counters["numbers"] = benchmark::Counter(static_cast<double>(numbers), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadNumber);

}  // namespace

BENCHMARK_MAIN();
