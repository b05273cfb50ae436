#include "RenderCommand.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>

#include "FilePlaces.h"
#include "LegendLoader.h"
#include "QuoteMarks.h"
#include "canvas/Canvas.h"
#include "format/Limits.h"
#include "format/SketchTokens.h"
#include "format/TextLines.h"
#include "render/BandedPass.h"
#include "render/DrawPass.h"
#include "render/PngFile.h"
#include "render/SvgSurface.h"

namespace render_command {

namespace {

constexpr std::string_view kProgram = "sketchpost-render";
constexpr int kMaxScale = 8;

void Say(std::FILE* err, const std::string& line) { std::fprintf(err, "%s: %s\n", kProgram.data(), line.c_str()); }

std::string SystemReason(int error) { return std::strerror(error); }

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

std::string CapacityMessage() {
  return "larger than the " + std::to_string(sketch::kDocumentCapacity / (1024 * 1024)) + " MiB a posting may hold";
}

// Reads `fd` to its end, but never more than the capacity and one byte: that
// byte tells a posting that is too large, whatever size its file claims, and
// a pipe or device that never ends is left there. The descriptor is read
// directly, as stdio would read ahead of the bound.
std::optional<std::string> ReadAll(int fd, std::string& text) {
  char buffer[1 << 16];
  for (;;) {
    const std::size_t wanted = std::min(sizeof buffer, sketch::kDocumentCapacity + 1 - text.size());
    const ssize_t got = ::read(fd, buffer, wanted);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return SystemReason(errno);
    if (got == 0) return std::nullopt;
    text.append(buffer, static_cast<std::size_t>(got));
    if (text.size() > sketch::kDocumentCapacity) return CapacityMessage();
  }
}

// A pipe, device or socket is not a posting: opening a named pipe waits for
// a writer, for ever when there is none, and a device may act on being
// opened. Standard input is where a pipe's posting comes in.
std::optional<std::string> NotAFile(const struct stat& status) {
  if (S_ISDIR(status.st_mode)) return SystemReason(EISDIR);
  if (!S_ISREG(status.st_mode)) return std::string("not a regular file");
  return std::nullopt;
}

// The name is looked at before it is opened, and opened without waiting in
// case a pipe took its place in between.
std::optional<std::string> ReadFile(const std::string& name, std::string& text) {
  struct stat status;
  if (::stat(name.c_str(), &status) != 0) return SystemReason(errno);
  if (auto wrong = NotAFile(status)) return wrong;
  const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return SystemReason(errno);
  std::optional<std::string> failure;
  if (::fstat(fd, &status) != 0) {
    failure = SystemReason(errno);
  } else if (auto wrong = NotAFile(status)) {
    failure = std::move(wrong);
  } else if (static_cast<std::uint64_t>(status.st_size) > sketch::kDocumentCapacity) {
    failure = CapacityMessage();
  } else {
    failure = ReadAll(fd, text);
  }
  ::close(fd);
  return failure;
}

// Why a picture cannot go to `name` (links followed by the system, so that
// /dev/stdout and /proc/self/fd/N are seen for what they are), found before
// it is drawn; nothing when it is a regular file or does not exist yet.
std::optional<std::string> UnfitOutput(const std::string& name) {
  struct stat status;
  if (::stat(name.c_str(), &status) != 0) return std::nullopt;
  return NotAFile(status);
}

std::optional<std::string> WriteAll(int fd, const std::string& bytes) {
  const char* next = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, next, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return SystemReason(errno);
    }
    next += written;
    left -= static_cast<std::size_t>(written);
  }
  return std::nullopt;
}

