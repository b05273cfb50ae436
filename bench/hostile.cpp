// bench_hostile: sketch lines written to be slow.
//
// - Every line of a table of the heaviest lines that fit in 255 characters
//   (wide zigzags, shapes reaching millions of pixels off the picture in
//   every kind, pen and fill, long legends) must draw in at most 1 ms.
// - A posting of 1,000 far-reaching lines must draw in at most twice the
//   time of 1,000 ordinary sketch lines (the generated posting's).
// - Drawing the far lines with coordinates in the millions must take no
//   more memory than with coordinates in the thousands.
// The program says how far it is from each target and fails when one is
// missed.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "FarLines.h"
#include "FastestRun.h"
#include "PassKit.h"
#include "SketchPosting.h"
#include "format/CountedString.h"
#include "format/SketchTokens.h"

namespace {

constexpr double kLineTargetSeconds = 1e-3;
constexpr double kPostingTargetRatio = 2.0;
constexpr long kMemoryTargetKiB = 1024;
constexpr std::size_t kPostingLines = 1000;
constexpr std::uint32_t kSeed = 20261208;

const char* const kFarName = "BM_FarPosting";
const char* const kOrdinaryName = "BM_OrdinaryPosting";
const std::string kLinePrefix = "BM_Line/";

using sketch_bench::Cycled;
using sketch_bench::FarLines;

// A polyline of `segment` repeated as often as 255 characters allow.
std::string LongPolyline(const std::string& head, const std::string& segment) {
  std::string line = head;
  while (line.size() + segment.size() + 1 <= sketch::kCountedMax) line += segment;
  return line + ")";
}

// The heaviest lines found: the far lines and whatever else fills 255
// characters with as much drawing as it can.
std::vector<std::string> HeavyLines() {
  std::vector<std::string> lines = FarLines(9999999);
  lines.push_back(LongPolyline("L(10;0;0", ";319;199;0;199;319;0;0;0"));
  lines.push_back(LongPolyline("L(10;0;0", ";319;199;0;0"));
  lines.push_back(LongPolyline("L(DS;0;0", ";319;199;0;199;319;0;0;0"));
  lines.push_back(LongPolyline("L(10;-999999;-999999", ";9999999;9999999;-999999;-999999"));
  lines.push_back(LongPolyline("L(10;0;0", ":1:1"));
  lines.push_back(LongPolyline("L(10;160;100", ":300:0:-300:1"));
  lines.push_back("E(10;F;-20;-20;340;220)");
  lines.push_back("E(DD;F;0;0;320;200)");
  lines.push_back("R(10;F;-20;-20;340;220)");
  const std::string text(sketch::kCountedMax - 16, 'W');
  lines.push_back("T(L;0;150;\"" + text + "\")");
  lines.push_back("T(LU;160;199;\"" + text + "\")");
  for (std::string& line : lines) line.resize(std::min(line.size(), sketch::kCountedMax));
  return lines;
}

void DrawPosting(benchmark::State& state, const std::vector<std::string>& lines) {
  sketch::Canvas canvas = sketch_bench::RendererCanvas();
  const sketch::LineList source(lines);
  sketch_bench::OkHost host;
  sketch::DrawPassCounters pass;
  for (auto _ : state) {
    sketch::RunDrawPass(canvas, source, host, pass);
    benchmark::DoNotOptimize(canvas.Picture().Bits());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * lines.size()));
}

void BM_FarPosting(benchmark::State& state) {
  static const std::vector<std::string> lines = Cycled(FarLines(9999999), kPostingLines);
  DrawPosting(state, lines);
}
BENCHMARK(BM_FarPosting)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Repetitions(5);

void BM_OrdinaryPosting(benchmark::State& state) {
  static const std::vector<std::string> lines = [] {
    const sketch_bench::Posting posting = sketch_bench::GeneratePosting(kPostingLines, kSeed);
    std::vector<std::string> sketch;  // the sketch lines alone: no prose to pad the time
    for (const std::string& line : posting.lines)
      if (sketch::IsSketchLine(line)) sketch.push_back(line);
    return sketch;
  }();
  DrawPosting(state, lines);
}
BENCHMARK(BM_OrdinaryPosting)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Repetitions(5);

long PeakKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// The far lines drawn first with coordinates in the thousands, then in the
// millions: the peak memory must not grow.
bool MemoryStaysFlat() {
  const auto draw = [](long long far) {
    const std::vector<std::string> lines = FarLines(far);
    sketch::Canvas canvas = sketch_bench::RendererCanvas();
    sketch_bench::OkHost host;
    sketch::DrawPassCounters pass;
    sketch::RunDrawPass(canvas, sketch::LineList(lines), host, pass);
  };
  draw(1000);
  const long before = PeakKiB();
  draw(9999999);
  const long growth = PeakKiB() - before;
  const bool met = growth <= kMemoryTargetKiB;
  std::printf("peak memory grew by %ld KiB from coordinates of a thousand to ten million (target at most %ld): %s\n",
              growth, kMemoryTargetKiB, met ? "met" : "NOT MET");
  return met;
}

}  // namespace

int main(int argc, char** argv) {
  // Legends need fonts, hence a GUI application, but never a screen.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QGuiApplication app(qtArgc, argv);

  const std::vector<std::string> heavy = HeavyLines();
  for (std::size_t i = 0; i < heavy.size(); ++i) {
    const std::vector<std::string> one = {heavy[i]};
    benchmark::RegisterBenchmark((kLinePrefix + std::to_string(i)).c_str(),
                                 [one](benchmark::State& state) { DrawPosting(state, one); })
        ->Unit(benchmark::kMicrosecond)
        ->MinTime(0.02)
        ->Repetitions(3);
  }

  if (!sketch_bench::InitializeInterleaved(argc, argv)) return 1;
  bool met = MemoryStaysFlat();

  sketch_bench::FastestRunReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  double slowest = 0;
  std::string slowestLine;
  for (const auto& [name, seconds] : reporter.fastest) {
    if (name.rfind(kLinePrefix, 0) != 0 || seconds <= slowest) continue;
    slowest = seconds;
    slowestLine = heavy[std::stoul(name.substr(kLinePrefix.size()))];
  }
  if (!slowestLine.empty()) {
    const bool lineMet = slowest <= kLineTargetSeconds;
    std::printf("slowest of %zu heavy lines: %.3f ms (target at most %.1f ms): %s\n  %s\n", heavy.size(), slowest * 1e3,
                kLineTargetSeconds * 1e3, lineMet ? "met" : "NOT MET", slowestLine.c_str());
    met = met && lineMet;
  }
  const auto far = reporter.fastest.find(kFarName);
  const auto ordinary = reporter.fastest.find(kOrdinaryName);
  if (far != reporter.fastest.end() && ordinary != reporter.fastest.end()) {
    const double ratio = far->second / ordinary->second;
    const bool postingMet = ratio <= kPostingTargetRatio;
    std::printf("%zu far lines %.2f ms, %zu ordinary sketch lines %.2f ms: ratio %.2f (target at most %.1f): %s\n",
                kPostingLines, far->second * 1e3, kPostingLines, ordinary->second * 1e3, ratio, kPostingTargetRatio,
                postingMet ? "met" : "NOT MET");
    met = met && postingMet;
  }
  return met ? 0 : 1;
}
