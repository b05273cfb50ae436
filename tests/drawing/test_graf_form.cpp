#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "DrawingSession.h"
#include "qttext/LegendFont.h"
#include "qttext/PictureImage.h"
#include "render/LegendText.h"
#include "test_classes.h"

using drawingtest::Find;

namespace {

QByteArray Repeat(const QByteArray& line, int times) {
  QByteArray text;
  for (int i = 0; i < times; ++i) text += line + "\r\n";
  return text;
}

}  // namespace

void TestGrafForm::startsWithItsFirstSettings() {
  TGrafForm fresh;
  const drawing::ToolSettings settings = fresh.CurrentToolSettings();
  QCOMPARE(fresh.windowTitle(), QString("picture"));
  QCOMPARE(settings.tool, drawing::kLineTool);
  QVERIFY(Find<QToolButton>(fresh, "LineButton")->isChecked() && Find<QToolButton>(fresh, "SolidPen")->isChecked());
  QCOMPARE(Find<QSpinBox>(fresh, "PenWidth")->value(), 1);
  QCOMPARE(settings.penStyle, sketch::PenStyle::Solid);
  QCOMPARE(settings.penWidth, 1);
  QVERIFY(!settings.fill);
  QCOMPARE(settings.legendSize, 1);
  QVERIFY(!settings.legendUp && !drawingtest::GestureUnderWay(fresh) && !drawingtest::PolylineOpen(fresh));
  QVERIFY(Find(fresh, "CbRelative")->isHidden() && !Find(fresh, "CbRelative")->isEnabled());
  QCOMPARE(drawingtest::LegendFontName(fresh), qttext::ChooseLegendFontName());
  QCOMPARE(QSize(fresh.Picture.Picture().Width(), fresh.Picture.Picture().Height()), QSize(320, 200));
  // The tool bar, left to right, with its hints.
  fresh.show();
  QVERIFY(QTest::qWaitForWindowExposed(&fresh));
  const QList<QPair<const char*, QString>> bar = {{"SelectButton", "select (V)"},
                                                  {"LineButton", "line (L)"},
                                                  {"RectangleButton", "rectangle (R)"},
                                                  {"EllipseButton", "ellipse/circle (E)"},
                                                  {"ArcButton", "arc in 4 quadrants (A)"},
                                                  {"TextButton", "Text (T)"},
                                                  {"SolidPen", "solid line"},
                                                  {"DashPen", "dashed"},
                                                  {"DotPen", "dotted"},
                                                  {"DashDotPen", "dashdot"},
                                                  {"PenWidth", "line thickness"},
                                                  {"CbGridSnap", "snap to grid"},
                                                  {"CbOrthoSnap", QString::fromUtf8("snap ortho/45\u00B0")},
                                                  {"CbBrushStyle", "rect+ellipse filled"},
                                                  {"BtnPaintGrid", "paint grid"},
                                                  {"BtnSwitchToEdit", "select text editor"}};
  for (int i = 0; i < bar.size(); ++i) {
    QCOMPARE(Find(fresh, bar[i].first)->toolTip(), bar[i].second);
    if (i > 0) QVERIFY2(Find(fresh, bar[i].first)->x() > Find(fresh, bar[i - 1].first)->x(), qPrintable(bar[i].second));
  }
  const auto text = [&](const char* part) { return Find<QAbstractButton>(fresh, part)->text(); };
  QCOMPARE(text("CbGridSnap"), QString(":::::"));
  QCOMPARE(text("CbOrthoSnap"), QString("/-|\\"));
  QCOMPARE(text("CbBrushStyle"), QString("fill"));
  QCOMPARE(text("BtnPaintGrid"), QString("..."));
  QCOMPARE(text("BtnSwitchToEdit"), QString("F6"));
  QCOMPARE(text("TextButton"), QString("T"));
  QVERIFY(Find(fresh, "TextButton")->font().bold());
}

void TestGrafForm::passPaintsTheEditorText() {
  fx->Load("Hello\r\nL(1;10;20;110;20)\r\nR(2;F;120;10;200;60)\r\nT(M;10;190;\"Hello\")\r\n");
  QVERIFY(fx->Picture() == fx->Rendered());
  QCOMPARE(fx->Picture().At(10, 20), 0xFF000000u);
  QCOMPARE(drawingtest::DrawnChars(fx->graf), 17 + 20 + 18);
}

