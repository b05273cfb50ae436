// Figures that reach far off the picture.

#include <QPoint>
#include <QRandomGenerator>
#include <QRect>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

#include "canvas/Canvas.h"
#include "canvas/EllipseOutline.h"
#include "canvas/Shapes.h"
#include "test_classes.h"

using namespace sketch;

namespace {

using WalkPixel = std::pair<std::int64_t, std::int64_t>;  // x, y

// The outline walked pixel by pixel, row by row, the way a broken pen goes
// round it: the reference for the walk numbers worked out from row ends.
std::vector<WalkPixel> WalkStepByStep(const EllipseShape& e) {
  struct Row {
    int y, left0, left1, right0, right1;  // the parts left and right of the centre
  };
  const auto span = [&](int y, int& first, int& last) { return e.Row(y, kWholePixels, first, last); };
  const int centreColumn = static_cast<int>(std::ceil(e.cx));
  std::vector<Row> upper, lower;
  for (int y = static_cast<int>(std::floor(e.cy - e.ry)) - 1; y <= static_cast<int>(std::ceil(e.cy + e.ry)) + 1; ++y) {
    int first, last;
    if (!span(y, first, last)) continue;
    // Pixels whose four neighbours are inside are no outline.
    int innerFirst = first + 1, innerLast = last - 1;
    for (const int n : {y - 1, y + 1}) {
      int nFirst, nLast;
      if (!span(n, nFirst, nLast)) {
        innerFirst = 1;
        innerLast = 0;
        break;
      }
      innerFirst = std::max(innerFirst, nFirst);
      innerLast = std::min(innerLast, nLast);
    }
    Row row{y, first, last, first, last};
    if (innerFirst <= innerLast) {
      row.left1 = innerFirst - 1;
      row.right0 = innerLast + 1;
    }
    row.left1 = std::min(row.left1, centreColumn - 1);
    row.right0 = std::max(row.right0, centreColumn);
    (y <= e.cy ? upper : lower).push_back(row);
  }
  std::vector<WalkPixel> walk;
  for (auto r = upper.rbegin(); r != upper.rend(); ++r)
    for (int x = r->right1; x >= r->right0; --x) walk.emplace_back(x, r->y);
  for (const Row& r : upper)
    for (int x = r.left1; x >= r.left0; --x) walk.emplace_back(x, r.y);
  for (const Row& r : lower)
    for (int x = r.left0; x <= r.left1; ++x) walk.emplace_back(x, r.y);
  for (auto r = lower.rbegin(); r != lower.rend(); ++r)
    for (int x = r->right0; x <= r->right1; ++x) walk.emplace_back(x, r->y);
  return walk;
}

// Every pixel of `picture` against the pixel `shift` further in `moved`,
// where both lie on the picture; the first that differs, or an empty text.
QString FirstDifference(const sketch::Picture& picture, const sketch::Picture& moved, QPoint shift) {
  const QRect overlap =
      QRect(0, 0, picture.Width(), picture.Height()).intersected(QRect(-shift, QSize(moved.Width(), moved.Height())));
  for (int y = overlap.top(); y <= overlap.bottom(); ++y) {
    const Pixel* here = picture.Row(y);
    const Pixel* there = moved.Row(y + shift.y()) + shift.x();
    for (int x = overlap.left(); x <= overlap.right(); ++x) {
      if (here[x] != there[x])
        return QString("pixel %1,%2 differs from %3,%4").arg(x).arg(y).arg(x + shift.x()).arg(y + shift.y());
    }
  }
  return {};
}

enum Figure { kLine, kRectangle, kEllipse, kArc };

// Draws the figure with its box at `box` moved by `shift`. An arc's radial
// points move with it; they lie well outside the box, as the quarter arcs'.
void DrawFigure(Canvas& canvas, Figure figure, QRect box, QPoint shift, int radialTurn) {
  const std::int64_t l = std::int64_t{box.left()} + shift.x(), t = std::int64_t{box.top()} + shift.y();
  const std::int64_t r = l + box.width(), b = t + box.height();
  const auto i = [](std::int64_t v) { return static_cast<int>(v); };
  switch (figure) {
    case kLine:
      canvas.MoveTo(i(l), i(t));
      canvas.LineTo(i(r), i(b));
      break;
    case kRectangle:
      canvas.Rectangle(i(l), i(t), i(r), i(b));
      break;
    case kEllipse:
      canvas.Ellipse(i(l), i(t), i(r), i(b));
      break;
    case kArc: {
      const std::int64_t cx = l + (r - l) / 2, cy = t + (b - t) / 2, reach = 1 << 16;
      const std::int64_t dx[4] = {reach, 0, -reach, 0}, dy[4] = {0, -reach, 0, reach};
      const int from = radialTurn % 4, to = (radialTurn + 1 + radialTurn / 4) % 4;
      canvas.Arc(i(l), i(t), i(r), i(b), i(cx + dx[from]), i(cy + dy[from]), i(cx + dx[to]), i(cy + dy[to]));
      break;
    }
  }
}

}  // namespace

