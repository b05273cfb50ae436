#include "RenderCommand.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <unistd.h>

#include "canvas/Canvas.h"
#include "canvas/TextBytes.h"
#include "format/Limits.h"
#include "format/TextLines.h"
#include "render/DrawPass.h"
#include "render/LegendText.h"

namespace render_command {

namespace {

constexpr std::string_view kProgram = "sketchpost-render";
constexpr int kMaxScale = 8;

std::string Utf8(const QString& s) { return s.toStdString(); }

void Say(std::FILE* err, const std::string& line) { std::fprintf(err, "%s: %s\n", kProgram.data(), line.c_str()); }

// The lines of a posting held in memory.
class PostingLines final : public sketch::LineSource {
 public:
  explicit PostingLines(std::string_view text) : lines_(sketch::SplitLines(text)) {}
  std::int32_t LineCount() const override { return static_cast<std::int32_t>(lines_.size()); }
  std::string Line(std::int32_t index) const override {
    return std::string(lines_[static_cast<std::size_t>(index)].substr(0, 255));
  }

 private:
  std::vector<std::string_view> lines_;
};

// Prompts become compiler-style lines on standard error; the pass goes on.
class StderrHost final : public sketch::DrawHost {
 public:
  StderrHost(std::string name, std::FILE* err) : name_(std::move(name)), err_(err) {}
  bool ConfirmIncomplete(std::int32_t lineIndex, std::int32_t column, std::string_view message) override {
    const std::string_view firstLine = message.substr(0, message.find_first_of("\r\n"));
    std::fprintf(err_, "%s:%d:%d: %.*s\n", name_.c_str(), lineIndex + 1, column + 1,
                 static_cast<int>(firstLine.size()), firstLine.data());
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
  return "larger than the " + std::to_string(sketch::kDocumentCapacity / (1024 * 1024)) +
         " MiB a posting may hold";
}

std::optional<std::string> ReadAll(std::FILE* in, std::string& text) {
  char buffer[1 << 16];
  for (;;) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, in);
    text.append(buffer, got);
    if (text.size() > sketch::kDocumentCapacity) return CapacityMessage();
    if (got < sizeof buffer) break;
  }
  if (std::ferror(in)) return std::string(std::strerror(errno));
  return std::nullopt;
}

std::optional<std::string> ReadFile(const QString& name, std::string& text) {
  QFile file(name);
  if (!file.open(QIODevice::ReadOnly)) return Utf8(file.errorString());
  if (file.size() > static_cast<qint64>(sketch::kDocumentCapacity)) return CapacityMessage();
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return Utf8(file.errorString());
  text.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  return std::nullopt;
}

std::optional<std::string> WriteFile(const QString& name, const QImage& image) {
  QSaveFile file(name);  // written aside and renamed: no partial file on failure
  if (!file.open(QIODevice::WriteOnly)) return Utf8(file.errorString());
  QImageWriter writer(&file, "png");
  if (!writer.write(image)) {
    file.cancelWriting();
    return Utf8(writer.errorString());
  }
  if (!file.commit()) return Utf8(file.errorString());
  return std::nullopt;
}

std::optional<std::string> WriteStream(std::FILE* out, const QImage& image) {
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!QImageWriter(&buffer, "png").write(image)) return std::string("could not encode the picture");
  if (std::fwrite(png.constData(), 1, static_cast<std::size_t>(png.size()), out) != static_cast<std::size_t>(png.size()) ||
      std::fflush(out) != 0) {
    return std::string(std::strerror(errno));
  }
  return std::nullopt;
}

bool ParseScale(std::string_view text, int& scale) {
  if (text.size() != 1 || text[0] < '1' || text[0] > '0' + kMaxScale) return false;
  scale = text[0] - '0';
  return true;
}

}  // namespace

