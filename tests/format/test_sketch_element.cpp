#include <QFile>
#include <QTest>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "format/CountedString.h"
#include "format/SketchElement.h"
#include "format/SketchTokens.h"
#include "test_classes.h"

using namespace sketch;

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(sketch::Element)

namespace sketch {

// Failure messages name every field.
char* toString(const Element& e) {
  std::string text = std::string(1, KindLetter(e.kind)) + " pen " + std::to_string(int(e.pen.style)) + "/" +
                     std::to_string(e.pen.width) + " fill " + FillLetter(e.fill) + " reserved " +
                     std::to_string(e.reserved) + " points";
  for (const ElementPoint& p : e.points) {
    text += " " + std::string(p.relativeX ? ":" : "") + std::to_string(p.x) + "," + (p.relativeY ? ":" : "") +
            std::to_string(p.y);
  }
  text += " size " + std::to_string(e.legendSize) + (e.up ? " up" : "") + " text [" + e.text + "]" +
          (e.closed ? " closed" : " open");
  return qstrdup(text.c_str());
}

}  // namespace sketch

namespace {

ElementPoint At(int x, int y) { return {x, y, false, false}; }
ElementPoint By(int dx, int dy) { return {dx, dy, true, true}; }

const Pen kThin{PenStyle::Solid, 1};
const Pen kDashed{PenStyle::Dash, 1};

Element Polyline(Pen pen, std::vector<ElementPoint> points, bool closed = true) {
  Element e;
  e.kind = ElementKind::Polyline;
  e.pen = pen;
  e.points = std::move(points);
  e.closed = closed;
  return e;
}
Element Box(ElementKind kind, Pen pen, Fill fill, ElementPoint first, ElementPoint second) {
  Element e;
  e.kind = kind;
  e.pen = pen;
  e.fill = fill;
  e.points = {first, second};
  return e;
}
Element Arc(Pen pen, int reserved, ElementPoint centre, ElementPoint corner) {
  Element e;
  e.kind = ElementKind::Arc;
  e.pen = pen;
  e.reserved = reserved;
  e.points = {centre, corner};
  return e;
}
Element Legend(std::uint16_t size, bool up, ElementPoint foot, std::string text, bool closed = true) {
  Element e;
  e.kind = ElementKind::Legend;
  e.points = {foot};
  e.legendSize = size;
  e.up = up;
  e.text = std::move(text);
  e.closed = closed;
  return e;
}

}  // namespace

