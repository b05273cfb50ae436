// Mouse gestures on the picture: the rubber band, snapping, the read-out and
// the sketch lines written.

#include <QApplication>
#include <QRandomGenerator>
#include <QTest>
#include <memory>

#include "DrawingSession.h"
#include "drawing/LegendDlg.h"
#include "render/ElementDrawers.h"
#include "test_classes.h"

using drawingtest::GestureUnderWay;
using drawingtest::PolylineOpen;
using drawingtest::StartPoint;

namespace {

const char* const kTools[] = {"LineButton", "RectangleButton", "EllipseButton", "ArcButton", "TextButton"};
const char* const kStyles[] = {"SolidPen", "DashPen", "DotPen", "DashDotPen"};

}  // namespace

void TestGestures::writesTheShapesDrawn_data() {
  QTest::addColumn<int>("tool");
  QTest::addColumn<bool>("relative");
  QTest::addColumn<QPoint>("from");
  QTest::addColumn<QPoint>("to");
  QTest::addColumn<QByteArray>("written");
  QTest::newRow("line") << 0 << false << QPoint(10, 20) << QPoint(110, 20) << QByteArray("L(1;10;20;110;20)\r\n");
  QTest::newRow("line, relative") << 0 << true << QPoint(10, 20) << QPoint(110, 20)
                                  << QByteArray("L(1;10;20:100:0)\r\n");
  QTest::newRow("line leaving the picture")
      << 0 << false << QPoint(10, 20) << QPoint(-5, 20) << QByteArray("L(1;10;20;-5;20)\r\n");
  QTest::newRow("rectangle") << 1 << false << QPoint(10, 20) << QPoint(110, 70)
                             << QByteArray("R(1;E;10;20;110;70)\r\n");
  QTest::newRow("rectangle from lower right")
      << 1 << false << QPoint(110, 70) << QPoint(10, 20) << QByteArray("R(1;E;110;70;10;20)\r\n");
  QTest::newRow("rectangle, relative") << 1 << true << QPoint(10, 20) << QPoint(110, 70)
                                       << QByteArray("R(1;E;10;20:100:50)\r\n");
  QTest::newRow("ellipse") << 2 << false << QPoint(10, 20) << QPoint(110, 70) << QByteArray("E(1;E;10;20;110;70)\r\n");
  QTest::newRow("arc") << 3 << false << QPoint(100, 100) << QPoint(150, 60) << QByteArray("A(1;0;100;100;150;60)\r\n");
  QTest::newRow("arc, relative") << 3 << true << QPoint(100, 100) << QPoint(150, 60)
                                 << QByteArray("A(1;0;100;100:50:-40)\r\n");
  QTest::newRow("zero-size line") << 0 << false << QPoint(50, 50) << QPoint(50, 50) << QByteArray();
  QTest::newRow("flat rectangle") << 1 << false << QPoint(10, 50) << QPoint(110, 50) << QByteArray();
  QTest::newRow("thin ellipse") << 2 << false << QPoint(10, 20) << QPoint(10, 90) << QByteArray();
  QTest::newRow("flat arc") << 3 << false << QPoint(100, 100) << QPoint(150, 100) << QByteArray();
}

void TestGestures::writesTheShapesDrawn() {
  QFETCH(int, tool);
  QFETCH(bool, relative);
  QFETCH(QPoint, from);
  QFETCH(QPoint, to);
  QFETCH(QByteArray, written);
  fx->UseTool(static_cast<std::uint8_t>(tool));
  fx->SetChecked("CbRelative", relative);  // the hidden box, set directly
  fx->SetText("x");                        // the caret's place does not matter
  fx->editor.Editor->moveCursor(QTextCursor::Start);
  fx->Drag(from, to);
  QCOMPARE(fx->Text(), "x" + (written.isEmpty() ? QByteArray() : "\r\n" + written.chopped(2)));
  QVERIFY(!GestureUnderWay(fx->graf) && !PolylineOpen(fx->graf));
}

void TestGestures::secondButtonStartsAfresh() {
  // A right press during a left drag starts a new shape; the left drag's
  // rubber band comes off the picture first.
  fx->Load("prose");
  const sketch::Picture before = fx->Picture();
  fx->Press({10, 10});
  fx->Move({110, 10});
  QVERIFY(fx->Picture() != before);
  fx->Press({50, 100}, {}, Qt::RightButton);
  QVERIFY(fx->Picture() == before);
  QCOMPARE(StartPoint(fx->graf), QPoint(50, 100));
  fx->Move({150, 100});
  fx->Release({150, 100}, {}, Qt::RightButton);
  QCOMPARE(fx->Text(), QByteArray("prose\r\nL(1;50;100;150;100)"));
  QVERIFY(fx->Picture() == fx->Rendered());
}