void TestGrafForm::emptyTextLeavesEverything() {
  QTemporaryDir folder;
  fx->graf.PaintGrid();
  const sketch::Picture withGrid = fx->Picture();
  fx->dialogs.fileNames = {folder.filePath("empty.skp")};
  fx->editor.findChild<QAction*>("Saveas1")->trigger();  // the caption shows it was saved
  QCOMPARE(fx->editor.Caption(), QString("Text empty.skp"));
  fx->graf.DrawSketch();
  QVERIFY(fx->Picture() == withGrid);
  QCOMPARE(fx->graf.windowTitle(), QString("Draw window"));
  // A text of prose only clears the picture and renews the caption.
  fx->Load("just words\r\n");
  QVERIFY(fx->Picture() == fx->Rendered());
  QCOMPARE(fx->graf.windowTitle(), QString("Draw empty.skp"));
  QVERIFY(fx->dialogs.Kinds() == QStringList({"Save"}));
}

void TestGrafForm::promptPutsCaretBehindWhatWasRead_data() {
  QTest::addColumn<QByteArray>("text");
  QTest::addColumn<QList<ui::Answer>>("answers");
  QTest::addColumn<QStringList>("prompts");
  QTest::addColumn<int>("caretLine");
  QTest::addColumn<int>("caretColumn");
  QTest::addColumn<bool>("lastDrawn");
  const QByteArray one = "prose\r\nL(1;10;20;30;40\r\nR(1;F;100;100;200;150)";
  const QString first = "Polyline is probably incomplete\nL(1;10;20;30;40";
  QTest::newRow("OK goes on") << one << QList<ui::Answer>{ui::Answer::Ok} << QStringList{first} << 1 << 15 << true;
  QTest::newRow("cancel or closing the box stops")
      << one << QList<ui::Answer>{ui::Answer::Cancel} << QStringList{first} << 1 << 15 << false;
  const QByteArray two = "L(1;10;20;30;40\r\nT(S;50;50;\"abc\r\nR(1;F;100;100;200;150)";
  const QString legend = "Legend text is probably incomplete\nT(S;50;50;\"abc";
  QTest::newRow("OK leads to the second")
      << two << QList<ui::Answer>{ui::Answer::Ok, ui::Answer::Ok}
      << QStringList{"Polyline is probably incomplete\nL(1;10;20;30;40", legend} << 1 << 14 << true;
  QTest::newRow("cancel at the first skips the second")
      << two << QList<ui::Answer>{ui::Answer::Cancel} << QStringList{"Polyline is probably incomplete\nL(1;10;20;30;40"}
      << 0 << 15 << false;
}

void TestGrafForm::promptPutsCaretBehindWhatWasRead() {
  QFETCH(QByteArray, text);
  QFETCH(QList<ui::Answer>, answers);
  QFETCH(QStringList, prompts);
  QFETCH(int, caretLine);
  QFETCH(int, caretColumn);
  QFETCH(bool, lastDrawn);
  fx->SetText(text);
  fx->dialogs.answers = answers;
  fx->graf.DrawSketch();
  QCOMPARE(fx->dialogs.Texts("WarningOkCancel"), prompts);
  QCOMPARE(fx->dialogs.unplanned, 0);
  QCOMPARE(fx->editor.GetColLine().line, caretLine);
  QCOMPARE(fx->editor.GetColLine().column, caretColumn);
  QCOMPARE(fx->Picture().At(150, 120) == 0xFF000000u, lastDrawn);
  QCOMPARE(fx->graf.windowTitle(), QString("Draw window"));  // the pass ends as always
}

void TestGrafForm::sizeWarning_data() {
  QTest::addColumn<QByteArray>("last");
  QTest::addColumn<QStringList>("warnings");
  QTest::newRow("4095: none") << QByteArray("L(1;1;2;333;44)") << QStringList{};
  QTest::newRow("4096: warned") << QByteArray("L(1;1;2;3333;44)") << QStringList{"Drawing text is 4096 characters!"};
}

