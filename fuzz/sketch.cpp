// fuzz_sketch: arbitrary posting text through the field scanner, the element
// drawers, the overlays (the caret line's mark and the grid) and the draw pass.
//
// Besides the sanitizers, the harness checks what a user would see go wrong:
// - the scanner always moves on, hands out at most 7 upper-case token
//   characters, and reads a number exactly when its token is one;
// - a sketch line read as an element, written and read again gives the
//   same element, as drawable as before;
// - the grid and the mark of the caret's line, moved over every line and
//   taken off again, give the picture back pixel for pixel and leave the
//   pen, brush and font colour as they were;
// - the draw pass ends only at the end of the text or when the user says no,
//   and warns exactly when the sketch text is large;
// - the same lines drawn by the SVG writer give a well-formed document.
//
// Every input starts from a freshly cleared canvas, so each crash reproduces
// from its input alone; within an input the pen, brush and font carry over
// from line to line as they do in a real pass.

#include <QXmlStreamReader>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "canvas/Canvas.h"
#include "format/CountedString.h"
#include "format/FieldScanner.h"
#include "format/SketchElement.h"
#include "format/SketchTokens.h"
#include "format/TextLines.h"
#include "legendtext/FreeTypeTextPainter.h"
#include "qttext/LegendFont.h"
#include "render/DrawHost.h"
#include "render/DrawPass.h"
#include "render/ElementDrawers.h"
#include "render/LegendText.h"
#include "render/Overlays.h"
#include "render/SvgSurface.h"

namespace {

// What one input may draw, so that its cost stays bounded: every segment of
// a wide pen paints across the whole picture, and a byte budget bounds the
// segments where a line count does not (L(4096;0;0:1:1:1:1... has a segment
// for every four bytes). Each line is drawn three or four times (the pass,
// the mark on and off, the whole pass again), so the costliest input, 1 kB
// of such segments, takes about 0.1 s under the sanitizers: far below the
// fuzz runs' limit of a second, which a figure whose cost grows with its
// numbers passes at once.
constexpr std::size_t kMaxLines = 64;
constexpr std::size_t kMaxDrawnBytes = 1024;

constexpr std::int32_t kNumberMin = -999999;
constexpr std::int32_t kNumberMax = 9999999;

std::string legendFontName;

// Answers OK and Cancel by turns, starting with OK, and checks what it is told.
class AlternatingHost final : public sketch::DrawHost {
 public:
  bool ConfirmIncomplete(std::int32_t lineIndex, std::int32_t column, std::string_view message) override {
    FUZZ_CHECK(lineIndex >= 0);
    FUZZ_CHECK(column >= 0 && column <= static_cast<std::int32_t>(sketch::kCountedMax));
    FUZZ_CHECK(message.size() <= sketch::kCountedMax);
    FUZZ_CHECK(message.starts_with(sketch::kPolylineIncomplete) || message.starts_with(sketch::kLegendIncomplete));
    ++prompts;
    answer_ = !answer_;
    if (!answer_) ++cancels;
    return answer_;
  }
  void WarnDrawingSize(std::string_view message) override {
    FUZZ_CHECK(message.starts_with("Drawing text is "));
    ++warnings;
  }

  int prompts = 0;
  int cancels = 0;
  int warnings = 0;

