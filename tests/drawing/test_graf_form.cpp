#include <QApplication>
#include <QClipboard>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "DrawingTestKit.h"
#include "ScriptedDialogs.h"
#include "drawing/GraphWin.h"
#include "editor/MDIEdit.h"
#include "qttext/LegendFont.h"
#include "qttext/PictureImage.h"
#include "render/LegendText.h"
#include "test_classes.h"

using testsupport::ScriptedDialogs;

namespace {

struct Fixture {
  QTemporaryDir folder;
  ScriptedDialogs dialogs;
  TEditForm editor;
  TGrafForm graf;
  Fixture() { graf.BindEditor(&editor); }

  void SetText(const QByteArray& bytes) {
    editor.Editor->setPlainText(editor::DecodePosting(bytes));
    editor.Editor->document()->setModified(false);
  }
  sketch::Picture Rendered() const { return drawingtest::Rendered(editor); }
  const sketch::Picture& Picture() const { return graf.Picture.Picture(); }
};

std::unique_ptr<Fixture> fx;

QByteArray Repeat(const QByteArray& line, int times) {
  QByteArray text;
  for (int i = 0; i < times; ++i) text += line + "\r\n";
  return text;
}

}  // namespace

void TestGrafForm::init() { fx = std::make_unique<Fixture>(); }

void TestGrafForm::cleanup() { fx.reset(); }

void TestGrafForm::startsWithItsFirstSettings() {
  TGrafForm fresh;
  QCOMPARE(fresh.windowTitle(), QString("picture"));
  QCOMPARE(fresh.Settings.tool, TGrafForm::kLineTool);
  QVERIFY(fresh.LineButton->isChecked() && fresh.SolidPen->isChecked());
  QCOMPARE(fresh.PenWidth->value(), 1);
  QCOMPARE(fresh.Settings.penStyle, sketch::PenStyle::Solid);
  QCOMPARE(fresh.Settings.penWidth, 1);
  QVERIFY(!fresh.Settings.fill);
  QCOMPARE(fresh.Settings.legendSize, 1);
  QVERIFY(!fresh.Settings.legendUp && !fresh.Drawing && !fresh.PolylineOpen && !fresh.ArcWarned);
  QVERIFY(fresh.CbRelative->isHidden() && !fresh.CbRelative->isEnabled());
  QCOMPARE(fresh.LegendFontName, qttext::ChooseLegendFontName());
  QCOMPARE(QSize(fresh.Picture.Picture().Width(), fresh.Picture.Picture().Height()), QSize(320, 200));
  // The tool bar, left to right, with its hints.
  fresh.show();
  QVERIFY(QTest::qWaitForWindowExposed(&fresh));
  const QList<QPair<QWidget*, QString>> bar = {{fresh.SelectButton, "select (V)"},
                                               {fresh.LineButton, "line (L)"},
                                               {fresh.RectangleButton, "rectangle (R)"},
                                               {fresh.EllipseButton, "ellipse/circle (E)"},
                                               {fresh.ArcButton, "arc in 4 quadrants (A)"},
                                               {fresh.TextButton, "Text (T)"},
                                               {fresh.SolidPen, "solid line"},
                                               {fresh.DashPen, "dashed"},
                                               {fresh.DotPen, "dotted"},
                                               {fresh.DashDotPen, "dashdot"},
                                               {fresh.PenWidth, "line thickness"},
                                               {fresh.CbGridSnap, "snap to grid"},
                                               {fresh.CbOrthoSnap, QString::fromUtf8("snap ortho/45\u00B0")},
                                               {fresh.CbBrushStyle, "rect+ellipse filled"},
                                               {fresh.BtnPaintGrid, "paint grid"},
                                               {fresh.BtnSwitchToEdit, "select text editor"}};
  for (int i = 0; i < bar.size(); ++i) {
    QCOMPARE(bar[i].first->toolTip(), bar[i].second);
    if (i > 0) QVERIFY2(bar[i].first->x() > bar[i - 1].first->x(), qPrintable(bar[i].second));
  }
  QCOMPARE(fresh.CbGridSnap->text(), QString(":::::"));
  QCOMPARE(fresh.CbOrthoSnap->text(), QString("/-|\\"));
  QCOMPARE(fresh.CbBrushStyle->text(), QString("fill"));
  QCOMPARE(fresh.BtnPaintGrid->text(), QString("..."));
  QCOMPARE(fresh.BtnSwitchToEdit->text(), QString("F6"));
  QCOMPARE(fresh.TextButton->text(), QString("T"));
  QVERIFY(fresh.TextButton->font().bold());
}

