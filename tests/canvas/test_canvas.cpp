// The picture's drawing operations, checked on pixels.

#include <QRandomGenerator>
#include <QTest>
#include <algorithm>
#include <vector>

#include "canvas/Canvas.h"
#include "legendtext/FreeTypeTextPainter.h"
#include "test_classes.h"

using namespace sketch;

namespace {

Pixel PixelAt(const Canvas& canvas, int x, int y) { return canvas.Picture().At(x, y); }
bool IsColour(const Canvas& canvas, int x, int y, Color c) { return PixelAt(canvas, x, y) == ToPixel(c); }
bool Ink(const Canvas& canvas, int x, int y) { return IsColour(canvas, x, y, kBlack); }

// Every pixel of `area` whose colour is not `background`.
QList<QPoint> Marked(const Canvas& canvas, Color background, QRect area = QRect(0, 0, 320, 200)) {
  QList<QPoint> marked;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (!IsColour(canvas, x, y, background)) marked << QPoint(x, y);
  return marked;
}

QRect Bounds(const QList<QPoint>& points) {
  QRect r;
  for (const QPoint& p : points) r |= QRect(p, QSize(1, 1));
  return r;
}

void FillRandomly(Canvas& canvas, QRandomGenerator& random) {
  for (int y = 0; y < kPictureHeight; ++y)
    for (int x = 0; x < kPictureWidth; ++x) canvas.Picture().Set(x, y, kOpaque | random.generate());
}

// A line, rectangle, ellipse or arc with a random pen and brush, reaching
// a little off the picture.
struct RandomFigure {
  int kind = 0;
  int c[8] = {};
  CanvasPen pen;
  CanvasBrush brush;

  static RandomFigure Make(QRandomGenerator& random, PenMode mode) {
    RandomFigure f;
    const auto coordinate = [&](int limit) { return random.bounded(-40, limit + 40); };
    f.pen.width = random.bounded(0, 11);
    f.pen.style = static_cast<PenStyle>(random.bounded(0, 4));
    f.pen.color = random.generate() & 0xFFFFFF;
    f.pen.mode = mode;
    f.brush = {random.generate() & 0xFFFFFFu, random.bounded(2) ? BrushStyle::Solid : BrushStyle::Clear};
    f.kind = random.bounded(4);
    for (int i = 0; i < 8; i += 2) {
      f.c[i] = coordinate(kPictureWidth);
      f.c[i + 1] = coordinate(kPictureHeight);
    }
    return f;
  }

  void Draw(Canvas& canvas) const {
    canvas.pen = pen;
    canvas.brush = brush;
    switch (kind) {
      case 0:
        canvas.MoveTo(c[0], c[1]);
        canvas.LineTo(c[2], c[3]);
        break;
      case 1:
        canvas.Rectangle(c[0], c[1], c[2], c[3]);
        break;
      case 2:
        canvas.Ellipse(c[0], c[1], c[2], c[3]);
        break;
      default:
        canvas.Arc(c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]);
    }
  }
};

void FillPicture(Canvas& canvas, Color c) {
  const CanvasBrush saved = canvas.brush;
  canvas.brush = {c, BrushStyle::Solid};
  canvas.FillRect(0, 0, kPictureWidth, kPictureHeight);
  canvas.brush = saved;
}

}  // namespace

void TestCanvas::newPictureIsWhite() {
  const Canvas canvas;
  QCOMPARE(QSize(canvas.Picture().Width(), canvas.Picture().Height()), QSize(320, 200));
  QVERIFY(Marked(canvas, kWhite).isEmpty());
}

void TestCanvas::rectangleCoversX1ToX2MinusOne_data() {
  QTest::addColumn<QRect>("corners");  // x1, y1 as topLeft, x2, y2 given in any order
  QTest::addColumn<QPoint>("first");
  QTest::addColumn<QPoint>("second");
  QTest::newRow("top left first") << QRect() << QPoint(10, 10) << QPoint(20, 20);
  QTest::newRow("bottom right first") << QRect() << QPoint(20, 20) << QPoint(10, 10);
  QTest::newRow("other diagonal") << QRect() << QPoint(20, 10) << QPoint(10, 20);
}