 private:
  bool answer_ = false;
};

void CheckToken(const std::string& token) {
  FUZZ_CHECK(token.size() <= sketch::kTokenMax);
  for (const char c : token) {
    FUZZ_CHECK(sketch::IsTokenChar(static_cast<unsigned char>(c)));
    FUZZ_CHECK(c < 'a' || c > 'z');
  }
}

// A number token read independently of the scanner: an optional minus and
// digits only.
bool ExpectedNumber(const std::string& token, std::int32_t& value) {
  if (token.empty() || token.find_first_not_of("-0123456789") != std::string::npos) return false;
  if (token.find('-', 1) != std::string::npos) return false;
  const char* end = token.data() + token.size();
  const auto [ptr, error] = std::from_chars(token.data(), end, value);
  return error == std::errc() && ptr == end;
}

void ScanLine(std::string_view line) {
  std::string_view rest = line;
  std::string lastToken = "x";
  while (!rest.empty()) {
    const bool close = sketch::NextIsClose(rest, lastToken);
    FUZZ_CHECK(lastToken.size() == 1);
    FUZZ_CHECK(close == (lastToken == ")"));
    const std::size_t firstNonBlank = rest.find_first_not_of(' ');
    FUZZ_CHECK(lastToken[0] == (firstNonBlank == std::string_view::npos ? rest.back() : rest[firstNonBlank]));

    const std::size_t size = rest.size();
    const sketch::Field field = sketch::ScanField(rest);
    FUZZ_CHECK(rest.size() < size);  // always moves on
    FUZZ_CHECK(!field.token.empty() || rest.empty());
    FUZZ_CHECK(field.separator == ' ' || static_cast<unsigned char>(field.separator) > 32);
    CheckToken(field.token);
  }
  lastToken = "x";
  FUZZ_CHECK(!sketch::NextIsClose(rest, lastToken) && lastToken == "x");

  rest = line;
  while (!rest.empty()) {
    const std::size_t size = rest.size();
    const sketch::Number number = sketch::ReadNumber(rest);
    FUZZ_CHECK(rest.size() < size);
    CheckToken(number.token);
    std::int32_t expected = 0;
    FUZZ_CHECK(number.ok == ExpectedNumber(number.token, expected));
    if (number.ok) {
      FUZZ_CHECK(number.value == expected);
      FUZZ_CHECK(number.value >= kNumberMin && number.value <= kNumberMax);
    }
    FUZZ_CHECK(number.IsRelative() == (number.separator == sketch::kRelativeMarker));
  }

  for (const std::size_t maximum : {std::size_t{0}, std::size_t{1}, std::size_t{7}, sketch::kCountedMax}) {
    rest = line;
    while (!rest.empty()) {
      const std::string_view before = rest;
      const sketch::QuotedText quoted = sketch::ReadQuotedText(rest, maximum);
      FUZZ_CHECK(rest.size() < before.size());
      FUZZ_CHECK(quoted.ok == !quoted.text.empty());
      FUZZ_CHECK(quoted.text.size() <= maximum);
      FUZZ_CHECK(quoted.text.find('"') == std::string::npos);
      FUZZ_CHECK(rest.empty() || rest.front() == '"');
      const std::size_t open = before.find('"');
      if (open == std::string_view::npos) {
        FUZZ_CHECK(rest.empty() && !quoted.ok);
      } else {
        FUZZ_CHECK(before.substr(open + 1).starts_with(quoted.text));
      }
    }
  }
}

// What the reader takes out of a line, the writer must put back: the written
// line reads as the same element and is canonical (writing it again changes
// nothing).
void CheckElementRoundTrip(std::string_view line) {
  const std::optional<sketch::ElementRead> read = sketch::ReadElement(line);
  FUZZ_CHECK(read.has_value() == sketch::IsSketchLine(sketch::CutCounted(line)));
  if (!read) return;
  FUZZ_CHECK(read->consumed <= sketch::CutCounted(line).size());
  const std::string written = sketch::WriteElement(read->element);
  FUZZ_CHECK(written.size() <= sketch::kCountedMax);
  const std::optional<sketch::ElementRead> again = sketch::ReadElement(written);
  FUZZ_CHECK(again.has_value() && again->element == read->element);
  FUZZ_CHECK(again->Drawable() == read->Drawable());
  if (read->Drawable()) FUZZ_CHECK(sketch::WriteElement(again->element) == written);
}

bool SameState(const sketch::CanvasState& a, const sketch::CanvasState& b) {
  return a.penColor == b.penColor && a.penStyle == b.penStyle && a.penWidth == b.penWidth &&
         a.brushColor == b.brushColor && a.brushStyle == b.brushStyle && a.fontColor == b.fontColor;
}

// The overlays as the drawing window puts them on a finished picture: the
// grid on, the mark moved from line to line as the caret moves, then the
// mark and the grid off. Every pixel must come back, else the overlays would
// leave marks, and each overlay must leave the tool settings as it found them.
void CheckOverlaysRevert(sketch::Canvas& canvas, const std::vector<std::string_view>& lines) {
  const sketch::Picture before = canvas.Picture();
  const sketch::CanvasState state = sketch::SaveCanvasState(canvas);
  sketch::PaintGrid(canvas);
  FUZZ_CHECK(SameState(sketch::SaveCanvasState(canvas), state));
  sketch::Highlight highlight;
  for (const std::string_view line : lines) {
    highlight.HighlightLine(canvas, line);
    FUZZ_CHECK(SameState(sketch::SaveCanvasState(canvas), state));
    const std::string_view counted = sketch::CutCounted(line);
    const bool marked = counted.size() >= sketch::kShortestHighlightedLine && sketch::IsSketchLine(counted);
    FUZZ_CHECK(highlight.LastHighlight() == (marked ? counted : std::string_view()));
    // The caret moving within the same line changes nothing.
    const sketch::Picture markedPicture = canvas.Picture();
    highlight.HighlightLine(canvas, line);
    FUZZ_CHECK(canvas.Picture() == markedPicture);
  }
  highlight.HighlightLine(canvas, "");
  FUZZ_CHECK(highlight.LastHighlight().empty());
  sketch::PaintGrid(canvas);
  FUZZ_CHECK(canvas.Picture() == before);
  FUZZ_CHECK(SameState(sketch::SaveCanvasState(canvas), state));
}

// The lines drawn onto the SVG writer: an XML parser reads the document to
// its end, and finds a <text> element for no more than the legend lines.
void CheckSvgDocument(const std::vector<std::string_view>& lines) {
  sketch::SvgSurface svg(&legendtext::SharedTextPainter());
  svg.font.name = legendFontName;
  sketch::DrawPassCounters pass;
  AlternatingHost host;
  sketch::RunDrawPass(svg, sketch::LineList(std::vector<std::string>(lines.begin(), lines.end())), host, pass);
  QXmlStreamReader reader(QByteArray::fromStdString(svg.Document()));
  int texts = 0;
  while (!reader.atEnd()) {
    if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QStringLiteral("text")) ++texts;
  }
  FUZZ_CHECK(!reader.hasError());
  int legendLines = 0;
  for (const std::string_view line : lines) legendLines += line.starts_with("T(") ? 1 : 0;
  FUZZ_CHECK(texts <= legendLines);
}

