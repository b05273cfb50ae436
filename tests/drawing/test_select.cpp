// The select tool and the tool keys: picking in the picture, moving and
// reshaping by dragging, the arrow keys, Delete, Escape and undo, all
// through real mouse and key events.

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>
#include <memory>

#include "DrawingSession.h"
#include "editor/SketchTextEdit.h"
#include "format/PointRewrite.h"
#include "format/SketchElement.h"
#include "test_classes.h"

namespace {

const QString kShapes = QStringLiteral(
    "A posting with a few shapes\n"
    "L(1;10;20;110;20)\n"
    "R(2;E;40;60;140;120)\n"
    "E(1;F;200;40;300;100)\n"
    "A(1;0;100;150;150;190)\n"
    "T(M;220;150;\"garden\")\n"
    "R(1;F;120;100;160;140)\n");

}  // namespace

void TestSelect::init() {
  SessionTest::init();
  fx->Load(kShapes);
  fx->Key(Qt::Key_V);
}

void TestSelect::toolKeysChooseTools() {
  QVERIFY(fx->Checked("SelectButton"));
  QCOMPARE(fx->Settings().tool, drawing::kSelectTool);
  const QList<QPair<Qt::Key, std::uint8_t>> keys = {
      {Qt::Key_L, drawing::kLineTool}, {Qt::Key_R, drawing::kRectangleTool}, {Qt::Key_E, drawing::kEllipseTool},
      {Qt::Key_T, drawing::kTextTool}, {Qt::Key_A, drawing::kArcTool},       {Qt::Key_V, drawing::kSelectTool}};
  for (const auto& [key, tool] : keys) {
    fx->Key(key);
    QCOMPARE(fx->Settings().tool, tool);
  }
  QCOMPARE(fx->dialogs.Texts("Warning").size(), 1);  // the arc caution, once
  fx->Key(Qt::Key_A);
  fx->Key(Qt::Key_V);
  QCOMPARE(fx->dialogs.Texts("Warning").size(), 1);
  QVERIFY(fx->Find("SelectButton")->toolTip().contains("(V)") && fx->Find("LineButton")->toolTip().contains("(L)"));
  // While a polyline is open the keys are refused as the buttons are.
  fx->Key(Qt::Key_L);
  fx->OpenPolyline({10, 180}, {50, 180});
  QVERIFY(drawingtest::PolylineOpen(fx->graf));
  fx->Key(Qt::Key_R);
  QCOMPARE(fx->Settings().tool, drawing::kLineTool);
  // Ctrl+letter is no tool key.
  fx->Click({90, 180});
  fx->Key(Qt::Key_E, Qt::ControlModifier);
  QCOMPARE(fx->Settings().tool, drawing::kLineTool);
}

void TestSelect::picksTheTopmostElement_data() {
  QTest::addColumn<QPoint>("at");
  QTest::addColumn<int>("line");  // -1: nothing
  QTest::addColumn<int>("handles");
  QTest::newRow("on a thin line") << QPoint(60, 20) << 1 << 2;
  QTest::newRow("three pixels beside the line") << QPoint(60, 23) << 1 << 2;
  QTest::newRow("well beside the line") << QPoint(60, 28) << -1 << 0;
  QTest::newRow("rectangle outline") << QPoint(40, 90) << 2 << 4;
  QTest::newRow("inside an empty rectangle") << QPoint(70, 90) << -1 << 0;
  QTest::newRow("inside a filled ellipse") << QPoint(250, 70) << 3 << 4;
  QTest::newRow("on the arc") << QPoint(150, 150) << 4 << 2;
  QTest::newRow("on the legend's text") << QPoint(235, 145) << 5 << 1;
  QTest::newRow("filled rectangle over the empty one") << QPoint(130, 119) << 6 << 4;
  QTest::newRow("the empty one beside it") << QPoint(100, 119) << 2 << 4;
  QTest::newRow("nothing") << QPoint(10, 150) << -1 << 0;
}

