// Legends: the text tool, its dialog, the history and the cautions.

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <functional>
#include <memory>

#include "DrawingTestKit.h"
#include "ScriptedDialogs.h"
#include "drawing/GraphWin.h"
#include "drawing/LegendDlg.h"
#include "editor/MDIEdit.h"
#include "test_classes.h"

using testsupport::ScriptedDialogs;

namespace {

// What the user does in one dialog; the dialog's state is noted first.
struct Visit {
  QString text;
  int size = -1;  // radio button to click, -1 none
  bool clickUp = false;
  bool ok = true;  // OK, or the close box
};

struct Seen {
  QString text, label;
  int size = -1;
  bool up = false;
  QStringList offered;
  bool okDefault = false, comboFocused = false;
  QSize client;
  QString caption;
};

struct Fixture {
  ScriptedDialogs dialogs;
  TEditForm editor;
  TGrafForm graf;
  QList<Visit> visits;
  QList<Seen> seen;
  Fixture() {
    InitLegendDialog();
    graf.BindEditor(&editor);
    graf.show();
    SetLegendDialogRunner([this](TLegendDlgForm& dialog) { return Run(dialog); });
  }
  ~Fixture() { SetLegendDialogRunner(nullptr); }

  int Run(TLegendDlgForm& dialog) {
    dialog.show();
    Seen now;
    now.text = dialog.ComboBox1->currentText();
    now.label = dialog.Label2->text();
    now.size = dialog.SelectedSize();
    now.up = dialog.CheckBox1->isChecked();
    for (int i = 0; i < dialog.ComboBox1->count(); ++i) now.offered << dialog.ComboBox1->itemText(i);
    now.okDefault = dialog.OKbutton->isDefault();
    now.comboFocused = dialog.focusWidget() == dialog.ComboBox1 || dialog.ComboBox1->isAncestorOf(dialog.focusWidget());
    now.client = dialog.size();
    now.caption = dialog.windowTitle();
    seen << now;
    const Visit visit = visits.isEmpty() ? Visit{} : visits.takeFirst();
    dialog.ComboBox1->setEditText(visit.text);
    if (visit.size >= 0) dialog.SizeButtons[static_cast<std::size_t>(visit.size)]->click();
    if (visit.clickUp) dialog.CheckBox1->click();
    return visit.ok ? QDialog::Accepted : QDialog::Rejected;
  }

  void Place(QPoint at) {
    graf.Tool = TGrafForm::kTextTool;
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), graf.Image->mapToGlobal(QPointF(at)), Qt::LeftButton,
                      Qt::LeftButton, {});
    QApplication::sendEvent(graf.Image, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), graf.Image->mapToGlobal(QPointF(at)), Qt::LeftButton,
                        Qt::NoButton, {});
    QApplication::sendEvent(graf.Image, &release);
  }
  QByteArray Text() const { return editor::EncodePosting(*editor.Editor->document()); }
  QImage Rendered() const { return drawingtest::Rendered(editor); }
};

std::unique_ptr<Fixture> fx;

const QString kSizeCaution =
    "Caution: this is new, older versions of Sketchpost\ncannot draw in another size than medium!";
const QString kUpCaution =
    "Caution: this is new, older versions of Sketchpost\ncannot draw in another direction than horizontal!";

}  // namespace

void TestLegend::init() { fx = std::make_unique<Fixture>(); }

void TestLegend::cleanup() { fx.reset(); }

void TestLegend::firstDialogOfARun() {
  fx->visits = {{"picture"}};
  fx->Place({40, 120});
  QCOMPARE(fx->seen.size(), 1);
  const Seen& first = fx->seen.first();
  QCOMPARE(first.caption, QString("Legend Text"));
  QCOMPARE(first.client, QSize(328, 103));
  QCOMPARE(first.text, QString());
  QCOMPARE(first.label, QString("Font size=10"));
  QCOMPARE(first.size, 1);
  QVERIFY(!first.up);
  QVERIFY(first.okDefault);
  QVERIFY(first.comboFocused);
  QVERIFY(first.offered.isEmpty());
  QCOMPARE(fx->Text(), QByteArray("T(M;40;120;\"picture\")\r\n"));
  QVERIFY(fx->graf.Picture.Picture() == fx->Rendered());
  QVERIFY(!fx->graf.Drawing && !fx->graf.PolylineOpen);
}