void TestSketchElement::readsEveryKind_data() {
  QTest::addColumn<std::string>("line");
  QTest::addColumn<Element>("element");
  QTest::addColumn<int>("fields");
  QTest::addColumn<int>("consumed");
  const auto R = ElementKind::Rectangle, E = ElementKind::Ellipse;
  QTest::newRow("segment") << std::string("L(1;10;20;110;20)") << Polyline(kThin, {At(10, 20), At(110, 20)}) << 5 << 16;
  QTest::newRow("relative polyline") << std::string("L(1;10;20:40:0:0:40)")
                                     << Polyline(kThin, {At(10, 20), By(40, 0), By(0, 40)}) << 7 << 19;
  QTest::newRow("first non-blank separator decides, lower-case style")
      << std::string("L(ds;10;20;:100;20)") << Polyline(kDashed, {At(10, 20), At(100, 20)}) << 5 << 18;
  QTest::newRow("first point absolute whatever its marks, y alone relative")
      << std::string("L(1:10:20;30:-40)") << Polyline(kThin, {At(10, 20), {30, -40, false, true}}) << 5 << 16;
  QTest::newRow("plus signs separate") << std::string("L(1;+10;20;110;+20)")
                                       << Polyline(kThin, {At(10, 20), At(110, 20)}) << 5 << 18;
  QTest::newRow("8 digits read as 7") << std::string("L(1;10;20;12345678;20)")
                                      << Polyline(kThin, {At(10, 20), At(1234567, 20)}) << 5 << 21;
  QTest::newRow("wide pen, zero and negative coordinates")
      << std::string("L(10;0;-5;-999999;9999999)") << Polyline({PenStyle::Solid, 10}, {At(0, -5), At(-999999, 9999999)})
      << 5 << 25;
  QTest::newRow("rectangle") << std::string("R(1;E;10;20;110;70)")
                             << Box(R, kThin, Fill::Empty, At(10, 20), At(110, 70)) << 6 << 18;
  QTest::newRow("relative ellipse, dashed, filled")
      << std::string("E(DS;F;10;20:100:50)") << Box(E, kDashed, Fill::Filled, At(10, 20), By(100, 50)) << 6 << 19;
  QTest::newRow("nothing after the sixth field read")
      << std::string("R(2;f;110;70;10;20;99;99 junk")
      << Box(R, {PenStyle::Solid, 2}, Fill::Filled, At(110, 70), At(10, 20)) << 6 << 18;
  QTest::newRow("arc, reserved field kept")
      << std::string("A(1;7;100;100:50:-40)") << Arc(kThin, 7, At(100, 100), By(50, -40)) << 6 << 20;
  QTest::newRow("dotted arc") << std::string("A(DT;0;100;100;150;60)")
                              << Arc({PenStyle::Dot, 1}, 0, At(100, 100), At(150, 60)) << 6 << 21;
  QTest::newRow("legend") << std::string("T(M;10;190;\"Hello\")") << Legend(1, false, At(10, 190), "Hello") << 4 << 17;
  QTest::newRow("upward legend") << std::string("T(LU;20;150;\"up text\")") << Legend(2, true, At(20, 150), "up text")
                                 << 4 << 20;
  QTest::newRow("size token beyond 2 characters, marks without effect")
      << std::string("T(mux:10:20:\"x\")") << Legend(1, true, At(10, 20), "x") << 4 << 14;
  QTest::newRow("legend text keeps punctuation and 8-bit characters")
      << std::string("T(S;1;2;\"a;b(c):'d'\xE4\")") << Legend(0, false, At(1, 2), "a;b(c):'d'\xE4") << 4 << 20;
  QTest::newRow("legend without closing quote")
      << std::string("T(S;10;20;\"abc") << Legend(0, false, At(10, 20), "abc", false) << 4 << 14;
  QTest::newRow("close beyond character 255 is not read")
      << "L(1;10;20;30;40" + std::string(250, ' ') + ")" << Polyline(kThin, {At(10, 20), At(30, 40)}, false) << 5
      << 255;
}

void TestSketchElement::readsEveryKind() {
  QFETCH(std::string, line);
  QFETCH(Element, element);
  QFETCH(int, fields);
  QFETCH(int, consumed);
  const std::optional<ElementRead> read = ReadElement(line);
  QVERIFY(read.has_value());
  QCOMPARE(read->element, element);
  QCOMPARE(read->fieldsRead, fields);
  QCOMPARE(read->consumed, std::size_t(consumed));
  QVERIFY(read->Drawable());
}