void TestSelect::picksTheTopmostElement() {
  QFETCH(QPoint, at);
  QFETCH(int, line);
  QFETCH(int, handles);
  fx->Click(at);
  if (line < 0) {
    QVERIFY(!fx->graf.PickedLine().has_value());
    QVERIFY(fx->graf.LastHighlight().empty());
  } else {
    QCOMPARE(fx->graf.PickedLine().value_or(-1), line);
    QCOMPARE(fx->CaretLine(), line);
    QCOMPARE(QString::fromStdString(fx->graf.LastHighlight()), fx->Line(line));
  }
  QCOMPARE(static_cast<int>(fx->graf.Handles().size()), handles);
  QCOMPARE(fx->editor.Editor->toPlainText(), kShapes);  // a click changes nothing
}

void TestSelect::caretInTheTextPicks() {
  fx->PutCaretOn(3);
  QCOMPARE(fx->graf.PickedLine().value_or(-1), 3);
  QCOMPARE(fx->graf.Handles(), (std::vector<QPoint>{{200, 40}, {300, 40}, {300, 100}, {200, 100}}));
  fx->PutCaretOn(0);
  QVERIFY(!fx->graf.PickedLine().has_value());
  QVERIFY(fx->graf.Handles().empty());
  // Another tool: no handles.
  fx->PutCaretOn(1);
  QCOMPARE(fx->graf.Handles().size(), std::size_t(2));
  fx->Key(Qt::Key_R);
  QVERIFY(fx->graf.Handles().empty());
}

void TestSelect::dragsRewriteTheLine_data() {
  QTest::addColumn<QString>("text");   // one sketch line
  QTest::addColumn<QPoint>("pickAt");  // on its ink
  QTest::addColumn<QPoint>("from");
  QTest::addColumn<QPoint>("to");
  QTest::addColumn<bool>("gridSnap");
  QTest::addColumn<bool>("orthoSnap");
  QTest::addColumn<QString>("written");
  QTest::newRow("line moved") << "L(1;10;20;110;20)" << QPoint(60, 20) << QPoint(60, 20) << QPoint(65, 30) << false
                              << false << "L(1;15;30;115;30)";
  QTest::newRow("polyline with relative points moved: its first point only")
      << "L(3; 10;20 :40:0 :0:30)" << QPoint(30, 20) << QPoint(30, 20) << QPoint(33, 24) << false << false
      << "L(3; 13;24 :40:0 :0:30)";
  QTest::newRow("end point dragged") << "L(1;10;20;110;20)" << QPoint(60, 20) << QPoint(110, 20) << QPoint(130, 60)
                                     << false << false << "L(1;10;20;130;60)";
  QTest::newRow("middle vertex of relative points: the next stays put")
      << "L(1;10;20:40:0:0:30)" << QPoint(30, 20) << QPoint(50, 20) << QPoint(60, 10) << false << false
      << "L(1;10;20:50:-10:-10:40)";
  QTest::newRow("rectangle corner, snapped to the grid")
      << "R(DS;F;40;60;140;120)" << QPoint(90, 60) << QPoint(140, 120) << QPoint(163, 157) << true << false
      << "R(DS;F;40;60;160;160)";
  QTest::newRow("rectangle moved onto the grid") << "R(1;E;41;62:100:50)" << QPoint(41, 80) << QPoint(41, 80)
                                                 << QPoint(60, 98) << true << false << "R(1;E;60;80:100:50)";
  QTest::newRow("rectangle's top right corner: the bottom left stays, the line's order kept")
      << "R(1;E;40;60;140;120)" << QPoint(90, 60) << QPoint(140, 60) << QPoint(150, 50) << false << false
      << "R(1;E;40;50;150;120)";
  QTest::newRow("ellipse's bottom left corner, relative corner kept relative")
      << "E(2;E;100;100:50:30)" << QPoint(125, 100) << QPoint(100, 130) << QPoint(90, 140) << false << false
      << "E(2;E;90;100:60:40)";
  QTest::newRow("ellipse corner squared") << "E(2;E;100;100;150;130)" << QPoint(125, 100) << QPoint(150, 130)
                                          << QPoint(170, 140) << false << true << "E(2;E;100;100;170;170)";
  QTest::newRow("arc corner") << "A(1;0;100;100;150;60)" << QPoint(150, 100) << QPoint(150, 60) << QPoint(160, 40)
                              << false << false << "A(1;0;100;100;160;40)";
  QTest::newRow("arc moved, relative corner kept") << "A(1;0;100;100:50:-40)" << QPoint(150, 100) << QPoint(150, 100)
                                                   << QPoint(140, 110) << false << false << "A(1;0;90;110:50:-40)";
  QTest::newRow("legend moved, text and size kept")
      << "T(l; 220;150;\"Garden shed\")" << QPoint(230, 143) << QPoint(230, 143) << QPoint(200, 113) << false << false
      << "T(l; 190;120;\"Garden shed\")";
  QTest::newRow("a line longer than 255 characters keeps what follows")
      << "L(1;10;20;110;20) " + QString(300, 'x') << QPoint(60, 20) << QPoint(60, 20) << QPoint(65, 30) << false
      << false << "L(1;15;30;115;30) " + QString(300, 'x');
  QTest::newRow("moved with the straight snap") << "L(1;10;20;110;20)" << QPoint(60, 20) << QPoint(60, 20)
                                                << QPoint(90, 23) << false << true << "L(1;40;20;140;20)";
}

