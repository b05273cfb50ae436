#include "format/SketchElement.h"

#include "format/CountedString.h"
#include "format/FieldScanner.h"

namespace sketch {

std::string LegendSizeToken(std::uint16_t size, bool up) {
  const std::uint16_t index = size < kLegendSizeLetters.size() ? size : kMediumLegend;
  std::string token(1, kLegendSizeLetters[index]);
  if (up) token += kUpwardLetter;
  return token;
}

void ResolvePoints(const Element& element, std::vector<Point>& resolved) {
  const Reference rule = LayoutOf(element.kind).reference;
  resolved.clear();
  for (std::size_t i = 0; i < element.points.size(); ++i) {
    const ElementPoint& point = element.points[i];
    const Point reference = i == 0 ? Point{} : ReferencePoint(rule, resolved, i);
    resolved.push_back({point.ResolveX(reference.x), point.ResolveY(reference.y)});
  }
}

std::vector<Point> ResolvedPoints(const Element& element) {
  std::vector<Point> resolved;
  ResolvePoints(element, resolved);
  return resolved;
}

Point ReferencePoint(Reference rule, std::span<const Point> resolved, std::size_t index) {
  switch (rule) {
    case Reference::None:
      return {};
    case Reference::PointBefore:
      return resolved[index - 1];
    case Reference::FirstPoint:
      return resolved[0];
  }
  return {};
}

namespace {

// `token`, as written, is `word` once upper-cased.
bool TokenIs(std::string_view token, std::string_view word) {
  if (token.size() != word.size()) return false;
  for (std::size_t i = 0; i < token.size(); ++i) {
    if (TokenUpper(token[i]) != word[i]) return false;
  }
  return true;
}

// The first character is one of kLegendSizeLetters, and a second one, if
// any, is kUpwardLetter; later characters are not looked at.
bool ReadSizeField(std::string_view& rest, Element& element) {
  const std::string_view token = ScanRawField(rest).token;
  if (token.empty()) return false;
  const char letter = TokenUpper(token[0]);
  std::uint16_t size = 0;
  while (size < kLegendSizeLetters.size() && kLegendSizeLetters[size] != letter) ++size;
  if (size == kLegendSizeLetters.size()) return false;
  if (token.size() >= 2 && TokenUpper(token[1]) != kUpwardLetter) return false;
  element.legendSize = size;
  element.up = token.size() >= 2;
  return true;
}

}  // namespace

bool ReadPenField(std::string_view& rest, Pen& pen) {
  const RawField field = ScanRawField(rest);
  std::int32_t width = 0;
  if (NumberValue(field.token, width)) {
    pen = {PenStyle::Solid, width};
    return true;
  }
  for (const PenToken& entry : kBrokenPenTokens) {
    if (TokenIs(field.token, entry.token)) {
      pen = {entry.style, kBrokenPenWidth};
      return true;
    }
  }
  return false;
}

bool ReadFillField(std::string_view& rest, Fill& fill) {
  const std::string_view token = ScanRawField(rest).token;
  if (token.size() != 1) return false;
  for (const FillToken& entry : kFillTokens) {
    if (TokenUpper(token[0]) == entry.letter) {
      fill = entry.fill;
      return true;
    }
  }
  return false;
}

namespace {

// Reads the fields of one kind, counting each one read into `fields`.
class FieldReader {
 public:
  FieldReader(std::string_view rest, Element& element, int& fields) : rest_(rest), element_(element), fields_(fields) {}

  std::string_view Rest() const { return rest_; }

