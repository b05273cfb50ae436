// The select tool on several elements and on the clipboard: band, Shift+click
// and Ctrl+A, moving, deleting and restyling as one undo step, Duplicate,
// Copy, Cut and Paste, all through real mouse, key and wheel events.

#include <QApplication>
#include <QBackingStore>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QWheelEvent>

#include "DrawingSession.h"
#include "drawing/PictureView.h"
#include "test_classes.h"

namespace {

// Line 5's legend holds a no-break space (byte 0xA0).
const QString kMany = QStringLiteral(
                          "prose\n"
                          "L(1;10;20;110;20)\n"
                          "R(2;E;40;60;140;120)\n"
                          "E(1;F;200;40;300;100)\n"
                          "A(1;0;100;150;150;190)\n"
                          "T(M;220;150;\"gar%1den\")\n"
                          "L(3;20;170:30:0:0:-20)\n")
                          .arg(QChar(0xA0));

using Lines = std::vector<std::int32_t>;

QStringList LinesOf(const QString& text) { return text.split('\n'); }

// The text's lines as the text holds them (toPlainText turns the no-break
// space into a blank).
QStringList TextLines(const TEditForm& editor) {
  QStringList lines;
  for (QTextBlock block = editor.Editor->document()->begin(); block.isValid(); block = block.next())
    lines << block.text();
  return lines;
}

}  // namespace

void TestSelectMany::init() {
  SessionTest::init();
  fx->Load(kMany);
  fx->Key(Qt::Key_V);
  QVERIFY(fx->GiveEditKeys());
}

void TestSelectMany::bandPicksWhatLiesWhollyInside_data() {
  QTest::addColumn<QPoint>("from");
  QTest::addColumn<QPoint>("to");
  QTest::addColumn<bool>("shift");
  QTest::addColumn<Lines>("picked");
  QTest::newRow("round the line alone") << QPoint(5, 10) << QPoint(115, 30) << false << Lines{1};
  QTest::newRow("cutting the rectangle and the line") << QPoint(30, 15) << QPoint(100, 130) << false << Lines{};
  QTest::newRow("the whole picture, topmost order kept")
      << QPoint(0, 0) << QPoint(319, 199) << false << Lines{1, 2, 3, 4, 5, 6};
  QTest::newRow("dragged up and left: ellipse and legend")
      << QPoint(315, 195) << QPoint(190, 30) << false << Lines{3, 5};
  QTest::newRow("Shift: from on the filled ellipse") << QPoint(250, 70) << QPoint(0, 0) << true << Lines{1};
}

void TestSelectMany::bandPicksWhatLiesWhollyInside() {
  QFETCH(QPoint, from);
  QFETCH(QPoint, to);
  QFETCH(bool, shift);
  QFETCH(Lines, picked);
  fx->Drag(from, to, shift ? Qt::ShiftModifier : Qt::NoModifier);
  QCOMPARE(fx->graf.PickedLines(), picked);
  QCOMPARE(TextLines(fx->editor), LinesOf(kMany));
  // One pick shows its handles; several their common box and no handles.
  QCOMPARE(fx->graf.Handles().empty(), picked.size() != 1);
  const QRect box = fx->graf.Image->Frame();
  QCOMPARE(box.isEmpty(), picked.size() < 2);
  if (picked.size() > 1) QVERIFY(QRect(from, to).normalized().contains(box));
}