void TestSketchElement::partlyReadLines_data() {
  QTest::addColumn<std::string>("line");
  QTest::addColumn<int>("fields");  // -1: not a sketch line
  QTest::addColumn<bool>("pen");
  QTest::addColumn<bool>("fill");
  QTest::addColumn<bool>("drawable");
  QTest::addColumn<bool>("closed");
  QTest::addColumn<int>("consumed");
  QTest::newRow("unknown style") << std::string("L(DX;10;20;110;20)") << 0 << false << false << false << false << 4;
  QTest::newRow("one point: the pen is read") << std::string("L(5;1;2)") << 3 << true << false << false << false << 8;
  QTest::newRow("unit suffix") << std::string("L(1;10;20;40px;20)") << 3 << true << false << false << false << 14;
  QTest::newRow("odd number counts, is dropped")
      << std::string("L(1;10;20;30;40;50)") << 6 << true << false << true << false << 19;
  QTest::newRow("word before close") << std::string("L(1;10;20;30;40;x)") << 5 << true << false << true << false << 17;
  QTest::newRow("separator before close")
      << std::string("L(1;10;20;30;40;)") << 5 << true << false << true << false << 17;
  QTest::newRow("no close") << std::string("L(1;10;20;30;40") << 5 << true << false << true << false << 15;
  QTest::newRow("blanks before close") << std::string("L(1;10;20;30;40  )") << 5 << true << false << true << true << 15;
  QTest::newRow("bad fill after a good style")
      << std::string("R(3;X;0;0;10;10)") << 1 << true << false << false << true << 5;
  QTest::newRow("long fill word") << std::string("R(1;FULL;10;20;110;70)") << 1 << true << false << false << true << 8;
  QTest::newRow("short of a corner: pen and fill read")
      << std::string("E(1;E;10;20)") << 4 << true << true << false << true << 12;
  QTest::newRow("short of a field") << std::string("R(2;F;10;20;110)") << 5 << true << true << false << true << 16;
  QTest::newRow("rectangle without close still draws")
      << std::string("R(2;F;10;20;110;70") << 6 << true << true << true << true << 18;
  QTest::newRow("arc reserved not a number")
      << std::string("A(1;X;100;100;150;60)") << 1 << true << false << false << true << 5;
  QTest::newRow("arc short") << std::string("A(DT;0;1)") << 3 << true << false << false << true << 9;
  QTest::newRow("legend size word") << std::string("T(MEDIUM;10;120;\"x\")") << 0 << false << false << false << false
                                    << 8;
  QTest::newRow("legend size letter") << std::string("T(X;10;120;\"x\")") << 0 << false << false << false << false << 3;
  QTest::newRow("empty legend") << std::string("T(S;10;120;\"\")") << 3 << false << false << false << false << 12;
  QTest::newRow("legend without quote: all read")
      << std::string("T(S;10;120;x)") << 3 << false << false << false << false << 13;
  QTest::newRow("legend short of y") << std::string("T(S;10)") << 2 << false << false << false << false << 7;
  QTest::newRow("kind letter only") << std::string("L(") << 0 << false << false << false << false << 2;
  QTest::newRow("leading blank") << std::string(" L(1;10;20;110;20)") << -1 << false << false << false << false << 0;
  QTest::newRow("lower-case kind") << std::string("l(1;10;20;110;20)") << -1 << false << false << false << false << 0;
  QTest::newRow("quote mark") << std::string(">L(1;10;20;110;20)") << -1 << false << false << false << false << 0;
  QTest::newRow("no parenthesis") << std::string("L 1;10;20") << -1 << false << false << false << false << 0;
  QTest::newRow("empty") << std::string("") << -1 << false << false << false << false << 0;
}

void TestSketchElement::partlyReadLines() {
  QFETCH(std::string, line);
  QFETCH(int, fields);
  QFETCH(bool, pen);
  QFETCH(bool, fill);
  QFETCH(bool, drawable);
  QFETCH(bool, closed);
  QFETCH(int, consumed);
  const std::optional<ElementRead> read = ReadElement(line);
  QCOMPARE(read.has_value(), fields >= 0);
  if (!read) return;
  QCOMPARE(read->fieldsRead, fields);
  QCOMPARE(read->HasPen(), pen);
  QCOMPARE(read->HasFill(), fill);
  QCOMPARE(read->Drawable(), drawable);
  QCOMPARE(read->element.closed, closed);
  QCOMPARE(read->consumed, std::size_t(consumed));
}

