// The picture as the drawing window shows it: zoom, the picture points the
// mouse reaches at every zoom, what a move repaints, redraw while typing and
// undo from the picture.

#include <QAction>
#include <QApplication>
#include <QBackingStore>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPaintEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <memory>

#include "DrawingSession.h"
#include "editor/SketchTextEdit.h"
#include "test_classes.h"
#include "ui/MdiChild.h"

namespace {

// Collects the areas the picture control is asked to paint.
class PaintSpy final : public QObject {
 public:
  QRegion painted;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
    return false;
  }
};

void Wheel(QWidget* target, int delta, Qt::KeyboardModifiers keys) {
  const QPointF at(5, 5);
  QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, keys, Qt::NoScrollPhase,
                    false);
  QApplication::sendEvent(target, &event);
}

// The session's drawing window in a subwindow frame at `placed` in an MDI
// area of `size`, as the program's frame holds it; taken out again at the
// end, as the session owns it.
struct MdiFrame {
  MdiFrame(TGrafForm& graf, QSize size, QRect placed) : sub(new ui::ChildSubWindow(&graf, &graf)) {
    area.resize(size);
    area.addSubWindow(sub);
    sub->setGeometry(placed);
    graf.show();
    sub->show();
    area.show();
  }
  ~MdiFrame() { sub->setWidget(nullptr); }
  MdiFrame(const MdiFrame&) = delete;
  MdiFrame& operator=(const MdiFrame&) = delete;

  QMdiArea area;
  QMdiSubWindow* sub;
};

}  // namespace

void TestPictureView::dragsWriteTheSameLineAtEveryZoom_data() {
  QTest::addColumn<int>("zoom");  // 0: Fit
  QTest::addColumn<int>("tool");
  QTest::addColumn<bool>("gridSnap");
  QTest::addColumn<QByteArray>("written");
  for (const int zoom : {1, 3, 0, 8}) {
    const QByteArray name = zoom == 0 ? "fit" : QByteArray::number(zoom) + "x";
    QTest::newRow(name + ", line") << zoom << 0 << false << QByteArray("L(1;13;27;117;22)\r\n");
    QTest::newRow(name + ", rectangle") << zoom << 1 << false << QByteArray("R(1;E;13;27;117;22)\r\n");
    QTest::newRow(name + ", arc") << zoom << 3 << false << QByteArray("A(1;0;13;27;117;22)\r\n");
    QTest::newRow(name + ", line on the grid") << zoom << 0 << true << QByteArray("L(1;10;30;120;20)\r\n");
  }
}

void TestPictureView::dragsWriteTheSameLineAtEveryZoom() {
  QFETCH(int, zoom);
  QFETCH(int, tool);
  QFETCH(bool, gridSnap);
  QFETCH(QByteArray, written);
  if (zoom == 0) {
    fx->graf.resize(1100, 800);
    fx->graf.SetZoomFit();
    QVERIFY(fx->graf.Zoom() >= 2);
  } else {
    fx->graf.SetZoom(zoom);
  }
  fx->SetChecked("CbGridSnap", gridSnap);
  fx->UseTool(static_cast<std::uint8_t>(tool));
  // Press at the first screen pixel of one picture pixel, release at the last of another.
  const drawingtest::Spot end = drawingtest::Spot::FarCorner({117, 22});
  fx->Press({13, 27});
  fx->Move(end);
  const QString current = fx->Status("StatusPanel1");
  QVERIFY2(current == (gridSnap ? "Current: (120, 20)" : "Current: (117, 22)"), qPrintable(current));
  fx->Release(end);
  QCOMPARE(fx->Text(), written);
  QVERIFY(fx->Picture() == fx->Rendered());
  // The gesture's points go with it.
  QCOMPARE(fx->Status("StatusPanel0") + fx->Status("StatusPanel1"), QString());
}