void TestGestures::aFullTextTakesNoShape_data() {
  QTest::addColumn<int>("tool");
  QTest::addColumn<bool>("ctrl");  // a polyline's first vertex
  QTest::newRow("line") << 0 << false;
  QTest::newRow("polyline") << 0 << true;
  QTest::newRow("rectangle") << 1 << false;
  QTest::newRow("ellipse") << 2 << false;
  QTest::newRow("arc") << 3 << false;
}

void TestGestures::aFullTextTakesNoShape() {
  // The text has no room for the sketch line: it is refused with a box, and
  // the picture shows what the text holds, without the shape or its rubber
  // band. The gesture is over: the next drag starts a shape of its own.
  QFETCH(int, tool);
  QFETCH(bool, ctrl);
  fx->UseTool(static_cast<std::uint8_t>(tool));
  fx->SetText("L(1;0;0;5;5)");
  fx->editor.Editor->SetCapacity(20);
  fx->graf.DrawSketch();
  const sketch::Picture before = fx->Picture();
  fx->Drag({30, 40}, {200, 150}, ctrl ? Qt::ControlModifier : Qt::NoModifier);
  QCOMPARE(fx->Text(), QByteArray("L(1;0;0;5;5)"));
  QCOMPARE(fx->dialogs.Kinds(), QStringList({"Error"}));
  QVERIFY(fx->Picture() == before);
  QVERIFY(!GestureUnderWay(fx->graf) && !PolylineOpen(fx->graf));

  fx->editor.Editor->SetCapacity(1000);
  fx->Drag({10, 10}, {20, 30}, ctrl ? Qt::ControlModifier : Qt::NoModifier);
  QVERIFY(fx->Text().startsWith("L(1;0;0;5;5)\r\n"));  // the first line untouched
  QVERIFY(fx->Text().contains(";10;10"));
}

void TestGestures::anyEventsLeaveWhatTheNextPassPaints_data() {
  QTest::addColumn<int>("tool");
  for (int tool = 0; tool <= 4; ++tool) QTest::addRow("tool %d", tool) << tool;
}

