// Several postings in one run: --out-dir, -j, messages in the order of the
// INPUTs, the worst status; and --unquote, the editor's rule on bytes.

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include "ProgressLine.h"
#include "QuoteMarks.h"
#include "RenderArguments.h"
#include "RenderRunKit.h"
#include "editor/QuoteRemoval.h"
#include "test_classes.h"

using namespace rendertest;

void TestBatches::parsesBatches_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<QString>("error");  // empty: accepted
  QTest::addColumn<QStringList>("outputs");
  QTest::addColumn<int>("jobs");  // 0: one a core

  QTest::newRow("two inputs") << QStringList{"a.skp", "b/c.txt"} << "" << QStringList{"a.png", "b/c.png"} << 0;
  QTest::newRow("out-dir") << QStringList{"--out-dir", "pics", "a.skp", "b/c.skp"} << ""
                           << QStringList{"pics/a.png", "pics/c.png"} << 0;
  QTest::newRow("out-dir with slash, svg")
      << QStringList{"--out-dir=pics/", "--format", "svg", "x/a.skp"} << "" << QStringList{"pics/a.svg"} << 0;
  QTest::newRow("-j4") << QStringList{"-j4", "a", "b"} << "" << QStringList{"a.png", "b.png"} << 4;
  QTest::newRow("-j 2") << QStringList{"-j", "2", "a"} << "" << QStringList{"a.png"} << 2;
  QTest::newRow("--jobs=64") << QStringList{"--jobs=64", "a"} << "" << QStringList{"a.png"} << 64;
  QTest::newRow("stdin among files") << QStringList{"a", "-"} << "" << QStringList{"a.png", "-"} << 0;
  QTest::newRow("-j0") << QStringList{"-j0", "a"} << "jobs '0' is not a number from 1 to 64" << QStringList{} << 0;
  QTest::newRow("-j65") << QStringList{"-j65", "a"} << "jobs '65' is not a number from 1 to 64" << QStringList{} << 0;
  QTest::newRow("-j missing") << QStringList{"-j"} << "option -j needs a number from 1 to 64" << QStringList{} << 0;
  QTest::newRow("-o with two") << QStringList{"-o", "x.png", "a", "b"}
                               << "-o names one picture; for several INPUTs use --out-dir" << QStringList{} << 0;
  QTest::newRow("-o and out-dir") << QStringList{"-o", "x.png", "--out-dir", "d", "a"}
                                  << "-o and --out-dir exclude each other" << QStringList{} << 0;
  QTest::newRow("stdin twice") << QStringList{"-", "-"} << "standard input ('-') may be given only once"
                               << QStringList{} << 0;
  QTest::newRow("stdin into out-dir") << QStringList{"--out-dir", "d", "a", "-"} << ""
                                      << QStringList{"d/a.png", "d/stdin.png"} << 0;
}

void TestBatches::parsesBatches() {
  QFETCH(QStringList, arguments);
  QFETCH(QString, error);
  QFETCH(QStringList, outputs);
  QFETCH(int, jobs);
  const render_command::ParseResult parsed = ParseHere(arguments);
  QCOMPARE(QString::fromStdString(parsed.error), error);
  if (!error.isEmpty()) return;
  QVERIFY(parsed.options.has_value());
  QCOMPARE(parsed.options->jobs, jobs);
  QStringList actual;
  for (const std::string& input : parsed.options->inputs)
    actual << QString::fromStdString(render_command::OutputFor(*parsed.options, input));
  QCOMPARE(actual, outputs);
  QCOMPARE(QString::fromStdString(parsed.options->output), outputs.front());
}

void TestBatches::drawsEveryPosting_data() {
  QTest::addColumn<QString>("jobs");
  QTest::newRow("one thread") << "-j1";
  QTest::newRow("three threads") << "-j3";
}

