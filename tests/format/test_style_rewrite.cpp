// Changing a sketch line's pen and fill by rewriting its style and fill
// fields: the bytes that must not change, the fields a kind does not have,
// and the lines that cannot be rewritten.

#include <QTest>
#include <optional>
#include <string>

#include "format/SketchElement.h"
#include "format/StyleRewrite.h"
#include "test_classes.h"

using namespace sketch;

using Rewritten = std::optional<std::string>;
Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(StyleChange)
Q_DECLARE_METATYPE(Rewritten)

namespace {

constexpr Pen kDashed{PenStyle::Dash, kBrokenPenWidth};
constexpr Pen kDotted{PenStyle::Dot, kBrokenPenWidth};
constexpr Pen kDashDotted{PenStyle::DashDot, kBrokenPenWidth};
constexpr Pen Solid(std::int32_t width) { return {PenStyle::Solid, width}; }

StyleChange PenTo(Pen pen) { return {pen, std::nullopt}; }
StyleChange FillTo(Fill fill) { return {std::nullopt, fill}; }
StyleChange Both(Pen pen, Fill fill) { return {pen, fill}; }

const Rewritten kNone = std::nullopt;

}  // namespace

void TestStyleRewrite::rewritesOnlyTheStyleFields_data() {
  QTest::addColumn<std::string>("line");
  QTest::addColumn<StyleChange>("change");
  QTest::addColumn<Rewritten>("expected");

  QTest::newRow("solid width to dashed") << std::string("L(1;10;20;110;20)") << PenTo(kDashed)
                                         << Rewritten("L(DS;10;20;110;20)");
  QTest::newRow("dashed back to solid") << std::string("L(DS;10;20;110;20)") << PenTo(Solid(1))
                                        << Rewritten("L(1;10;20;110;20)");
  QTest::newRow("width 2 to 7") << std::string("R(2;F;10;10;50;40)") << PenTo(Solid(7))
                                << Rewritten("R(7;F;10;10;50;40)");
  QTest::newRow("dotted to dash-dot on an arc, reserved number kept")
      << std::string("A(DT;7;50;50;80;20)") << PenTo(kDashDotted) << Rewritten("A(DD;7;50;50;80;20)");
  QTest::newRow("negative width made a width")
      << std::string("L(-1;0;0;5;5)") << PenTo(Solid(3)) << Rewritten("L(3;0;0;5;5)");
  QTest::newRow("rectangle fill E to F") << std::string("R(2;E;10;10;50;40)") << FillTo(Fill::Filled)
                                         << Rewritten("R(2;F;10;10;50;40)");
  QTest::newRow("ellipse fill E to F") << std::string("E(DS;E;5;5:20:20)") << FillTo(Fill::Filled)
                                       << Rewritten("E(DS;F;5;5:20:20)");
  QTest::newRow("ellipse fill F to E") << std::string("E(1;F;5;5;20;20)") << FillTo(Fill::Empty)
                                       << Rewritten("E(1;E;5;5;20;20)");
  QTest::newRow("pen and fill at once") << std::string("E(DS;E;5;5:20:20)") << Both(Solid(3), Fill::Filled)
                                        << Rewritten("E(3;F;5;5:20:20)");

  // Fields the kind does not have are left alone.
  QTest::newRow("fill of a line: nothing to change")
      << std::string("L(1;10;20;110;20)") << FillTo(Fill::Filled) << kNone;
  QTest::newRow("fill of an arc: nothing to change")
      << std::string("A(1;0;50;50;80;20)") << FillTo(Fill::Filled) << kNone;
  QTest::newRow("arc takes the pen, not the fill")
      << std::string("A(1;0;50;50;80;20)") << Both(kDashDotted, Fill::Filled) << Rewritten("A(DD;0;50;50;80;20)");
  QTest::newRow("legend has neither") << std::string("T(M;10;20;\"hello\")") << Both(kDashed, Fill::Filled) << kNone;
  QTest::newRow("no change asked") << std::string("R(2;E;10;10;50;40)") << StyleChange{} << kNone;

  // A field that already reads as asked keeps its bytes.
  QTest::newRow("same width written otherwise") << std::string("L( 02 ,10;20;110;20)") << PenTo(Solid(2)) << kNone;
  QTest::newRow("same pen, other fill") << std::string("R( 02 ; e ;1;2;3;4)") << Both(Solid(2), Fill::Filled)
                                        << Rewritten("R( 02 ; F ;1;2;3;4)");
  QTest::newRow("odd spacing around a changed token")
      << std::string("L( 02 ,10;20;110;20)") << PenTo(Solid(5)) << Rewritten("L( 5 ,10;20;110;20)");
  QTest::newRow("lower case kept where unchanged")
      << std::string("R(ds\tf;1;2;3;4)") << Both(kDashed, Fill::Empty) << Rewritten("R(ds\tE;1;2;3;4)");
  QTest::newRow("lower case replaced where changed")
      << std::string("E(dt;e;1;2;3;4)") << Both(kDashed, Fill::Empty) << Rewritten("E(DS;e;1;2;3;4)");
  QTest::newRow("same dashed pen in any case, same fill")
      << std::string("E(dS;f;1;2;3;4)") << Both(kDashed, Fill::Filled) << kNone;
  QTest::newRow("8-bit and doubled separators") << std::string(
                                                       "L(1\xA7"
                                                       "10((20;:3;:4)")
                                                << PenTo(kDotted)
                                                << Rewritten(
                                                       "L(DT\xA7"
                                                       "10((20;:3;:4)");
  QTest::newRow("token beyond 7 characters replaced whole")
      << std::string("L(000000002;0;0;5;5)") << PenTo(Solid(2)) << Rewritten("L(2;0;0;5;5)");

  // Everything but the style fields stays.
  QTest::newRow("relative points kept") << std::string("L(1;10;20:40:0:0:40) and 3 more") << PenTo(Solid(4))
                                        << Rewritten("L(4;10;20:40:0:0:40) and 3 more");
  QTest::newRow("relative rectangle kept")
      << std::string("R(1;E;+010;20:100::-50)") << FillTo(Fill::Filled) << Rewritten("R(1;F;+010;20:100::-50)");
  QTest::newRow("tokens after the fields read stay")
      << std::string("R(2;E;1;2;3;4) F DS 7") << Both(kDashed, Fill::Filled) << Rewritten("R(DS;F;1;2;3;4) F DS 7");
  QTest::newRow("open polyline stays open")
      << std::string("L(1;10;20;30;40") << PenTo(Solid(9)) << Rewritten("L(9;10;20;30;40");

  // The 255 characters the reader takes.
  const std::string pad(239, ' ');  // "L(1;10;20;30;40)" + pad: 255 characters
  QTest::newRow("255 characters, same length")
      << "L(1;10;20;30;40)" + pad << PenTo(Solid(2)) << Rewritten("L(2;10;20;30;40)" + pad);
  QTest::newRow("255 characters, shorter") << "L(10;10;20;30;40)" + std::string(238, ' ') << PenTo(Solid(1))
                                           << Rewritten("L(1;10;20;30;40)" + std::string(238, ' '));
  QTest::newRow("growing past 255 characters") << "L(1;10;20;30;40)" + pad << PenTo(kDashed) << kNone;
  QTest::newRow("longer than 255 already, not growing")
      << "R(1;E;1;2;3;4)" + std::string(250, '.') << FillTo(Fill::Filled)
      << Rewritten("R(1;F;1;2;3;4)" + std::string(250, '.'));
  QTest::newRow("growing a line already past 255")
      << "R(1;E;1;2;3;4)" + std::string(250, '.') << PenTo(kDashed) << kNone;
  QTest::newRow("shrinking brings another number of an open polyline into the read")
      << "L(10;100;200;30;40" + std::string(236, ' ') + ";5;6" << PenTo(Solid(1)) << kNone;

  // Lines that cannot be rewritten.
  QTest::newRow("prose") << std::string("Hello there") << PenTo(kDashed) << kNone;
  QTest::newRow("leading blank") << std::string(" L(1;10;20;110;20)") << PenTo(kDashed) << kNone;
  QTest::newRow("rectangle short of a field") << std::string("R(2;F;10;20;110)") << PenTo(kDashed) << kNone;
  QTest::newRow("unknown style") << std::string("L(DX;10;20;110;20)") << PenTo(kDashed) << kNone;
  QTest::newRow("unknown fill") << std::string("R(1;X;10;20;110;20)") << FillTo(Fill::Filled) << kNone;
  QTest::newRow("broken pen wider than 1 is not written")
      << std::string("L(1;10;20;110;20)") << PenTo({PenStyle::Dash, 4}) << kNone;
  QTest::newRow("width beyond 7 characters") << std::string("L(1;10;20;110;20)") << PenTo(Solid(12345678)) << kNone;
}

void TestStyleRewrite::rewritesOnlyTheStyleFields() {
  QFETCH(std::string, line);
  QFETCH(StyleChange, change);
  QFETCH(Rewritten, expected);
  const Rewritten rewritten = RewriteStyle(line, change);
  QCOMPARE(rewritten.value_or("(none)"), expected.value_or("(none)"));
  if (!rewritten) return;
  // It reads as the line did, with the pen and the fill its kind has changed.
  Element changed = ReadElement(line)->element;
  const KindLayout& layout = LayoutOf(changed.kind);
  if (change.pen && layout.lead == LeadField::Pen) changed.pen = *change.pen;
  if (change.fill && layout.fill) changed.fill = *change.fill;
  const std::optional<ElementRead> again = ReadElement(*rewritten);
  QVERIFY(again && again->Drawable());
  QVERIFY(again->element == changed);
}