void TestCanvas::rectangleCoversX1ToX2MinusOne() {
  QFETCH(QPoint, first);
  QFETCH(QPoint, second);
  Canvas canvas;
  canvas.brush.style = BrushStyle::Clear;
  canvas.Rectangle(first.x(), first.y(), second.x(), second.y());
  QCOMPARE(Bounds(Marked(canvas, kWhite)), QRect(QPoint(10, 10), QPoint(19, 19)));
  for (int i = 10; i <= 19; ++i) {
    QVERIFY(Ink(canvas, i, 10) && Ink(canvas, i, 19) && Ink(canvas, 10, i) && Ink(canvas, 19, i));
  }
  QVERIFY(IsColour(canvas, 15, 15, kWhite));  // clear brush: inside untouched
}

void TestCanvas::filledRectangleHasPenOutlineAndBrushInside() {
  Canvas canvas;
  canvas.pen.color = kBlack;
  canvas.brush = {kGreen, BrushStyle::Solid};
  canvas.Rectangle(10, 10, 50, 40);
  QCOMPARE(Bounds(Marked(canvas, kWhite)), QRect(QPoint(10, 10), QPoint(49, 39)));
  QVERIFY(Ink(canvas, 10, 25) && Ink(canvas, 49, 25) && Ink(canvas, 30, 10) && Ink(canvas, 30, 39));
  QCOMPARE(Marked(canvas, kGreen, QRect(QPoint(11, 11), QPoint(48, 38))).size(), 0);
}

void TestCanvas::lineStopsBeforeItsEndPoint_data() {
  QTest::addColumn<QPoint>("from");
  QTest::addColumn<QPoint>("to");
  const QPoint c(100, 100);
  const QList<QPoint> ends = {{160, 100}, {40, 100}, {100, 150}, {100, 50}, {150, 150},
                              {50, 50},   {150, 60}, {40, 130},  {130, 40}, {70, 170}};
  for (const QPoint& end : ends) {
    QTest::newRow(qPrintable(QString("to %1,%2").arg(end.x()).arg(end.y()))) << c << end;
  }
}

void TestCanvas::lineStopsBeforeItsEndPoint() {
  QFETCH(QPoint, from);
  QFETCH(QPoint, to);
  Canvas canvas;
  canvas.MoveTo(from.x(), from.y());
  canvas.LineTo(to.x(), to.y());
  QVERIFY(Ink(canvas, from.x(), from.y()));
  QVERIFY(!Ink(canvas, to.x(), to.y()));
  const int steps = std::max(std::abs(to.x() - from.x()), std::abs(to.y() - from.y()));
  QCOMPARE(Marked(canvas, kWhite).size(), steps);  // one pixel per step, the end left out
  QCOMPARE(QPoint(canvas.PenPos().x, canvas.PenPos().y), to);
}

void TestCanvas::zeroLengthLineDrawsNothing() {
  Canvas canvas;
  canvas.pen.width = 7;
  canvas.MoveTo(50, 50);
  canvas.LineTo(50, 50);
  QVERIFY(Marked(canvas, kWhite).isEmpty());
}

void TestCanvas::widthZeroDrawsThinnestLine() {
  Canvas thin, zero;
  zero.pen.width = 0;
  for (Canvas* c : {&thin, &zero}) {
    c->MoveTo(10, 10);
    c->LineTo(60, 35);
  }
  QCOMPARE(zero.Picture(), thin.Picture());
}

void TestCanvas::widePenIsThickAndRound_data() {
  QTest::addColumn<int>("width");
  for (int w = 2; w <= 10; ++w) QTest::newRow(qPrintable(QString::number(w))) << w;
}

void TestCanvas::widePenIsThickAndRound() {
  QFETCH(int, width);
  Canvas canvas;
  canvas.pen.width = width;
  canvas.MoveTo(100, 100);
  canvas.LineTo(200, 100);
  int rows = 0;
  for (int y = 80; y < 120; ++y) rows += Ink(canvas, 150, y) ? 1 : 0;
  QCOMPARE(rows, width);
  // Round caps reach beyond both end points, and are narrower than the body.
  QVERIFY(Ink(canvas, 100 - (width - 1) / 2, 100));
  QVERIFY(Ink(canvas, 200 + (width - 1) / 2 - 1, 100));
  if (width >= 4) QVERIFY(!Ink(canvas, 100 - width / 2, 100 - width / 2));
}