void TestGestures::anyEventsLeaveWhatTheNextPassPaints() {
  // Presses, moves and releases of two buttons in any order, with and
  // without Ctrl, mixed with tool keys (select clicks among them), Ctrl+Z
  // and Ctrl+Y, and typing with redraw while typing on: whenever no gesture
  // is under way, the picture is what the draw pass paints from the text,
  // plus at most the mark of the line marked now, with no rubber band left.
  QFETCH(int, tool);
  SetLegendDialogRunner([](TLegendDlgForm& dialog) {
    dialog.ComboBox1->setEditText("ab");
    return int(QDialog::Accepted);
  });
  QRandomGenerator random(static_cast<quint32>(20261208 + tool));
  const Qt::Key toolKeys[] = {Qt::Key_V, Qt::Key_L, Qt::Key_R, Qt::Key_E, Qt::Key_A, Qt::Key_T};
  // No filled shape before a broken pen: the pass would give its gaps the fill.
  const QStringList typed = {"L(3;5;150;300;150)\n", "E(2;E;100;60;", "x\n", "R(1;E;20;20;90;190)"};
  for (int round = 0; round < 25; ++round) {
    fx = std::make_unique<drawingtest::DrawingSession>();
    QVERIFY(fx->GiveEditKeys());
    const bool live = round % 2 == 1;
    fx->graf.SetRedrawWhileTyping(live);
    fx->Click(kTools[tool]);
    fx->Click(kStyles[random.bounded(4)]);
    if (fx->Checked("SolidPen")) fx->SetPenWidth(random.bounded(1, 6));
    if (random.bounded(2) && fx->Checked("SolidPen")) fx->Click("CbBrushStyle");
    if (random.bounded(2)) fx->Click("CbGridSnap");
    if (random.bounded(2)) fx->Click("CbOrthoSnap");
    fx->SetChecked("CbRelative", random.bounded(2));  // the hidden box, set directly
    fx->Load("prose\nL(3;10;100;200;100)\nR(2;E;40;40;120;90)\nA(1;0;160;100;250;30)");
    const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::RightButton};
    QString events;
    for (int step = 0; step < 60; ++step) {
      const QPoint at(random.bounded(-20, 340), random.bounded(-20, 220));
      const Qt::KeyboardModifiers keys = random.bounded(3) == 0 ? Qt::ControlModifier : Qt::NoModifier;
      const Qt::MouseButton button = buttons[random.bounded(2)];
      const int kind = random.bounded(8);
      if (kind <= 1 && !fx->Held().testFlag(button)) {
        fx->Press(at, keys, button);
        events += QString(" press%1").arg(button == Qt::LeftButton ? "L" : "R");
      } else if (kind <= 3 && fx->Held().testFlag(button)) {
        fx->Release(at, keys, button);
        events += QString(" release%1").arg(button == Qt::LeftButton ? "L" : "R");
      } else if (kind == 4) {
        const Qt::Key key = toolKeys[random.bounded(6)];
        fx->Key(key);
        events += " key" + QKeySequence(key).toString();
        continue;
      } else if (kind == 5 && fx->Held() == Qt::NoButton) {
        const bool undo = random.bounded(2) == 0;
        fx->Key(undo ? Qt::Key_Z : Qt::Key_Y, Qt::ControlModifier);
        events += undo ? " Ctrl+Z" : " Ctrl+Y";
      } else if (kind == 6 && live) {
        fx->Type(typed[random.bounded(typed.size())]);
        QApplication::processEvents();  // the redraw waits for the event loop
        events += " typed";
      } else {
        fx->Move(at, keys);
        events += " move";
      }
      if (keys) events += "+Ctrl";
      if (GestureUnderWay(fx->graf) || fx->Held() != Qt::NoButton) continue;
      if (fx->Picture() != drawingtest::RenderedWithMark(fx->editor, fx->graf))
        QFAIL(qPrintable(QString("round %1, after%2\n%3").arg(round).arg(events).arg(QString::fromLatin1(fx->Text()))));
    }
  }
  SetLegendDialogRunner(nullptr);
}

void TestGestures::pictureEqualsTheNextPass_data() {
  QTest::addColumn<int>("tool");
  QTest::addColumn<int>("style");  // 0 solid .. 3 dash-dot
  QTest::addColumn<int>("width");
  QTest::addColumn<bool>("fill");
  for (int tool = 0; tool < 4; ++tool) {
    for (int style = 0; style < 4; ++style) {
      for (const bool fill : {false, true}) {
        const int width = style == 0 ? 1 + 3 * (tool % 2) : 1;
        QTest::addRow("tool %d style %d fill %d", tool, style, int(fill)) << tool << style << width << fill;
      }
    }
  }
}

void TestGestures::pictureEqualsTheNextPass() {
  QFETCH(int, tool);
  QFETCH(int, style);
  QFETCH(int, width);
  QFETCH(bool, fill);
  fx->dialogs.answers.clear();
  fx->Click(kTools[tool]);
  fx->Click(kStyles[style]);
  fx->SetPenWidth(width);
  if (fill) fx->Click("CbBrushStyle");
  fx->editor.AppendLine("prose");
  fx->graf.DrawSketch();  // a white picture, as after F7
  fx->Drag({30, 40}, {200, 150});
  QVERIFY(fx->Picture() == fx->Rendered());
  QVERIFY(!fx->Text().endsWith("prose"));  // a line was written
}

void TestGestures::polylineOverSeveralCtrlReleases_data() {
  QTest::addColumn<bool>("relative");
  QTest::addColumn<QByteArray>("afterFirst");
  QTest::addColumn<QByteArray>("complete");
  QTest::newRow("absolute") << false << QByteArray("L(1;10;20;50;20") << QByteArray("L(1;10;20;50;20;50;60;90;60)");
  QTest::newRow("relative") << true << QByteArray("L(1;10;20:40:0") << QByteArray("L(1;10;20:40:0:0:40:40:0)");
}