// Each picture is its own posting's, whichever thread drew it; the notes come
// in the order of the INPUTs; a failed posting fails the run, not the others.
void TestBatches::drawsEveryPosting() {
  QFETCH(QString, jobs);
  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  QVERIFY(QDir(dir.path()).mkdir("pics"));
  QList<QByteArray> postings;
  QStringList arguments = {jobs, "--out-dir", "pics"};
  for (int i = 0; i < 6; ++i) {
    const QByteArray x = QByteArray::number(20 + 40 * i);
    postings << Posting({("R(2;F;" + x + ";20;" + x + ":30:50)").constData(), "T(M;10;190;\"Posting\")",
                         i % 2 == 0 ? "L(1;5;5;60;60" : "E(1;E;100;100;200;150)"});
    QVERIFY(WriteBytes(dir.filePath(QStringLiteral("p%1.skp").arg(i)), postings.last()));
    arguments << QStringLiteral("p%1.skp").arg(i);
  }
  arguments << "missing.skp";
  const RunResult result = RunRenderer(arguments, dir.path());
  RUN_ENDS(result, 1);
  QCOMPARE(result.err, QByteArray("p0.skp:3:14: Polyline is probably incomplete\n"
                                  "p2.skp:3:14: Polyline is probably incomplete\n"
                                  "p4.skp:3:14: Polyline is probably incomplete\n"
                                  "sketchpost-render: missing.skp: No such file or directory\n"));
  for (int i = 0; i < 6; ++i) {
    const QImage picture = PngImage(ReadBytes(dir.filePath(QStringLiteral("pics/p%1.png").arg(i))));
    const QString difference = Difference(picture, DrawHere(postings[i]));
    QVERIFY2(difference.isEmpty(), qPrintable(QStringLiteral("p%1: ").arg(i) + difference));
  }
  QVERIFY(!QFile::exists(dir.filePath("pics/missing.png")));
}

void TestBatches::drawsJobsPostingsAtOnce_data() {
  QTest::addColumn<QStringList>("jobs");
  QTest::newRow("-j 2") << QStringList{"-j", "2"};
  QTest::newRow("default, one a core") << QStringList{};
}

// N jobs draw N postings at once: while one waits for its posting on
// standard input, another draws the next posting.
void TestBatches::drawsJobsPostingsAtOnce() {
  QFETCH(QStringList, jobs);
  if (jobs.isEmpty() && QThread::idealThreadCount() < 2) QSKIP("one core: the default draws one posting at a time");
  const QByteArray posting = Posting({"E(1;F;100;50;220;150)"});
  RunFolder folder({{"b.skp", posting}});
  RunSetup setup;
  setup.input = posting;
  setup.fileBeforeInput = folder.Path("b.png");
  const RunResult run = folder.Run(jobs + QStringList{"-", "b.skp"}, setup);
  RUN_OK(run);
  QVERIFY2(run.fileBeforeInputSeen, "b.png was not drawn while the first posting was still coming");
  for (const QImage& picture : {PngImage(run.out), PngImage(ReadBytes(folder.Path("b.png")))})
    SAME_PICTURE(picture, DrawHere(posting));
}

void TestBatches::quoteMarksAsTheEditor_data() {
  QTest::addColumn<QByteArray>("line");
  QTest::addColumn<int>("cut");
  QTest::newRow("plain") << QByteArray("L(1;1;1;9;9)") << 0;
  QTest::newRow("one mark") << QByteArray("> L(1;1;1;9;9)") << 2;
  QTest::newRow("nested") << QByteArray(">>> R(1;F;1;1;9;9)") << 4;
  QTest::newRow("colons, small letter") << QByteArray("::t(M;1;9;\"x\")") << 2;
  QTest::newRow("marker at column 8") << QByteArray("| | |  E(1;E;1;1;9;9)") << 0;
  QTest::newRow("marker at column 7 exactly") << QByteArray("|||||>A(1;0;5;5;9;9)") << 6;
  QTest::newRow("letters in front") << QByteArray("ab> L(1;1;1;9;9)") << 0;
  QTest::newRow("digit in front") << QByteArray("1> L(1;1;1;9;9)") << 0;
  QTest::newRow("blank first") << QByteArray(" > L(1;1;1;9;9)") << 0;
  QTest::newRow("empty") << QByteArray() << 0;
  QTest::newRow("8-bit quote marks") << QByteArray("\xbb\xbb L(1;1;1;9;9)") << 3;
  QTest::newRow("earliest marker wins") << QByteArray("> T(M;1;9;\"L(\")") << 2;
  QTest::newRow("prose") << QByteArray("> Look (here)") << 0;
}

