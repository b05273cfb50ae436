#include "JobRunner.h"

#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <system_error>
#include <thread>

#include "ProgressLine.h"
#include "QuoteMarks.h"
#include "RenderFiles.h"
#include "canvas/Canvas.h"
#include "format/SketchTokens.h"
#include "format/TextLines.h"
#include "legendtext/FreeTypeTextPainter.h"
#include "render/BandedPass.h"
#include "render/DrawPass.h"
#include "render/LegendFontChoice.h"
#include "render/PngFile.h"
#include "render/SvgSurface.h"

namespace render_command {

namespace {

void Say(std::FILE* err, const std::string& line) { std::fprintf(err, "sketchpost-render: %s\n", line.c_str()); }

// Prompts become compiler-style lines on standard error; the pass goes on.
class StderrHost final : public sketch::DrawHost {
 public:
  StderrHost(std::string name, std::FILE* err) : name_(std::move(name)), err_(err) {}
  bool ConfirmIncomplete(std::int32_t lineIndex, std::int32_t column, std::string_view message) override {
    const std::string_view firstLine = message.substr(0, message.find_first_of("\r\n"));
    std::fprintf(err_, "%s:%d:%d: %.*s\n", name_.c_str(), lineIndex + 1, column + 1, static_cast<int>(firstLine.size()),
                 firstLine.data());
    return true;
  }
  void WarnDrawingSize(std::string_view message) override {
    std::fprintf(err_, "%s: %.*s\n", name_.c_str(), static_cast<int>(message.size()), message.data());
  }

 private:
  std::string name_;
  std::FILE* err_;
};

// What kinds of line the text has: a posting without any sketch line is
// worth a note (a script may have been given the wrong file), and only a
// legend line brings in the legend font (and fontconfig's start).
struct LineKinds {
  bool sketch = false;
  bool legend = false;
  int sketchLines = 0;  // up to the first legend line
};

LineKinds KindsOf(const sketch::LineSource& lines) {
  LineKinds kinds;
  for (std::int32_t i = 0; i < lines.LineCount() && !kinds.legend; ++i) {
    const std::string line = lines.Line(i);
    if (!sketch::IsSketchLine(line)) continue;
    kinds.sketch = true;
    ++kinds.sketchLines;
    kinds.legend = sketch::KindOfLetter(line[0]) == sketch::ElementKind::Legend;
  }
  return kinds;
}

// The legend font's family, chosen once for the run.
const std::string& LegendFontName() {
  static const std::string name = sketch::ChooseLegendFontName();
  return name;
}

int Cores() { return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, kMaxJobs); }

// The posting's picture, encoded; empty when it cannot be encoded. A very
// large posting without legends is drawn in `bands` bands of rows at once.
std::optional<std::string> DrawPicture(const std::string& inputName, std::string text, const Options& options,
                                       int bands, std::FILE* err) {
  const sketch::MemoryLines lines(options.unquote ? Unquoted(text) : std::move(text));
  StderrHost host(inputName, err);
  legendtext::FreeTypeTextPainter& legends = legendtext::SharedTextPainter();
  const LineKinds kinds = KindsOf(lines);
  if (!kinds.sketch) std::fprintf(err, "%s: no sketch lines\n", inputName.c_str());
  const std::string fontName = kinds.legend ? LegendFontName() : std::string("Arial");
  sketch::DrawPassCounters pass;
  if (options.format == PictureFormat::kSvg) {
    sketch::SvgSurface svg(&legends);
    svg.font.name = fontName;
    sketch::RunDrawPass(svg, lines, host, pass);
    return svg.Document(options.scale);
  }
  sketch::Canvas canvas;
  canvas.font.name = fontName;
  if (kinds.legend) {
    canvas.SetTextPainter(&legends);
    sketch::RunDrawPass(canvas, lines, host, pass);
  } else {
    const bool large = kinds.sketchLines >= sketch::kBandedPassMinSketchLines;
    sketch::RunBandedDrawPass(canvas, lines, host, pass, large ? bands : 1);
  }
  if (std::string png = sketch::EncodePng(canvas.Picture(), options.scale); !png.empty()) return png;
  return std::nullopt;
}

// One posting into its picture.
int RenderOne(const Options& options, const std::string& input, const std::string& output, int bands, std::FILE* in,
              std::FILE* out, std::FILE* err) {
  const bool fromStdin = input == "-";
  const bool toStdout = output == "-";
  if (toStdout && options.format == PictureFormat::kPng && isatty(fileno(out))) {
    Say(err, "will not write a PNG picture to a terminal; use -o FILE");
    return kExitUsage;
  }
  if (const auto wrong = toStdout ? std::nullopt : UnfitOutput(output)) {
    Say(err, output + ": " + *wrong);
    return kExitFailure;
  }

  const std::string inputName = fromStdin ? "<stdin>" : input;
  std::string text;
  if (const auto failure = fromStdin ? ReadPosting(fileno(in), text) : ReadPosting(input, text)) {
    Say(err, inputName + ": " + *failure);
    return kExitFailure;
  }

  const std::optional<std::string> picture = DrawPicture(inputName, std::move(text), options, bands, err);
  const std::string outputName = toStdout ? "<stdout>" : output;
  if (!picture) {
    Say(err, outputName + ": could not encode the picture");
    return kExitFailure;
  }
  if (const auto failure = toStdout ? WritePicture(out, *picture) : WritePicture(output, *picture)) {
    Say(err, outputName + ": " + *failure);
    return kExitFailure;
  }
  return kExitOk;
}

// Messages of one posting, kept until those of the postings before it are out.
struct Job {
  std::string messages;
  int status = kExitOk;
  bool done = false;
};

}  // namespace