void TestGestures::polylineOverSeveralCtrlReleases() {
  QFETCH(bool, relative);
  QFETCH(QByteArray, afterFirst);
  QFETCH(QByteArray, complete);
  fx->SetChecked("CbRelative", relative);
  fx->OpenPolyline({10, 20}, {50, 20});
  QCOMPARE(fx->Text(), afterFirst + "\r\n");  // open, no closing parenthesis yet
  QVERIFY(GestureUnderWay(fx->graf) && PolylineOpen(fx->graf));
  QCOMPARE(fx->Status("StatusPanel0"), QString("Origin: (50, 20)"));
  fx->Move({50, 60});   // no button held: the rubber band follows from the last vertex
  fx->Press({50, 60});  // does not move the vertex
  QCOMPARE(StartPoint(fx->graf), QPoint(50, 20));
  fx->Release({50, 60}, Qt::ControlModifier);
  fx->Move({90, 60});
  fx->Click({90, 60});
  QCOMPARE(fx->Text(), complete + "\r\n");
  QVERIFY(!GestureUnderWay(fx->graf) && !PolylineOpen(fx->graf));
  fx->editor.Editor->undo();  // the whole polyline is one step
  QCOMPARE(fx->Text(), QByteArray());
}

void TestGestures::polylineEdgeCases() {
  // A Ctrl click where a new polyline would begin: nothing written, nothing
  // opened, and the gesture is over. No rubber band follows the pointer,
  // the tool buttons work, and the next drag is a shape of its own.
  fx->graf.DrawSketch();
  fx->Click({200, 30}, Qt::ControlModifier);
  QCOMPARE(fx->Text(), QByteArray());
  QVERIFY(!GestureUnderWay(fx->graf) && !PolylineOpen(fx->graf));
  fx->Move({250, 60});
  QVERIFY(fx->Picture() == fx->Rendered());
  fx->Click("RectangleButton");
  QCOMPARE(fx->Settings().tool, drawing::kRectangleTool);
  fx->Click("LineButton");
  fx->Drag({250, 60}, {290, 60});
  QCOMPARE(fx->Text(), QByteArray("L(1;250;60;290;60)\r\n"));
  QVERIFY(fx->Picture() == fx->Rendered());

  // Released on the last vertex: the polyline is closed as it stands.
  fx->OpenPolyline({10, 100}, {60, 100});
  fx->Click({60, 100});
  QVERIFY(fx->Text().endsWith("L(1;10;100;60;100)\r\n"));
}

void TestGestures::openPolylineEnds_data() {
  QTest::addColumn<QString>("keys");  // typed into the editor; "Escape": pressed on the picture
  QTest::addColumn<QByteArray>("text");
  QTest::newRow("Escape") << "Escape" << QByteArray("L(3;10;20;50;20)\r\n");
  QTest::newRow("a line typed below") << "XYZ" << QByteArray("L(3;10;20;50;20)\r\nXYZ");
  QTest::newRow("a line typed above") << "^\n<XYZ" << QByteArray("XYZ\r\nL(3;10;20;50;20)\r\n");
  QTest::newRow("typed onto its end") << "\bXYZ" << QByteArray("L(3;10;20;50;20XYZ");
}

void TestGestures::openPolylineEnds() {
  // An open polyline ends where it stands when the text changes by other
  // hands, or at Escape: its own line gets its ")", no other line gets
  // anything, and the next press starts afresh.
  QFETCH(QString, keys);
  QFETCH(QByteArray, text);
  fx->SetPenWidth(3);
  fx->OpenPolyline({10, 20}, {50, 20});
  const sketch::Picture drawn = fx->Picture();
  fx->Move({70, 40});  // the rubber band to the next vertex
  if (keys == "Escape") {
    fx->Key(Qt::Key_Escape);
  } else {
    for (const QChar c : keys) {
      if (c == '^') {
        QTest::keyClick(fx->editor.Editor, Qt::Key_Home, Qt::ControlModifier);
      } else if (c == '<') {
        QTest::keyClick(fx->editor.Editor, Qt::Key_Up);
      } else {
        fx->Type(c);
      }
    }
  }
  QVERIFY(!GestureUnderWay(fx->graf) && !PolylineOpen(fx->graf));
  fx->Click({90, 60});
  QCOMPARE(fx->Text(), text);
  QVERIFY(fx->Picture() == drawn);  // the rubber band is off
}