void TestSketchElement::writesTheDrawingWindowsForm_data() {
  QTest::addColumn<Element>("element");
  QTest::addColumn<std::string>("written");
  const auto R = ElementKind::Rectangle, E = ElementKind::Ellipse;
  QTest::newRow("segment") << Polyline(kThin, {At(10, 20), At(110, 20)}) << std::string("L(1;10;20;110;20)");
  QTest::newRow("segment, relative") << Polyline(kThin, {At(10, 20), By(100, 0)}) << std::string("L(1;10;20:100:0)");
  QTest::newRow("polyline") << Polyline(kThin, {At(10, 20), At(50, 20), At(50, 60)})
                            << std::string("L(1;10;20;50;20;50;60)");
  QTest::newRow("polyline, relative") << Polyline(kThin, {At(10, 20), By(40, 0), By(0, 40)})
                                      << std::string("L(1;10;20:40:0:0:40)");
  QTest::newRow("open polyline: no close")
      << Polyline({PenStyle::Solid, 10}, {At(10, 20)}, false) << std::string("L(10;10;20");
  QTest::newRow("one relative coordinate")
      << Polyline(kThin, {At(1, 2), {3, -4, false, true}}) << std::string("L(1;1;2;3:-4)");
  QTest::newRow("negative width as read")
      << Polyline({PenStyle::Solid, -2}, {At(10, 10), At(60, 10)}) << std::string("L(-2;10;10;60;10)");
  QTest::newRow("rectangle") << Box(R, kThin, Fill::Empty, At(10, 20), At(110, 70))
                             << std::string("R(1;E;10;20;110;70)");
  QTest::newRow("rectangle, relative") << Box(R, kThin, Fill::Empty, At(10, 20), By(100, 50))
                                       << std::string("R(1;E;10;20:100:50)");
  QTest::newRow("ellipse, dashed, filled")
      << Box(E, kDashed, Fill::Filled, At(10, 20), At(110, 70)) << std::string("E(DS;F;10;20;110;70)");
  QTest::newRow("broken pen: the style alone")
      << Box(E, {PenStyle::DashDot, 3}, Fill::Empty, At(1, 2), At(3, 4)) << std::string("E(DD;E;1;2;3;4)");
  QTest::newRow("arc") << Arc(kThin, 0, At(100, 100), At(150, 60)) << std::string("A(1;0;100;100;150;60)");
  QTest::newRow("arc, relative") << Arc(kThin, 0, At(100, 100), By(50, -40)) << std::string("A(1;0;100;100:50:-40)");
  QTest::newRow("legend") << Legend(1, false, At(10, 190), "Hello") << std::string("T(M;10;190;\"Hello\")");
  QTest::newRow("legend, upward") << Legend(2, true, At(20, 150), "up text") << std::string("T(LU;20;150;\"up text\")");
  QTest::newRow("legend, small upward") << Legend(0, true, At(-3, 0), "s") << std::string("T(SU;-3;0;\"s\")");
  QTest::newRow("legend size out of range: medium") << Legend(7, false, At(1, 2), "x") << std::string("T(M;1;2;\"x\")");
  QTest::newRow("double quote in a legend: apostrophe")
      << Legend(0, false, At(1, 2), "say \"hi\"") << std::string("T(S;1;2;\"say 'hi'\")");
  QTest::newRow("open legend") << Legend(0, false, At(10, 20), "abc", false) << std::string("T(S;10;20;\"abc");
}

void TestSketchElement::writesTheDrawingWindowsForm() {
  QFETCH(Element, element);
  QFETCH(std::string, written);
  QCOMPARE(WriteElement(element), written);
}

// Each entry of the kind table, written with the points it needs (and its
// text), reads back whole and drawable; the same line without its last
// field is not drawn. A new kind's entry is checked without a new case.
void TestSketchElement::everyKindNeedsItsLastRequiredField() {
  for (const KindLayout& layout : kKindTable) {
    Element element;
    element.kind = layout.kind;
    element.points = {At(10, 20)};
    const bool offsets = layout.reference != Reference::None;
    for (int i = 1; i < layout.points; ++i) element.points.push_back(offsets ? By(5, -5) : At(30, 40));
    if (layout.text) element.text = "x";
    const std::string line = WriteElement(element);
    const std::optional<ElementRead> read = ReadElement(line);
    QVERIFY2(read && read->Drawable(), line.c_str());
    QCOMPARE(read->fieldsRead, layout.RequiredFields());
    QCOMPARE(read->element, element);

    const std::string shorter = line.substr(0, line.find_last_of(";:"));
    const std::optional<ElementRead> cut = ReadElement(shorter);
    QVERIFY2(cut && !cut->Drawable(), shorter.c_str());
    QCOMPARE(cut->fieldsRead, layout.RequiredFields() - 1);
  }
}

