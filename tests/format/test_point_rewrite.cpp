// Moving a sketch line's points by rewriting its numbers: the resolved
// points of every kind, the bytes that must not change, and the lines that
// cannot be rewritten.

#include <QTest>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "format/FieldScanner.h"
#include "format/PointRewrite.h"
#include "format/SketchElement.h"
#include "test_classes.h"

using namespace sketch;

using Points = std::vector<PicturePoint>;
Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(Points)

namespace {

std::string Describe(const Points& points) {
  std::string text;
  for (const PicturePoint& p : points) text += "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
  return text;
}

}  // namespace

void TestPointRewrite::resolvedPoints_data() {
  QTest::addColumn<std::string>("line");
  QTest::addColumn<Points>("points");
  QTest::newRow("segment") << std::string("L(1;10;20;110;20)") << Points{{10, 20}, {110, 20}};
  QTest::newRow("polyline: each offset from the vertex before")
      << std::string("L(1;10;20:40:0:0:40;5:-5)") << Points{{10, 20}, {50, 20}, {50, 60}, {5, 55}};
  QTest::newRow("first point absolute whatever its marks")
      << std::string("L(1:10:20;30:-40)") << Points{{10, 20}, {30, -20}};
  QTest::newRow("rectangle corner from the first") << std::string("R(2;F;10;20:100:50)") << Points{{10, 20}, {110, 70}};
  QTest::newRow("ellipse, x alone relative") << std::string("E(1;E;10;20:-5;7)") << Points{{10, 20}, {5, 7}};
  QTest::newRow("arc corner from the centre, reserved number not a point")
      << std::string("A(1;7;100;100:50:-40)") << Points{{100, 100}, {150, 60}};
  QTest::newRow("legend foot, marks without effect") << std::string("T(MU:10:20:\"x\")") << Points{{10, 20}};
}

void TestPointRewrite::resolvedPoints() {
  QFETCH(std::string, line);
  QFETCH(Points, points);
  const std::optional<ElementRead> read = ReadElement(line);
  QVERIFY(read && read->Drawable());
  QCOMPARE(Describe(ResolvedPoints(read->element)), Describe(points));
}