// A read-out names a point of the picture under the pointer: with the
// pointer gone from the picture, no stale point stays.
void TestPictureView::readOutsGoWhenThePointerLeaves() {
  fx->Move({40, 30});
  QVERIFY(fx->Status("StatusPanel1").startsWith("Cursor: (40, 30)"));
  QEvent leave(QEvent::Leave);  // what the window system sends as the pointer goes
  QCoreApplication::sendEvent(fx->graf.Image, &leave);
  QCOMPARE(fx->Status("StatusPanel0") + fx->Status("StatusPanel1"), QString());
}

void TestPictureView::zoomShowsSharpSquares_data() {
  QTest::addColumn<int>("zoom");
  QTest::newRow("1x") << 1;
  QTest::newRow("3x") << 3;
}

void TestPictureView::zoomShowsSharpSquares() {
  QFETCH(int, zoom);
  fx->Load("E(1;F;10;10;70;50)\nL(DT;0;199;319;0)\nR(3;E;100;100;300;190)");
  fx->graf.SetZoom(zoom);
  const QPixmap shown = fx->graf.Image->grab();
  const qreal ratio = shown.devicePixelRatio();
  const QImage screen = shown.toImage().convertToFormat(QImage::Format_RGB32);
  // Whole device pixels per picture pixel, when the ratio allows it.
  const int side = static_cast<int>(zoom * ratio);
  QCOMPARE(screen.size(), QSize(320 * side, 200 * side));
  const sketch::Picture& picture = fx->Picture();
  for (int y = 0; y < screen.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(screen.constScanLine(y));
    for (int x = 0; x < screen.width(); ++x) {
      if ((row[x] | 0xFF000000u) != picture.At(x / side, y / side))
        QFAIL(qPrintable(QString("screen pixel (%1, %2) is not its picture pixel").arg(x).arg(y)));
    }
  }
}

// What reaches the window itself, scrolled and repainted in parts by a
// drag: each device pixel of the viewport is its picture pixel, and the
// scroll bars the picture lies under keep their own pixels.
void TestPictureView::theWindowShowsTheSquaresItRepaints() {
  fx->Load("E(1;F;10;10;70;50)\nL(DT;0;199;319;0)\nR(3;E;100;100;300;190)");
  fx->graf.SetZoom(3);
  fx->graf.resize(400, 320);  // sized back by hand after the zoom grew it: scroll bars on both sides
  QApplication::processEvents();
  QScrollArea& scroll = *fx->Find<QScrollArea>("ScrollBox1");
  scroll.horizontalScrollBar()->setValue(37);
  scroll.verticalScrollBar()->setValue(23);
  QApplication::processEvents();
  // The window's own image, in device pixels, as the platform shows it.
  const auto shown = [this] {
    QPaintDevice* const device = fx->graf.backingStore()->paintDevice();
    return device->devType() == QInternal::Image
               ? static_cast<const QImage*>(device)->convertToFormat(QImage::Format_RGB32)
               : QImage();
  };
  const qreal ratio = fx->graf.devicePixelRatioF();
  if (3 * ratio != std::round(3 * ratio)) QSKIP("picture pixels are whole device pixels only at whole ratios");
  const auto deviceRect = [&](QWidget* w) {
    const QRect r(w->mapTo(&fx->graf, QPoint(0, 0)), w->size());
    return QRect((QPointF(r.topLeft()) * ratio).toPoint(), (QSizeF(r.size()) * ratio).toSize());
  };
  const QRect bar = deviceRect(scroll.verticalScrollBar());
  const QImage barBefore = shown().copy(bar);
  fx->Press({20, 20});
  fx->Move({300, 120});
  QApplication::processEvents();
  fx->Move({310, 150});
  QApplication::processEvents();
  const QImage screen = shown();
  QCOMPARE(screen.size(), (QSizeF(fx->graf.size()) * ratio).toSize());
  QCOMPARE(screen.copy(bar), barBefore);
  const QRect view = deviceRect(scroll.viewport());
  const QPoint origin = deviceRect(fx->graf.Image).topLeft();
  const int side = static_cast<int>(3 * ratio);
  const sketch::Picture& picture = fx->Picture();
  const auto showsPicture = [&](const char* after) {
    const QImage now = shown();
    for (int y = view.top(); y <= view.bottom(); ++y) {
      for (int x = view.left(); x <= view.right(); ++x) {
        const QPoint p((x - origin.x()) / side, (y - origin.y()) / side);
        if ((now.pixel(x, y) | 0xFF000000u) != picture.At(p.x(), p.y()))
          QFAIL(qPrintable(QString::asprintf("after %s, window pixel (%d, %d) is not picture pixel (%d, %d)", after, x,
                                             y, p.x(), p.y())));
      }
    }
  };
  showsPicture("the moves");
  fx->Release({310, 150});
  QApplication::processEvents();
  showsPicture("the release");
  // A repaint of the whole picture between two marks of one line: the
  // second mark shows, though it puts back the very pixels the first one set.
  fx->graf.HighlightLine("E(1;F;10;10;70;50)");
  QApplication::processEvents();
  showsPicture("a mark");
  fx->graf.DrawSketch();
  QApplication::processEvents();
  showsPicture("F7");
  fx->graf.HighlightLine("E(1;F;10;10;70;50)");
  QApplication::processEvents();
  showsPicture("the mark again");
}