void TestCanvas::widePenWithBrokenStyleDrawsSolid() {
  Canvas dashed, solid;
  dashed.pen.style = PenStyle::Dash;
  for (Canvas* c : {&dashed, &solid}) {
    c->pen.width = 3;
    c->MoveTo(10, 50);
    c->LineTo(300, 50);
  }
  QCOMPARE(dashed.Picture(), solid.Picture());
}

void TestCanvas::dashGaps_data() {
  QTest::addColumn<int>("brushStyle");
  QTest::addColumn<Color>("gapColour");
  QTest::newRow("solid brush: gaps take its colour") << int(BrushStyle::Solid) << kWhite;
  QTest::newRow("clear brush: gaps stay as they were") << int(BrushStyle::Clear) << kAqua;
}

void TestCanvas::dashGaps() {
  QFETCH(int, brushStyle);
  QFETCH(Color, gapColour);
  Canvas canvas;
  FillPicture(canvas, kAqua);
  canvas.pen.style = PenStyle::Dash;
  canvas.brush = {kWhite, static_cast<BrushStyle>(brushStyle)};
  canvas.MoveTo(10, 50);
  canvas.LineTo(300, 50);
  int ink = 0, gap = 0;
  for (int x = 10; x < 300; ++x) {
    if (Ink(canvas, x, 50))
      ++ink;
    else if (IsColour(canvas, x, 50, gapColour))
      ++gap;
  }
  QCOMPARE(ink + gap, 290);  // every pixel of the line is a dash or a gap
  QVERIFY(gap > 50 && ink > 150);
  QVERIFY(IsColour(canvas, 300, 50, kAqua) && IsColour(canvas, 150, 49, kAqua));
}

void TestCanvas::penStylesDiffer() {
  QList<sketch::Picture> pictures;
  for (PenStyle style : {PenStyle::Solid, PenStyle::Dash, PenStyle::Dot, PenStyle::DashDot}) {
    Canvas canvas;
    canvas.pen.style = style;
    canvas.MoveTo(10, 10);
    canvas.LineTo(300, 10);
    pictures << canvas.Picture();
  }
  for (int i = 0; i < pictures.size(); ++i)
    for (int j = i + 1; j < pictures.size(); ++j)
      QVERIFY2(pictures[i] != pictures[j], qPrintable(QString("%1 %2").arg(i).arg(j)));
}

void TestCanvas::brokenOutlines_data() {
  QTest::addColumn<int>("shape");  // 0 rectangle, 1 ellipse, 2 quarter arc
  QTest::addColumn<int>("style");
  for (int shape = 0; shape < 3; ++shape)
    for (int style = 1; style <= 3; ++style) QTest::addRow("shape %d style %d", shape, style) << shape << style;
}

void TestCanvas::brokenOutlines() {
  // Dashes along the outline, never beyond it; the gaps take a solid brush's
  // colour and leave the picture alone under a clear one.
  QFETCH(int, shape);
  QFETCH(int, style);
  const auto draw = [shape](Canvas& c, PenStyle pen, BrushStyle brush) {
    c.pen.style = pen;
    c.brush = {kWhite, brush};
    if (shape == 0) c.Rectangle(20, 20, 300, 180);
    if (shape == 1) c.Ellipse(20, 20, 300, 180);
    if (shape == 2) c.Arc(20, 20, 300, 180, 320, 100, 160, 0);
  };
  Canvas outline, dashed, gapped;
  draw(outline, PenStyle::Solid, BrushStyle::Clear);
  draw(dashed, static_cast<PenStyle>(style), BrushStyle::Clear);
  FillPicture(gapped, kAqua);
  draw(gapped, static_cast<PenStyle>(style), BrushStyle::Solid);
  const QList<QPoint> full = Marked(outline, kWhite), dashes = Marked(dashed, kWhite);
  QVERIFY(dashes.size() > full.size() / 3);
  QVERIFY(dashes.size() < full.size());
  for (const QPoint& p : dashes) QVERIFY(full.contains(p));
  int ink = 0, gaps = 0;
  for (const QPoint& p : full) {
    if (Ink(gapped, p.x(), p.y())) ++ink;
    if (IsColour(gapped, p.x(), p.y(), kWhite)) ++gaps;
  }
  QCOMPARE(ink, dashes.size());
  QCOMPARE(ink + gaps, full.size());
}

