#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include "editor/PostingText.h"
#include "editor/SketchTextEdit.h"
#include "test_classes.h"

using namespace editor;

namespace {

void Load(QTextDocument& document, const QByteArray& bytes) { document.setPlainText(DecodePosting(bytes)); }

}  // namespace

void TestPostingText::lineCountAndLength_data() {
  QTest::addColumn<QByteArray>("file");
  QTest::addColumn<int>("lines");
  QTest::addColumn<qint64>("length");
  QTest::newRow("empty") << QByteArray("") << 0 << qint64{0};
  QTest::newRow("one line without break") << QByteArray("abc") << 1 << qint64{3};
  QTest::newRow("final break adds no line") << QByteArray("abc\r\n") << 1 << qint64{5};
  QTest::newRow("two lines") << QByteArray("abc\r\nde") << 2 << qint64{7};
  QTest::newRow("only a break") << QByteArray("\r\n") << 1 << qint64{2};
  QTest::newRow("empty lines count") << QByteArray("\r\n\r\nx") << 3 << qint64{5};
  QTest::newRow("lone LF counted as two") << QByteArray("a\nb\n") << 2 << qint64{6};
}

void TestPostingText::lineCountAndLength() {
  QFETCH(QByteArray, file);
  QFETCH(int, lines);
  QFETCH(qint64, length);
  QTextDocument document;
  Load(document, file);
  QCOMPARE(LineCount(document), lines);
  QCOMPARE(TextLength(document), length);
}

void TestPostingText::colLineToPos_data() {
  QTest::addColumn<QByteArray>("file");
  QTest::addColumn<int>("column");
  QTest::addColumn<int>("line");
  QTest::addColumn<qint64>("index");
  const QByteArray text("123456\r\nabc\r\n");
  QTest::newRow("start") << text << 0 << 0 << qint64{0};
  QTest::newRow("second line") << text << 0 << 1 << qint64{8};
  QTest::newRow("inside second line") << text << 2 << 1 << qint64{10};
  QTest::newRow("empty last line") << text << 0 << 2 << qint64{13};
  QTest::newRow("beyond the lines: all of them") << text << 0 << 9 << qint64{13};
  QTest::newRow("column beyond line end") << text << 10 << 0 << qint64{10};
  const QByteArray open("123456\r\nabc");
  QTest::newRow("after last line without break") << open << 0 << 2 << qint64{13};
  QTest::newRow("far beyond, no final break") << open << 1 << 50 << qint64{14};
  QTest::newRow("empty text") << QByteArray() << 3 << 4 << qint64{3};
}

void TestPostingText::colLineToPos() {
  QFETCH(QByteArray, file);
  QFETCH(int, column);
  QFETCH(int, line);
  QFETCH(qint64, index);
  QTextDocument document;
  Load(document, file);
  QCOMPARE(ColLineToPos(document, column, line), index);
}

void TestPostingText::positionOfIndexInvertsColLineToPos() {
  QTextDocument document;
  Load(document, "L(1;10;20;110;20)\r\n\r\n> quoted\r\nlast");
  for (int line = 0; line < LineCount(document); ++line) {
    const int length = document.findBlockByNumber(line).length() - 1;
    for (int column = 0; column <= length; ++column) {
      const int position = PositionOfIndex(document, ColLineToPos(document, column, line));
      const ColLine back = ColLineOf(document, position);
      QCOMPARE(back.line, line);
      QCOMPARE(back.column, column);
    }
  }
  // Inside a line break: the end of that line; beyond the text: its end.
  QCOMPARE(PositionOfIndex(document, 18), 17);
  QCOMPARE(PositionOfIndex(document, 10000), document.characterCount() - 1);
}

void TestPostingText::fileRoundTrip_data() {
  QTest::addColumn<QByteArray>("read");
  QTest::addColumn<QByteArray>("written");
  QTest::newRow("CR LF kept") << QByteArray("a\r\nb") << QByteArray("a\r\nb");
  QTest::newRow("LF becomes CR LF") << QByteArray("a\nb\n") << QByteArray("a\r\nb\r\n");
  QTest::newRow("CR becomes CR LF") << QByteArray("a\rb\r") << QByteArray("a\r\nb\r\n");
  QTest::newRow("LF CR LF is two breaks") << QByteArray("x\n\r\ny") << QByteArray("x\r\n\r\ny");
  QTest::newRow("no final break") << QByteArray("abc") << QByteArray("abc");
  QTest::newRow("empty") << QByteArray() << QByteArray();
  QTest::newRow("only breaks") << QByteArray("\r\n\r\n") << QByteArray("\r\n\r\n");
  QTest::newRow("NUL and controls") << QByteArray("a\0b\tc\x01\x1f\r\n", 9) << QByteArray("a\0b\tc\x01\x1f\r\n", 9);
}

void TestPostingText::fileRoundTrip() {
  QFETCH(QByteArray, read);
  QFETCH(QByteArray, written);
  QTextDocument document;
  Load(document, read);
  QCOMPARE(EncodePosting(document), written);
}

void TestPostingText::everyByteSurvivesTheEditor() {
  QByteArray all;
  for (int b = 0; b < 256; ++b)
    if (b != '\r' && b != '\n') all.append(static_cast<char>(b));
  const QByteArray file = all + "\r\n" + all;
  editor::SketchTextEdit edit;
  edit.setPlainText(DecodePosting(file));
  QCOMPARE(EncodePosting(*edit.document()), file);
}

void TestPostingText::captions_data() {
  QTest::addColumn<QString>("fileName");
  QTest::addColumn<QString>("caption");
  QTest::newRow("untitled") << QString("Untitled") << QString("Untitled");
  QTest::newRow("full path") << QString("/home/ann/house.skp") << QString("Text house.skp");
  QTest::newRow("no extension") << QString("/tmp/notes") << QString("Text notes");
  QTest::newRow("untitled only exactly") << QString("/tmp/Untitled") << QString("Text Untitled");
}

void TestPostingText::captions() {
  QFETCH(QString, fileName);
  QFETCH(QString, caption);
  QCOMPARE(EditorCaption(fileName), caption);
}

void TestPostingText::typedAndPastedCharactersWithoutByteBecomeQuestionMarks() {
  editor::SketchTextEdit edit;
  edit.show();
  QVERIFY(QTest::qWaitForWindowExposed(&edit));
  for (const QChar c : QString::fromUtf8("a\xC3\xA4\xE2\x82\xAC\xE4\xB8\xAD")) {  // a, a umlaut, euro, CJK
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(&edit, &press);
  }
  QCOMPARE(edit.toPlainText(), QString::fromUtf8("a\xC3\xA4\xE2\x82\xAC?"));
  QApplication::clipboard()->setText(QString::fromUtf8("x\r\ny\xF0\x9F\x98\x80z\rw"));
  edit.paste();
  QCOMPARE(edit.toPlainText(), QString::fromUtf8("a\xC3\xA4\xE2\x82\xAC?x\ny?z\nw"));
}