void TestPictureView::ctrlWheelZoomsAndPlainWheelScrolls() {
  Wheel(fx->graf.Image, 120, Qt::ControlModifier);
  QCOMPARE(fx->graf.Zoom(), 2);
  Wheel(fx->Find<QScrollArea>("ScrollBox1")->viewport(), 240, Qt::ControlModifier);  // beside the picture too
  QCOMPARE(fx->graf.Zoom(), 4);
  QCOMPARE(fx->Status("ZoomPanel"), QString("4x"));
  QVERIFY(fx->Checked("ZoomStep4"));
  Wheel(fx->graf.Image, -120 * 10, Qt::ControlModifier);
  QCOMPARE(fx->graf.Zoom(), 1);
  fx->graf.SetZoom(20);
  QCOMPARE(fx->graf.Zoom(), TGrafForm::kZoomMax);
  // Without Ctrl the wheel scrolls the enlarged picture and leaves the zoom.
  QScrollBar* bar = fx->Find<QScrollArea>("ScrollBox1")->verticalScrollBar();
  const int before = bar->value();
  Wheel(fx->Find<QScrollArea>("ScrollBox1")->viewport(), -120, Qt::NoModifier);
  QCOMPARE(fx->graf.Zoom(), TGrafForm::kZoomMax);
  QVERIFY(bar->value() > before);
}

void TestPictureView::fitFollowsTheWindow() {
  fx->graf.resize(400, 320);
  fx->graf.SetZoomFit();
  QCOMPARE(fx->graf.Zoom(), 1);
  fx->graf.resize(1100, 800);
  QCOMPARE(fx->graf.Zoom(), 3);
  QCOMPARE(fx->Status("ZoomPanel"), QString("Fit 3x"));
  QVERIFY(fx->Checked("ZoomFit1"));
  const QSize room = fx->Find<QScrollArea>("ScrollBox1")->viewport()->size();
  QVERIFY(fx->graf.Image->width() <= room.width() && fx->graf.Image->height() <= room.height());
  fx->graf.ZoomBy(-1);  // a step leaves Fit
  QCOMPARE(fx->graf.Zoom(), 2);
  QVERIFY(!fx->graf.ZoomFits());
  fx->graf.resize(1500, 1000);
  QCOMPARE(fx->graf.Zoom(), 2);
}