void TestSelect::dragsRewriteTheLine() {
  QFETCH(QString, text);
  QFETCH(QPoint, pickAt);
  QFETCH(QPoint, from);
  QFETCH(QPoint, to);
  QFETCH(bool, gridSnap);
  QFETCH(bool, orthoSnap);
  QFETCH(QString, written);
  fx->Load("prose first\n" + text + "\nprose after\n");
  fx->SetChecked("CbGridSnap", gridSnap);
  fx->SetChecked("CbOrthoSnap", orthoSnap);
  fx->Click(pickAt);
  QCOMPARE(fx->graf.PickedLine().value_or(-1), 1);
  fx->Drag(from, to);
  QCOMPARE(fx->Line(1), written);
  QCOMPARE(fx->Line(0), QString("prose first"));
  QCOMPARE(fx->Line(2), QString("prose after"));
  QCOMPARE(fx->graf.PickedLine().value_or(-1), 1);  // still picked, handles where the points are now
  QVERIFY(fx->PictureIsThePass());
  fx->editor.Editor->undo();  // one step
  QCOMPARE(fx->Line(1), text);
}

void TestSelect::arrowsDeleteAndEscape() {
  fx->Click({60, 20});
  fx->Key(Qt::Key_Right);
  fx->Key(Qt::Key_Down);
  QCOMPARE(fx->Line(1), QString("L(1;11;21;111;21)"));
  fx->SetChecked("CbGridSnap", true);
  fx->Key(Qt::Key_Left);
  QCOMPARE(fx->Line(1), QString("L(1;1;21;101;21)"));
  QVERIFY(fx->PictureIsThePass());
  // Escape during a drag: the preview comes off and nothing is written.
  fx->SetChecked("CbGridSnap", false);
  fx->Press({50, 21});  // picks it again: its mark shows
  const sketch::Picture before = fx->Picture();
  fx->Move({80, 60});
  QVERIFY(fx->Picture() != before);
  fx->Key(Qt::Key_Escape);
  QVERIFY(fx->Picture() == before);
  fx->Release({80, 60});
  QCOMPARE(fx->Line(1), QString("L(1;1;21;101;21)"));
  // Delete takes the line out, one undo step.
  fx->Key(Qt::Key_Delete);
  QCOMPARE(fx->Line(1), QString("R(2;E;40;60;140;120)"));
  QVERIFY(fx->PictureIsThePass());
  fx->editor.Editor->undo();
  QCOMPARE(fx->Line(1), QString("L(1;1;21;101;21)"));
  fx->editor.Editor->undo();
  fx->editor.Editor->undo();
  fx->editor.Editor->undo();
  QCOMPARE(fx->editor.Editor->toPlainText(), kShapes);
}

