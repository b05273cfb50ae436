// The posting aids: the Edit menu's states, Copy with the notice block,
// Add URL and Remove quotes.

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "MenuBarEditor.h"
#include "editor/NoticeBlock.h"
#include "editor/QuoteRemoval.h"
#include "test_classes.h"

namespace {

using Fixture = editortest::MenuBarEditor;

std::unique_ptr<Fixture> fx;

QString Clipboard() { return QApplication::clipboard()->text(); }

// A text of `length` characters (breaks counted two) of which `selected` are selected.
void SelectShare(int length, int selected) {
  fx->SetText(QByteArray(length - 2, 'x') + "\r\n");
  // Positions and characters agree on the first line; all of it ends behind the break.
  fx->Select(0, selected == length ? length - 1 : selected);
}

const QString kQuestion =
    "Please add the download URL for Sketchpost\nand a hint not to quote the text on replies!\n"
    "May I append the text automatically?";

}  // namespace

void TestPostingAids::init() {
  fx = std::make_unique<Fixture>();
  QVERIFY(QTest::qWaitForWindowActive(&fx->window));
  QApplication::clipboard()->setText("on the clipboard");
}

void TestPostingAids::cleanup() { fx.reset(); }

void TestPostingAids::enablingStates_data() {
  QTest::addColumn<bool>("selection");
  QTest::addColumn<int>("clipboard");  // 0 text, 1 empty, 2 picture only
  QTest::addColumn<bool>("popup");
  QTest::newRow("selection, text") << true << 0 << false;
  QTest::newRow("no selection, text") << false << 0 << false;
  QTest::newRow("no selection, empty clipboard") << false << 1 << false;
  QTest::newRow("selection, picture only") << true << 2 << false;
  QTest::newRow("context menu, no selection, text") << false << 0 << true;
}

void TestPostingAids::enablingStates() {
  QFETCH(bool, selection);
  QFETCH(int, clipboard);
  QFETCH(bool, popup);
  fx->SetText("some text\r\n");
  if (selection) fx->Select(0, 4);
  if (clipboard == 1) QApplication::clipboard()->clear();
  if (clipboard == 2) {
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QApplication::clipboard()->setImage(picture);
  }
  TEditForm& f = *fx->form;
  auto* menu = editortest::PartOf<QMenu>(f, popup ? "PopupMenu1" : "Edit1");
  menu->popup(f.mapToGlobal(QPoint(10, 10)));  // the states are set as it opens
  menu->hide();
  const auto enabled = [&f](const char* item) { return editortest::PartOf(f, item)->isEnabled(); };
  for (const char* item : {"Cut1", "Cut2", "Copy1", "Copy2", "Delete1", "Delete2"}) QCOMPARE(enabled(item), selection);
  for (const char* item : {"Paste1", "Paste2"}) QCOMPARE(enabled(item), clipboard == 0);
  for (const char* item : {"Selectall1", "SelectAll2", "Removequotes1", "AddURL1"}) QVERIFY(enabled(item));
}

void TestPostingAids::disabledKeysDoNothing() {
  fx->SetText("abc");
  fx->Select(3, 3);
  fx->Key(Qt::Key_C);  // nothing selected: the clipboard stays
  QCOMPARE(Clipboard(), QString("on the clipboard"));
  fx->Key(Qt::Key_X);
  fx->Key(Qt::Key_D);
  QCOMPARE(fx->Text(), QByteArray("abc"));
  QApplication::clipboard()->clear();
  fx->Key(Qt::Key_V);  // no text on the clipboard: nothing inserted
  QCOMPARE(fx->Text(), QByteArray("abc"));
  // With a selection the same keys run their items, whose states were stale.
  fx->Select(0, 2);
  fx->Key(Qt::Key_X);
  QCOMPARE(fx->Text(), QByteArray("c"));
  QCOMPARE(Clipboard(), QString("ab"));
  fx->Key(Qt::Key_V);
  fx->Key(Qt::Key_A);
  fx->Key(Qt::Key_D);
  QCOMPARE(fx->Text(), QByteArray());
  QVERIFY(fx->dialogs.calls.isEmpty());
}

void TestPostingAids::copyAsksForTheNotice_data() {
  QTest::addColumn<int>("length");
  QTest::addColumn<int>("selected");
  QTest::addColumn<bool>("asks");
  QTest::newRow("91 of 100") << 100 << 91 << true;
  QTest::newRow("90 of 100: not above 0.9") << 100 << 90 << false;
  QTest::newRow("all of 11") << 11 << 11 << true;
  QTest::newRow("all of 10: too short") << 10 << 8 << false;
}