// Zooming in grows the window (its subwindow frame in an MDI area, or the
// window itself on the screen) to show the whole picture, as far as the room
// goes and inside it; zooming out, Fit, and a maximised or minimised window
// keep the size.
void TestPictureView::zoomingInGrowsTheWindow_data() {
  QTest::addColumn<QSize>("frame");   // the MDI area; none: the window on its own on the screen
  QTest::addColumn<QRect>("placed");  // the subwindow frame, or the window's size
  QTest::addColumn<Qt::WindowState>("state");
  QTest::addColumn<int>("from");  // 0: Fit
  QTest::addColumn<QString>("way");
  QTest::addColumn<int>("to");
  QTest::addColumn<QString>("outcome");  // "whole", "capped" (scroll bars for the rest), "kept"
  const QSize large(1100, 850), small(700, 500);
  const QRect window(0, 0, 560, 330);  // about as small as the tool bar lets it be
  const Qt::WindowState normal = Qt::WindowNoState;
  QTest::newRow("room, Ctrl++") << large << window << normal << 1 << "keys" << 2 << "whole";
  QTest::newRow("room, Ctrl+wheel") << large << window << normal << 1 << "wheel" << 3 << "whole";
  QTest::newRow("room, the 3x step") << large << QRect(20, 10, 560, 330) << normal << 2 << "step" << 3 << "whole";
  QTest::newRow("near the corner: moved left and up")
      << large << QRect(500, 500, 560, 330) << normal << 1 << "keys" << 3 << "whole";
  QTest::newRow("wide already: grows down only")
      << large << QRect(0, 0, 1000, 300) << normal << 1 << "menu" << 2 << "whole";
  QTest::newRow("no room: capped") << small << QRect(100, 100, 560, 330) << normal << 1 << "wheel" << 8 << "capped";
  QTest::newRow("room for the height only") << QSize(900, 850) << window << normal << 1 << "keys" << 3 << "capped";
  QTest::newRow("the last run's zoom") << large << window << normal << 1 << "settings" << 3 << "whole";
  QTest::newRow("the last run's zoom, no room") << small << window << normal << 1 << "settings" << 4 << "capped";
  QTest::newRow("from Fit, Ctrl++") << large << window << normal << 0 << "keys" << 2 << "whole";
  QTest::newRow("Fit fits the zoom, not the window")
      << large << QRect(0, 0, 1000, 800) << normal << 1 << "fit" << 3 << "kept";
  QTest::newRow("zoom out: a large window stays")
      << large << QRect(0, 0, 1000, 800) << normal << 3 << "keys" << 2 << "kept";
  QTest::newRow("zoom out: a small window stays") << large << window << normal << 4 << "wheel" << 3 << "kept";
  QTest::newRow("maximised") << small << window << Qt::WindowMaximized << 1 << "keys" << 3 << "kept";
  QTest::newRow("minimised") << large << window << Qt::WindowMinimized << 1 << "menu" << 3 << "kept";
  QTest::newRow("on its own: room") << QSize() << window << normal << 1 << "wheel" << 2 << "whole";
  QTest::newRow("on its own: capped at the screen") << QSize() << window << normal << 1 << "menu" << 8 << "capped";
}

