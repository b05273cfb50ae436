// bench_renderer: sketchpost-render as a user runs it, whole process from
// start to exit, on the generated posting of 4,000 sketch lines with and
// without its legends, writing PNG and SVG.
//
// The program under test is the renderer built beside this benchmark, or the
// one SKETCHPOST_RENDER names (to compare another build on this machine).
// `bench_renderer --keep-postings` only writes the postings and names them.

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "FastestRun.h"
#include "SketchPosting.h"

extern char** environ;

namespace {

constexpr std::size_t kSketchLines = 4000;
constexpr std::uint32_t kSeed = 20240611;  // the posting of bench_draw

struct Files {
  std::string folder;
  std::string withLegends, withoutLegends;
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
  Files made{folder != nullptr ? folder : "/tmp", {}, {}};
  made.withLegends = made.folder + "/posting.skp";
  made.withoutLegends = made.folder + "/no-legends.skp";
  const sketch_bench::Posting posting = sketch_bench::GeneratePosting(kSketchLines, kSeed);
  std::vector<std::string> shapesOnly;
  for (const std::string& line : posting.lines) {
    if (line.rfind("T(", 0) != 0) shapesOnly.push_back(line);
  }
  WriteLines(made.withLegends, posting.lines);
  WriteLines(made.withoutLegends, shapesOnly);
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
    ->MinTime(1)
    ->Repetitions(5);
BENCHMARK_CAPTURE(BM_RendererProcess, png with legends, true, nullptr)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1)
    ->Repetitions(5);
BENCHMARK_CAPTURE(BM_RendererProcess, svg without legends, false, "svg")
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1)
    ->Repetitions(5);

// rsvg-convert turning the renderer's SVG of the same posting into a PNG of
// the same size: what a script would pay to get the picture from the SVG.
void BM_RsvgConvert(benchmark::State& state, bool legends) {
  const std::string svg = files->folder + (legends ? "/legends.svg" : "/shapes.svg");
  if (!RunRenderer(legends ? files->withLegends : files->withoutLegends, svg, "svg")) {
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
BENCHMARK_CAPTURE(BM_RsvgConvert, rsvg - convert png without legends, false)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1)
    ->Repetitions(5);
BENCHMARK_CAPTURE(BM_RsvgConvert, rsvg - convert png with legends, true)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1)
    ->Repetitions(5);

}  // namespace

int main(int argc, char** argv) {
  const Files made = WritePostings();
  // --keep-postings: only write the two postings and say where, to run other
  // programs on them.
  if (argc == 2 && std::string(argv[1]) == "--keep-postings") {
    std::printf("%s\n%s\n", made.withLegends.c_str(), made.withoutLegends.c_str());
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
  std::remove(made.withLegends.c_str());
  std::remove(made.withoutLegends.c_str());
  for (const char* suffix : {"/out.png", "/out.svg", "/legends.svg", "/shapes.svg", "/rsvg.png"})
    std::remove((made.folder + suffix).c_str());
  rmdir(made.folder.c_str());
  return reporter.errors.empty() ? 0 : 1;
}
