// Legends: the text tool, its dialog, the history and the cautions.

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <memory>

#include "DrawingSession.h"
#include "drawing/LegendDlg.h"
#include "test_classes.h"

namespace {

// What the user does in one dialog; the dialog's state is noted first.
struct Visit {
  Visit(QString typed = {}, int sizeButton = -1, bool up = false, bool enter = true, QString paste = {})
      : text(std::move(typed)), size(sizeButton), clickUp(up), ok(enter), pasted(std::move(paste)) {}
  QString text;    // typed key by key
  int size;        // radio button to click, -1 none
  bool clickUp;    // click Up
  bool ok;         // Enter, or the close box
  QString pasted;  // then pasted with Ctrl+V
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

// A drawing session whose legend dialogs are run by a script: each notes
// what it shows, then takes the next visit's keys and clicks.
struct Fixture : drawingtest::DrawingSession {
  QList<Visit> visits;
  QList<Seen> seen;
  QList<bool> stillOpen;  // after the last key of each dialog
  Fixture() {
    InitLegendDialog();
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
    QLineEdit* edit = dialog.ComboBox1->lineEdit();
    drawingtest::TypeKeys(edit, visit.text);
    if (!visit.pasted.isEmpty()) {
      QApplication::clipboard()->setText(visit.pasted);
      QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    }
    if (visit.size >= 0) QTest::mouseClick(dialog.SizeButtons[static_cast<std::size_t>(visit.size)], Qt::LeftButton);
    if (visit.clickUp) QTest::mouseClick(dialog.CheckBox1, Qt::LeftButton);
    // Enter presses OK at once; the close box ends the dialog without it.
    if (visit.ok) {
      QTest::keyClick(edit, Qt::Key_Return);
    } else {
      dialog.close();
    }
    stillOpen << dialog.isVisible();
    return dialog.result();
  }

  void Place(QPoint at) {
    UseTool(drawing::kTextTool);
    Click(at);
  }
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
  QVERIFY(first.client.width() >= 328 && first.client.height() >= 103);
  QCOMPARE(first.text, QString());
  QCOMPARE(first.label, QString("Font size=10"));
  QCOMPARE(first.size, 1);
  QVERIFY(!first.up);
  QVERIFY(first.okDefault);
  QVERIFY(first.comboFocused);
  QVERIFY(first.offered.isEmpty());
  QCOMPARE(fx->Text(), QByteArray("T(M;40;120;\"picture\")\r\n"));
  QVERIFY(fx->Picture() == fx->Rendered());
  QVERIFY(!drawingtest::GestureUnderWay(fx->graf) && !drawingtest::PolylineOpen(fx->graf));
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
  QCOMPARE(fx->Settings().legendSize, 0);
  QVERIFY(fx->Settings().legendUp);
  fx->Place({200, 150});
  QCOMPARE(fx->seen.last().size, 0);
  QVERIFY(fx->seen.last().up);
  QCOMPARE(fx->Text(), QByteArray("T(SU;100;150;\"small up\")\r\nT(SU;200;150;\"next\")\r\n"));
  // A cancelled dialog keeps them.
  fx->visits = {{"x", 2, false, false}};
  fx->Place({10, 10});
  QCOMPARE(fx->Settings().legendSize, 0);
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
  QVERIFY(fx->Picture() == fx->Rendered());
  if (typed.size() == 70) QCOMPARE(LegendMemory().LegendHistory, QStringList{typed});  // remembered whole
}

void TestLegend::typedTextIsWrittenAsTyped() {
  // Typed key by key and ended with Enter: the text goes in letter for
  // letter, whatever the history holds, and the first Enter is OK.
  fx->visits = {{"picture"}, {"Picture"}, {"pic"}, {"pic", -1, false, true, " two\nlines\r"}};
  for (int i = 0; i < 4; ++i) fx->Place({20, 70 + 30 * i});
  QCOMPARE(fx->stillOpen, QList<bool>({false, false, false, false}));
  QCOMPARE(fx->Text(), QByteArray("T(M;20;70;\"picture\")\r\nT(M;20;100;\"Picture\")\r\nT(M;20;130;\"pic\")\r\n"
                                  "T(M;20;160;\"pic two lines \")\r\n"));
  QCOMPARE(LegendMemory().LegendHistory, QStringList({"picture", "Picture", "pic", "pic two lines "}));
  QCOMPARE(fx->seen.last().offered, QStringList({"picture", "Picture", "pic"}));  // the list offers them still
  QVERIFY(fx->Picture() == fx->Rendered());
}

void TestLegend::gridSnapsTheLegendPoint() {
  fx->SetChecked("CbGridSnap", true);
  fx->SetChecked("CbOrthoSnap", true);  // never applies to legends
  fx->visits = {{"here"}};
  fx->Place({43, 118});
  QCOMPARE(fx->Text(), QByteArray("T(M;40;120;\"here\")\r\n"));
}