int RunJobs(const Options& options, std::FILE* in, std::FILE* out, std::FILE* err) {
  const std::vector<std::string> inputs =
      options.inputs.empty() ? std::vector<std::string>{options.input} : options.inputs;
  std::vector<std::string> outputs;
  for (const std::string& input : inputs)
    outputs.push_back(inputs.size() == 1 ? options.output : OutputFor(options, input));
  // Refused whole before anything is drawn: the pictures would destroy
  // postings, or each other.
  const std::vector<std::string> collisions = Collisions(inputs, outputs, fileno(in));
  for (const std::string& line : collisions) Say(err, line);
  if (!collisions.empty()) return kExitUsage;

  // The cores go to the postings first; those left over draw each picture
  // in bands.
  const int cores = Cores();
  const std::size_t threads =
      std::min<std::size_t>(static_cast<std::size_t>(options.jobs > 0 ? options.jobs : cores), inputs.size());
  const int bands = std::max(1, cores / static_cast<int>(threads));
  if (inputs.size() == 1) return RenderOne(options, inputs.front(), outputs.front(), bands, in, out, err);

  std::vector<Job> jobs(inputs.size());
  ProgressLine progress(err, inputs.size(), options.quiet);
  std::atomic<std::size_t> drawn{0};
  std::mutex lock;
  std::condition_variable finished;
  std::atomic<std::size_t> next{0};
  const auto work = [&] {
    for (std::size_t i = next++; i < inputs.size(); i = next++) {
      char* buffer = nullptr;
      std::size_t size = 0;
      std::FILE* messages = ::open_memstream(&buffer, &size);
      const int status =
          RenderOne(options, inputs[i], outputs[i], bands, in, out, messages != nullptr ? messages : err);
      if (messages != nullptr) std::fclose(messages);
      const std::lock_guard<std::mutex> hold(lock);
      jobs[i].messages.assign(buffer != nullptr ? buffer : "", size);
      std::free(buffer);
      jobs[i].status = status;
      jobs[i].done = true;
      ++drawn;
      finished.notify_all();
    }
  };
  // With one thread and no progress line this one draws; else `threads`
  // threads draw while this one hands their messages on in the order of the
  // INPUTs and keeps the progress line, which costs it no more than waiting.
  std::vector<std::thread> workers;
  try {
    for (std::size_t t = 0; t < threads && (threads > 1 || progress.On()); ++t) workers.emplace_back(work);
  } catch (const std::system_error&) {
    // Fewer threads draw: each takes the next posting until none is left.
  }
  if (workers.empty()) work();
  progress.Show(drawn);  // at once, however fast the first postings go
  int status = kExitOk;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    std::unique_lock<std::mutex> hold(lock);
    while (!jobs[i].done) {
      progress.Show(drawn);
      finished.wait_for(hold, std::chrono::milliseconds(100));
    }
    if (!jobs[i].messages.empty()) {
      progress.Clear();
      std::fwrite(jobs[i].messages.data(), 1, jobs[i].messages.size(), err);
      std::fflush(err);
    }
    status = std::max(status, jobs[i].status);
  }
  for (std::thread& worker : workers) worker.join();
  progress.Clear();
  return status;
}

}  // namespace render_command