void TestPointRewrite::rewritesOnlyTheNumbers_data() {
  QTest::addColumn<std::string>("line");
  QTest::addColumn<Points>("moved");
  QTest::addColumn<std::string>("expected");

  QTest::newRow("segment moved") << std::string("L(1;10;20;110;20)") << Points{{15, 25}, {115, 25}}
                                 << std::string("L(1;15;25;115;25)");
  QTest::newRow("relative polyline moved whole: only its first point")
      << std::string("L(1;10;20:40:0:0:40)") << Points{{15, 17}, {55, 17}, {55, 57}}
      << std::string("L(1;15;17:40:0:0:40)");
  QTest::newRow("one vertex moved: the offsets after it keep the rest in place")
      << std::string("L(1;10;20:40:0:0:40)") << Points{{10, 20}, {60, 30}, {50, 60}}
      << std::string("L(1;10;20:50:10:-10:30)");
  QTest::newRow("absolute vertex after a relative one")
      << std::string("L(1;10;20:40:0;90;90)") << Points{{10, 20}, {45, 25}, {90, 90}}
      << std::string("L(1;10;20:35:5;90;90)");
  QTest::newRow("x absolute, y relative")
      << std::string("L(1;10;20;30:-40)") << Points{{11, 21}, {31, -19}} << std::string("L(1;11;21;31:-40)");
  QTest::newRow("odd spacing, case and separators kept")
      << std::string("L( ds , 10 ; 20\t:5 ::-7 ) trailing") << Points{{0, 0}, {15, 13}}
      << std::string("L( ds , 0 ; 0\t:15 ::13 ) trailing");
  QTest::newRow("8-bit and doubled separators") << std::string(
                                                       "L(1\xA7"
                                                       "10((20;:3;:4)")
                                                << Points{{11, 21}, {14, 25}}
                                                << std::string(
                                                       "L(1\xA7"
                                                       "11((21;:14;:25)");
  QTest::newRow("rectangle, lower-case fill, negatives")
      << std::string("R(2;f;10;20;110;70)") << Points{{-10, 25}, {90, 75}} << std::string("R(2;f;-10;25;90;75)");
  QTest::newRow("negatives become positive")
      << std::string("R(1;E;-5;-6;-10;-20)") << Points{{5, 6}, {10, 20}} << std::string("R(1;E;5;6;10;20)");
  QTest::newRow("relative ellipse moved whole")
      << std::string("E(DS;F;10;20:100:50)") << Points{{30, 40}, {130, 90}} << std::string("E(DS;F;30;40:100:50)");
  QTest::newRow("relative ellipse, corner dragged")
      << std::string("E(DS;F;10;20:100:50)") << Points{{10, 20}, {60, 30}} << std::string("E(DS;F;10;20:50:10)");
  QTest::newRow("arc moved, reserved number kept")
      << std::string("A(1;7;100;100:50:-40)") << Points{{110, 110}, {160, 70}} << std::string("A(1;7;110;110:50:-40)");
  QTest::newRow("arc whose reserved number equals a coordinate")
      << std::string("A(1;100;100;100;150;60)") << Points{{101, 101}, {151, 61}}
      << std::string("A(1;100;101;101;151;61)");
  QTest::newRow("arc corner dragged") << std::string("A(DT;0;100;100:50:-40)") << Points{{100, 100}, {120, 90}}
                                      << std::string("A(DT;0;100;100:20:-10)");
  QTest::newRow("legend: numbers in its text and after it stay")
      << std::string("T(mu:10:20:\"x;1;2\") \"3 4\"") << Points{{30, 40}}
      << std::string("T(mu:30:40:\"x;1;2\") \"3 4\"");
  QTest::newRow("unchanged numbers keep leading zeros and plus")
      << std::string("L(1;+010;0020;110;20)") << Points{{11, 20}, {110, 20}} << std::string("L(1;+11;0020;110;20)");
  QTest::newRow("nothing moved: line as it was")
      << std::string("L(1;0010;20;:0;;-0)") << Points{{10, 20}, {0, 0}} << std::string("L(1;0010;20;:0;;-0)");
  QTest::newRow("token beyond 7 characters replaced whole")
      << std::string("L(1;10;20;12345678;20)") << Points{{10, 20}, {100, 20}} << std::string("L(1;10;20;100;20)");
  QTest::newRow("odd number after the last pair stays")
      << std::string("L(1;10;20;30;40;50)") << Points{{11, 21}, {31, 41}} << std::string("L(1;11;21;31;41;50)");
  QTest::newRow("open polyline") << std::string("L(1;10;20;30;40") << Points{{1, 2}, {3, 4}}
                                 << std::string("L(1;1;2;3;4");
  QTest::newRow("largest numbers the reader takes")
      << std::string("L(1;0;0:1:1)") << Points{{-999999, 9999999}, {0, 9999999}}
      << std::string("L(1;-999999;9999999:999999:0)");

  const std::string pad(239, ' ');  // "L(1;10;20;30;40)" + pad: 255 characters
  QTest::newRow("255 characters kept") << "L(1;10;20;30;40)" + pad << Points{{99, 20}, {30, 40}}
                                       << "L(1;99;20;30;40)" + pad;
  QTest::newRow("longer than 255 already, not growing")
      << "T(S;100;20;\"a\")" + std::string(250, '.') << Points{{1, 20}} << "T(S;1;20;\"a\")" + std::string(250, '.');
  const std::string cutRun = "L(1;10;20;30" + std::string(240, ' ') + ";4567";  // "45" read, ";" at 252
  QTest::newRow("number cut by the 255 limit replaced whole")
      << cutRun << Points{{10, 20}, {30, 99}} << "L(1;10;20;30" + std::string(240, ' ') + ";99";
}

void TestPointRewrite::rewritesOnlyTheNumbers() {
  QFETCH(std::string, line);
  QFETCH(Points, moved);
  QFETCH(std::string, expected);
  const std::optional<std::string> rewritten = RewritePoints(line, moved);
  QVERIFY(rewritten.has_value());
  QCOMPARE(*rewritten, expected);
  const std::optional<ElementRead> read = ReadElement(*rewritten);
  QVERIFY(read && read->Drawable());
  QCOMPARE(Describe(ResolvedPoints(read->element)), Describe(moved));
}

