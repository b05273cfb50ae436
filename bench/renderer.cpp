// bench_renderer: sketchpost-render as a user runs it, whole process from
// start to exit, on the generated posting of 4,000 sketch lines with and
// without its legends and on an example posting, writing PNG and SVG, side
// by side with rsvg-convert drawing the same shapes from SVG; rsvg-convert
// on the SVG of 1,000 far-reaching lines against 1,000 ordinary ones; then 10,000
// copies of the example postings in one run against single runs. Fails when
// a target is missed.
//
// The program under test is the renderer built beside this benchmark, or the
// one SKETCHPOST_RENDER names (to compare another build on this machine).
// `bench_renderer --keep-postings` only writes the postings and names them.

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "FarLines.h"
#include "FastestRun.h"
#include "SketchPosting.h"

extern char** environ;

namespace {

constexpr std::size_t kSketchLines = 4000;
constexpr std::uint32_t kSeed = 20240611;  // the posting of bench_draw

// Targets. Without legends the whole process may take a twentieth of what
// rsvg-convert takes for the same shapes, measured in the same run. With
// legends, half of what the renderer took when it started Qt for every
// posting (97 ms for the benchmark posting on this machine). A run over an
// archive at least ten times as fast as a process for each posting.
constexpr double kRsvgRatioTarget = 0.05;
constexpr double kLegendsTargetMs = 48.5;
// With legends at most half as long again as the same posting without them.
constexpr double kLegendsRatioTarget = 1.5;
constexpr int kArchiveCopies = 10000;
constexpr int kSingleRunsTimed = 300;
constexpr double kArchiveSpeedupTarget = 10;
// A viewer of the SVG of far-reaching lines works at most twice as long as
// for as many ordinary sketch lines (the figures are cut to the picture).
constexpr std::size_t kHostileLines = 1000;
constexpr std::uint32_t kHostileSeed = 20261208;  // the ordinary lines of bench_hostile
constexpr double kHostileSvgRatioTarget = 2;

const std::filesystem::path kExamples = std::filesystem::path(__FILE__).parent_path().parent_path() / "examples";

struct Files {
  std::string folder;
  std::string withLegends, withoutLegends;
  std::string farLines, ordinaryLines;
  std::string gardenWithoutLegends;
};

const Files* files = nullptr;

std::string Renderer() {
  const char* chosen = std::getenv("SKETCHPOST_RENDER");
  return chosen != nullptr && *chosen != '\0' ? chosen : SKETCHPOST_RENDER_PATH;
}

void WriteLines(const std::string& name, const std::vector<std::string>& lines) {
  std::ofstream out(name, std::ios::binary);
  for (const std::string& line : lines) out << line << "\r\n";
}

// The posting of bench_draw, and the same without its legend lines.
Files WritePostings() {
  char pattern[] = "/tmp/sketchpost-bench-XXXXXX";
  const char* folder = mkdtemp(pattern);
  Files made{folder != nullptr ? folder : "/tmp", {}, {}, {}, {}, {}};
  made.withLegends = made.folder + "/posting.skp";
  made.withoutLegends = made.folder + "/no-legends.skp";
  const sketch_bench::Posting posting = sketch_bench::GeneratePosting(kSketchLines, kSeed);
  std::vector<std::string> shapesOnly;
  for (const std::string& line : posting.lines) {
    if (line.rfind("T(", 0) != 0) shapesOnly.push_back(line);
  }
  WriteLines(made.withLegends, posting.lines);
  WriteLines(made.withoutLegends, shapesOnly);
  // Far-reaching lines, and as many ordinary sketch lines without legends
  // or prose: shapes against shapes.
  made.farLines = made.folder + "/far-lines.skp";
  made.ordinaryLines = made.folder + "/ordinary-lines.skp";
  WriteLines(made.farLines, sketch_bench::Cycled(sketch_bench::FarLines(9999999), kHostileLines));
  std::vector<std::string> ordinary;
  for (const std::string& line : sketch_bench::GeneratePosting(kHostileLines * 2, kHostileSeed).lines) {
    if (ordinary.size() < kHostileLines && line.size() > 1 && line[1] == '(' && line[0] != 'T')
      ordinary.push_back(line);
  }
  WriteLines(made.ordinaryLines, ordinary);
  // An example posting, and the same without its legend lines.
  made.gardenWithoutLegends = made.folder + "/garden-no-legends.skp";
  std::ifstream garden(kExamples / "garden.skp", std::ios::binary);
  std::vector<std::string> gardenShapes;
  for (std::string line; std::getline(garden, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("T(", 0) != 0) gardenShapes.push_back(line);
  }
  WriteLines(made.gardenWithoutLegends, gardenShapes);
  return made;
}

// Runs a program (found on the PATH) once; false when it did not exit with
// 0 or 2 (a note).
bool RunProgram(std::vector<std::string> arguments) {
  const std::string program = arguments.front();
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  const int started = posix_spawnp(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (started != 0) return false;
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return false;
  return WEXITSTATUS(status) == 0 || WEXITSTATUS(status) == 2;
}

bool RunRenderer(const std::string& input, const std::string& output, const char* format) {
  std::vector<std::string> arguments = {Renderer(), input, "-o", output};
  if (format != nullptr) arguments.insert(arguments.end(), {"--format", format});
  return RunProgram(std::move(arguments));
}

void BM_RendererProcess(benchmark::State& state, bool legends, const char* format) {
  const std::string input = legends ? files->withLegends : files->withoutLegends;
  const std::string output = files->folder + "/out." + (format != nullptr ? format : "png");
  for (auto _ : state) {
    if (!RunRenderer(input, output, format)) {
      state.SkipWithError(("the renderer failed: " + Renderer()).c_str());
      break;
    }
  }
}

BENCHMARK_CAPTURE(BM_RendererProcess, png without legends, false, nullptr)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(4)
    ->Repetitions(5);
BENCHMARK_CAPTURE(BM_RendererProcess, png with legends, true, nullptr)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(4)
    ->Repetitions(5);
void BM_RendererExample(benchmark::State& state, bool legends) {
  const std::string input = legends ? (kExamples / "garden.skp").string() : files->gardenWithoutLegends;
  const std::string output = files->folder + "/garden.png";
  for (auto _ : state) {
    if (!RunRenderer(input, output, nullptr)) {
      state.SkipWithError(("the renderer failed: " + Renderer()).c_str());
      break;
    }
  }
}
BENCHMARK_CAPTURE(BM_RendererExample, legends, true)
    ->Name("BM_RendererProcess/garden.skp")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(4)
    ->Repetitions(5);
BENCHMARK_CAPTURE(BM_RendererExample, no legends, false)
    ->Name("BM_RendererProcess/garden.skp without legends")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(4)
    ->Repetitions(5);

BENCHMARK_CAPTURE(BM_RendererProcess, svg without legends, false, "svg")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(4)
    ->Repetitions(5);

// rsvg-convert turning the renderer's SVG of the same posting into a PNG of
// the same size: what a script would pay to get the picture from the SVG.
// The renderer writes the SVG of `posting` once; rsvg-convert turns it into
// a PNG in every iteration.
void TimeRsvgConvert(benchmark::State& state, const std::string& posting, const std::string& svg) {
  if (!RunRenderer(posting, svg, "svg")) {
    state.SkipWithError("the renderer failed");
    return;
  }
  const std::string output = files->folder + "/rsvg.png";
  for (auto _ : state) {
    if (!RunProgram({"rsvg-convert", "-w", "320", "-h", "200", "-o", output, svg})) {
      state.SkipWithError("rsvg-convert failed (librsvg2-bin: make bench installs it)");
      break;
    }
  }
}
void BM_RsvgConvert(benchmark::State& state, bool legends) {
  TimeRsvgConvert(state, legends ? files->withLegends : files->withoutLegends,
                  files->folder + (legends ? "/legends.svg" : "/shapes.svg"));
}
// rsvg-convert on the SVG of the far-reaching lines, and of the ordinary.
void BM_RsvgHostile(benchmark::State& state, bool far) {
  TimeRsvgConvert(state, far ? files->farLines : files->ordinaryLines,
                  files->folder + (far ? "/far-lines.svg" : "/ordinary-lines.svg"));
}
BENCHMARK_CAPTURE(BM_RsvgHostile, rsvg - convert far lines, true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(4)
    ->Repetitions(5);
BENCHMARK_CAPTURE(BM_RsvgHostile, rsvg - convert ordinary lines, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(4)
    ->Repetitions(5);

BENCHMARK_CAPTURE(BM_RsvgConvert, rsvg - convert png without legends, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(4)
    ->Repetitions(5);
BENCHMARK_CAPTURE(BM_RsvgConvert, rsvg - convert png with legends, true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(4)
    ->Repetitions(5);

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// 10,000 copies of the example postings drawn in one run on both cores,
// against a process for each: that many processes would take minutes, so a
// few hundred are timed and the time scaled up. True when the target is met.
bool ArchiveRun(const std::string& folder) {
  std::vector<std::filesystem::path> examples;
  for (const auto& entry : std::filesystem::directory_iterator(kExamples)) {
    if (entry.path().extension() == ".skp") examples.push_back(entry.path());
  }
  if (examples.empty()) {
    std::printf("archive run: no example postings in %s\n", kExamples.c_str());
    return false;
  }
  std::sort(examples.begin(), examples.end());
  const std::filesystem::path in = std::filesystem::path(folder) / "archive";
  const std::filesystem::path out = std::filesystem::path(folder) / "pictures";
  std::filesystem::create_directories(in);
  std::filesystem::create_directories(out);
  std::vector<std::string> arguments = {Renderer(), "-j", "2", "--out-dir", out.string()};
  for (int i = 0; i < kArchiveCopies; ++i) {
    const std::filesystem::path copy = in / ("posting-" + std::to_string(i) + ".skp");
    std::filesystem::copy_file(examples[static_cast<std::size_t>(i) % examples.size()], copy,
                               std::filesystem::copy_options::overwrite_existing);
    arguments.push_back(copy.string());
  }
  bool ok = true;
  double oneRun = 1e9;
  for (int repetition = 0; repetition < 3 && ok; ++repetition) {
    const auto start = std::chrono::steady_clock::now();
    ok = RunProgram(arguments);
    oneRun = std::min(oneRun, Seconds(start));
  }
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kSingleRunsTimed && ok; ++i) {
    const std::string copy = arguments[5 + static_cast<std::size_t>(i)];
    ok = RunProgram({Renderer(), copy, "-o", (out / "single.png").string()});
  }
  const double singleRuns = Seconds(start) * kArchiveCopies / kSingleRunsTimed;
  std::filesystem::remove_all(in);
  std::filesystem::remove_all(out);
  if (!ok) {
    std::printf("archive run: the renderer failed\n");
    return false;
  }
  const double speedup = singleRuns / oneRun;
  const bool met = speedup >= kArchiveSpeedupTarget;
  std::printf(
      "%d copies of the example postings: one run with -j 2 %.2f s (fastest of 3); %d single runs %.1f s "
      "(%d timed, scaled up): %.1f times as fast (target at least %.0f): %s\n",
      kArchiveCopies, oneRun, kArchiveCopies, singleRuns, kSingleRunsTimed, speedup, kArchiveSpeedupTarget,
      met ? "met" : "MISSED");
  return met;
}

// The fastest run of the benchmark whose name holds `part`, in ms; 0 when
// it did not run.
double FastestMs(const std::map<std::string, double>& fastest, const std::string& part) {
  for (const auto& [name, seconds] : fastest) {
    if (name.find(part) != std::string::npos) return seconds * 1e3;
  }
  return 0;
}

// The targets of the whole-process runs; true when all that ran are met.
bool CheckTargets(const std::map<std::string, double>& fastest) {
  bool met = true;
  const double rsvg = FastestMs(fastest, "rsvg - convert png without legends");
  const double renderer = FastestMs(fastest, "BM_RendererProcess/png without legends");
  if (rsvg > 0 && renderer > 0) {
    const double ratio = renderer / rsvg;
    const bool ok = ratio <= kRsvgRatioTarget;
    std::printf("without legends: renderer %.2f ms, rsvg-convert %.2f ms: ratio %.3f (target at most %.2f): %s\n",
                renderer, rsvg, ratio, kRsvgRatioTarget, ok ? "met" : "MISSED");
    met = met && ok;
  }
  const double far = FastestMs(fastest, "rsvg - convert far lines");
  const double ordinary = FastestMs(fastest, "rsvg - convert ordinary lines");
  if (far > 0 && ordinary > 0) {
    const double ratio = far / ordinary;
    const bool ok = ratio <= kHostileSvgRatioTarget;
    std::printf(
        "rsvg-convert on the SVG of %zu far-reaching lines %.2f ms, of %zu ordinary lines %.2f ms: ratio %.2f "
        "(target at most %.0f): %s\n",
        kHostileLines, far, kHostileLines, ordinary, ratio, kHostileSvgRatioTarget, ok ? "met" : "MISSED");
    met = met && ok;
  }
  for (const char* part : {"BM_RendererProcess/png with legends", "BM_RendererProcess/garden.skp"}) {
    const double ms = FastestMs(fastest, part);
    if (ms <= 0) continue;
    const bool ok = ms <= kLegendsTargetMs;
    std::printf("%s: %.2f ms (target at most %.1f ms): %s\n", part, ms, kLegendsTargetMs, ok ? "met" : "MISSED");
    met = met && ok;
  }
  // Legends cost a posting at most half as much again as its shapes.
  const std::pair<const char*, const char*> pairs[] = {
      {"BM_RendererProcess/png with legends", "BM_RendererProcess/png without legends"},
      {"BM_RendererProcess/garden.skp", "BM_RendererProcess/garden.skp without legends"}};
  for (const auto& [with, without] : pairs) {
    const double withMs = FastestMs(fastest, with), withoutMs = FastestMs(fastest, without);
    if (withMs <= 0 || withoutMs <= 0) continue;
    const double ratio = withMs / withoutMs;
    const bool ok = ratio <= kLegendsRatioTarget;
    std::printf("%s: %.2f ms against %.2f ms without legends: ratio %.2f (target at most %.1f): %s\n", with, withMs,
                withoutMs, ratio, kLegendsRatioTarget, ok ? "met" : "MISSED");
    met = met && ok;
  }
  return met;
}

}  // namespace

int main(int argc, char** argv) {
  const Files made = WritePostings();
  // --keep-postings: only write the postings and say where, to run other
  // programs on them.
  if (argc == 2 && std::string(argv[1]) == "--keep-postings") {
    for (const std::string& posting : {made.withLegends, made.withoutLegends, made.farLines, made.ordinaryLines})
      std::printf("%s\n", posting.c_str());
    return 0;
  }
  files = &made;
  if (!sketch_bench::InitializeInterleaved(argc, argv)) return 1;
  sketch_bench::FastestRunReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  std::printf("renderer: %s\n", Renderer().c_str());
  for (const auto& [name, seconds] : reporter.fastest) {
    std::printf("%-45s %8.2f ms whole process (fastest run)\n", name.c_str(), seconds * 1e3);
  }
  bool met = CheckTargets(reporter.fastest);
  // --benchmark_filter picks some of the runs: the archive run only when it
  // is not given.
  bool filtered = false;
  for (int i = 1; i < argc; ++i) filtered = filtered || std::string(argv[i]).starts_with("--benchmark_filter");
  if (!filtered) met = ArchiveRun(made.folder) && met;
  for (const std::string& posting : {made.withLegends, made.withoutLegends, made.farLines, made.ordinaryLines})
    std::remove(posting.c_str());
  for (const char* suffix : {"/out.png", "/out.svg", "/legends.svg", "/shapes.svg", "/rsvg.png", "/garden.png",
                             "/far-lines.svg", "/ordinary-lines.svg"})
    std::remove((made.folder + suffix).c_str());
  rmdir(made.folder.c_str());
  return reporter.errors.empty() && met ? 0 : 1;
}