void TestFarShapes::outlineWalkMatchesAStepByStepWalk_data() {
  QTest::addColumn<QRect>("box");
  // Boxes of every parity, round and flat, up to a hundred thousand pixels.
  QTest::addRow("one pixel") << QRect(5, 7, 1, 1);
  QTest::addRow("a row") << QRect(-3, 2, 40, 1);
  QTest::addRow("a column") << QRect(0, 0, 1, 33);
  QTest::addRow("two by two") << QRect(0, 0, 2, 2);
  QTest::addRow("three by three") << QRect(1, 1, 3, 3);
  QTest::addRow("flat") << QRect(-50000, 3, 100001, 4);
  QTest::addRow("tall") << QRect(2, -60000, 3, 120000);
  QTest::addRow("thin tall") << QRect(7, -30000, 1, 60001);
  QTest::addRow("large circle") << QRect(-40000, -40000, 80001, 80001);
  QTest::addRow("large even circle") << QRect(-30000, -30000, 60000, 60000);
  QTest::addRow("large ellipse") << QRect(-90000, -20000, 180000, 40001);
  QRandomGenerator random(20261208);
  for (int n = 0; n < 60; ++n) {
    const int width = n < 30 ? random.bounded(1, 80) : random.bounded(1, 3000);
    const int height = n < 30 ? random.bounded(1, 80) : random.bounded(1, 3000);
    QTest::addRow("random %d", n) << QRect(random.bounded(-500, 500), random.bounded(-500, 500), width, height);
  }
}

