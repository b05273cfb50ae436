// The sketch line grammar as the reader sees it: fields, numbers, quoted
// texts, the close check, and the byte codec and line splitting around it.

#include <QTest>
#include <string>

#include "format/Codec.h"
#include "format/CountedString.h"
#include "format/FieldScanner.h"
#include "format/SketchTokens.h"
#include "format/TextLines.h"
#include "test_classes.h"

using namespace sketch;

Q_DECLARE_METATYPE(std::string)

void TestFormat::scanField_data() {
  QTest::addColumn<std::string>("input");
  QTest::addColumn<char>("separator");
  QTest::addColumn<std::string>("token");
  QTest::addColumn<std::string>("rest");
  QTest::newRow("opening parenthesis") << std::string("(1;10") << '(' << std::string("1") << std::string(";10");
  QTest::newRow("semicolon") << std::string(";10;20") << ';' << std::string("10") << std::string(";20");
  QTest::newRow("blank before colon: colon counts")
      << std::string(" :100;") << ':' << std::string("100") << std::string(";");
  QTest::newRow("first separator wins") << std::string(";:100") << ';' << std::string("100") << std::string("");
  QTest::newRow("run of several separators is one")
      << std::string(";;, ;5") << ';' << std::string("5") << std::string("");
  QTest::newRow("blanks and controls only: blank")
      << std::string(" \t\x01 5") << ' ' << std::string("5") << std::string("");
  QTest::newRow("no separator at all: blank") << std::string("5;6") << ' ' << std::string("5") << std::string(";6");
  QTest::newRow("plus is a separator") << std::string("+5") << '+' << std::string("5") << std::string("");
  QTest::newRow("8-bit character separates") << std::string(
                                                    "\xE4"
                                                    "10\xFC")
                                             << '\xE4' << std::string("10") << std::string("\xFC");
  QTest::newRow("DEL separates and counts") << std::string(
                                                   "\x7F"
                                                   "5")
                                            << '\x7F' << std::string("5") << std::string("");
  QTest::newRow("letters upper-cased") << std::string(";ds;") << ';' << std::string("DS") << std::string(";");
  QTest::newRow("only 7 characters count, all consumed")
      << std::string(";abcdefghij;1") << ';' << std::string("ABCDEFG") << std::string(";1");
  QTest::newRow("minus is a token character")
      << std::string(";10-5;") << ';' << std::string("10-5") << std::string(";");
  QTest::newRow("end of line: empty token") << std::string(";;)") << ';' << std::string("") << std::string("");
  QTest::newRow("empty rest") << std::string("") << ' ' << std::string("") << std::string("");
}

void TestFormat::scanField() {
  QFETCH(std::string, input);
  QFETCH(char, separator);
  QFETCH(std::string, token);
  QFETCH(std::string, rest);
  std::string_view view = input;
  const Field field = ScanField(view);
  QCOMPARE(field.separator, separator);
  QCOMPARE(field.token, token);
  QCOMPARE(std::string(view), rest);
}

void TestFormat::readNumber_data() {
  QTest::addColumn<std::string>("input");
  QTest::addColumn<bool>("ok");
  QTest::addColumn<int>("value");
  QTest::addColumn<bool>("relative");
  QTest::newRow("plain") << std::string(";10") << true << 10 << false;
  QTest::newRow("negative") << std::string(";-5") << true << -5 << false;
  QTest::newRow("relative") << std::string(":40") << true << 40 << true;
  QTest::newRow("relative after blank") << std::string(" :-40") << true << -40 << true;
  QTest::newRow("plus sign read as separator") << std::string("+5") << true << 5 << false;
  QTest::newRow("leading zeros") << std::string(";007") << true << 7 << false;
  QTest::newRow("largest") << std::string(";9999999") << true << 9999999 << false;
  QTest::newRow("smallest") << std::string(";-999999") << true << -999999 << false;
  QTest::newRow("8 digits read as first 7") << std::string(";12345678") << true << 1234567 << false;
  QTest::newRow("long negative read as first 7 characters") << std::string(";-12345678") << true << -123456 << false;
  QTest::newRow("lone minus") << std::string(";-;") << false << 0 << false;
  QTest::newRow("inner minus") << std::string(";10-5") << false << 0 << false;
  QTest::newRow("double minus") << std::string(";--5") << false << 0 << false;
  QTest::newRow("unit suffix") << std::string(";40px") << false << 0 << false;
  QTest::newRow("word") << std::string(";DS") << false << 0 << false;
  QTest::newRow("end of line") << std::string(";)") << false << 0 << false;
}