  bool Pen() { return Count(ReadPenField(rest_, element_.pen)); }
  bool Fill() { return Count(ReadFillField(rest_, element_.fill)); }
  bool Size() { return Count(ReadSizeField(rest_, element_)); }
  bool Reserved() { return Count(NumberValue(ScanRawField(rest_).token, element_.reserved)); }
  // One coordinate pair; the point is kept only when both numbers read.
  // `offsets`: a ':' mark makes the number an offset. Without it (the first
  // point of a line, the foot of a legend) the numbers are absolute.
  bool Point(bool offsets) {
    ElementPoint point;
    const RawField x = ScanRawField(rest_);
    if (!Count(NumberValue(x.token, point.x))) return false;
    const RawField y = ScanRawField(rest_);
    if (!Count(NumberValue(y.token, point.y))) return false;
    point.relativeX = offsets && x.separator == kRelativeMarker;
    point.relativeY = offsets && y.separator == kRelativeMarker;
    element_.points.push_back(point);
    return true;
  }
  bool Text() {
    QuotedText quoted = ReadQuotedText(rest_, kCountedMax);
    if (!Count(quoted.ok)) return false;
    element_.text = std::move(quoted.text);
    element_.closed = !rest_.empty() && rest_.front() == kLegendQuote;
    return true;
  }
  // The polyline's end check: after the last complete point, the next
  // non-blank character is ')'. Consumes nothing.
  bool Close() {
    std::string lastToken;
    element_.closed = NextIsClose(rest_, lastToken);
    return element_.closed;
  }

 private:
  bool Count(bool ok) {
    if (ok) ++fields_;
    return ok;
  }

  std::string_view rest_;
  Element& element_;
  int& fields_;
};

// Fields in the order of the kind's layout, up to the first that fails.
void ReadFields(const KindLayout& layout, FieldReader& reader) {
  if (!(layout.lead == LeadField::Pen ? reader.Pen() : reader.Size())) return;
  if ((layout.fill && !reader.Fill()) || (layout.reserved && !reader.Reserved())) return;
  const bool offsets = layout.reference != Reference::None;
  for (int i = 0; i < layout.points; ++i) {
    if (!reader.Point(offsets && i > 0)) return;
  }
  if (layout.morePoints) {
    while (!reader.Close() && reader.Point(offsets)) {
    }
  }
  if (layout.text) reader.Text();
}

}  // namespace

bool ReadElement(std::string_view text, ElementRead& read) {
  const std::string_view line = CutCounted(text);
  const std::optional<ElementKind> kind = IsSketchLine(line) ? KindOfLetter(line[0]) : std::nullopt;
  if (!kind) return false;

  Element& element = read.element;
  element.kind = *kind;
  element.pen = {};
  element.fill = Fill::Empty;
  element.reserved = 0;
  element.points.clear();  // keeps its storage for the next line
  element.legendSize = kMediumLegend;
  element.up = false;
  element.text.clear();
  element.closed = LayoutOf(*kind).ClosedByDefault();
  read.fieldsRead = 0;

  FieldReader reader(line.substr(1), element, read.fieldsRead);  // '(' reads as the first separator
  ReadFields(LayoutOf(*kind), reader);
  read.consumed = line.size() - reader.Rest().size();
  return true;
}

std::optional<ElementRead> ReadElement(std::string_view line) {
  ElementRead read;
  if (!ReadElement(line, read)) return std::nullopt;
  return read;
}

std::string PenStyleToken(const Pen& pen) {
  const std::string_view broken = BrokenPenToken(pen.style);
  return broken.empty() ? CoordText(pen.width) : std::string(broken);
}

namespace {

void AppendNumber(std::string& text, std::int32_t value, bool relative) {
  text += relative ? kRelativeMarker : kFieldMark;
  text += CoordText(value);
}

}  // namespace

std::string PointText(const ElementPoint& point) {
  std::string text;
  AppendNumber(text, point.x, point.relativeX);
  AppendNumber(text, point.y, point.relativeY);
  return text;
}

std::string WriteElement(const Element& element) {
  std::string line{KindLetter(element.kind), kOpenMark};
  const auto appendField = [&line](std::string_view token) {
    line += kFieldMark;
    line += token;
  };
  const KindLayout& layout = LayoutOf(element.kind);
  line += layout.lead == LeadField::Pen ? PenStyleToken(element.pen) : LegendSizeToken(element.legendSize, element.up);
  if (layout.fill) appendField(std::string(1, FillLetter(element.fill)));
  if (layout.reserved) appendField(CoordText(element.reserved));
  for (const ElementPoint& point : element.points) line += PointText(point);

  if (layout.text) {
    line += kFieldMark;
    line += kLegendQuote;
    for (const char c : element.text) line += c == kLegendQuote ? kLegendQuoteStandIn : c;
    if (element.closed) line += kLegendQuote;
  }
  if (element.closed) line += kCloseMark;
  return std::string(CutCounted(line));
}

}  // namespace sketch