void TestPictureView::zoomingInGrowsTheWindow() {
  QFETCH(QSize, frame);
  QFETCH(QRect, placed);
  QFETCH(Qt::WindowState, state);
  QFETCH(int, from);
  QFETCH(QString, way);
  QFETCH(int, to);
  QFETCH(QString, outcome);
  TGrafForm& graf = fx->graf;
  // The start: the window at `from`, sized afterwards as a hand would.
  graf.hide();
  from == 0 ? graf.SetZoomFit() : graf.SetZoom(from);
  QApplication::processEvents();
  // As the program's frame does, the last run's zoom is applied before the window shows.
  if (way == "settings") graf.ApplyViewSettings({to, false, false});
  std::unique_ptr<MdiFrame> mdi;
  if (frame.isValid()) {
    mdi = std::make_unique<MdiFrame>(graf, frame, placed);
  } else {
    graf.resize(placed.size());
    graf.show();
  }
  QWidget* window = mdi ? static_cast<QWidget*>(mdi->sub) : &graf;
  QVERIFY(QTest::qWaitForWindowActive(window->window()));
  if (state == Qt::WindowMaximized) window->showMaximized();
  if (state == Qt::WindowMinimized) window->showMinimized();
  QApplication::processEvents();
  // The zoom keys reach the window as from the frame's menu bar.
  window->window()->addActions({fx->Find<QAction>("ZoomIn1"), fx->Find<QAction>("ZoomOut1")});
  const QRect room = mdi ? mdi->area.viewport()->rect() : graf.screen()->availableGeometry();
  // Outer edges: on the screen the window's own frame counts too.
  const QRect before = way == "settings" ? placed : window->frameGeometry();

  const int steps = to - graf.Zoom();
  if (way == "keys") {
    for (int i = 0; i < std::abs(steps); ++i)
      QTest::keyClick(graf.Image, steps > 0 ? Qt::Key_Plus : Qt::Key_Minus, Qt::ControlModifier);
  } else if (way == "wheel") {
    Wheel(graf.Image, 120 * steps, Qt::ControlModifier);
  } else if (way == "menu") {
    for (int i = 0; i < std::abs(steps); ++i) fx->Click(steps > 0 ? "ZoomIn1" : "ZoomOut1");
  } else if (way == "step") {
    fx->Click(qPrintable(QStringLiteral("ZoomStep%1").arg(to)));
  } else if (way == "fit") {
    fx->Click("ZoomFit1");
  }
  QApplication::processEvents();
  QCOMPARE(graf.Zoom(), to);
  QCOMPARE(graf.ZoomFits(), way == "fit");
  QCOMPARE(window->windowState() & ~Qt::WindowActive, Qt::WindowStates(state));

  const QRect after = window->frameGeometry();
  const QString where = QString::asprintf("%d,%d %dx%d in %dx%d", after.x(), after.y(), after.width(), after.height(),
                                          room.width(), room.height());
  if (outcome == "kept") {
    QCOMPARE(after.size(), before.size());
    if (state != Qt::WindowNoState) {  // back to the size it had when restored
      window->showNormal();
      QCOMPARE(window->size(), placed.size());
    }
    return;
  }
  QVERIFY2(room.contains(after), qPrintable(where));
  QVERIFY2(after.width() >= before.width() && after.height() >= before.height(), qPrintable(where));
  QScrollArea& scroll = *fx->Find<QScrollArea>("ScrollBox1");
  const QSize picture = graf.Image->size(), view = scroll.maximumViewportSize();
  const bool wideBar = scroll.horizontalScrollBar()->isVisible(), tallBar = scroll.verticalScrollBar()->isVisible();
  if (outcome == "whole") {
    QVERIFY2(!wideBar && !tallBar, qPrintable(where));
    // Grown by just what the picture lacked.
    if (after.width() > before.width()) QCOMPARE(view.width(), picture.width());
    if (after.height() > before.height()) QCOMPARE(view.height(), picture.height());
  } else {
    QVERIFY2(wideBar || tallBar, qPrintable(where));
    // A side with a scroll bar along it takes all the room there is.
    if (wideBar) QVERIFY2(after.width() == room.width(), qPrintable(where));
    if (tallBar) QVERIFY2(after.height() == room.height(), qPrintable(where));
  }
}