// A complete polyline of at most 255 characters whose points all coincide:
// it counts towards the sketch size but draws nothing.
std::string_view FillerLine() {
  static const std::string line = [] {
    std::string text = "L(0;-9;-9";
    while (text.size() + 7 <= sketch::kCountedMax) text += ";-9;-9";
    return text + ")";
  }();
  return line;
}

// Filler lines whose characters together pass the large-sketch warning.
constexpr std::size_t kFillerLines = sketch::kDrawingSizeWarnAbove / (sketch::kCountedMax - 6) + 1;

sketch::Canvas& FreshCanvas() {
  static sketch::Canvas canvas;
  canvas.pen = sketch::CanvasPen{};
  canvas.brush = sketch::CanvasBrush{};
  canvas.font = sketch::CanvasFont{};
  canvas.font.name = legendFontName;
  canvas.SetTextPainter(&legendtext::SharedTextPainter());
  canvas.FillRect(0, 0, sketch::kPictureWidth, sketch::kPictureHeight);
  canvas.brush.style = sketch::BrushStyle::Clear;
  canvas.MoveTo(0, 0);
  return canvas;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  (void)argc;
  fuzzsupport::StartOffscreenApplication(*argv);  // text drawing needs fonts
  legendFontName = qttext::ChooseLegendFontName();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> lines = sketch::SplitLines(text);
  for (const std::string_view line : lines) {  // whole lines, 255 or not: scanning is cheap
    ScanLine(line);
    CheckElementRoundTrip(line);
  }

  std::size_t kept = 0;
  for (std::size_t bytes = 0; kept < lines.size() && kept < kMaxLines; ++kept) {
    bytes += sketch::CutCounted(lines[kept]).size();
    if (bytes > kMaxDrawnBytes) break;
  }
  lines.resize(kept);

  sketch::Canvas& canvas = FreshCanvas();
  sketch::DrawPassCounters pass;
  AlternatingHost host;
  sketch::DrawContext context{canvas, pass, &host};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = sketch::CutCounted(lines[i]);
    pass.LineIndex = static_cast<std::int32_t>(i);
    pass.LineLength = static_cast<std::int32_t>(line.size());
    const std::int32_t drawnBefore = pass.DrawnChars;
    sketch::DrawElement(context, line, sketch::kBlack, sketch::PenMode::Copy);
    FUZZ_CHECK(pass.DrawnChars >= drawnBefore && pass.DrawnChars - drawnBefore <= pass.LineLength + 1);
    if (!sketch::IsSketchLine(line)) FUZZ_CHECK(pass.DrawnChars == drawnBefore);
  }
  CheckOverlaysRevert(canvas, lines);
  CheckSvgDocument(lines);

  // The whole pass for every fourth input length: it repeats the drawing
  // work. For every eighth it starts with filler lines, so that the
  // large-sketch warning comes up.
  if (size % 4 == 0) {
    std::vector<std::string_view> passLines;
    if (size % 8 == 0) passLines.assign(kFillerLines, FillerLine());
    passLines.insert(passLines.end(), lines.begin(), lines.end());
    const sketch::LineList source(std::vector<std::string>(passLines.begin(), passLines.end()));
    AlternatingHost passHost;
    sketch::DrawPassCounters counters;
    sketch::RunDrawPass(canvas, source, passHost, counters);
    if (source.LineCount() > 0) {
      FUZZ_CHECK(counters.Stopped == (passHost.cancels > 0));
      if (!counters.Stopped) FUZZ_CHECK(counters.LineIndex == source.LineCount());
      FUZZ_CHECK(passHost.cancels <= 1);
      FUZZ_CHECK((passHost.warnings == 1) == (counters.DrawnChars > sketch::kDrawingSizeWarnAbove));
    }
  }
  return 0;
}