void TestFarShapes::outlineWalkMatchesAStepByStepWalk() {
  QFETCH(QRect, box);
  const EllipseShape e = EllipseShape::InBox(box.left(), box.top(), box.right() + 1, box.bottom() + 1);
  const EllipseOutline outline(e, EllipseOutline::Walk::kNumbered);
  const std::vector<WalkPixel> walk = WalkStepByStep(e);
  QCOMPARE(outline.Total(), static_cast<std::int64_t>(walk.size()));

  // Every row's runs give each pixel its place in the walk, and hold no
  // other pixels.
  const int top = box.top() - 1;
  std::vector<std::vector<EllipseOutline::Run>> rows(static_cast<std::size_t>(box.height() + 2));
  std::size_t runPixels = 0;
  for (int y = top; y <= box.bottom() + 1; ++y) {
    EllipseOutline::Run runs[2];
    const int count = outline.RowRuns(y, INT64_MIN / 4, INT64_MAX / 4, runs);
    for (int i = 0; i < count; ++i) {
      rows[static_cast<std::size_t>(y - top)].push_back(runs[i]);
      runPixels += static_cast<std::size_t>(runs[i].x1 - runs[i].x0 + 1);
    }
  }
  QCOMPARE(runPixels, walk.size());
  for (std::size_t n = 0; n < walk.size(); ++n) {
    const auto [x, y] = walk[n];
    std::int64_t index = -1;
    for (const EllipseOutline::Run& run : rows[static_cast<std::size_t>(y - top)])
      if (x >= run.x0 && x <= run.x1) index = run.indexAtX0 + run.direction * (x - run.x0);
    if (index != static_cast<std::int64_t>(n))
      QFAIL(qPrintable(QString("pixel %1,%2 is number %3 of the walk, not %4").arg(x).arg(y).arg(n).arg(index)));
  }

  // The walk turns counter-clockwise only, and an angle finds its place.
  for (std::size_t n = 1; n < walk.size(); ++n) {
    QVERIFY(outline.AngleOf(walk[n].first, walk[n].second) >= outline.AngleOf(walk[n - 1].first, walk[n - 1].second));
  }
  for (int step = 0; step < 16; ++step) {
    const double angle = step * std::numbers::pi / 8 + 0.01;
    std::int64_t expected = 0;
    while (expected < outline.Total() && outline.AngleOf(walk[static_cast<std::size_t>(expected)].first,
                                                         walk[static_cast<std::size_t>(expected)].second) < angle)
      ++expected;
    QCOMPARE(outline.FirstAtOrAfter(angle), expected);
  }
}

void TestFarShapes::movedShapesShowTheSamePixels_data() {
  QTest::addColumn<int>("figure");
  QTest::addColumn<int>("style");
  QTest::addColumn<int>("width");
  for (int figure = kLine; figure <= kArc; ++figure) {
    for (int style = 0; style <= 3; ++style) {
      for (const int width : {1, 4}) {
        if (style != 0 && width != 1) continue;
        QTest::addRow("figure %d style %d width %d", figure, style, width) << figure << style << width;
      }
    }
  }
}

void TestFarShapes::movedShapesShowTheSamePixels() {
  // A figure moved partly or mostly off the picture shows the pixels it
  // showed before, moved: also dashes, also from millions of pixels away.
  QFETCH(int, figure);
  QFETCH(int, style);
  QFETCH(int, width);
  QRandomGenerator random(static_cast<quint32>(20261208 + figure * 16 + style * 4 + width));
  for (int round = 0; round < 60; ++round) {
    const bool far = round % 3 == 2;
    const int size = far ? 9'000'000 : 400;
    QRect box(random.bounded(-size, 320), random.bounded(-size, 200), random.bounded(1, size), random.bounded(1, size));
    if (far) box.moveTo(-box.width() / 2 + random.bounded(-300, 300), box.top());
    const QPoint shift(random.bounded(-350, 350), random.bounded(-250, 250));
    const BrushStyle brush = round % 2 ? BrushStyle::Solid : BrushStyle::Clear;
    const int radialTurn = random.bounded(16);
    Canvas here, moved;
    for (Canvas* c : {&here, &moved}) {
      c->pen.style = static_cast<PenStyle>(style);
      c->pen.width = width;
      c->brush = {kBlack, brush};
    }
    // The gaps of broken pens show in white on black.
    for (Canvas* c : {&here, &moved}) c->pen.color = kGreen;
    DrawFigure(here, static_cast<Figure>(figure), box, {}, radialTurn);
    DrawFigure(moved, static_cast<Figure>(figure), box, shift, radialTurn);
    const QString difference = FirstDifference(here.Picture(), moved.Picture(), shift);
    QVERIFY2(difference.isEmpty(), qPrintable(QString("round %1, box %2,%3 %4x%5, moved %6,%7: %8")
                                                  .arg(round)
                                                  .arg(box.x())
                                                  .arg(box.y())
                                                  .arg(box.width())
                                                  .arg(box.height())
                                                  .arg(shift.x())
                                                  .arg(shift.y())
                                                  .arg(difference)));
  }
}