void TestPictureView::aMoveRepaintsOnlyWhatItChanged() {
  fx->graf.SetZoom(3);
  QApplication::processEvents();
  PaintSpy spy;
  fx->graf.Image->installEventFilter(&spy);
  const auto enlarged = [](const QRect& r) { return QRect(r.topLeft() * 3, r.size() * 3); };
  // What the second of two moves of a drag from `press` repaints.
  const auto paintedBySecondMove = [&](QPoint press, QPoint first, QPoint second) {
    fx->Press(press);
    fx->Move(first);
    QApplication::processEvents();
    spy.painted = QRegion();
    fx->Move(second);
    QApplication::processEvents();
    const QRegion painted = spy.painted;
    fx->Release(second);
    return painted;
  };
  // The old and the new rubber band with the pen's margin, enlarged three times.
  const QRegion line = paintedBySecondMove({20, 20}, {40, 30}, {50, 32});
  const QRect reach = QRect(QPoint(20 - 2, 20 - 2), QPoint(50 + 2, 32 + 2));
  QVERIFY(!line.isEmpty());
  QVERIFY2(enlarged(reach).contains(line.boundingRect()), qPrintable(QString("painted %1,%2 %3x%4")
                                                                         .arg(line.boundingRect().x())
                                                                         .arg(line.boundingRect().y())
                                                                         .arg(line.boundingRect().width())
                                                                         .arg(line.boundingRect().height())));
  // A filled band grown by a few columns repaints those columns, not the
  // inside the old band and the new share.
  fx->Click("RectangleButton");
  if (!fx->Checked("CbBrushStyle")) fx->Click("CbBrushStyle");
  const QRegion grown = paintedBySecondMove({20, 80}, {60, 120}, {64, 120});
  const QRect edges = QRect(QPoint(58 - 1, 80 - 1), QPoint(63 + 1, 119 + 1));
  QVERIFY(!grown.isEmpty());
  QVERIFY(enlarged(edges).contains(grown.boundingRect()));
  // The caret's mark repaints its element only.
  QApplication::processEvents();
  spy.painted = QRegion();
  fx->graf.HighlightLine("L(1;10;20;30;20)");
  QApplication::processEvents();
  QVERIFY(!spy.painted.isEmpty());
  QVERIFY(QRect(QPoint(9, 19) * 3, QSize(23, 3) * 3).contains(spy.painted.boundingRect()));
}

void TestPictureView::redrawWhileTypingFollowsTheText() {
  // Off by default: typing leaves the picture as it is.
  const sketch::Picture blank = fx->Picture();
  fx->Type("L(1;10;20;110;20)\n");
  QApplication::processEvents();
  QVERIFY(fx->Picture() == blank);

  fx->Click("RedrawWhileTyping1");
  QApplication::processEvents();
  QVERIFY(fx->Picture() == fx->Rendered());
  // Key by key, incomplete lines on the way: a note in the status bar, no box.
  fx->Type("R(2;F;30;40;90;80)\nT(M;5;150;\"unfinished");
  QApplication::processEvents();
  QVERIFY(fx->dialogs.calls.isEmpty());
  QVERIFY2(fx->Status("NotePanel").startsWith("3:"), qPrintable(fx->Status("NotePanel")));
  // The caret's line is marked again after each redraw.
  QCOMPARE(fx->graf.LastHighlight(), std::string("T(M;5;150;\"unfinished"));
  fx->Type("\"");
  QApplication::processEvents();
  QVERIFY(fx->Status("NotePanel").isEmpty());
  QCOMPARE(fx->graf.LastHighlight(), std::string("T(M;5;150;\"unfinished\""));
  // The picture after typing is the picture F7 paints (the mark taken off).
  QVERIFY(fx->PictureIsThePass());
  // A paste and an undo are changes like any other.
  fx->editor.Editor->selectAll();
  fx->editor.Editor->cut();
  fx->editor.Editor->insertPlainText("E(1;F;10;10;70;50)\n");
  fx->editor.Editor->paste();
  QApplication::processEvents();
  QVERIFY(fx->PictureIsThePass());
  fx->editor.Editor->undo();
  QApplication::processEvents();
  QVERIFY(fx->PictureIsThePass());
  // Switched off while a redraw waits, and on again: typing is followed again.
  fx->Type("\nL(1;5;5;");
  fx->graf.SetRedrawWhileTyping(false);
  QApplication::processEvents();
  fx->graf.SetRedrawWhileTyping(true);
  fx->Type("90;90)");
  QApplication::processEvents();
  QVERIFY(fx->PictureIsThePass());
  // F7 still asks.
  fx->Type("\nL(1;5;5;9;9");
  fx->dialogs.answers << ui::Answer::Ok;
  fx->graf.DrawSketch();
  QCOMPARE(fx->dialogs.Kinds(), QStringList{"WarningOkCancel"});
}