// Creates a file of a new, short name in the folder of `target` and opens it
// for writing; its permissions follow the umask. The name does not grow with
// the target's, which may already be as long as a name can be. -1 with errno
// set when none can be made.
int CreateAside(const std::string& target, std::string& aside) {
  const std::size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    aside = folder + ".sketchpost-" + std::to_string(::getpid()) + "-" + std::to_string(attempt) + ".tmp";
    const int fd = ::open(aside.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// A file is written aside in its folder and renamed over OUT when complete:
// a failure leaves no partial file and an older picture stays whole. A
// symbolic link is followed, its target replaced or created; an existing
// file keeps its permissions.
//
// The picture is not synced to the disk before the rename: it is derived
// from the posting, and drawn again in milliseconds, while waiting for the
// disk took 4 to 12 ms a picture on a busy machine, more than drawing it.
// A crash of the program still leaves no partial picture; a crash of the
// system soon after the run may leave the picture empty or old, and drawing
// it again mends it.
std::optional<std::string> WriteFile(const std::string& name, const std::string& bytes) {
  if (auto wrong = UnfitOutput(name)) return wrong;
  const std::string target = FollowLinks(name);
  struct stat status;
  const bool exists = ::stat(target.c_str(), &status) == 0;
  if (exists) {
    if (auto wrong = NotAFile(status)) return wrong;
  }
  std::string aside;
  const int fd = CreateAside(target, aside);
  if (fd < 0) return SystemReason(errno);
  std::optional<std::string> failure = WriteAll(fd, bytes);
  if (!failure && exists && ::fchmod(fd, status.st_mode & 07777) != 0) failure = SystemReason(errno);
  if (::close(fd) != 0 && !failure) failure = SystemReason(errno);
  if (!failure && ::rename(aside.c_str(), target.c_str()) != 0) failure = SystemReason(errno);
  if (failure) ::unlink(aside.c_str());
  return failure;
}

std::optional<std::string> WriteStream(std::FILE* out, const std::string& bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() || std::fflush(out) != 0) {
    return SystemReason(errno);
  }
  return std::nullopt;
}

bool ParseJobs(std::string_view text, int& jobs) {
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9' || value > kMaxJobs) return false;
    value = value * 10 + (c - '0');
  }
  if (text.empty() || value < 1 || value > kMaxJobs) return false;
  jobs = value;
  return true;
}

bool ParseScale(std::string_view text, int& scale) {
  if (text.size() != 1 || text[0] < '1' || text[0] > '0' + kMaxScale) return false;
  scale = text[0] - '0';
  return true;
}

// ASCII letters only: file names and option values are bytes.
bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

bool ParseFormat(std::string_view text, PictureFormat& format) {
  if (EqualsIgnoringCase(text, "png")) {
    format = PictureFormat::kPng;
  } else if (EqualsIgnoringCase(text, "svg")) {
    format = PictureFormat::kSvg;
  } else {
    return false;
  }
  return true;
}

// Where the extension of the last path component begins (its dot), or npos;
// a leading dot names a hidden file.
std::size_t ExtensionStart(std::string_view name) {
  const std::size_t slash = name.rfind('/');
  const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
  const std::size_t dot = name.rfind('.');
  return dot != std::string_view::npos && dot > nameStart ? dot : std::string_view::npos;
}

bool NamesSvg(std::string_view output) {
  const std::size_t dot = ExtensionStart(output);
  return dot != std::string_view::npos && EqualsIgnoringCase(output.substr(dot), ".svg");
}

// What kinds of line the text has: a posting without any sketch line is
// worth a note (a script may have been given the wrong file), and only a
// legend line brings in the legend font (and the legend module).
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

int Cores() { return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, kMaxJobs); }

// The posting's picture, encoded; empty when it cannot be encoded. A very
// large posting without legends is drawn in `bands` bands of rows at once.
std::optional<std::string> DrawPicture(const std::string& inputName, std::string text, const Options& options,
                                       int bands, std::FILE* err) {
  const sketch::MemoryLines lines(options.unquote ? Unquoted(text) : std::move(text));
  StderrHost host(inputName, err);
  LegendLoader& legends = LegendLoader::Shared();
  const LineKinds kinds = KindsOf(lines);
  if (!kinds.sketch) std::fprintf(err, "%s: no sketch lines\n", inputName.c_str());
  const std::string fontName = kinds.legend ? legends.FontName() : std::string("Arial");
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
  std::string png = sketch::EncodePng(canvas.Picture(), options.scale);
  if (png.empty()) return std::nullopt;
  return png;
}

}  // namespace