void TestSelectMany::severalMoveAndGoAsOne() {
  fx->Key(Qt::Key_A, Qt::ControlModifier);
  QCOMPARE(fx->graf.PickedLines(), (Lines{1, 2, 3, 4, 5, 6}));
  fx->Key(Qt::Key_Right);
  QStringList moved = LinesOf(kMany);
  moved[1] = "L(1;11;20;111;20)";
  moved[2] = "R(2;E;41;60;141;120)";
  moved[3] = "E(1;F;201;40;301;100)";
  moved[4] = "A(1;0;101;150;151;190)";
  moved[5] = QStringLiteral("T(M;221;150;\"gar%1den\")").arg(QChar(0xA0));
  moved[6] = "L(3;21;170:30:0:0:-20)";  // relative points stay relative
  QCOMPARE(TextLines(fx->editor), moved);
  QVERIFY(fx->PictureIsThePass());
  fx->Key(Qt::Key_Z, Qt::ControlModifier);  // one step, and all still picked
  QCOMPARE(TextLines(fx->editor), LinesOf(kMany));
  QCOMPARE(fx->graf.PickedLines(), (Lines{1, 2, 3, 4, 5, 6}));

  // Shift+click takes the ellipse out; a drag on the line moves the rest.
  fx->Click({250, 70}, Qt::ShiftModifier);
  QCOMPARE(fx->graf.PickedLines(), (Lines{1, 2, 4, 5, 6}));
  fx->Drag({60, 20}, {60, 30});
  QCOMPARE(fx->Line(1), QString("L(1;10;30;110;30)"));
  QCOMPARE(fx->Line(3), QString("E(1;F;200;40;300;100)"));
  QCOMPARE(fx->Line(6), QString("L(3;20;180:30:0:0:-20)"));
  QCOMPARE(fx->graf.PickedLines(), (Lines{1, 2, 4, 5, 6}));
  // Shift+click adds one back; Delete takes all out, one step.
  fx->Click({250, 70}, Qt::ShiftModifier);
  fx->Key(Qt::Key_Delete);
  QCOMPARE(fx->editor.Editor->toPlainText(), QString("prose\n"));
  QVERIFY(fx->graf.PickedLines().empty());
  fx->Key(Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(fx->graf.PickedLines(), (Lines{1, 2, 3, 4, 5, 6}));
  QCOMPARE(fx->Line(1), QString("L(1;10;30;110;30)"));
  // The caret put on a line by the user picks that one alone.
  fx->PutCaretOn(2);
  QCOMPARE(fx->graf.PickedLines(), (Lines{2}));
  QCOMPARE(fx->graf.Handles().size(), std::size_t(4));
  fx->Key(Qt::Key_Escape);  // lets go
  QVERIFY(fx->graf.PickedLines().empty() && fx->graf.Handles().empty());

  // A line typed above the picked ones: the keys act on what the text now
  // holds, never on the lines' old numbers.
  fx->Click({40, 90});
  fx->Click({250, 70}, Qt::ShiftModifier);
  QCOMPARE(fx->graf.PickedLines(), (Lines{2, 3}));
  fx->editor.Editor->moveCursor(QTextCursor::Start);
  fx->Type("L(1;0;0;5;5)\n");
  const QStringList typed = TextLines(fx->editor);
  fx->Key(Qt::Key_Right);
  QCOMPARE(TextLines(fx->editor), typed);
}

void TestSelectMany::restyleRewritesTheFields_data() {
  QTest::addColumn<QPoint>("pickAt");  // (-1, -1): Ctrl+A
  QTest::addColumn<QString>("control");
  QTest::addColumn<QStringList>("written");  // lines 1 to 6
  const QPoint all(-1, -1);
  const QString legend = QStringLiteral("T(M;220;150;\"gar%1den\")").arg(QChar(0xA0));
  QTest::newRow("fill on a picked rectangle")
      << QPoint(40, 90) << "CbBrushStyle"
      << QStringList{
             "L(1;10;20;110;20)",     "R(2;F;40;60;140;120)", "E(1;F;200;40;300;100)", "A(1;0;100;150;150;190)", legend,
             "L(3;20;170:30:0:0:-20)"};
  QTest::newRow("dashes on all: the legend left, relative points kept")
      << all << "DashPen" << QStringList{"L(DS;10;20;110;20)",
                                         "R(DS;E;40;60;140;120)",
                                         "E(DS;F;200;40;300;100)",
                                         "A(DS;0;100;150;150;190)",
                                         legend,
                                         "L(DS;20;170:30:0:0:-20)"};
  QTest::newRow("fill on all: rectangles and ellipses only")
      << all << "CbBrushStyle"
      << QStringList{
             "L(1;10;20;110;20)",     "R(2;F;40;60;140;120)", "E(1;F;200;40;300;100)", "A(1;0;100;150;150;190)", legend,
             "L(3;20;170:30:0:0:-20)"};
  QTest::newRow("thicker by two wheel notches: a picked line")
      << QPoint(60, 20) << "wheel"
      << QStringList{
             "L(3;10;20;110;20)",     "R(2;E;40;60;140;120)", "E(1;F;200;40;300;100)", "A(1;0;100;150;150;190)", legend,
             "L(3;20;170:30:0:0:-20)"};
}

void TestSelectMany::restyleRewritesTheFields() {
  QFETCH(QPoint, pickAt);
  QFETCH(QString, control);
  QFETCH(QStringList, written);
  if (pickAt.x() < 0) {
    fx->Key(Qt::Key_A, Qt::ControlModifier);
  } else {
    fx->Click(pickAt);
  }
  const Lines picked = fx->graf.PickedLines();
  if (control == "wheel") {
    auto* width = fx->Find<QSpinBox>("PenWidth");
    const QPointF inside(width->width() / 2, width->height() / 2);
    for (int notch = 0; notch < 2; ++notch) {
      QWheelEvent wheel(inside, width->mapToGlobal(inside), {}, {0, 120}, Qt::NoButton, Qt::NoModifier,
                        Qt::NoScrollPhase, false);
      QApplication::sendEvent(width, &wheel);
    }
  } else {
    QTest::mouseClick(fx->Find(control.toLatin1().constData()), Qt::LeftButton);
  }
  QCOMPARE(TextLines(fx->editor).mid(1, 6), written);
  QCOMPARE(fx->graf.PickedLines(), picked);
  QVERIFY(fx->PictureIsThePass());
  // One undo step per change of a control.
  const int steps = control == "wheel" ? 2 : 1;
  for (int step = 0; step < steps; ++step) fx->Key(Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(TextLines(fx->editor), LinesOf(kMany));
}

void TestSelectMany::duplicateCopyCutPaste() {
  QClipboard& clipboard = *QApplication::clipboard();
  clipboard.clear();
  auto* edit = fx->Find<QMenu>("Edit1");
  const auto enabled = [&] {
    edit->popup({0, 0});  // the items' states are set as the menu opens
    QStringList names;
    for (QAction* item : edit->actions())
      if (item->isEnabled() && !item->objectName().isEmpty()) names << item->objectName();
    edit->hide();
    return names;
  };
  QCOMPARE(enabled(), (QStringList{"Copy1", "SelectAll1", "grid1"}));  // nothing picked, nothing to undo

  // Ctrl+D: a copy of the relative polyline 10 right and down, picked.
  fx->Click({35, 170});
  fx->Key(Qt::Key_D, Qt::ControlModifier);
  QCOMPARE(fx->Line(7), QString("L(3;30;180:30:0:0:-20)"));
  QCOMPARE(fx->graf.PickedLines(), (Lines{7}));
  QVERIFY(fx->PictureIsThePass());
  QCOMPARE(enabled(), (QStringList{"Undo1", "Cut1", "Copy1", "Duplicate1", "Delete1", "SelectAll1", "grid1"}));
  fx->Key(Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(TextLines(fx->editor), LinesOf(kMany));
  QCOMPARE(fx->graf.PickedLines(), (Lines{6}));

  // Ctrl+C: every byte of the lines, CR LF after each.
  fx->Key(Qt::Key_A, Qt::ControlModifier);
  fx->Key(Qt::Key_C, Qt::ControlModifier);
  QCOMPARE(clipboard.text(), LinesOf(kMany).mid(1, 6).join("\r\n") + "\r\n");
  // Nothing picked: the picture.
  fx->Click({10, 100});
  fx->Key(Qt::Key_C, Qt::ControlModifier);
  QVERIFY(clipboard.mimeData()->hasImage());

  // Ctrl+V: the sketch lines of a posting, prose and quoted lines left out, picked.
  clipboard.setText("Look at this:\r\nR(1;E;1;1;5;5)\r\n> L(1;1;1;2;2)\r\nT(S;5;5;\"x\")");
  fx->Key(Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(fx->Line(7), QString("R(1;E;1;1;5;5)"));
  QCOMPARE(fx->Line(8), QString("T(S;5;5;\"x\")"));
  QCOMPARE(fx->editor.Editor->document()->blockCount(), 10);
  QCOMPARE(fx->graf.PickedLines(), (Lines{7, 8}));
  fx->Key(Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(TextLines(fx->editor), LinesOf(kMany));
  clipboard.setText("no sketch here");
  fx->Key(Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(TextLines(fx->editor), LinesOf(kMany));
  QVERIFY2(fx->Status("NotePanel").contains("no sketch lines"), qPrintable(fx->Status("NotePanel")));

  // Ctrl+X: the rectangle onto the clipboard and out of the text.
  fx->Click({40, 90});
  fx->Key(Qt::Key_X, Qt::ControlModifier);
  QCOMPARE(clipboard.text(), QString("R(2;E;40;60;140;120)\r\n"));
  QCOMPARE(fx->Line(2), QString("E(1;F;200;40;300;100)"));
  QVERIFY(fx->graf.PickedLines().empty());

  // From another tool, Paste takes the select tool in hand.
  fx->Key(Qt::Key_L);
  fx->Key(Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(fx->Settings().tool, drawing::kSelectTool);
  QCOMPARE(fx->Line(6), QString("R(2;E;40;60;140;120)"));
  QCOMPARE(fx->graf.PickedLines(), (Lines{6}));
}

void TestSelectMany::theBandLeavesNoTrail_data() {
  QTest::addColumn<int>("zoom");
  QTest::newRow("1x") << 1;
  QTest::newRow("3x") << 3;
}

// A band grown and shrunk again: the screen shows the picture and the band
// where it is now, nothing of where it was.
void TestSelectMany::theBandLeavesNoTrail() {
  QFETCH(int, zoom);
  fx->graf.SetZoom(zoom);
  fx->graf.resize(1100, 800);
  QApplication::processEvents();
  fx->Press({5, 30}, Qt::ShiftModifier);
  fx->Move({150, 100}, Qt::ShiftModifier);
  QApplication::processEvents();
  fx->Move({60, 50}, Qt::ShiftModifier);
  QApplication::processEvents();
  QWidget& image = *fx->graf.Image;
  QPaintDevice* const device = fx->graf.backingStore()->paintDevice();
  if (device->devType() != QInternal::Image || fx->graf.devicePixelRatioF() != 1)
    QSKIP("the window's own image is compared at ratio 1 only");
  const QRect area(image.mapTo(&fx->graf, QPoint(0, 0)), image.size());
  const QImage shown = static_cast<const QImage*>(device)->copy(area).convertToFormat(QImage::Format_RGB32);
  QCOMPARE(shown, image.grab().toImage().convertToFormat(QImage::Format_RGB32));  // painted afresh
  fx->Release({60, 50}, Qt::ShiftModifier);
}