void TestPostingAids::copyAsksForTheNotice() {
  QFETCH(int, length);
  QFETCH(int, selected);
  QFETCH(bool, asks);
  SelectShare(length, selected);
  fx->dialogs.answers = {ui::Answer::No};
  editortest::Choose(*fx->form, "Copy1");
  QCOMPARE(fx->dialogs.Texts("ConfirmYesNoCancel"), asks ? QStringList{kQuestion} : QStringList{});
  QCOMPARE(Clipboard(), selected == length ? QString(length - 2, 'x') + "\n" : QString(selected, 'x'));
}

void TestPostingAids::copyAnswers() {
  // Cancel: nothing copied.
  SelectShare(100, 100);
  fx->dialogs.answers = {ui::Answer::Cancel};
  editortest::Choose(*fx->form, "Copy1");
  QCOMPARE(Clipboard(), QString("on the clipboard"));
  QCOMPARE(fx->Text(), QByteArray(98, 'x') + "\r\n");
  // Yes: the notice block first, then from the selection's start to the end.
  fx->Select(2, fx->form->Editor->document()->characterCount() - 1);
  fx->dialogs.answers = {ui::Answer::Yes};
  editortest::Choose(*fx->form, "Copy1");
  const QStringList notice = editor::NoticeBlockLines();
  QCOMPARE(fx->Text(), QByteArray(98, 'x') + "\r\n" + notice.join("\r\n").toLatin1() + "\r\n");
  QCOMPARE(Clipboard(), QString(96, 'x') + "\n" + notice.join("\n") + "\n");
  QVERIFY(fx->form->URLAdded());
  // Once the block is there, Copy asks no more.
  editortest::Choose(*fx->form, "Selectall1");
  editortest::Choose(*fx->form, "Copy1");
  QCOMPARE(fx->dialogs.Kinds(), QStringList({"ConfirmYesNoCancel", "ConfirmYesNoCancel"}));
  // Ctrl+Ins is the control's own copy: it never asks, also on a new text.
  fx->dialogs.answers = {ui::Answer::Ok};  // to "Erase all text"
  editortest::Choose(*fx->form, "New1");
  SelectShare(100, 100);
  QVERIFY(!fx->form->URLAdded());
  fx->Key(Qt::Key_Insert);
  QCOMPARE(fx->dialogs.Kinds(), QStringList({"ConfirmYesNoCancel", "ConfirmYesNoCancel", "ConfirmOkCancel"}));
  QCOMPARE(fx->dialogs.unplanned, 0);
}

void TestPostingAids::clipboardKeepsEveryByte_data() {
  QTest::addColumn<int>("copyKey");
  QTest::addColumn<QList<ui::Answer>>("answers");  // to the notice question
  QTest::addColumn<bool>("cut");
  QTest::newRow("Ctrl+Ins") << int(Qt::Key_Insert) << QList<ui::Answer>{} << false;
  QTest::newRow("Ctrl+C") << int(Qt::Key_C) << QList<ui::Answer>{ui::Answer::No} << false;
  QTest::newRow("Ctrl+C with the notice block") << int(Qt::Key_C) << QList<ui::Answer>{ui::Answer::Yes} << false;
  QTest::newRow("Ctrl+X") << int(Qt::Key_X) << QList<ui::Answer>{} << true;
}

void TestPostingAids::clipboardKeepsEveryByte() {
  QFETCH(int, copyKey);
  QFETCH(QList<ui::Answer>, answers);
  QFETCH(bool, cut);
  QByteArray bytes;  // every byte but CR and LF, and a line break
  for (int byte = 0; byte < 256; ++byte)
    if (byte != '\r' && byte != '\n') bytes += static_cast<char>(byte);
  bytes += "\r\nend";
  QTemporaryDir folder;
  const QString file = folder.filePath("all.skp");
  const QString startFolder = QDir::currentPath();
  {
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
  }
  QVERIFY(fx->form->LoadFile(file));
  fx->dialogs.answers = answers;

  fx->Key(Qt::Key_A);  // select all
  fx->Key(copyKey);
  const QByteArray copied = cut ? bytes : fx->Text();  // the notice block may have come first
  QCOMPARE(QApplication::clipboard()->text(), editor::DecodePosting(copied));
  fx->Key(Qt::Key_End);
  fx->Key(Qt::Key_V);
  fx->Key(Qt::Key_F2, Qt::NoModifier);

  QFile in(file);
  QVERIFY(in.open(QIODevice::ReadOnly));
  QCOMPARE(in.readAll(), cut ? bytes : copied + copied);
  QCOMPARE(fx->dialogs.unplanned, 0);
  QDir::setCurrent(startFolder);
}