ParseResult ParseArguments(const std::vector<std::string>& arguments) {
  Options options;
  bool inputSeen = false;
  bool formatGiven = false;
  bool optionsEnded = false;
  const auto fail = [](std::string message) { return ParseResult{std::nullopt, std::move(message)}; };
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& arg = arguments[i];
    // "NAME VALUE" or "NAME=VALUE"; false when the value is missing.
    const auto value = [&](std::string_view name, std::string& out) {
      if (arg.size() > name.size() && arg.compare(0, name.size() + 1, std::string(name) + "=") == 0) {
        out = arg.substr(name.size() + 1);
        return true;
      }
      if (arg != name || i + 1 >= arguments.size()) return false;
      out = arguments[++i];
      return true;
    };
    const auto named = [&](std::string_view name) {
      return arg == name || (arg.size() > name.size() && arg.compare(0, name.size() + 1, std::string(name) + "=") == 0);
    };
    std::string text;
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && (arg == "--help" || arg == "-h")) {
      options.help = true;
    } else if (!optionsEnded && arg == "--version") {
      options.version = true;
    } else if (!optionsEnded && (arg == "-o" || named("--output"))) {
      const std::string_view name = arg == "-o" ? "-o" : "--output";
      if (!value(name, text) || text.empty()) return fail("option " + std::string(name) + " needs a file name");
      options.output = text;
    } else if (!optionsEnded && named("--scale")) {
      if (!value("--scale", text)) return fail("option --scale needs a number from 1 to 8");
      if (!ParseScale(text, options.scale)) return fail("scale '" + text + "' is not a number from 1 to 8");
    } else if (!optionsEnded && named("--format")) {
      if (!value("--format", text)) return fail("option --format needs png or svg");
      if (!ParseFormat(text, options.format)) return fail("format '" + text + "' is neither png nor svg");
      formatGiven = true;
    } else if (!optionsEnded && named("--out-dir")) {
      if (!value("--out-dir", text) || text.empty()) return fail("option --out-dir needs a folder");
      options.outDir = text;
    } else if (!optionsEnded && arg == "--unquote") {
      options.unquote = true;
    } else if (!optionsEnded && (arg.starts_with("-j") || named("--jobs"))) {
      const bool attached = arg.starts_with("-j") && arg.size() > 2;
      if (attached) {
        text = arg.substr(2);
      } else if (!value(arg.starts_with("-j") ? "-j" : "--jobs", text)) {
        return fail("option " + arg.substr(0, arg.find('=')) + " needs a number from 1 to " + std::to_string(kMaxJobs));
      }
      if (!ParseJobs(text, options.jobs))
        return fail("jobs '" + text + "' is not a number from 1 to " + std::to_string(kMaxJobs));
    } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
      return fail("unknown option '" + arg + "'");
    } else {
      if (arg == "-" && std::find(options.inputs.begin(), options.inputs.end(), "-") != options.inputs.end())
        return fail("standard input ('-') may be given only once");
      options.inputs.push_back(arg);
      inputSeen = true;
    }
  }
  if (!inputSeen) options.inputs.push_back("-");
  options.input = options.inputs.front();
  const bool outputGiven = !options.output.empty();
  if (outputGiven && options.inputs.size() > 1) return fail("-o names one picture; for several INPUTs use --out-dir");
  if (outputGiven && !options.outDir.empty()) return fail("-o and --out-dir exclude each other");
  if (!formatGiven) options.format = NamesSvg(options.output) ? PictureFormat::kSvg : PictureFormat::kPng;
  if (!outputGiven) options.output = OutputFor(options, options.input);
  return ParseResult{options, {}};
}

std::string OutputFor(const Options& options, const std::string& input) {
  if (options.inputs.size() <= 1 && !options.output.empty() && input == options.input) return options.output;
  if (input == "-" && options.outDir.empty()) return "-";
  const std::string name =
      DefaultOutputName(input == "-" ? kStandardInputName : std::string_view(input), options.format);
  if (options.outDir.empty()) return name;
  const std::size_t slash = name.rfind('/');
  const std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
  return options.outDir + (options.outDir.ends_with('/') ? "" : "/") + base;
}

std::string DefaultOutputName(std::string_view input, PictureFormat format) {
  const std::size_t dot = ExtensionStart(input);
  return std::string(dot == std::string_view::npos ? input : input.substr(0, dot)) +
         (format == PictureFormat::kSvg ? ".svg" : ".png");
}