void TestFormat::readNumber() {
  QFETCH(std::string, input);
  QFETCH(bool, ok);
  QFETCH(int, value);
  QFETCH(bool, relative);
  std::string_view view = input;
  const Number number = ReadNumber(view);
  QCOMPARE(number.ok, ok);
  if (ok) {
    QCOMPARE(number.value, value);
    QCOMPARE(number.IsRelative(), relative);
  }
}

void TestFormat::readQuotedText_data() {
  QTest::addColumn<std::string>("input");
  QTest::addColumn<bool>("ok");
  QTest::addColumn<std::string>("text");
  QTest::addColumn<std::string>("rest");
  QTest::newRow("closed") << std::string(";\"Hello\")") << true << std::string("Hello") << std::string("\")");
  QTest::newRow("anything before the quote is skipped")
      << std::string(" junk; \"x\"") << true << std::string("x") << std::string("\"");
  QTest::newRow("punctuation kept") << std::string(";\"a;(b):c\")") << true << std::string("a;(b):c")
                                    << std::string("\")");
  QTest::newRow("8-bit kept") << std::string(";\"Gr\xFC\xDF\x65\"") << true
                              << std::string(
                                     "Gr\xFC\xDF"
                                     "e")
                              << std::string("\"");
  QTest::newRow("no closing quote: to the end")
      << std::string(";\"abc") << true << std::string("abc") << std::string("");
  QTest::newRow("empty text") << std::string(";\"\")") << false << std::string("") << std::string("\")");
  QTest::newRow("no quote at all: all consumed") << std::string(";abc)") << false << std::string("") << std::string("");
}

void TestFormat::readQuotedText() {
  QFETCH(std::string, input);
  QFETCH(bool, ok);
  QFETCH(std::string, text);
  QFETCH(std::string, rest);
  std::string_view view = input;
  const QuotedText quoted = ReadQuotedText(view, kCountedMax);
  QCOMPARE(quoted.ok, ok);
  QCOMPARE(quoted.text, text);
  QCOMPARE(std::string(view), rest);
}

void TestFormat::nextIsClose_data() {
  QTest::addColumn<std::string>("rest");
  QTest::addColumn<bool>("closed");
  QTest::addColumn<std::string>("lastToken");
  QTest::newRow("close") << std::string(")") << true << std::string(")");
  QTest::newRow("blanks before close") << std::string("   ) trailing") << true << std::string(")");
  QTest::newRow("separator before close") << std::string(";)") << false << std::string(";");
  QTest::newRow("tab is not a blank") << std::string("\t)") << false << std::string("\t");
  QTest::newRow("all blanks: the last one") << std::string("   ") << false << std::string(" ");
  QTest::newRow("number follows") << std::string(";50)") << false << std::string(";");
  QTest::newRow("empty: last token left alone") << std::string("") << false << std::string("40");
}

void TestFormat::nextIsClose() {
  QFETCH(std::string, rest);
  QFETCH(bool, closed);
  QFETCH(std::string, lastToken);
  std::string last = "40";
  QCOMPARE(NextIsClose(rest, last), closed);
  QCOMPARE(last, lastToken);
}

void TestFormat::recognisesSketchLines_data() {
  QTest::addColumn<std::string>("line");
  QTest::addColumn<bool>("sketch");
  for (const char* kind : {"L(", "R(", "E(", "A(", "T("}) QTest::newRow(kind) << std::string(kind) + "1;2)" << true;
  QTest::newRow("shortest") << std::string("L(") << true;
  QTest::newRow("leading blank comments it out") << std::string(" L(1;10;20;110;20)") << false;
  QTest::newRow("lower case") << std::string("l(1;10;20;110;20)") << false;
  QTest::newRow("quoted") << std::string(">L(1;10;20;110;20)") << false;
  QTest::newRow("other letter") << std::string("B(1;10;20)") << false;
  QTest::newRow("no parenthesis") << std::string("L 1;10;20") << false;
  QTest::newRow("one character") << std::string("L") << false;
  QTest::newRow("empty") << std::string("") << false;
}