void TestSketchElement::writtenLinesAreCutAt255() {
  // A polyline of 41 far vertices needs more than 255 characters: the line
  // is cut there and then reads as incomplete. Each vertex takes 16
  // characters after "L(10", so 15 fit whole and the 16th loses the end of
  // its y.
  Element polyline = Polyline({PenStyle::Solid, 10}, {At(-999999, -999999)});
  for (int i = 0; i < 40; ++i) polyline.points.push_back(i % 2 ? At(-999999, -999999) : At(9999999, 9999999));
  const std::string written = WriteElement(polyline);
  QCOMPARE(written.size(), kCountedMax);
  QCOMPARE(written.substr(0, 30), std::string("L(10;-999999;-999999;9999999;9"));
  QCOMPARE(written.substr(244), std::string(";9999999;99"));
  const std::optional<ElementRead> read = ReadElement(written);
  QVERIFY(read && read->Drawable());
  QVERIFY(!read->element.closed);
  QCOMPARE(read->element.points.size(), std::size_t{16});
  const std::vector<ElementPoint> whole(polyline.points.begin(), polyline.points.begin() + 15);
  QCOMPARE(std::vector<ElementPoint>(read->element.points.begin(), read->element.points.begin() + 15), whole);
  QCOMPARE(read->element.points.back(), At(9999999, 99));

  // A legend of 255 characters loses its closing quote and parenthesis.
  const std::string text(250, 'W');
  const std::optional<ElementRead> legend = ReadElement(WriteElement(Legend(0, false, At(1, 2), text)));
  QVERIFY(legend && legend->Drawable());
  QVERIFY(!legend->element.closed);
  QCOMPARE(legend->element.text, text.substr(0, 255 - std::string("T(S;1;2;\"").size()));
}

namespace {

// Sketch lines as a person or a newsreader might leave them: every kind,
// pen, fill, size and direction, any separators, lower case, relative
// points, long tokens, trailing text; each with the element it stands for.
// Some are then damaged (cut short, or one field spoilt) and stand for
// nothing known.
class LineGenerator {
 public:
  explicit LineGenerator(std::uint32_t seed) : engine_(seed) {}

  struct Generated {
    std::string line;
    std::optional<Element> element;  // none once damaged
  };

  Generated Next() {
    Element element;
    std::string line;
    switch (Between(0, 4)) {
      case 0:
        line = PolylineLine(element);
        break;
      case 1:
        line = BoxLine(element, ElementKind::Rectangle);
        break;
      case 2:
        line = BoxLine(element, ElementKind::Ellipse);
        break;
      case 3:
        line = ArcLine(element);
        break;
      default:
        line = LegendLine(element);
        break;
    }
    if (line.size() > kCountedMax || Chance(30)) return {Damage(line), std::nullopt};
    return {line, element};
  }