void TestCanvas::ellipseTouchesItsBoxEdges() {
  Canvas canvas;
  canvas.brush.style = BrushStyle::Clear;
  canvas.Ellipse(0, 0, 320, 200);
  QCOMPARE(Bounds(Marked(canvas, kWhite)), QRect(0, 0, 320, 200));
  QVERIFY(Ink(canvas, 0, 100) && Ink(canvas, 319, 100) && Ink(canvas, 160, 0) && Ink(canvas, 160, 199));
  QVERIFY(IsColour(canvas, 160, 100, kWhite) && IsColour(canvas, 2, 2, kWhite));
}

void TestCanvas::filledEllipseHasNoHoles() {
  for (const QRect& box : {QRect(10, 10, 7, 5), QRect(20, 20, 100, 60), QRect(5, 100, 33, 90)}) {
    Canvas canvas;
    canvas.brush = {kGreen, BrushStyle::Solid};
    canvas.Ellipse(box.left(), box.top(), box.right() + 1, box.bottom() + 1);
    QCOMPARE(Bounds(Marked(canvas, kWhite)), box);
    for (int y = box.top(); y <= box.bottom(); ++y) {
      QList<int> xs;
      for (int x = box.left(); x <= box.right(); ++x)
        if (!IsColour(canvas, x, y, kWhite)) xs << x;
      QVERIFY(!xs.isEmpty());
      QCOMPARE(xs.last() - xs.first() + 1, xs.size());  // one unbroken run per row
    }
  }
}

void TestCanvas::arcRunsCounterClockwise() {
  // From three o'clock to twelve: the upper right quarter only.
  Canvas canvas;
  canvas.Arc(50, 60, 150, 140, 320, 100, 100, 0);
  const QRect bounds = Bounds(Marked(canvas, kWhite));
  QVERIFY2(bounds.left() >= 99 && bounds.bottom() <= 100,
           qPrintable(QString("%1,%2 %3x%4").arg(bounds.x()).arg(bounds.y()).arg(bounds.width()).arg(bounds.height())));
  QVERIFY(bounds.right() == 149 && bounds.top() == 60);
  // The other way round: three quarters, everything but the upper right.
  Canvas other;
  other.Arc(50, 60, 150, 140, 100, 0, 320, 100);
  QVERIFY(Ink(other, 50, 100) && Ink(other, 100, 139) && !Ink(other, 140, 70));
}

void TestCanvas::notXorTwiceRestoresEveryPixel() {
  QRandomGenerator random(20261208);
  for (int round = 0; round < 400; ++round) {
    Canvas canvas;
    FillRandomly(canvas, random);
    const sketch::Picture before = canvas.Picture();
    const RandomFigure figure = RandomFigure::Make(random, PenMode::NotXor);
    figure.Draw(canvas);
    figure.Draw(canvas);
    QVERIFY2(canvas.Picture() == before, qPrintable(QString("round %1 kind %2 width %3 style %4")
                                                        .arg(round)
                                                        .arg(figure.kind)
                                                        .arg(figure.pen.width)
                                                        .arg(int(figure.pen.style))));
  }
}

// On white, NOT(colour XOR white) is the colour: a not-xor figure shows
// what copy mode paints, pen over gaps over brush, wherever they overlap.
void TestCanvas::notXorOnWhiteDrawsAsCopy() {
  QRandomGenerator random(20261211);
  for (int round = 0; round < 400; ++round) {
    RandomFigure figure = RandomFigure::Make(random, PenMode::NotXor);
    Canvas notXor, copy;
    figure.Draw(notXor);
    figure.pen.mode = PenMode::Copy;
    figure.Draw(copy);
    QVERIFY2(notXor.Picture() == copy.Picture(), qPrintable(QString("round %1 kind %2 width %3 style %4")
                                                                .arg(round)
                                                                .arg(figure.kind)
                                                                .arg(figure.pen.width)
                                                                .arg(int(figure.pen.style))));
  }
}