ParseResult ParseArguments(const std::vector<std::string>& arguments) {
  Options options;
  bool inputSeen = false;
  bool optionsEnded = false;
  const auto fail = [](std::string message) { return ParseResult{std::nullopt, std::move(message)}; };
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& arg = arguments[i];
    const auto value = [&](std::string_view name, std::string& out) {
      if (arg.size() > name.size() && arg.compare(0, name.size() + 1, std::string(name) + "=") == 0) {
        out = arg.substr(name.size() + 1);
        return true;
      }
      if (arg != name || i + 1 >= arguments.size()) return false;
      out = arguments[++i];
      return true;
    };
    std::string text;
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && (arg == "--help" || arg == "-h")) {
      options.help = true;
    } else if (!optionsEnded && arg == "--version") {
      options.version = true;
    } else if (!optionsEnded && (arg == "-o" || arg.rfind("--output", 0) == 0)) {
      if (!value(arg == "-o" ? "-o" : "--output", text) || text.empty()) return fail("option " + arg + " needs a file name");
      options.output = QString::fromStdString(text);
    } else if (!optionsEnded && arg.rfind("--scale", 0) == 0) {
      if (!value("--scale", text)) return fail("option --scale needs a number from 1 to 8");
      if (!ParseScale(text, options.scale)) return fail("scale '" + text + "' is not a number from 1 to 8");
    } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
      return fail("unknown option '" + arg + "'");
    } else if (inputSeen) {
      return fail("only one INPUT may be given ('" + arg + "' is a second)");
    } else {
      options.input = QString::fromStdString(arg);
      inputSeen = true;
    }
  }
  if (!inputSeen) options.input = QStringLiteral("-");
  if (options.output.isEmpty()) options.output = options.input == "-" ? QStringLiteral("-") : DefaultOutputName(options.input);
  return ParseResult{options, {}};
}

QString DefaultOutputName(const QString& input) {
  const qsizetype slash = input.lastIndexOf('/');
  const qsizetype dot = input.lastIndexOf('.');
  const bool hasExtension = dot > slash + 1;  // a leading dot names a hidden file
  return (hasExtension ? input.left(dot) : input) + QStringLiteral(".png");
}

std::string UsageText() {
  return "Usage: sketchpost-render [-o OUT.png] [--scale N] [INPUT]\n"
         "Draws the sketch lines of a posting as a 320x200 PNG picture.\n"
         "\n"
         "  INPUT            the posting, 8-bit text with any line breaks;\n"
         "                   standard input when absent or '-'\n"
         "  -o, --output OUT where the picture goes: a file, or '-' for standard\n"
         "                   output; default INPUT with the extension .png\n"
         "                   (standard output for standard input)\n"
         "  --scale N        enlarge the picture N times, pixel for pixel (1 to 8)\n"
         "  --help           show this text\n"
         "  --version        show the version\n"
         "\n"
         "Incomplete polylines and legend texts, and a sketch text of more than\n"
         "4095 characters, are reported on standard error as INPUT:LINE:COLUMN:\n"
         "lines; the picture is drawn all the same.\n"
         "Exit status: 0 done, 1 a file could not be read or written, 2 usage.\n";
}

std::string VersionText() { return "sketchpost-render " SKETCHPOST_VERSION "\n"; }

int Run(const Options& options, std::FILE* in, std::FILE* out, std::FILE* err) {
  if (options.help) {
    std::fputs(UsageText().c_str(), out);
    return kExitOk;
  }
  if (options.version) {
    std::fputs(VersionText().c_str(), out);
    return kExitOk;
  }
  const bool fromStdin = options.input == "-";
  const bool toStdout = options.output == "-";
  if (toStdout && isatty(fileno(out))) {
    Say(err, "will not write a PNG picture to a terminal; use -o FILE");
    return kExitUsage;
  }
  if (!fromStdin && !toStdout && QFileInfo(options.input).absoluteFilePath() == QFileInfo(options.output).absoluteFilePath()) {
    Say(err, Utf8(options.output) + ": the picture would replace the posting; use -o FILE");
    return kExitUsage;
  }

  const std::string inputName = fromStdin ? "<stdin>" : Utf8(options.input);
  std::string text;
  if (const auto failure = fromStdin ? ReadAll(in, text) : ReadFile(options.input, text)) {
    Say(err, inputName + ": " + *failure);
    return kExitFailure;
  }

  sketch::Canvas canvas;
  canvas.font.name = sketch::ChooseLegendFontName();
  canvas.brush.style = sketch::BrushStyle::Clear;
  PostingLines lines(text);
  StderrHost host(inputName, err);
  sketch::DrawPassCounters pass;
  sketch::RunDrawPass(canvas, lines, host, pass);

  QImage picture = canvas.Picture();
  if (options.scale > 1) {
    picture = picture.scaled(picture.size() * options.scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  }
  const auto failure = toStdout ? WriteStream(out, picture) : WriteFile(options.output, picture);
  if (failure) {
    Say(err, (toStdout ? std::string("<stdout>") : Utf8(options.output)) + ": " + *failure);
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace render_command