void TestGrafForm::sizeWarning() {
  QFETCH(QByteArray, last);
  QFETCH(QStringList, warnings);
  fx->Load(Repeat("L(1;10;20;110;20)", 240) + last);  // 240 x 17 = 4080
  QCOMPARE(fx->dialogs.Texts("Warning"), warnings);
}

void TestGrafForm::settingsFollowTheButtonsAfterAPass() {
  fx->SetText("L(1;10;20;110;20)");
  fx->Press({200, 150});  // a gesture under way: every setting refuses
  fx->Click("DashPen");
  fx->SetPenWidth(3);
  fx->Click("RectangleButton");
  QVERIFY(fx->Checked("DashPen") && fx->Checked("RectangleButton"));
  QCOMPARE(fx->Settings().penStyle, sketch::PenStyle::Solid);
  QCOMPARE(fx->Settings().tool, drawing::kLineTool);
  fx->Release({200, 150});  // where it began: nothing drawn
  fx->graf.DrawSketch();
  QCOMPARE(fx->Settings().penStyle, sketch::PenStyle::Dash);
  QCOMPARE(fx->Find<QSpinBox>("PenWidth")->value(), 1);
  QCOMPARE(fx->Settings().penWidth, 1);
  QCOMPARE(fx->Settings().tool, drawing::kRectangleTool);
}

void TestGrafForm::styleAndThicknessRules() {
  fx->SetPenWidth(4);
  QCOMPARE(fx->Settings().penWidth, 4);
  fx->Click("DashPen");  // a broken style means thickness 1
  QCOMPARE(fx->Find<QSpinBox>("PenWidth")->value(), 1);
  QCOMPARE(fx->Settings().penWidth, 1);
  QCOMPARE(fx->Settings().penStyle, sketch::PenStyle::Dash);
  fx->Click("DotPen");
  fx->SetPenWidth(2);  // a thickness above 1 means solid
  QVERIFY(fx->Checked("SolidPen"));
  QCOMPARE(fx->Settings().penStyle, sketch::PenStyle::Solid);
  QCOMPARE(fx->Settings().penWidth, 2);
  fx->SetPenWidth(11);  // the up-down stops at 10
  QCOMPARE(fx->Find<QSpinBox>("PenWidth")->value(), 10);
}

void TestGrafForm::settingsRefusedDuringAGesture() {
  for (const bool polyline : {false, true}) {
    fx = std::make_unique<drawingtest::DrawingSession>();
    if (polyline) {
      fx->OpenPolyline({10, 20}, {50, 20});
    } else {
      fx->Press({10, 20});
    }
    fx->Click("RectangleButton");
    fx->Click("ArcButton");
    fx->Click("CbBrushStyle");
    fx->SetPenWidth(int(polyline) + 5);
    fx->Click("DotPen");
    QCOMPARE(fx->Settings().tool, drawing::kLineTool);
    QVERIFY(!fx->Settings().fill);
    QCOMPARE(fx->Settings().penWidth, 1);
    QCOMPARE(fx->Settings().penStyle, sketch::PenStyle::Solid);
    QVERIFY(fx->dialogs.calls.isEmpty());  // no arc caution either
  }
}

void TestGrafForm::arcCautionOncePerWindow() {
  fx->Click("ArcButton");
  fx->Click("ArcButton");
  fx->Click("LineButton");
  fx->Click("ArcButton");
  QCOMPARE(fx->Settings().tool, drawing::kArcTool);
  const QString caution =
      "Caution: Arc is new. Readers who have older\nversions of Sketchpost cannot display arcs.\n"
      "Please do not use it except when you really need it!\nVessrin.";
  QCOMPARE(fx->dialogs.Texts("Warning"), QStringList{caution});
  TGrafForm other;  // once per window
  Find<QToolButton>(other, "ArcButton")->click();
  QCOMPARE(fx->dialogs.Texts("Warning").size(), 2);
}