// A batch (a rubber band taken off and drawn again) gives the pixels of
// its figures drawn one by one, also with copy-mode writes among them, and
// the bounds it reports hold every changed pixel, tightly when all of it
// was not-xor figures (a thin line reports its box at once).
void TestCanvas::notXorBatchEqualsFiguresOneByOne() {
  QRandomGenerator random(20261209);
  for (int round = 0; round < 300; ++round) {
    Canvas oneByOne;
    FillRandomly(oneByOne, random);
    Canvas batched = oneByOne;
    const sketch::Picture before = oneByOne.Picture();
    std::vector<RandomFigure> figures;
    const int count = random.bounded(1, 5);
    bool allBatched = true;
    for (int i = 0; i < count; ++i) {
      const bool copy = random.bounded(6) == 0;
      figures.push_back(RandomFigure::Make(random, copy ? PenMode::Copy : PenMode::NotXor));
      allBatched = allBatched && !copy && !(figures.back().kind == 0 && figures.back().pen.width <= 1);
    }
    // The same band twice, as a move that comes back where it was.
    if (random.bounded(3) == 0) figures.push_back(figures.front());
    for (const RandomFigure& figure : figures) figure.Draw(oneByOne);
    batched.TakeTouched();
    batched.BeginNotXorBatch();
    for (const RandomFigure& figure : figures) figure.Draw(batched);
    batched.EndNotXorBatch();
    const QString where = QString("round %1, %2 figures").arg(round).arg(figures.size());
    QVERIFY2(batched.Picture() == oneByOne.Picture(), qPrintable(where));
    QRect changed;
    for (int y = 0; y < kPictureHeight; ++y)
      for (int x = 0; x < kPictureWidth; ++x)
        if (batched.Picture().At(x, y) != before.At(x, y)) changed |= QRect(x, y, 1, 1);
    const Rect touched = batched.TakeTouched();
    const QRect reported =
        touched.Empty() ? QRect() : QRect(touched.left, touched.top, touched.Width(), touched.Height());
    QVERIFY2(reported.contains(changed) || changed.isNull(), qPrintable(where));
    if (allBatched) QVERIFY2(reported == changed, qPrintable(where));
  }
}

// Canvases that each draw the same figures on their own rows of the
// picture give, together, the picture of one canvas: every figure's rows
// are worked out on their own, whatever rows come before. Some figures
// reach far off the picture, where rows are cut early.
void TestCanvas::figuresDrawnInBandsEqualOnePicture() {
  QRandomGenerator random(20261210);
  for (int round = 0; round < 200; ++round) {
    Canvas whole;
    FillRandomly(whole, random);
    const int bandCount = random.bounded(2, 6);
    std::vector<int> tops = {0};
    for (int i = 1; i < bandCount; ++i) tops.push_back(random.bounded(1, kPictureHeight));
    tops.push_back(kPictureHeight);
    std::sort(tops.begin(), tops.end());
    std::vector<Canvas> bands(static_cast<std::size_t>(bandCount), whole);
    for (int i = 0; i < bandCount; ++i) bands[static_cast<std::size_t>(i)].DrawOnlyRows(tops[i], tops[i + 1] - 1);
    whole.TakeTouched();
    const int figures = random.bounded(1, 12);
    for (int f = 0; f < figures; ++f) {
      RandomFigure figure = RandomFigure::Make(random, random.bounded(4) == 0 ? PenMode::NotXor : PenMode::Copy);
      if (random.bounded(5) == 0) {
        for (int& c : figure.c) c = c * 1000 + random.bounded(-5, 6);  // far off, across the picture
      }
      figure.Draw(whole);
      for (Canvas& band : bands) figure.Draw(band);
    }
    Canvas joined;
    for (int i = 0; i < bandCount; ++i)
      joined.TakeRowsFrom(bands[static_cast<std::size_t>(i)], tops[i], tops[i + 1] - 1);
    const QString where = QString("round %1, %2 bands").arg(round).arg(bandCount);
    QVERIFY2(joined.Picture() == whole.Picture(), qPrintable(where));
    const Rect expected = whole.TakeTouched(), taken = joined.TakeTouched();
    QVERIFY2(expected.Empty() ? taken.Empty() : taken == expected, qPrintable(where));
  }
}