 private:
  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine_); }
  bool Chance(int percent) { return Between(0, 99) < percent; }
  template <typename T>
  const T& Pick(const std::vector<T>& items) {
    return items[static_cast<std::size_t>(Between(0, static_cast<int>(items.size()) - 1))];
  }

  std::string Cased(std::string_view token) {
    std::string text(token);
    for (char& c : text) {
      if (c >= 'A' && c <= 'Z' && Chance(30)) c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
  }
  std::string Separator(bool relative) {
    static const std::vector<std::string> absolute = {";", ";", ";", ",", " ", " ; ", "+", "\t;", "\xA7", ";:", "(("};
    static const std::vector<std::string> offset = {":", ":", " :", "\t:", ":;", "::"};
    return Pick(relative ? offset : absolute);
  }
  int Coordinate() {
    if (Chance(10)) return Between(-999999, 9999999);
    return Between(-40, 360);
  }
  // A number in at most 7 characters, sometimes with leading zeros.
  std::string NumberText(int value) {
    std::string text = CoordText(value);
    while (value >= 0 && text.size() < kTokenMaxLength && Chance(10)) text.insert(0, "0");
    return text;
  }
  // A point written with its own marks; `offsets` false: marks have no effect.
  std::string PointField(ElementPoint& point, bool offsets) {
    const bool markX = Chance(30), markY = Chance(30);
    point = {Coordinate(), Coordinate(), offsets && markX, offsets && markY};
    return Separator(markX) + NumberText(point.x) + Separator(markY) + NumberText(point.y);
  }
  std::string PenField(Pen& pen) {
    if (Chance(30)) {
      const PenToken& broken = kBrokenPenTokens[static_cast<std::size_t>(Between(0, 2))];
      pen = {broken.style, kBrokenPenWidth};
      return Cased(broken.token);
    }
    pen = {PenStyle::Solid, Chance(10) ? Between(-99, 9999999) : Between(0, 10)};
    return NumberText(pen.width);
  }

  std::string PolylineLine(Element& element) {
    element.kind = ElementKind::Polyline;
    std::string line = "L(" + PenField(element.pen);
    const int points = Between(2, 8);
    element.points.resize(static_cast<std::size_t>(points));
    for (int i = 0; i < points; ++i) line += PointField(element.points[static_cast<std::size_t>(i)], i > 0);
    element.closed = Chance(80);
    if (element.closed) return line + Pick<std::string>({")", "  )", ") and more", ")(1;2;3;4)"});
    return line + Pick<std::string>({"", ";", " ;)", " x)", ";7)", "  "});
  }
  std::string BoxLine(Element& element, ElementKind kind) {
    element.kind = kind;
    std::string line = std::string(1, KindLetter(kind)) + "(" + PenField(element.pen);
    element.fill = Chance(50) ? Fill::Filled : Fill::Empty;
    line += Separator(false) + Cased(std::string(1, FillLetter(element.fill)));
    element.points.resize(2);
    line += PointField(element.points[0], false) + PointField(element.points[1], true);
    return line + Pick<std::string>({")", "", " junk", ";9;9)"});
  }
  std::string ArcLine(Element& element) {
    element.kind = ElementKind::Arc;
    std::string line = "A(" + PenField(element.pen);
    element.reserved = Chance(80) ? 0 : Between(-9, 99);
    line += Separator(false) + NumberText(element.reserved);
    element.points.resize(2);
    line += PointField(element.points[0], false) + PointField(element.points[1], true);
    return line + Pick<std::string>({")", ""});
  }
  std::string LegendLine(Element& element) {
    element.kind = ElementKind::Legend;
    element.legendSize = static_cast<std::uint16_t>(Between(0, 2));
    element.up = Chance(30);
    std::string size(1, kLegendSizeLetters[element.legendSize]);
    if (element.up) size += kUpwardLetter;
    if (element.up && Chance(20)) size += Pick<std::string>({"X", "p", "12345"});
    std::string line = "T(" + Cased(size);
    element.points.resize(1);
    line += PointField(element.points[0], false);
    line += Pick<std::string>({";\"", " \"", ";junk \"", ":\""});
    static const std::string characters = "abc XYZ09;:()',.-+\xE4\xDF\t";
    const int length = Between(1, 30);
    for (int i = 0; i < length; ++i)
      element.text += characters[static_cast<std::size_t>(Between(0, static_cast<int>(characters.size()) - 1))];
    line += element.text;
    element.closed = Chance(80);
    if (element.closed) line += Pick<std::string>({"\")", "\"", "\") \"more\""});
    return line;
  }

  std::string Damage(std::string line) {
    if (Chance(50)) return line.substr(0, static_cast<std::size_t>(Between(0, static_cast<int>(line.size()))));
    static const std::vector<std::string> spoilers = {"40px", "-", "10-5", "X", "FULL", "", "\"", ")", "DSX"};
    const std::size_t at = static_cast<std::size_t>(Between(2, static_cast<int>(line.size())));
    return line.insert(at, ";" + Pick(spoilers));
  }

  static constexpr std::size_t kTokenMaxLength = 7;
  std::mt19937 engine_;
};

}  // namespace