void TestBatches::quoteMarksAsTheEditor() {
  QFETCH(QByteArray, line);
  QFETCH(int, cut);
  QCOMPARE(static_cast<int>(render_command::QuoteMarksLength(line.toStdString())), cut);
  QCOMPARE(editor::QuoteMarksLength(QString::fromLatin1(line)), cut);
}

void TestBatches::unquotedPicture() {
  const QByteArray quoted =
      Posting({"Someone wrote:", "> L(3;10;10;200;150)", ">> R(1;F;50;50:80:40)", "> T(M;20;190;\"Gate\")"});
  const QByteArray plain =
      Posting({"Someone wrote:", "L(3;10;10;200;150)", "R(1;F;50;50:80:40)", "T(M;20;190;\"Gate\")"});
  RunFolder folder({{"q.skp", quoted}});
  RUN_OK(folder.Run({"q.skp", "-o", "quoted.png"}));
  RUN_OK(folder.Run({"--unquote", "q.skp"}));
  QVERIFY(Difference(PngImage(ReadBytes(folder.Path("quoted.png"))), DrawHere(plain)).size() > 0);
  SAME_PICTURE(PngImage(ReadBytes(folder.Path("q.png"))), DrawHere(plain));
}

void TestBatches::notesPostingsWithoutSketchLines_data() {
  QTest::addColumn<QStringList>("options");
  QTest::addColumn<QByteArray>("err");
  const QByteArray all =
      "empty.skp: no sketch lines\n"
      "prose.skp: no sketch lines\n"
      "quoted.skp: no sketch lines\n"
      "indented.skp: no sketch lines\n";
  QTest::newRow("png") << QStringList{} << all;
  QTest::newRow("svg, two threads") << QStringList{"--format", "svg", "-j", "2"} << all;
  // Unquoted, the quoted posting has its sketch line; the indented one is
  // still prose.
  QTest::newRow("unquoted") << QStringList{"--unquote"}
                            << QByteArray(
                                   "empty.skp: no sketch lines\n"
                                   "prose.skp: no sketch lines\n"
                                   "indented.skp: no sketch lines\n");
}

// A posting without any sketch line is drawn (white) with a note naming it,
// which is no failure; one sketch line anywhere, even a broken one, is enough.
void TestBatches::notesPostingsWithoutSketchLines() {
  QFETCH(QStringList, options);
  QFETCH(QByteArray, err);
  const FileList postings = {
      {"empty.skp", QByteArray()},
      {"prose.skp", Posting({"Hello,", "see the picture below.", "L (1;0;0;9;9)"})},
      {"quoted.skp", Posting({"Someone wrote:", "> L(3;10;10;200;150)"})},
      {"indented.skp", Posting({" L(3;10;10;200;150)"})},
      {"sketch.skp", Posting({"prose", "x(1;0;0;9;9)", "E(1;E;10;10;80"})},
  };
  QStringList arguments = options;
  for (const auto& [name, bytes] : postings) arguments << name;
  RunFolder folder(postings);
  const RunResult result = folder.Run(arguments);
  RUN_OK(result);
  QVERIFY2(result.err.startsWith(err), result.err.constData());
  const QByteArray rest = result.err.mid(err.size());
  QVERIFY2(!rest.contains("no sketch lines"), rest.constData());
  const QString suffix = options.contains("svg") ? ".svg" : ".png";
  for (const auto& [name, bytes] : postings) {
    const QString picture = folder.Path(QString(name).replace(".skp", suffix));
    QVERIFY2(QFile::exists(picture), qPrintable(picture));
  }
  if (suffix == ".png") {
    const QImage blank = PngImage(ReadBytes(folder.Path("prose.png")));
    QCOMPARE(blank.size(), QSize(320, 200));
    QCOMPARE(CountBlack(blank), 0);
  }
}