void TestCanvas::notXorInvertsAgainstPen() {
  // Green in not-xor turns black to magenta and white to green; a filled
  // inside under a black brush is inverted.
  Canvas canvas;
  canvas.brush = {kBlack, BrushStyle::Solid};
  canvas.Rectangle(10, 10, 60, 40);
  canvas.MoveTo(0, 100);
  canvas.LineTo(100, 100);
  canvas.pen = {kGreen, PenStyle::Solid, 1, PenMode::NotXor};
  canvas.Rectangle(10, 10, 60, 40);
  canvas.MoveTo(0, 100);
  canvas.LineTo(200, 100);
  QCOMPARE(PixelAt(canvas, 10, 20), 0xFFFF00FFu);  // black outline: magenta
  QCOMPARE(PixelAt(canvas, 30, 20), 0xFFFFFFFFu);  // black inside: white
  QCOMPARE(PixelAt(canvas, 50, 100), 0xFFFF00FFu);
  QCOMPARE(PixelAt(canvas, 150, 100), 0xFF00FF00u);  // white under the pen: green
}

void TestCanvas::textOutPlacesBoxAndIgnoresMixMode() {
  Canvas copy, notXor;
  notXor.pen.mode = PenMode::NotXor;
  for (Canvas* c : {&copy, &notXor}) {
    c->brush.style = BrushStyle::Clear;
    c->font.size = 14;
    c->SetTextPainter(&legendtext::SharedTextPainter());
    c->TextOut(40, 50, "Hg");
  }
  QCOMPARE(notXor.Picture(), copy.Picture());
  const QRect ink = Bounds(Marked(copy, kWhite));
  QVERIFY(ink.left() >= 40 && ink.left() <= 43);
  QVERIFY(ink.top() >= 50 && ink.top() <= 55);
  QVERIFY(ink.bottom() < 50 + 25);
  // A solid brush fills the text's box behind the ink.
  Canvas boxed;
  boxed.brush = {kGreen, BrushStyle::Solid};
  boxed.font.size = 14;
  boxed.SetTextPainter(&legendtext::SharedTextPainter());
  boxed.TextOut(40, 50, "Hg");
  QVERIFY(IsColour(boxed, 40, 50, kGreen));
}

void TestCanvas::upwardTextReadsUpLeftOfBox() {
  Canvas canvas;
  canvas.brush.style = BrushStyle::Clear;
  canvas.font.size = 10;
  canvas.TurnFont(true);
  canvas.SetTextPainter(&legendtext::SharedTextPainter());
  canvas.TextOut(100, 150, "Upward text");
  const QRect ink = Bounds(Marked(canvas, kWhite));
  QVERIFY(ink.height() > ink.width() * 3);  // runs vertically
  QVERIFY(ink.bottom() <= 150 && ink.bottom() >= 145);
  QVERIFY(ink.left() >= 100 && ink.right() < 100 + 17);
}

void TestCanvas::fontHeightsAtNinetySixDpi_data() {
  QTest::addColumn<int>("points");
  QTest::addColumn<int>("height");
  QTest::newRow("small") << 8 << -11;
  QTest::newRow("medium") << 10 << -13;
  QTest::newRow("large") << 14 << -19;
}

void TestCanvas::fontHeightsAtNinetySixDpi() {
  QFETCH(int, points);
  QFETCH(int, height);
  Canvas canvas;
  canvas.font.size = points;
  QCOMPARE(canvas.font.Height(), height);
  // The ink of a capital stays within the character height.
  canvas.brush.style = BrushStyle::Clear;
  canvas.SetTextPainter(&legendtext::SharedTextPainter());
  canvas.TextOut(10, 10, "H");
  const QRect ink = Bounds(Marked(canvas, kWhite));
  QVERIFY(ink.height() <= -height);
  QVERIFY(ink.height() >= -height * 6 / 10);
}