void TestPostingAids::addUrl() {
  fx->SetText("abc");
  editortest::Choose(*fx->form, "AddURL1");
  const QByteArray block = editor::NoticeBlockLines().join("\r\n").toLatin1();
  QCOMPARE(fx->Text(), "abc\r\n" + block);  // a break after abc first; none at the end
  editortest::Choose(*fx->form, "AddURL1");
  QCOMPARE(fx->Text(), "abc\r\n" + block + "\r\n" + block);
  QVERIFY(fx->form->URLAdded());
  QVERIFY(fx->form->IsModified());
  QCOMPARE(editor::NoticeBlockLines().first(), QString("------- Sketchpost -------"));
  QCOMPARE(editor::NoticeBlockLines().last(),
           QString("PLEASE remove the quoted Sketchpost text in your response posting!"));
}

void TestPostingAids::quoteMarks_data() {
  QTest::addColumn<QString>("line");
  QTest::addColumn<int>("removed");
  QTest::newRow("two quotes and a blank") << QString(">> L(1;10;20;110;20)") << 3;
  QTest::newRow("six quote marks") << QString(">>>>>>T(M;1;2;\"x\")") << 6;
  QTest::newRow("seven quote marks: column 8") << QString(">>>>>>>T(M;1;2;\"x\")") << 0;
  QTest::newRow("blank first protects") << QString(" >L(1;10;20;110;20)") << 0;
  QTest::newRow("prose with a marker") << QString("> Her(e)") << 0;
  QTest::newRow("bar and blank") << QString("| A(1;0;100;100;150;60)") << 2;
  QTest::newRow("three colons, small marker") << QString(":::e(1;E;1;2;3;4)") << 3;
  QTest::newRow("earliest marker wins") << QString("> T(S;1;2;\"L(\")") << 2;
  QTest::newRow("marker at column 3, another at 9") << QString("> T(x) L(1;2)") << 2;
  QTest::newRow("already in column 1") << QString("L(1;10;20;110;20)") << 0;
  QTest::newRow("letter in front") << QString("x>L(1;2;3;4)") << 0;
  QTest::newRow("digit in front") << QString("1>L(1;2;3;4)") << 0;
  QTest::newRow("hash") << QString("#R(1;E;1;2;3;4)") << 1;
  QTest::newRow("empty") << QString() << 0;
  QTest::newRow("first occurrence too far") << QString(">>>>>>>>L( and L(") << 0;
}

void TestPostingAids::quoteMarks() {
  QFETCH(QString, line);
  QFETCH(int, removed);
  QCOMPARE(editor::QuoteMarksLength(line), removed);
}

void TestPostingAids::removeQuotesFromTheCaretDown() {
  fx->SetText("> L(1;1;2;3;4)\r\n>> R(1;E;1;2;3;4)\r\n> Her(e)\r\n: T(S;1;2;\"x\")\r\n>L(1;5;6;7;8)\r\n");
  fx->Select(20, 20);  // inside the second line
  QSignalSpy changes(fx->form->Editor->document(), &QTextDocument::contentsChanged);
  editortest::Choose(*fx->form, "Removequotes1");
  QCOMPARE(fx->Text(),
           QByteArray("> L(1;1;2;3;4)\r\nR(1;E;1;2;3;4)\r\n> Her(e)\r\nT(S;1;2;\"x\")\r\nL(1;5;6;7;8)\r\n"));
  QCOMPARE(changes.count(), 1);
  QVERIFY(fx->form->IsModified());
  QCOMPARE(fx->form->GetColLine().line, 4);  // the caret behind the last line changed
  QCOMPARE(fx->form->GetColLine().column, 12);
  QCOMPARE(editortest::Panel(*fx->form, 1), QString("5"));  // the bar refreshed
  fx->form->Editor->undo();                                 // one step
  QCOMPARE(fx->Text(),
           QByteArray("> L(1;1;2;3;4)\r\n>> R(1;E;1;2;3;4)\r\n> Her(e)\r\n: T(S;1;2;\"x\")\r\n>L(1;5;6;7;8)\r\n"));
}

void TestPostingAids::removeQuotesKeepsLongLinesWhole() {
  const QByteArray tail(10000, 'z');
  fx->SetText(">> L(1;1;2;3;4)" + tail + "\r\n");
  editortest::Choose(*fx->form, "Removequotes1");
  QCOMPARE(fx->Text(), "L(1;1;2;3;4)" + tail + "\r\n");
  // A marker beyond the first 4096 characters is never looked at.
  fx->SetText(QByteArray(5000, '>') + "L(1;2)");
  editortest::Choose(*fx->form, "Removequotes1");
  QCOMPARE(fx->Text(), QByteArray(5000, '>') + "L(1;2)");
}

void TestPostingAids::removeQuotesOnAnEmptyText() {
  editortest::Choose(*fx->form, "Removequotes1");
  QCOMPARE(editortest::Panel(*fx->form, 0), QString("size"));  // not even a refresh
  QVERIFY(!fx->form->IsModified());
}