void TestFarShapes::dashesDoNotDependOnWhatLiesOffThePicture_data() {
  QTest::addColumn<int>("figure");
  QTest::addColumn<QRect>("box");
  QTest::addColumn<QPoint>("shift");
  // The ellipse's upper half lies above the picture.
  QTest::addRow("dashed ellipse") << int(kEllipse) << QRect(10, -100, 100, 200) << QPoint(0, 100);
  QTest::addRow("dashed ellipse a million wide") << int(kEllipse) << QRect(-999999, 1, 10999998, 199) << QPoint(100, 0);
}

void TestFarShapes::dashesDoNotDependOnWhatLiesOffThePicture() {
  QFETCH(int, figure);
  QFETCH(QRect, box);
  QFETCH(QPoint, shift);
  Canvas off, on;
  for (Canvas* c : {&off, &on}) {
    c->pen.style = PenStyle::Dash;
    c->brush.style = BrushStyle::Clear;
  }
  DrawFigure(off, static_cast<Figure>(figure), box, {}, 0);
  DrawFigure(on, static_cast<Figure>(figure), box, shift, 0);
  QCOMPARE(FirstDifference(off.Picture(), on.Picture(), shift), QString());
  QVERIFY(off.Picture() != Canvas().Picture());
}

void TestFarShapes::dashesOfARectangleCountFromItsCorner() {
  // The top edge starts 1,000 pixels left of the picture: its dashes (18 on,
  // 6 off) are counted from there, not from where the picture begins.
  Canvas canvas;
  canvas.pen.style = PenStyle::Dash;
  canvas.brush.style = BrushStyle::Clear;
  canvas.Rectangle(-1000, 10, 200, 100);
  for (int x = 0; x < 199; ++x) {
    const bool dash = (x + 1000) % 24 < 18;
    QVERIFY2(canvas.Picture().At(x, 10) == (dash ? 0xFF000000u : 0xFFFFFFFFu), qPrintable(QString::number(x)));
  }
}

void TestFarShapes::thinLinesTakeTheNearestPixel_data() {
  QTest::addColumn<QPoint>("from");
  QTest::addColumn<QPoint>("to");
  QTest::newRow("shallow") << QPoint(3, 7) << QPoint(300, 52);
  QTest::newRow("steep, leftwards") << QPoint(200, 190) << QPoint(170, 4);
  QTest::newRow("diagonal, upwards") << QPoint(10, 190) << QPoint(200, 0);
  QTest::newRow("halves round up") << QPoint(0, 0) << QPoint(8, 1);
  QTest::newRow("from far left, millions away") << QPoint(-3'000'000, -1'000'001) << QPoint(300, 120);
  QTest::newRow("through the picture, both ends far")
      << QPoint(-2'000'000'000, 1'999'999'000) << QPoint(2'000'000'000, -1'999'998'800);
  QTest::newRow("steep, ends at the limits") << QPoint(100, -2'147'483'647) << QPoint(101, 2'147'483'647);
}