void TestSketchElement::readWriteReadOverGeneratedLines() {
  LineGenerator generator(20240611);
  int drawable = 0, damaged = 0;
  for (int i = 0; i < 20000; ++i) {
    const LineGenerator::Generated generated = generator.Next();
    const std::string& line = generated.line;
    const std::optional<ElementRead> read = ReadElement(line);
    QVERIFY2(read.has_value() == IsSketchLine(line), line.c_str());
    if (!read) continue;
    if (generated.element) {
      // The reader takes out what the line was made from.
      QVERIFY2(read->element == *generated.element, line.c_str());
      QVERIFY2(read->Drawable(), line.c_str());
    } else {
      ++damaged;
    }
    drawable += read->Drawable() ? 1 : 0;

    const std::string written = WriteElement(read->element);
    const std::optional<ElementRead> again = ReadElement(written);
    QVERIFY2(again.has_value(), (line + " -> " + written).c_str());
    QVERIFY2(again->element == read->element, (line + " -> " + written).c_str());
    QVERIFY2(again->Drawable() == read->Drawable(), (line + " -> " + written).c_str());
    if (read->Drawable()) QCOMPARE(WriteElement(again->element), written);  // the written form is settled
  }
  // The generator reaches both sides.
  QVERIFY(drawable > 10000);
  QVERIFY(damaged > 3000);
}

namespace {

// The values of a libFuzzer dictionary: name="value" lines, \xNN, \" and \\ escapes.
std::set<std::string> DictionaryValues(const QByteArray& text) {
  std::set<std::string> values;
  for (const QByteArray& line : text.split('\n')) {
    const qsizetype open = line.indexOf('"');
    if (line.startsWith('#') || open < 0 || !line.endsWith('"')) continue;
    const QByteArray quoted = line.mid(open + 1, line.size() - open - 2);
    std::string value;
    for (qsizetype i = 0; i < quoted.size(); ++i) {
      if (quoted[i] == '\\' && i + 1 < quoted.size() && quoted[i + 1] == 'x' && i + 3 < quoted.size()) {
        value += static_cast<char>(quoted.mid(i + 2, 2).toInt(nullptr, 16));
        i += 3;
      } else if (quoted[i] == '\\' && i + 1 < quoted.size()) {
        value += quoted[++i];
      } else {
        value += quoted[i];
      }
    }
    values.insert(value);
  }
  return values;
}

}  // namespace

void TestSketchElement::fuzzDictionaryListsEveryToken() {
  QFile file(SKETCHPOST_FUZZ_DICTIONARY);
  QVERIFY2(file.open(QIODevice::ReadOnly), SKETCHPOST_FUZZ_DICTIONARY);
  const std::set<std::string> values = DictionaryValues(file.readAll());
  QVERIFY(values.count("\xe9") == 1 && values.count("\x0d\x0a") == 1);  // the escapes are understood

  std::vector<std::string> tokens;
  for (const ElementKind kind : kElementKinds) tokens.push_back({KindLetter(kind), kOpenMark});
  for (const PenToken& pen : kBrokenPenTokens) tokens.emplace_back(pen.token);
  tokens.push_back(CoordText(kOfferedPenWidthMin));
  tokens.push_back(CoordText(kOfferedPenWidthMax));
  for (const FillToken& fill : kFillTokens) tokens.emplace_back(1, fill.letter);
  for (std::uint16_t size = 0; size < kLegendSizeLetters.size(); ++size) {
    tokens.push_back(LegendSizeToken(size, false));
    tokens.push_back(LegendSizeToken(size, true));
  }
  for (const char mark : {kFieldMark, kRelativeMarker, kCloseMark, kLegendQuote}) tokens.emplace_back(1, mark);
  for (const std::string& token : tokens)
    QVERIFY2(values.count(token) == 1, ("missing from the dictionary: " + token).c_str());
}