void TestFormat::recognisesSketchLines() {
  QFETCH(std::string, line);
  QFETCH(bool, sketch);
  QCOMPARE(IsSketchLine(line), sketch);
}

void TestFormat::coordText_data() {
  QTest::addColumn<int>("value");
  QTest::addColumn<std::string>("text");
  QTest::newRow("zero") << 0 << std::string("0");
  QTest::newRow("positive") << 110 << std::string("110");
  QTest::newRow("negative") << -5 << std::string("-5");
  QTest::newRow("largest number") << 9999999 << std::string("9999999");
  QTest::newRow("smallest number") << -999999 << std::string("-999999");
  QTest::newRow("32-bit minimum") << INT32_MIN << std::string("-2147483648");
}

void TestFormat::coordText() {
  QFETCH(int, value);
  QFETCH(std::string, text);
  QCOMPARE(CoordText(value), text);
}

void TestFormat::countedStringsCutAt255() {
  const std::string long300(300, 'x');
  QCOMPARE(CutCounted(long300).size(), std::size_t{255});
  QCOMPARE(CutCounted("short"), std::string_view("short"));
  const std::string joined = ConcatCounted(std::string(250, 'a'), "bcdefgh");
  QCOMPARE(joined, std::string(250, 'a') + "bcdef");
  QCOMPARE(ConcatCounted(long300, "tail"), std::string(255, 'x'));
  QCOMPARE(ConcatCounted("L(1;", "10"), std::string("L(1;10"));
}

void TestFormat::codecRoundTripsEveryByte() {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::u16string chars = DecodeBytes(all);
  QCOMPARE(chars.size(), all.size());
  QCOMPARE(EncodeChars(chars), all);
  QCOMPARE(ByteToChar(0x80), u'\u20AC');  // euro sign
  QCOMPARE(ByteToChar(0x81), u'\u0081');  // unassigned: same code
  QCOMPARE(ByteToChar(0xE4), u'\u00E4');  // a umlaut
  QCOMPARE(ByteToChar(0x93), u'\u201C');  // left double quotation mark
  QCOMPARE(CharToByte(u'\u2122'), 0x99);  // trade mark sign
}

void TestFormat::codecMapsCharactersWithoutByteToQuestionMark() {
  QCOMPARE(EncodeChars(u"a\u4E2Db"), std::string("a?b"));
  QCOMPARE(EncodeChars(u"x\U0001F600y"), std::string("x?y"));  // a surrogate pair is one character
  QCOMPARE(EncodeChars(u"\u0080"), std::string("?"));          // C1 control taken by the euro sign
  QCOMPARE(EncodeChars(u"\xD800"), std::string("?"));          // lone surrogate
}

void TestFormat::splitLines_data() {
  QTest::addColumn<std::string>("text");
  QTest::addColumn<QStringList>("lines");
  QTest::newRow("empty text has no line") << std::string("") << QStringList{};
  QTest::newRow("no final break") << std::string("abc") << QStringList{"abc"};
  QTest::newRow("final CR LF adds no line") << std::string("abc\r\n") << QStringList{"abc"};
  QTest::newRow("CR LF") << std::string("a\r\nb") << QStringList{"a", "b"};
  QTest::newRow("lone LF") << std::string("a\nb\n") << QStringList{"a", "b"};
  QTest::newRow("lone CR") << std::string("a\rb\r") << QStringList{"a", "b"};
  QTest::newRow("mixed") << std::string("a\rb\nc\r\nd") << QStringList{"a", "b", "c", "d"};
  QTest::newRow("LF CR is two breaks") << std::string("a\n\rb") << QStringList{"a", "", "b"};
  QTest::newRow("empty lines kept") << std::string("\r\n\r\nx") << QStringList{"", "", "x"};
}

void TestFormat::splitLines() {
  QFETCH(std::string, text);
  QFETCH(QStringList, lines);
  QStringList actual;
  for (const std::string_view line : SplitLines(text)) actual << QString::fromLatin1(line.data(), line.size());
  QCOMPARE(actual, lines);
}