void TestGrafForm::passPaintsTheEditorText() {
  fx->SetText("Hello\r\nL(1;10;20;110;20)\r\nR(2;F;120;10;200;60)\r\nT(M;10;190;\"Hello\")\r\n");
  fx->graf.DrawSketch();
  QVERIFY(fx->Picture() == fx->Rendered());
  QCOMPARE(fx->Picture().At(10, 20), 0xFF000000u);
  QCOMPARE(fx->graf.Pass.DrawnChars, 17 + 20 + 18);
}

void TestGrafForm::emptyTextLeavesEverything() {
  fx->graf.PaintGrid();
  const sketch::Picture withGrid = fx->Picture();
  fx->dialogs.fileNames = {fx->folder.filePath("empty.skp")};
  fx->editor.findChild<QAction*>("Saveas1")->trigger();  // the caption shows it was saved
  QCOMPARE(fx->editor.Caption(), QString("Text empty.skp"));
  fx->graf.DrawSketch();
  QVERIFY(fx->Picture() == withGrid);
  QCOMPARE(fx->graf.windowTitle(), QString("Draw window"));
  // A text of prose only clears the picture and renews the caption.
  fx->SetText("just words\r\n");
  fx->graf.DrawSketch();
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
  fx->SetText(Repeat("L(1;10;20;110;20)", 240) + last);  // 240 x 17 = 4080
  fx->graf.DrawSketch();
  QCOMPARE(fx->dialogs.Texts("Warning"), warnings);
}

void TestGrafForm::settingsFollowTheButtonsAfterAPass() {
  fx->SetText("L(1;10;20;110;20)");
  fx->graf.Drawing = true;  // a gesture under way: every setting refuses
  fx->graf.DashPen->click();
  fx->graf.PenWidth->setValue(3);
  fx->graf.RectangleButton->click();
  QVERIFY(fx->graf.DashPen->isChecked() && fx->graf.RectangleButton->isChecked());
  QCOMPARE(fx->graf.Settings.penStyle, sketch::PenStyle::Solid);
  QCOMPARE(fx->graf.Settings.tool, TGrafForm::kLineTool);
  fx->graf.Drawing = false;
  fx->graf.DrawSketch();
  QCOMPARE(fx->graf.Settings.penStyle, sketch::PenStyle::Dash);
  QCOMPARE(fx->graf.PenWidth->value(), 1);
  QCOMPARE(fx->graf.Settings.penWidth, 1);
  QCOMPARE(fx->graf.Settings.tool, TGrafForm::kRectangleTool);
}

void TestGrafForm::styleAndThicknessRules() {
  TGrafForm& g = fx->graf;
  g.PenWidth->setValue(4);
  QCOMPARE(g.Settings.penWidth, 4);
  g.DashPen->click();  // a broken style means thickness 1
  QCOMPARE(g.PenWidth->value(), 1);
  QCOMPARE(g.Settings.penWidth, 1);
  QCOMPARE(g.Settings.penStyle, sketch::PenStyle::Dash);
  g.DotPen->click();
  g.PenWidth->setValue(2);  // a thickness above 1 means solid
  QVERIFY(g.SolidPen->isChecked());
  QCOMPARE(g.Settings.penStyle, sketch::PenStyle::Solid);
  QCOMPARE(g.Settings.penWidth, 2);
  g.PenWidth->setValue(11);  // the up-down stops at 10
  QCOMPARE(g.PenWidth->value(), 10);
}

void TestGrafForm::settingsRefusedDuringAGesture() {
  TGrafForm& g = fx->graf;
  for (int gesture = 0; gesture < 2; ++gesture) {
    g.Drawing = gesture == 0;
    g.PolylineOpen = gesture == 1;
    g.RectangleButton->click();
    g.ArcButton->click();
    g.CbBrushStyle->click();
    g.PenWidth->setValue(gesture + 5);
    g.DotPen->click();
    QCOMPARE(g.Settings.tool, TGrafForm::kLineTool);
    QVERIFY(!g.Settings.fill);
    QCOMPARE(g.Settings.penWidth, 1);
    QCOMPARE(g.Settings.penStyle, sketch::PenStyle::Solid);
    QVERIFY(fx->dialogs.calls.isEmpty());  // no arc caution either
  }
}