void TestSelect::deleteLeavesNothingPicked() {
  // Delete takes the picked ellipse out; the rectangle after it, now on the
  // caret's line, is not picked by that, so a second Delete does nothing.
  // Ctrl+Z brings the ellipse back, picked.
  QVERIFY(fx->GiveEditKeys());
  fx->Click({250, 70});
  QCOMPARE(fx->graf.PickedLine().value_or(-1), 3);
  const QString ellipse = fx->Line(3);
  for (int i = 0; i < 2; ++i) {
    fx->Key(Qt::Key_Delete);
    QCOMPARE(fx->Line(3), QString("A(1;0;100;150;150;190)"));
    QVERIFY(!fx->graf.PickedLine().has_value());
    QVERIFY(fx->graf.Handles().empty());
    QVERIFY(fx->graf.LastHighlight().empty());
  }
  fx->Key(Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(fx->editor.Editor->toPlainText(), kShapes);
  QCOMPARE(fx->graf.PickedLine().value_or(-1), 3);
  QCOMPARE(QString::fromStdString(fx->graf.LastHighlight()), ellipse);
  QCOMPARE(fx->graf.Handles().size(), std::size_t(4));
  fx->Key(Qt::Key_Y, Qt::ControlModifier);  // the Delete again: nothing picked, as after it
  QVERIFY(!fx->graf.PickedLine().has_value());
  QVERIFY(fx->graf.LastHighlight().empty());
  fx->Key(Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(fx->graf.PickedLine().value_or(-1), 3);
  fx->Key(Qt::Key_Right);  // and it moves again
  QCOMPARE(fx->Line(3), QString("E(1;F;201;40;301;100)"));
}

void TestSelect::aLineTooLongIsNotChanged() {
  // 254 characters: moving the first point to two-digit numbers would pass 255.
  QString line = "L(1;1;1";
  while (line.size() < 252) line += ";5;5";
  line = line.left(252) + ";5)";
  fx->Load("x\n" + line + "\n");
  QCOMPARE(fx->Line(1).size(), line.size());
  fx->PutCaretOn(1);
  QVERIFY(fx->graf.PickedLine().has_value());
  fx->SetChecked("CbGridSnap", true);
  fx->Key(Qt::Key_Right);
  QCOMPARE(fx->Line(1), line);
  QVERIFY2(fx->Status("NotePanel").contains("255"), qPrintable(fx->Status("NotePanel")));
}

void TestSelect::randomEditsLeaveThePass() {
  QRandomGenerator random(20261209);
  const QStringList kinds = {"L(%1;%2;%3;%4;%5)", "R(%1;F;%2;%3:%4:%5)", "E(%1;E;%2;%3;%4;%5)", "A(%1;0;%2;%3;%4;%5)",
                             "L(%1;%2;%3:%4:%5:7:9)"};
  for (int round = 0; round < 25; ++round) {
    QString text;
    for (int i = 0; i < 6; ++i) {
      const int x = random.bounded(20, 280), y = random.bounded(20, 170);
      text += kinds[random.bounded(kinds.size())]
                  .arg(random.bounded(1, 4))
                  .arg(x)
                  .arg(y)
                  .arg(random.bounded(-40, 60))
                  .arg(random.bounded(-30, 40)) +
              "\n";
    }
    fx->Load(text);
    fx->SetChecked("CbGridSnap", random.bounded(2) == 1);
    for (int drag = 0; drag < 3; ++drag) {
      const int line = random.bounded(6);
      const auto read = sketch::ReadElement(fx->Line(line).toStdString());
      QVERIFY(read && read->Drawable());
      fx->PutCaretOn(line);
      const std::vector<QPoint> handles = fx->graf.Handles();
      QVERIFY(!handles.empty());
      const QPoint handle = handles[static_cast<std::size_t>(random.bounded(static_cast<int>(handles.size())))];
      const QPoint to(random.bounded(0, 320), random.bounded(0, 200));
      const QString before = fx->Line(line);
      fx->Drag(handle, to);
      const auto after = sketch::ReadElement(fx->Line(line).toStdString());
      QVERIFY(after && after->Drawable());
      // Only the numbers changed.
      QString shapeBefore = before, shapeAfter = fx->Line(line);
      shapeBefore.remove(QRegularExpression("-?[0-9]+"));
      shapeAfter.remove(QRegularExpression("-?[0-9]+"));
      QCOMPARE(shapeAfter, shapeBefore);
      QVERIFY2(fx->PictureIsThePass(), qPrintable(fx->Line(line)));
    }
  }
}