// Each step along the longer axis takes the pixel nearest the true line,
// floor(i * minor / steps + 1/2), however far away the line starts: the
// line is stepped from the first visible pixel on, not divided each step.
void TestFarShapes::thinLinesTakeTheNearestPixel() {
  QFETCH(QPoint, from);
  QFETCH(QPoint, to);
  Canvas canvas;
  canvas.MoveTo(from.x(), from.y());
  canvas.LineTo(to.x(), to.y());
  __extension__ using Wide = __int128;
  const Wide dx = Wide{to.x()} - from.x(), dy = Wide{to.y()} - from.y();
  const bool xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
  const Wide steps = xMajor ? (dx < 0 ? -dx : dx) : (dy < 0 ? -dy : dy);
  const Wide minor = xMajor ? dy : dx;
  const Wide sign = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const Wide major0 = xMajor ? from.x() : from.y(), minor0 = xMajor ? from.y() : from.x();
  std::vector<WalkPixel> expected;
  const int size = xMajor ? kPictureWidth : kPictureHeight;
  for (int major = 0; major < size; ++major) {
    const Wide i = (major - major0) * sign;
    if (i < 0 || i >= steps) continue;
    const Wide numerator = 2 * i * minor + steps, divisor = 2 * steps;
    const Wide quotient = numerator / divisor - (numerator % divisor < 0 ? 1 : 0);
    const Wide other = minor0 + quotient;
    const Wide x = xMajor ? major : other, y = xMajor ? other : major;
    if (x >= 0 && x < kPictureWidth && y >= 0 && y < kPictureHeight)
      expected.emplace_back(static_cast<std::int64_t>(x), static_cast<std::int64_t>(y));
  }
  QVERIFY(!expected.empty());
  std::vector<WalkPixel> drawn;
  for (int y = 0; y < kPictureHeight; ++y)
    for (int x = 0; x < kPictureWidth; ++x)
      if (canvas.Picture().At(x, y) == ToPixel(kBlack)) drawn.emplace_back(x, y);
  std::sort(expected.begin(), expected.end());
  std::sort(drawn.begin(), drawn.end());
  QCOMPARE(drawn.size(), expected.size());
  QVERIFY(drawn == expected);
}

void TestFarShapes::quarterArcsMakeTheWholeOutline_data() {
  QTest::addColumn<QRect>("box");
  QTest::addColumn<int>("width");
  QTest::newRow("on the picture, thin") << QRect(QPoint(40, 30), QPoint(250, 170)) << 1;
  QTest::newRow("on the picture, thick") << QRect(QPoint(40, 30), QPoint(250, 170)) << 5;
  QTest::newRow("reaching off the left and top") << QRect(QPoint(-150, -90), QPoint(120, 80)) << 1;
  QTest::newRow("reaching off the right, thick") << QRect(QPoint(200, 20), QPoint(700, 180)) << 3;
  QTest::newRow("far larger than the picture") << QRect(QPoint(-5000, -2000), QPoint(300, 2190)) << 1;
  QTest::newRow("one pixel high") << QRect(QPoint(10, 100), QPoint(300, 101)) << 1;
}

// The four quarters of an ellipse, each drawn as an arc between the rays
// along its axes, cover exactly its whole outline: an arc leaves out no row
// it has pixels in.
void TestFarShapes::quarterArcsMakeTheWholeOutline() {
  QFETCH(QRect, box);
  QFETCH(int, width);
  const int l = box.left(), t = box.top(), r = box.right() + 1, b = box.bottom() + 1;
  Canvas whole;
  whole.pen.width = width;
  whole.brush.style = BrushStyle::Clear;
  whole.Ellipse(l, t, r, b);
  Canvas quarters;
  quarters.pen.width = width;
  quarters.brush.style = BrushStyle::Clear;
  const int cx = (l + r) / 2, cy = (t + b) / 2, far = 1 << 16;
  const QPoint rays[4] = {{cx + far, cy}, {cx, cy - far}, {cx - far, cy}, {cx, cy + far}};
  for (int q = 0; q < 4; ++q) {
    const QPoint from = rays[q], to = rays[(q + 1) % 4];
    quarters.Arc(l, t, r, b, from.x(), from.y(), to.x(), to.y());
  }
  int outline = 0;
  for (int y = 0; y < kPictureHeight; ++y) {
    for (int x = 0; x < kPictureWidth; ++x) {
      const bool inWhole = whole.Picture().At(x, y) == ToPixel(kBlack);
      const bool inQuarters = quarters.Picture().At(x, y) == ToPixel(kBlack);
      outline += inWhole ? 1 : 0;
      // A thick arc adds its round ends, which may stand out of the ring.
      if (width == 1 || inWhole) QVERIFY2(inWhole == inQuarters, qPrintable(QStringLiteral("(%1, %2)").arg(x).arg(y)));
    }
  }
  QVERIFY(outline > 0);
}