void TestPointRewrite::refusesLinesItCannotRewrite_data() {
  QTest::addColumn<std::string>("line");
  QTest::addColumn<Points>("moved");
  QTest::newRow("prose") << std::string("Hello there") << Points{{1, 2}};
  QTest::newRow("leading blank") << std::string(" L(1;10;20;110;20)") << Points{{1, 2}, {3, 4}};
  QTest::newRow("one point of a line") << std::string("L(1;10;20)") << Points{{1, 2}};
  QTest::newRow("rectangle short of a field") << std::string("R(2;F;10;20;110)") << Points{{1, 2}, {3, 4}};
  QTest::newRow("unknown style") << std::string("L(DX;10;20;110;20)") << Points{{1, 2}, {3, 4}};
  QTest::newRow("empty legend") << std::string("T(S;10;120;\"\")") << Points{{1, 2}};
  QTest::newRow("too many points") << std::string("L(1;10;20;110;20)") << Points{{1, 2}, {3, 4}, {5, 6}};
  QTest::newRow("too few points") << std::string("R(1;E;10;20;110;20)") << Points{{1, 2}};
  QTest::newRow("coordinate beyond 7 characters") << std::string("L(1;0;0;5;5)") << Points{{10000000, 0}, {5, 5}};
  QTest::newRow("negative beyond 7 characters") << std::string("L(1;0;0;5;5)") << Points{{-1000000, 0}, {5, 5}};
  QTest::newRow("offset beyond 7 characters") << std::string("L(1;0;0:5:5)") << Points{{-999999, 0}, {9999999, 0}};
  QTest::newRow("growing past 255 characters")
      << "L(1;10;20;30;40)" + std::string(239, ' ') << Points{{100, 20}, {30, 40}};
  QTest::newRow("growing a line already past 255") << "T(S;100;20;\"a\")" + std::string(250, '.') << Points{{1000, 20}};
  QTest::newRow("shrinking brings more text of an open legend into the read")
      << "T(S;100;20;\"" + std::string(300, 'a') << Points{{1, 20}};
  QTest::newRow("shrinking brings another vertex of an open polyline into the read")
      << "L(1;100;200;30;40" + std::string(236, ' ') + ";5;6" << Points{{1, 2}, {30, 40}};
  QTest::newRow("shrinking moves the cut into a number")
      << "L(1;10;20;30" + std::string(240, ' ') + ";4567" << Points{{1, 20}, {30, 45}};
}

void TestPointRewrite::refusesLinesItCannotRewrite() {
  QFETCH(std::string, line);
  QFETCH(Points, moved);
  const std::optional<std::string> rewritten = RewritePoints(line, moved);
  QVERIFY2(!rewritten.has_value(), rewritten ? rewritten->c_str() : "");
}

namespace {

// Sketch lines in the many forms the reader accepts, and a few it does not.
class RewriteLineGenerator {
 public:
  explicit RewriteLineGenerator(std::uint32_t seed) : engine_(seed) {}

  std::string Next() {
    std::string line;
    switch (Between(0, 4)) {
      case 0:
        line = "L(" + Pen();
        for (int i = 0, n = Between(2, 8); i < n; ++i) line += Point(i > 0);
        line += Pick<std::string>({")", "  )", ") and 12 more", ";7)", "", " x)"});
        break;
      case 1:
      case 2:
        line = std::string(1, Chance(50) ? 'R' : 'E') + "(" + Pen() + Separator(false) + Pick<std::string>({"F", "e"});
        line += Point(false) + Point(true) + Pick<std::string>({")", "", " junk 5", ";9;9)"});
        break;
      case 3:
        line = "A(" + Pen() + Separator(false) + Number(Chance(80) ? 0 : Between(-9, 400));
        line += Point(false) + Point(true) + Pick<std::string>({")", "", ") 1 2"});
        break;
      default:
        line = "T(" + Pick<std::string>({"S", "m", "LU", "mu", "Sux"}) + Point(false);
        line += Pick<std::string>({";\"", " \"", ";junk 3 \"", ":\""});
        for (int i = 0, n = Between(0, 20); i < n; ++i)
          line += Pick<std::string>({"a", " ", "1", "-", ";", ":", "\xE4"});
        line += Pick<std::string>({"\")", "\"", "\") \"9\"", ""});
        break;
    }
    if (Chance(10)) line.insert(static_cast<std::size_t>(Between(2, static_cast<int>(line.size()))), ";X");
    return line;
  }

  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine_); }
  bool Chance(int percent) { return Between(0, 99) < percent; }

 private:
  template <typename T>
  const T& Pick(const std::vector<T>& items) {
    return items[static_cast<std::size_t>(Between(0, static_cast<int>(items.size()) - 1))];
  }
  std::string Separator(bool relative) {
    static const std::vector<std::string> absolute = {";", ";", ",", " ", " ; ", "+", "\t;", "\xA7", ";:", "(("};
    static const std::vector<std::string> offset = {":", ":", " :", "\t:", ":;", "::"};
    return Pick(relative ? offset : absolute);
  }
  // Sometimes with leading zeros, or digits beyond the 7 that count.
  std::string Number(int value) {
    std::string text = std::to_string(value);
    if (value >= 0 && Chance(10)) text.insert(0, "00");
    if (Chance(3)) text += "98765432";  // read as its first 7 characters
    return text;
  }
  int Coordinate() { return Chance(3) ? Between(-999999, 9999999) : Between(-60, 380); }
  std::string Point(bool marks) {
    const bool markX = Chance(30), markY = Chance(30);
    return Separator(marks && markX) + Number(Coordinate()) + Separator(marks && markY) + Number(Coordinate());
  }
  std::string Pen() {
    if (Chance(30)) return Pick<std::string>({"DS", "dt", "Dd"});
    return Number(Between(0, 10));
  }

  std::mt19937 engine_;
};