void TestGrafForm::arcCautionOncePerWindow() {
  fx->graf.ArcButton->click();
  fx->graf.ArcButton->click();
  fx->graf.LineButton->click();
  fx->graf.ArcButton->click();
  QCOMPARE(fx->graf.Settings.tool, TGrafForm::kArcTool);
  const QString caution =
      "Caution: Arc is new. Readers who have older\nversions of Sketchpost cannot display arcs.\n"
      "Please do not use it except when you really need it!\nVessrin.";
  QCOMPARE(fx->dialogs.Texts("Warning"), QStringList{caution});
  TGrafForm other;  // once per window
  other.ArcButton->click();
  QCOMPARE(fx->dialogs.Texts("Warning").size(), 2);
}

void TestGrafForm::relativeCautionOnEveryCheck() {
  fx->graf.CbRelative->setEnabled(true);
  fx->graf.CbRelative->setVisible(true);
  fx->graf.CbRelative->click();
  fx->graf.CbRelative->click();  // unchecking says nothing
  fx->graf.CbRelative->click();
  QCOMPARE(fx->dialogs.Texts("Warning").size(), 2);
  QVERIFY(fx->dialogs.Texts("Warning").first().startsWith("Caution: Relative is new."));
}

void TestGrafForm::fillSetsTheBrush() {
  fx->graf.CbBrushStyle->click();
  QVERIFY(fx->graf.Settings.fill);
  QCOMPARE(drawing::ToolBrush(fx->graf.Settings).style, sketch::BrushStyle::Solid);
  QCOMPARE(drawing::ToolBrush(fx->graf.Settings).color, drawing::ToolPen(fx->graf.Settings).color);
  fx->graf.CbBrushStyle->click();
  QVERIFY(!fx->graf.Settings.fill);
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
  fx->SetText("L(1;10;20;110;20)\r\nR(1;F;120;10;200;60)");
  fx->graf.DrawSketch();
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
  fx->SetText("L(1;10;20;110;20)");
  fx->graf.DrawSketch();
  const sketch::Picture plain = fx->Picture();
  fx->graf.HighlightLine("L(1;10;20;110;20)");
  fx->graf.OnGrafWinActivate();
  QVERIFY(fx->graf.LastHighlight().empty());
  QVERIFY(fx->Picture() == plain);
}

void TestGrafForm::gridTwiceAndPassClearsIt() {
  fx->SetText("R(1;F;120;10;200;60)");
  fx->graf.DrawSketch();
  const sketch::Picture plain = fx->Picture();
  fx->graf.BtnPaintGrid->click();
  QVERIFY(fx->Picture() != plain);
  fx->graf.grid1->trigger();
  QVERIFY(fx->Picture() == plain);
  fx->graf.grid1->trigger();
  fx->graf.DrawSketch();
  QVERIFY(fx->Picture() == plain);
}

void TestGrafForm::copyPutsThePictureOnTheClipboard() {
  fx->SetText("E(3;E;10;10;300;190)");
  fx->graf.DrawSketch();
  fx->graf.PaintGrid();
  fx->graf.Copy1->trigger();
  const QImage copied = QApplication::clipboard()->image();
  QCOMPARE(copied.size(), QSize(320, 200));
  QVERIFY(copied.convertToFormat(QImage::Format_RGB32) == qttext::ImageOf(fx->Picture()));
}

void TestGrafForm::f6AsksForTheBoundEditor() {
  QList<TEditForm*> asked;
  connect(&fx->graf, &TGrafForm::showEditorRequested, this, [&](TEditForm* editor) { asked << editor; });
  fx->graf.BtnSwitchToEdit->click();
  fx->graf.Textwindow1->trigger();
  QCOMPARE(asked, QList<TEditForm*>({&fx->editor, &fx->editor}));
  QCOMPARE(fx->graf.Textwindow1->shortcut(), QKeySequence(Qt::Key_F6));
  QCOMPARE(fx->graf.grid1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_G));
}