void TestPictureView::liveNoteNamesTheLineBeingTyped_data() {
  QTest::addColumn<QString>("above");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("note");
  QTest::newRow("the only one") << "R(1;E;1;1;5;5)\n"
                                << "L(1;5;5;9;9"
                                << "2:12: Polyline is probably incomplete";
  QTest::newRow("typed below another") << "L(1;1;2;3;4\nR(1;E;1;1;5;5)\n"
                                       << "T(S;5;5;\"ab"
                                       << "3:12: Legend text is probably incomplete (2 incomplete lines)";
  QTest::newRow("caret on a complete line: the first") << "L(1;1;2;3;4\nT(S;5;5;\"ab\n"
                                                       << "R(1;E;1;1;5;5)"
                                                       << "1:12: Polyline is probably incomplete (2 incomplete lines)";
}

void TestPictureView::liveNoteNamesTheLineBeingTyped() {
  QFETCH(QString, above);
  QFETCH(QString, typed);
  QFETCH(QString, note);
  fx->Click("RedrawWhileTyping1");
  fx->editor.Editor->setFocus();
  fx->Type(above + typed);
  QApplication::processEvents();
  QCOMPARE(fx->Status("NotePanel"), note);
  QVERIFY(fx->dialogs.calls.isEmpty());
}

void TestPictureView::redrawDuringAGestureKeepsTheRubberBand() {
  fx->graf.SetRedrawWhileTyping(true);
  fx->SetText("R(1;E;200;100;300;150)");
  QApplication::processEvents();
  // A polyline open over two Ctrl releases; the text changes under it.
  fx->OpenPolyline({10, 10}, {50, 10});
  fx->Move({50, 60});
  QApplication::processEvents();  // the redraw of the vertex's text runs under the rubber band
  QVERIFY(drawingtest::PolylineOpen(fx->graf));
  fx->Move({90, 60});
  fx->Click({90, 60});
  QApplication::processEvents();
  QCOMPARE(fx->Text(), QByteArray("R(1;E;200;100;300;150)\r\nL(1;10;10;50;10;90;60)"));
  QVERIFY(fx->PictureIsThePass());
}

void TestPictureView::undoAndRedoFromThePicture() {
  QVERIFY(!fx->Find<QAction>("Undo1")->isEnabled());
  fx->editor.AppendLine("typed by hand");
  fx->UseTool(drawing::kRectangleTool);
  fx->Drag({10, 20}, {110, 70});
  fx->UseTool(drawing::kEllipseTool);
  fx->Drag({30, 30}, {90, 60});
  QVERIFY(fx->Find<QAction>("Undo1")->isEnabled());
  fx->Click("Undo1");
  QCOMPARE(fx->Text(), QByteArray("typed by hand\r\nR(1;E;10;20;110;70)\r\n"));
  QVERIFY(fx->Picture() == fx->Rendered());
  QVERIFY(fx->Find<QAction>("Redo1")->isEnabled());
  fx->Click("Redo1");
  QCOMPARE(fx->Text(), QByteArray("typed by hand\r\nR(1;E;10;20;110;70)\r\nE(1;E;30;30;90;60)\r\n"));
  QVERIFY(fx->PictureIsThePass());
  QVERIFY(!fx->Find<QAction>("Redo1")->isEnabled());
}