void TestGestures::centreModes() {
  // The arc: pressed at the centre, dragged into a quadrant.
  fx->UseTool(drawing::kArcTool);
  fx->Press({100, 100});
  QCOMPARE(fx->Status("StatusPanel0"), QString("Center: (100, 100)"));
  fx->Move({150, 60});
  // The rubber band runs from the pointer's corner mirrored through the centre.
  sketch::Canvas band;
  band.pen = {sketch::kBlack, sketch::PenStyle::Solid, 1, sketch::PenMode::NotXor};
  sketch::DrawQuarterArc(band, {50, 140}, {150, 60});
  QVERIFY(fx->Picture() == band.Picture());
  QCOMPARE(fx->Status("StatusPanel0"), QString("Center: (100, 100)"));
  QCOMPARE(fx->Status("StatusPanel1"), QString("Current: (150, 60)"));
  fx->Release({150, 60});
  // The ellipse with Ctrl held throughout: centred on the press point.
  fx->UseTool(drawing::kEllipseTool);
  fx->Press({200, 100}, Qt::ControlModifier);
  QCOMPARE(fx->Status("StatusPanel0"), QString("Center: (200, 100)"));
  fx->Move({230, 120}, Qt::ControlModifier);
  fx->Release({230, 120}, Qt::ControlModifier);
  // Without Ctrl the press point is a corner.
  fx->Drag({20, 150}, {60, 190});
  QCOMPARE(fx->Text(), QByteArray("A(1;0;100;100;150;60)\r\nE(1;E;170;80;230;120)\r\nE(1;E;20;150;60;190)\r\n"));
}

void TestGestures::snappingAndReadOut() {
  fx->SetChecked("CbGridSnap", true);
  fx->Move({4, 4});
  QCOMPARE(fx->Status("StatusPanel1"), QString("Cursor: (0, 0)"));
  fx->Press({14, 15});
  QCOMPARE(fx->Status("StatusPanel0"), QString("Origin: (10, 20)"));
  QCOMPARE(fx->Status("StatusPanel1"), QString("Current: (10, 20)"));
  fx->SetChecked("CbOrthoSnap", true);
  fx->Move({93, 38});  // grid (90, 40), then horizontal from (10, 20)... 80 by 20: horizontal
  QCOMPARE(fx->Status("StatusPanel1"), QString("Current: (90, 20)"));
  fx->Release({93, 38});
  QCOMPARE(fx->Text(), QByteArray("L(1;10;20;90;20)\r\n"));
}

void TestGestures::rightButtonDrawsLikeLeft() {
  fx->Drag({10, 20}, {110, 70}, {}, Qt::RightButton);
  QCOMPARE(fx->Text(), QByteArray("L(1;10;20;110;70)\r\n"));
}

void TestGestures::settingsRefusedDuringAGesture() {
  fx->Click("DashPen");
  fx->OpenPolyline({10, 20}, {50, 20});
  fx->Click("RectangleButton");  // refused: the polyline can be finished
  fx->Click("SolidPen");
  QCOMPARE(fx->Settings().tool, drawing::kLineTool);
  QCOMPARE(fx->Settings().penStyle, sketch::PenStyle::Dash);
  fx->Click({50, 60});
  QCOMPARE(fx->Text(), QByteArray("L(DS;10;20;50;20;50;60)\r\n"));
  fx->graf.DrawSketch();  // now the buttons rule again
  QCOMPARE(fx->Settings().tool, drawing::kRectangleTool);
  QCOMPARE(fx->Settings().penStyle, sketch::PenStyle::Solid);
}

void TestGestures::previewIsTakenOffAgain() {
  fx->editor.AppendLine("R(1;F;0;0;160;200)");
  fx->graf.DrawSketch();
  const sketch::Picture before = fx->Picture();
  fx->UseTool(drawing::kEllipseTool);
  fx->Click("CbBrushStyle");
  fx->Press({100, 50});
  fx->Move({200, 150});
  QVERIFY(fx->Picture() != before);  // the preview shows
  fx->Move({100, 50});               // back onto the press point
  QVERIFY(fx->Picture() == before);  // every pixel given back
  // F7 during the gesture paints afresh: the preview goes on again with it.
  fx->Move({200, 150});
  fx->graf.DrawSketch();
  fx->Move({100, 50});
  QVERIFY(fx->Picture() == before);
}

void TestGestures::undoTakesTheShapeBack() {
  fx->editor.AppendLine("typed by hand");
  fx->UseTool(drawing::kRectangleTool);
  fx->Drag({10, 20}, {110, 70});
  QCOMPARE(fx->Text(), QByteArray("typed by hand\r\nR(1;E;10;20;110;70)\r\n"));
  fx->editor.Editor->undo();
  QCOMPARE(fx->Text(), QByteArray("typed by hand\r\n"));
}