void TestBatches::progressLineText_data() {
  QTest::addColumn<int>("done");
  QTest::addColumn<int>("total");
  QTest::addColumn<double>("seconds");
  QTest::addColumn<QString>("text");
  QTest::newRow("at the start") << 0 << 10 << 0.0 << "0 of 10 postings";
  QTest::newRow("seconds left") << 5 << 10 << 1.0 << "5 of 10 postings, 5 a second, 1 s left";
  QTest::newRow("minutes left") << 100 << 3100 << 10.0 << "100 of 3100 postings, 10 a second, 5 min 0 s left";
  QTest::newRow("hours left") << 1 << 100000 << 1.0 << "1 of 100000 postings, 1 a second, 27 h 46 min left";
  QTest::newRow("all done") << 10 << 10 << 2.0 << "10 of 10 postings, 5 a second";
}

void TestBatches::progressLineText() {
  QFETCH(int, done);
  QFETCH(int, total);
  QFETCH(double, seconds);
  QFETCH(QString, text);
  QCOMPARE(QString::fromStdString(render_command::ProgressLine::Text(done, total, seconds)), text);
}

void TestBatches::progressLineOnATerminal_data() {
  QTest::addColumn<bool>("terminal");
  QTest::addColumn<QStringList>("options");
  QTest::addColumn<bool>("shown");
  QTest::newRow("on a terminal") << true << QStringList{"-j", "2"} << true;
  QTest::newRow("one thread") << true << QStringList{"-j", "1"} << true;
  QTest::newRow("quiet") << true << QStringList{"--quiet"} << false;
  QTest::newRow("into a pipe") << false << QStringList{} << false;
}

// The line shows on a terminal only, and never stands in a message's way:
// it is cleared before each message and at the end.
void TestBatches::progressLineOnATerminal() {
  QFETCH(bool, terminal);
  QFETCH(QStringList, options);
  QFETCH(bool, shown);
  RunFolder folder({{"a.skp", Posting({"L(1;0;0;9;9)"})}, {"b.skp", Posting({"L(1;10;20;110;20;"})}});
  RunSetup setup;
  setup.errorsOnTerminal = terminal;
  const RunResult result = folder.Run(options + QStringList{"a.skp", "b.skp", "missing.skp"}, setup);
  QVERIFY(result.finished);
  QCOMPARE(result.exitCode, 1);  // missing.skp
  const QByteArray err = result.err;
  // Drawn from the line's start and cleared to its end; how far the run got
  // by the first drawing depends on the threads.
  static const QRegularExpression line("^\rsketchpost-render: [0-3] of 3 postings[^\r]*\x1b\\[K");
  QCOMPARE(line.match(QString::fromLatin1(err)).hasMatch(), shown);
  QCOMPARE(err.contains(" of 3 postings"), shown);
  const QByteArray clear = "\r\x1b[K";
  if (shown) QVERIFY2(err.lastIndexOf(clear) > err.lastIndexOf("postings"), err.constData());  // gone at the end
  // Errors show all the same, each from the line's start.
  const qsizetype broken = err.indexOf("b.skp:1:");
  const qsizetype missing = err.indexOf("sketchpost-render: missing.skp");
  QVERIFY2(broken >= 0 && missing > broken, err.constData());
  // On a clean line: right after the line was cleared, or after a line break.
  for (const qsizetype at : {broken, missing}) {
    QVERIFY2(at == 0 || err.mid(at - clear.size(), clear.size()) == clear || err.at(at - 1) == '\n', err.constData());
  }
}