std::string UsageText() {
  return "Usage: sketchpost-render [-o OUT | --out-dir DIR] [--format png|svg] [--scale N]\n"
         "                         [--unquote] [-j N] [INPUT...]\n"
         "Draws the sketch lines of each posting as a 320x200 picture, PNG or SVG.\n"
         "\n"
         "  INPUT            the posting, a file of 8-bit text with any line breaks;\n"
         "                   standard input (also a pipe) when absent or '-'\n"
         "  -o, --output OUT where the picture goes: a file, or '-' for standard\n"
         "                   output; default INPUT with the extension .png (.svg\n"
         "                   with --format svg; standard output for standard input)\n"
         "  --format F       png or svg; without it SVG when OUT ends in .svg (in\n"
         "                   any letter case), else PNG\n"
         "  --scale N        enlarge the picture N times (1 to 8): a PNG pixel for\n"
         "                   pixel, an SVG by its width and height\n"
         "  --out-dir DIR    put each picture into DIR, named after its INPUT;\n"
         "                   standard input's as DIR/stdin.png (or .svg)\n"
         "  --unquote        take newsreader quote marks ('> ', ':') off sketch\n"
         "                   lines first, as the editor's Remove quotes does\n"
         "  -j, --jobs N     draw N postings at once (1 to 64; default one a core);\n"
         "                   messages still come in the order of the INPUTs\n"
         "  --help           show this text\n"
         "  --version        show the version\n"
         "\n"
         "Incomplete polylines and legend texts, and a sketch text of more than\n"
         "4095 characters, are reported on standard error as INPUT:LINE:COLUMN:\n"
         "lines; the picture is drawn all the same.\n"
         "Exit status: 0 done, 1 a file could not be read or written or is no\n"
         "regular file (or a standard stream is closed, or legends could not be\n"
         "drawn), 2 usage. With several INPUTs every one is drawn; the status is\n"
         "the worst of them. A run whose pictures would replace a posting or each\n"
         "other draws nothing (status 2).\n";
}

std::string VersionText() { return "sketchpost-render " SKETCHPOST_VERSION "\n"; }

namespace {

// One posting into its picture.
int RenderOne(const Options& options, const std::string& input, const std::string& output, int bands, std::FILE* in,
              std::FILE* out, std::FILE* err) {
  const bool fromStdin = input == "-";
  const bool toStdout = output == "-";
  if (toStdout && options.format == PictureFormat::kPng && isatty(fileno(out))) {
    Say(err, "will not write a PNG picture to a terminal; use -o FILE");
    return kExitUsage;
  }
  if (!toStdout) {
    if (const auto wrong = UnfitOutput(output)) {
      Say(err, output + ": " + *wrong);
      return kExitFailure;
    }
  }

  const std::string inputName = fromStdin ? "<stdin>" : input;
  std::string text;
  if (const auto failure = fromStdin ? ReadAll(fileno(in), text) : ReadFile(input, text)) {
    Say(err, inputName + ": " + *failure);
    return kExitFailure;
  }

  const std::optional<std::string> picture = DrawPicture(inputName, std::move(text), options, bands, err);
  const std::string outputName = toStdout ? "<stdout>" : output;
  if (LegendLoader::Shared().Failed()) {
    Say(err, inputName + ": legends cannot be drawn: " + LegendLoader::Shared().Failure());
    return kExitFailure;
  }
  if (!picture) {
    Say(err, outputName + ": could not encode the picture");
    return kExitFailure;
  }
  if (const auto failure = toStdout ? WriteStream(out, *picture) : WriteFile(output, *picture)) {
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

int Run(const Options& options, std::FILE* in, std::FILE* out, std::FILE* err) {
  if (options.help) {
    std::fputs(UsageText().c_str(), out);
    return kExitOk;
  }
  if (options.version) {
    std::fputs(VersionText().c_str(), out);
    return kExitOk;
  }
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
      finished.notify_all();
    }
  };
  // With one thread this one draws; else `threads` threads draw while this
  // one hands their messages on in the order of the INPUTs, which costs it
  // no more than waiting.
  std::vector<std::thread> workers;
  try {
    for (std::size_t t = 0; t < threads && threads > 1; ++t) workers.emplace_back(work);
  } catch (const std::system_error&) {
    // Fewer threads draw: each takes the next posting until none is left.
  }
  if (workers.empty()) work();
  int status = kExitOk;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    std::unique_lock<std::mutex> hold(lock);
    finished.wait(hold, [&] { return jobs[i].done; });
    std::fwrite(jobs[i].messages.data(), 1, jobs[i].messages.size(), err);
    std::fflush(err);
    status = std::max(status, jobs[i].status);
  }
  for (std::thread& worker : workers) worker.join();
  return status;
}

}  // namespace render_command