// The line with every token that reads as a number replaced by '#': what a
// rewrite may not change.
std::string NumbersMasked(std::string_view line) {
  std::string masked;
  std::size_t i = 0;
  while (i < line.size()) {
    if (!IsTokenChar(static_cast<unsigned char>(line[i]))) {
      masked += line[i++];
      continue;
    }
    std::size_t end = i;
    while (end < line.size() && IsTokenChar(static_cast<unsigned char>(line[end]))) ++end;
    std::int32_t value = 0;
    const std::string_view token = line.substr(i, end - i);
    masked += NumberValue(token.substr(0, kTokenMax), value) ? std::string("#") : std::string(token);
    i = end;
  }
  return masked;
}

bool Huge(const Points& points) {
  for (const PicturePoint& p : points)
    if (std::abs(p.x) > 400000 || std::abs(p.y) > 400000) return true;
  return false;
}

}  // namespace

void TestPointRewrite::randomMovesOfGeneratedLines() {
  RewriteLineGenerator generator(20250316);
  int rewritten = 0, refused = 0;
  for (int i = 0; i < 20000; ++i) {
    const std::string line = generator.Next();
    const std::optional<ElementRead> read = ReadElement(line);
    QVERIFY(read.has_value());
    const Points before = ResolvedPoints(read->element);
    if (!read->Drawable()) {
      QVERIFY2(!RewritePoints(line, before), line.c_str());
      continue;
    }
    Points moved = before;
    if (generator.Chance(50)) {
      const PicturePoint offset{generator.Between(-50, 50), generator.Between(-50, 50)};
      for (PicturePoint& p : moved) p = {p.x + offset.x, p.y + offset.y};
    } else {
      moved[static_cast<std::size_t>(generator.Between(0, static_cast<int>(moved.size()) - 1))] = {
          generator.Between(-40, 360), generator.Between(-40, 240)};
    }

    const std::optional<std::string> result = RewritePoints(line, moved);
    const std::string context = line + " -> " + Describe(moved) + " -> " + result.value_or("(none)");
    if (!result) {
      // Only numbers out of the reader's reach refuse a short line.
      QVERIFY2(Huge(before) || Huge(moved), context.c_str());
      ++refused;
      continue;
    }
    ++rewritten;
    const std::optional<ElementRead> again = ReadElement(*result);
    QVERIFY2(again && again->Drawable(), context.c_str());
    QVERIFY2(ResolvedPoints(again->element) == moved, context.c_str());
    // Every other field, each coordinate's mark included, is as it was.
    Element expected = read->element;
    for (std::size_t p = 0; p < expected.points.size(); ++p) {
      expected.points[p].x = again->element.points[p].x;
      expected.points[p].y = again->element.points[p].y;
    }
    QVERIFY2(again->element == expected, context.c_str());
    QVERIFY2(again->fieldsRead == read->fieldsRead, context.c_str());
    QVERIFY2(NumbersMasked(*result) == NumbersMasked(line), context.c_str());
    if (moved == before) QVERIFY2(*result == line, context.c_str());
  }
  // Both sides are reached, and refusals stay rare.
  QVERIFY(rewritten > 10000);
  QVERIFY(refused < rewritten / 10);
}