void TestLegend::dialogControls() {
  TLegendDlgForm dialog;
  QCOMPARE(dialog.Label1->text(), QString("Enter legend &text"));
  QCOMPARE(dialog.Label1->buddy(), dialog.ComboBox1);
  QCOMPARE(dialog.RadioGroup1->title(), QString("Text Si&ze"));
  QCOMPARE(dialog.SizeButtons[0]->text(), QString("&small"));
  QCOMPARE(dialog.SizeButtons[1]->text(), QString("&medium"));
  QCOMPARE(dialog.SizeButtons[2]->text(), QString("&large"));
  QCOMPARE(dialog.GroupBox1->title(), QString("Up"));
  QCOMPARE(dialog.CheckBox1->text(), QString("&Up"));
  QCOMPARE(dialog.OKbutton->text(), QString("O&K"));
  QVERIFY(dialog.ComboBox1->isEditable());
  const QStringList labels = {"Font size= 8", "Font size=10", "Font size=14"};
  for (int size = 0; size < 3; ++size) {
    dialog.SelectSize(size);
    dialog.UpdateSizeLabel();
    QCOMPARE(dialog.Label2->text(), labels[size]);
  }
}

void TestLegend::historyOfTheRun() {
  fx->visits = {{"abc"}, {"abc"}, {"ABC"}, {"second"}};
  for (int i = 0; i < 4; ++i) fx->Place({10, 20 + 30 * i});
  QCOMPARE(LegendMemory().LegendHistory, QStringList({"abc", "ABC", "second"}));
  QCOMPARE(fx->seen.last().offered, QStringList({"abc", "ABC"}));
  // Closed by its close box, or OK with nothing typed: nothing remembered or placed.
  fx->visits = {{"typed", -1, false, false}, {""}};
  fx->Place({10, 150});
  fx->Place({10, 170});
  QCOMPARE(LegendMemory().LegendHistory.size(), 3);
  QCOMPARE(fx->editor.Editor->document()->blockCount(), 5);  // four lines and the empty last one
}

void TestLegend::cautionsOncePerRun() {
  fx->visits = {{"a", 2}, {"b", 0}, {"c", -1, true}, {"d", -1, true}, {"e", -1, true}};
  for (int i = 0; i < 5; ++i) fx->Place({10, 20 + 30 * i});
  QCOMPARE(fx->dialogs.Texts("Warning"), QStringList({kSizeCaution, kUpCaution}));
  // Within one dialog: Up checked, cleared, checked again asks once (already asked here).
  QVERIFY(!LegendMemory().WarnSize && !LegendMemory().WarnUp);
  InitLegendDialog();  // a new run
  fx->visits = {{"f", 2}};
  fx->Place({100, 100});
  QCOMPARE(fx->dialogs.Texts("Warning"), QStringList({kSizeCaution, kUpCaution, kSizeCaution}));
}

void TestLegend::sizeAndDirectionCarryOver() {
  fx->visits = {{"small up", 0, true}, {"next"}};
  fx->Place({100, 150});
  QCOMPARE(fx->graf.LegendSize, 0);
  QVERIFY(fx->graf.LegendUp);
  fx->Place({200, 150});
  QCOMPARE(fx->seen.last().size, 0);
  QVERIFY(fx->seen.last().up);
  QCOMPARE(fx->Text(), QByteArray("T(SU;100;150;\"small up\")\r\nT(SU;200;150;\"next\")\r\n"));
  // A cancelled dialog keeps them.
  fx->visits = {{"x", 2, false, false}};
  fx->Place({10, 10});
  QCOMPARE(fx->graf.LegendSize, 0);
}

void TestLegend::placedTextRules_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QByteArray>("written");
  const QString seventy = QString(60, 'a') + "bcdefghijk";
  QTest::newRow("70 characters: 63 placed")
      << seventy << QByteArray("T(M;10;50;\"" + seventy.left(63).toLatin1() + "\")");
  QTest::newRow("double quotes become apostrophes") << QString("say \"hi\"") << QByteArray("T(M;10;50;\"say 'hi'\")");
  QTest::newRow("semicolon and parenthesis kept") << QString("a;b (c)") << QByteArray("T(M;10;50;\"a;b (c)\")");
  QTest::newRow("umlauts unchanged") << QString::fromUtf8("Gr\xC3\xBC\xC3\x9F\x65")
                                     << QByteArray(
                                            "T(M;10;50;\"Gr\xFC\xDF"
                                            "e\")");
  QTest::newRow("a character without byte") << QString::fromUtf8("a\xE4\xB8\xAD") << QByteArray("T(M;10;50;\"a?\")");
}

void TestLegend::placedTextRules() {
  QFETCH(QString, typed);
  QFETCH(QByteArray, written);
  fx->visits = {{typed}};
  fx->Place({10, 50});
  QCOMPARE(fx->Text(), written + "\r\n");
  QVERIFY(fx->graf.Picture.Picture() == fx->Rendered());
  if (typed.size() == 70) QCOMPARE(LegendMemory().LegendHistory, QStringList{typed});  // remembered whole
}

void TestLegend::gridSnapsTheLegendPoint() {
  fx->graf.CbGridSnap->setChecked(true);
  fx->graf.CbOrthoSnap->setChecked(true);  // never applies to legends
  fx->visits = {{"here"}};
  fx->Place({43, 118});
  QCOMPARE(fx->Text(), QByteArray("T(M;40;120;\"here\")\r\n"));
}