void TestGrafForm::relativeCautionOnEveryCheck() {
  QWidget* relative = fx->Find("CbRelative");
  relative->setEnabled(true);
  relative->setVisible(true);
  fx->Click("CbRelative");
  fx->Click("CbRelative");  // unchecking says nothing
  fx->Click("CbRelative");
  QCOMPARE(fx->dialogs.Texts("Warning").size(), 2);
  QVERIFY(fx->dialogs.Texts("Warning").first().startsWith("Caution: Relative is new."));
}

void TestGrafForm::fillSetsTheBrush() {
  fx->Click("CbBrushStyle");
  QVERIFY(fx->Settings().fill);
  // The next rectangle is filled in the pen's colour.
  fx->Click("RectangleButton");
  fx->Drag({20, 20}, {80, 60});
  QCOMPARE(fx->Picture().At(50, 40), 0xFF000000u);
  fx->Click("CbBrushStyle");
  QVERIFY(!fx->Settings().fill);
}

void TestGrafForm::captions_data() {
  QTest::addColumn<QString>("editorCaption");
  QTest::addColumn<QString>("caption");
  QTest::newRow("untitled") << QString("Untitled") << QString("Draw window");
  QTest::newRow("named") << QString("Text notes.txt") << QString("Draw notes.txt");
  QTest::newRow("at most 100 characters of the name")
      << QString("Text ") + QString(150, 'n') << QString("Draw ") + QString(100, 'n');
}

void TestGrafForm::captions() {
  QFETCH(QString, editorCaption);
  QFETCH(QString, caption);
  QCOMPARE(TGrafForm::DrawCaption(editorCaption), caption);
}

void TestGrafForm::highlightFollowsTheCaretAndPassRemovesIt() {
  fx->Load("L(1;10;20;110;20)\r\nR(1;F;120;10;200;60)");
  const sketch::Picture plain = fx->Picture();
  fx->graf.HighlightLine("R(1;F;120;10;200;60)");
  QVERIFY(fx->Picture() != plain);
  fx->graf.DrawSketch();
  QVERIFY(fx->graf.LastHighlight().empty());
  QVERIFY(fx->Picture() == plain);
  fx->graf.HighlightLine("L(1;10;20;110;20)");  // marks again after the pass
  QCOMPARE(fx->Picture().At(50, 20), 0xFFFF00FFu);
}

void TestGrafForm::activationRemovesTheHighlight() {
  fx->Load("L(1;10;20;110;20)");
  const sketch::Picture plain = fx->Picture();
  fx->graf.HighlightLine("L(1;10;20;110;20)");
  fx->graf.OnGrafWinActivate();
  QVERIFY(fx->graf.LastHighlight().empty());
  QVERIFY(fx->Picture() == plain);
}

void TestGrafForm::gridTwiceAndPassClearsIt() {
  fx->Load("R(1;F;120;10;200;60)");
  const sketch::Picture plain = fx->Picture();
  fx->Click("BtnPaintGrid");
  QVERIFY(fx->Picture() != plain);
  fx->Click("grid1");
  QVERIFY(fx->Picture() == plain);
  fx->Click("grid1");
  fx->graf.DrawSketch();
  QVERIFY(fx->Picture() == plain);
}

void TestGrafForm::copyPutsThePictureOnTheClipboard() {
  fx->Load("E(3;E;10;10;300;190)");
  fx->graf.PaintGrid();
  fx->Click("Copy1");
  const QImage copied = QApplication::clipboard()->image();
  QCOMPARE(copied.size(), QSize(320, 200));
  QVERIFY(copied.convertToFormat(QImage::Format_RGB32) == qttext::ImageOf(fx->Picture()));
}

void TestGrafForm::f6AsksForTheBoundEditor() {
  QList<TEditForm*> asked;
  connect(&fx->graf, &TGrafForm::showEditorRequested, this, [&](TEditForm* editor) { asked << editor; });
  fx->Click("BtnSwitchToEdit");
  fx->Click("Textwindow1");
  QCOMPARE(asked, QList<TEditForm*>({&fx->editor, &fx->editor}));
  QCOMPARE(fx->Find<QAction>("Textwindow1")->shortcut(), QKeySequence(Qt::Key_F6));
  QCOMPARE(fx->Find<QAction>("grid1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_G));
}