void TestCanvas::fillRectPaintsWithBrushOnly() {
  Canvas canvas;
  canvas.pen.mode = PenMode::NotXor;
  canvas.brush = {kGreen, BrushStyle::Solid};
  canvas.FillRect(-10, -10, 30, 20);
  QCOMPARE(Bounds(Marked(canvas, kWhite)), QRect(QPoint(0, 0), QPoint(29, 19)));
  QVERIFY(IsColour(canvas, 0, 0, kGreen) && IsColour(canvas, 29, 19, kGreen));
  canvas.brush.style = BrushStyle::Clear;
  canvas.FillRect(100, 100, 120, 120);
  QVERIFY(IsColour(canvas, 110, 110, kWhite));
}

// Boxes that miss the picture on any side, a few pixels or far off.
void TestCanvas::textAndFillsWhollyOffThePictureChangeNothing_data() {
  QTest::addColumn<int>("x");
  QTest::addColumn<int>("y");
  QTest::addColumn<bool>("up");
  QTest::newRow("right") << 325 << 104 << false;
  QTest::newRow("below") << 100 << 205 << false;
  QTest::newRow("left") << -200 << 100 << false;
  QTest::newRow("above") << 100 << -60 << false;
  QTest::newRow("up, right") << 330 << 100 << true;
  QTest::newRow("up, below") << 100 << 400 << true;
  QTest::newRow("far") << 2000000000 << -2000000000 << false;
}

void TestCanvas::textAndFillsWhollyOffThePictureChangeNothing() {
  QFETCH(int, x);
  QFETCH(int, y);
  QFETCH(bool, up);
  Canvas canvas;
  canvas.brush = {kGreen, BrushStyle::Solid};
  canvas.font.size = 14;
  canvas.TurnFont(up);
  canvas.SetTextPainter(&legendtext::SharedTextPainter());
  canvas.TextOut(x, y, "ab");
  canvas.FillRect(x + 10, y + 10, x, y);
  canvas.FillRect(x, y, x + 10, y + 10);
  QCOMPARE(canvas.Picture(), Canvas().Picture());
}

void TestCanvas::shapesFarOutsideShowTheirVisiblePart() {
  Canvas canvas;
  canvas.brush.style = BrushStyle::Clear;
  canvas.MoveTo(-999999, 100);
  canvas.LineTo(9999999, 100);
  QCOMPARE(Marked(canvas, kWhite).size(), 320);
  QVERIFY(Ink(canvas, 0, 100) && Ink(canvas, 319, 100));

  Canvas rect;
  rect.brush.style = BrushStyle::Clear;
  rect.Rectangle(-999999, -999999, 9999999, 51);
  QCOMPARE(Bounds(Marked(rect, kWhite)), QRect(0, 50, 320, 1));

  // A circle of a million pixels whose lowest point is (160, 100).
  Canvas circle;
  circle.brush.style = BrushStyle::Clear;
  circle.Ellipse(160 - 1000000, 100 - 2000000, 160 + 1000000, 101);
  const QRect arc = Bounds(Marked(circle, kWhite));
  QVERIFY2(arc.bottom() == 100 && arc.top() >= 95 && arc.width() == 320,
           qPrintable(QString("%1,%2 %3x%4").arg(arc.x()).arg(arc.y()).arg(arc.width()).arg(arc.height())));

  // The widest pens, exactly: a round end five million pixels across covers
  // the picture from far away; one of 5,000 pixels does not reach it.
  Canvas widest, wide;
  widest.pen.width = 9999999;
  wide.pen.width = 5000;
  for (Canvas* c : {&widest, &wide}) {
    c->MoveTo(-5000, -5000);
    c->LineTo(-4000, -5000);
  }
  QCOMPARE(Marked(widest, kWhite).size(), 320 * 200);
  QVERIFY(Marked(wide, kWhite).isEmpty());
}
