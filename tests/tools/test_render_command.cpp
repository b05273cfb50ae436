// TestRenderCommand: arguments, pictures, reports and failures.

#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "JobRunner.h"
#include "RenderRunKit.h"
#include "format/Limits.h"
#include "test_classes.h"

using namespace rendertest;

namespace {

// A posting that draws one element of every kind, pen style and fill.
const QByteArray kEveryElement = Posting({
    "From: someone@example.invalid",
    "Subject: Re: every element",
    "",
    "> L(1;0;0;319;199)",
    "L(1;10;10;150;10)",
    "L(3;10;20:60:0:0:30)",
    "L(DS;10;60;150;60)",
    "L(DT;10;70;150;70)",
    "L(DD;10;80;150;80)",
    "R(2;E;170;10;250;60)",
    "R(1;F;260;10:40:30)",
    "E(DS;F;170;70;250;120)",
    "E(1;E;260;70:50:40)",
    "A(1;0;60;150;100;110)",
    "A(4;0;60;150;20;190)",
    "A(DT;0;60;150;100;190)",
    "A(DD;0;60;150;20;110)",
    "T(S;120;140;\"small\")",
    "T(M;120;160;\"medium\")",
    "T(L;120;190;\"Large\")",
    "T(SU;300;190;\"up small\")",
    "T(MU;280;190;\"up medium\")",
    "T(LU;260;190;\"up large\")",
    "-- ",
    "signature",
});

// The names in `folder` as bytes (Qt cannot list names that are not UTF-8).
std::vector<std::string> RawEntries(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* listing = ::opendir(folder.c_str())) {
    while (const dirent* entry = ::readdir(listing)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(listing);
  }
  std::sort(names.begin(), names.end());
  return names;
}

// One line of the program's own, about `name` when one is given.
bool IsOneMessage(const QString& err, const QString& name = {}) {
  return err.count('\n') == 1 && err.startsWith("sketchpost-render: " + (name.isEmpty() ? name : name + ": "));
}

// Removes what it finds in `folder` on leaving, for QTemporaryDir to remove it.
struct RawFolderCleaner {
  std::string folder;
  ~RawFolderCleaner() {
    for (const std::string& name : RawEntries(folder)) ::unlink((folder + name).c_str());
  }
};

}  // namespace

// --- Arguments --------------------------------------------------------------

void TestRenderCommand::parsesArguments_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<QString>("input");
  QTest::addColumn<QString>("output");
  QTest::addColumn<int>("scale");
  QTest::addColumn<bool>("help");
  QTest::addColumn<bool>("version");
  using L = QStringList;
  QTest::newRow("nothing: standard input to standard output") << L{} << "-"
                                                              << "-" << 1 << false << false;
  QTest::newRow("dash: standard input") << L{"-"} << "-"
                                        << "-" << 1 << false << false;
  QTest::newRow("file: picture beside it") << L{"notes.skp"} << "notes.skp"
                                           << "notes.png" << 1 << false << false;
  QTest::newRow("-o VALUE") << L{"-o", "pic.png", "notes.skp"} << "notes.skp"
                            << "pic.png" << 1 << false << false;
  QTest::newRow("-o after INPUT") << L{"notes.skp", "-o", "pic.png"} << "notes.skp"
                                  << "pic.png" << 1 << false << false;
  QTest::newRow("--output VALUE") << L{"--output", "pic.png", "a.skp"} << "a.skp"
                                  << "pic.png" << 1 << false << false;
  QTest::newRow("--output=VALUE") << L{"--output=pic.png", "a.skp"} << "a.skp"
                                  << "pic.png" << 1 << false << false;
  QTest::newRow("-o - for a file") << L{"-o", "-", "a.skp"} << "a.skp"
                                   << "-" << 1 << false << false;
  QTest::newRow("standard input to a file") << L{"-o", "pic.png"} << "-"
                                            << "pic.png" << 1 << false << false;
  QTest::newRow("--scale N") << L{"--scale", "3", "a.skp"} << "a.skp"
                             << "a.png" << 3 << false << false;
  QTest::newRow("--scale=N") << L{"--scale=8", "a.skp"} << "a.skp"
                             << "a.png" << 8 << false << false;
  QTest::newRow("--scale=1") << L{"a.skp", "--scale=1"} << "a.skp"
                             << "a.png" << 1 << false << false;
  QTest::newRow("last --scale counts") << L{"--scale=2", "--scale", "5"} << "-"
                                       << "-" << 5 << false << false;
  QTest::newRow("-- ends options") << L{"--", "-o"} << "-o"
                                   << "-o.png" << 1 << false << false;
  QTest::newRow("-- then a dashed name") << L{"--scale=2", "--", "--help"} << "--help"
                                         << "--help.png" << 2 << false << false;
  QTest::newRow("-- then -") << L{"--", "-"} << "-"
                             << "-" << 1 << false << false;
  QTest::newRow("--help") << L{"--help"} << "-"
                          << "-" << 1 << true << false;
  QTest::newRow("-h with INPUT") << L{"-h", "a.skp"} << "a.skp"
                                 << "a.png" << 1 << true << false;
  QTest::newRow("--version") << L{"--version"} << "-"
                             << "-" << 1 << false << true;
}

void TestRenderCommand::parsesArguments() {
  QFETCH(QStringList, arguments);
  const render_command::ParseResult parsed = ParseHere(arguments);
  QVERIFY2(parsed.options.has_value(), parsed.error.c_str());
  QTEST(QString::fromStdString(parsed.options->input), "input");
  QTEST(QString::fromStdString(parsed.options->output), "output");
  QTEST(parsed.options->scale, "scale");
  QTEST(parsed.options->help, "help");
  QTEST(parsed.options->version, "version");
}

void TestRenderCommand::refusesBadArguments_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<QString>("named");  // the message names the culprit
  using L = QStringList;
  QTest::newRow("scale 0") << L{"--scale", "0", "a.skp"} << "'0'";
  QTest::newRow("scale 9") << L{"--scale=9", "a.skp"} << "'9'";
  QTest::newRow("scale abc") << L{"--scale", "abc"} << "'abc'";
  QTest::newRow("scale -1") << L{"--scale", "-1"} << "'-1'";
  QTest::newRow("scale 10") << L{"--scale=10"} << "'10'";
  QTest::newRow("scale empty") << L{"--scale="} << "''";
  QTest::newRow("--scale at the end") << L{"a.skp", "--scale"} << "--scale";
  QTest::newRow("-o at the end") << L{"a.skp", "-o"} << "-o";
  QTest::newRow("--output= empty") << L{"--output=", "a.skp"} << "--output";
  QTest::newRow("-o with two INPUTs") << L{"-o", "x.png", "a.skp", "b.skp"} << "--out-dir";
  QTest::newRow("unknown short option") << L{"-x", "a.skp"} << "unknown option '-x'";
  QTest::newRow("unknown long option") << L{"--bogus"} << "unknown option '--bogus'";
  QTest::newRow("longer than --scale") << L{"--scales", "2"} << "unknown option '--scales'";
  QTest::newRow("longer than --output") << L{"--outputs", "x.png"} << "unknown option '--outputs'";
  QTest::newRow("format gif") << L{"--format", "gif", "a.skp"} << "'gif'";
  QTest::newRow("format empty") << L{"--format=", "a.skp"} << "''";
  QTest::newRow("format by the name of a file") << L{"--format=pic.svg"} << "'pic.svg'";
  QTest::newRow("--format at the end") << L{"a.skp", "--format"} << "--format";
  QTest::newRow("longer than --format") << L{"--formats", "svg"} << "unknown option '--formats'";
}

void TestRenderCommand::refusesBadArguments() {
  QFETCH(QStringList, arguments);
  QFETCH(QString, named);
  const render_command::ParseResult parsed = ParseHere(arguments);
  QVERIFY(!parsed.options.has_value());
  const QString error = QString::fromStdString(parsed.error);
  QVERIFY2(error.contains(named), qPrintable(error));
  QVERIFY2(!error.contains('\n'), qPrintable(error));
}

void TestRenderCommand::defaultOutputName_data() {
  QTest::addColumn<QString>("input");
  QTest::addColumn<QString>("output");
  QTest::addColumn<QString>("svgOutput");  // with --format svg
  QTest::newRow("extension replaced") << "notes.skp"
                                      << "notes.png"
                                      << "notes.svg";
  QTest::newRow("no extension") << "notes"
                                << "notes.png"
                                << "notes.svg";
  QTest::newRow("dot in a folder name") << "dir.v2/notes"
                                        << "dir.v2/notes.png"
                                        << "dir.v2/notes.svg";
  QTest::newRow("hidden file") << ".hidden"
                               << ".hidden.png"
                               << ".hidden.svg";
  QTest::newRow("hidden file in a folder") << "a/.hidden"
                                           << "a/.hidden.png"
                                           << "a/.hidden.svg";
  QTest::newRow("only the last extension") << "a/b.c.skp"
                                           << "a/b.c.png"
                                           << "a/b.c.svg";
  QTest::newRow("parent folder") << "../notes"
                                 << "../notes.png"
                                 << "../notes.svg";
  QTest::newRow("absolute path") << "/tmp/x.y/posting.txt"
                                 << "/tmp/x.y/posting.png"
                                 << "/tmp/x.y/posting.svg";
  QTest::newRow("a .png posting keeps its name") << "pic.png"
                                                 << "pic.png"
                                                 << "pic.svg";
  QTest::newRow("a .svg posting keeps its name") << "pic.svg"
                                                 << "pic.png"
                                                 << "pic.svg";
}

void TestRenderCommand::defaultOutputName() {
  QFETCH(QString, input);
  QTEST(QString::fromStdString(render_command::DefaultOutputName(input.toStdString())), "output");
  QTEST(QString::fromStdString(
            render_command::DefaultOutputName(input.toStdString(), render_command::PictureFormat::kSvg)),
        "svgOutput");
}

void TestRenderCommand::choosesPictureFormat_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<bool>("svg");
  QTest::addColumn<QString>("output");
  using L = QStringList;
  QTest::newRow("PNG by default") << L{"a.skp"} << false << "a.png";
  QTest::newRow("OUT ending in .svg") << L{"-o", "pic.svg", "a.skp"} << true << "pic.svg";
  QTest::newRow("OUT ending in .SVG") << L{"--output=PIC.SVG", "a.skp"} << true << "PIC.SVG";
  QTest::newRow("OUT ending in .Svg") << L{"-o", "dir/pic.Svg"} << true << "dir/pic.Svg";
  QTest::newRow("OUT ending in .svgz: PNG") << L{"-o", "pic.svgz"} << false << "pic.svgz";
  QTest::newRow("hidden file named .svg: PNG") << L{"-o", "dir/.svg"} << false << "dir/.svg";
  QTest::newRow(".svg on a folder only: PNG") << L{"-o", "x.svg/pic"} << false << "x.svg/pic";
  QTest::newRow("--format svg: INPUT.svg") << L{"--format", "svg", "a.skp"} << true << "a.svg";
  QTest::newRow("--format=SVG") << L{"--format=SVG", "a.skp"} << true << "a.svg";
  QTest::newRow("--format png") << L{"a.skp", "--format", "png"} << false << "a.png";
  QTest::newRow("--format png wins over .svg") << L{"--format=png", "-o", "pic.svg"} << false << "pic.svg";
  QTest::newRow("--format svg wins over .png") << L{"-o", "pic.png", "--format", "svg"} << true << "pic.png";
  QTest::newRow("-o - --format svg") << L{"-o", "-", "--format", "svg", "a.skp"} << true << "-";
  QTest::newRow("standard output: PNG") << L{"-o", "-", "a.skp"} << false << "-";
  QTest::newRow("standard input, --format svg") << L{"--format", "svg"} << true << "-";
  QTest::newRow("last --format counts") << L{"--format=svg", "--format=png", "a.skp"} << false << "a.png";
}

void TestRenderCommand::choosesPictureFormat() {
  QFETCH(QStringList, arguments);
  QFETCH(bool, svg);
  const render_command::ParseResult parsed = ParseHere(arguments);
  QVERIFY2(parsed.options.has_value(), parsed.error.c_str());
  QCOMPARE(parsed.options->format == render_command::PictureFormat::kSvg, svg);
  QTEST(QString::fromStdString(parsed.options->output), "output");
}

// --- Pictures ---------------------------------------------------------------

namespace {

// More sketch lines than the renderer draws in one piece: it shares the
// rows of the picture out among the cores. Shapes of every kind, style and
// fill over the whole picture, and some reaching far off it.
QByteArray VeryLargePosting() {
  const char* const styles[] = {"0", "1", "4", "DS", "DT", "DD"};
  QByteArray posting;
  std::uint32_t seed = 20261209;
  const auto next = [&](int below) {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(below));
  };
  const auto at = [&] { return QByteArray::number(next(20) == 0 ? next(20000) - 10000 : next(360) - 20); };
  for (int i = 0; i < 10400; ++i) {
    const QByteArray style = styles[next(6)];
    const QByteArray fill = next(2) ? "F" : "E";
    switch (next(4)) {
      case 0:
        posting += "L(" + style + ";" + at() + ";" + at() + ";" + at() + ";" + at() + ";" + at() + ";" + at() + ")";
        break;
      case 1:
        posting += "R(" + style + ";" + fill + ";" + at() + ";" + at() + ";" + at() + ";" + at() + ")";
        break;
      case 2:
        posting += "E(" + style + ";" + fill + ";" + at() + ";" + at() + ";" + at() + ";" + at() + ")";
        break;
      default:
        posting +=
            "A(" + style + ";" + QByteArray::number(next(4)) + ";" + at() + ";" + at() + ";" + at() + ";" + at() + ")";
    }
    posting += "\r\n";
  }
  return posting;
}

}  // namespace

void TestRenderCommand::pictureMatchesDrawingHere_data() {
  QTest::addColumn<QByteArray>("posting");
  QTest::addColumn<bool>("ink");  // some pixel is black
  QTest::newRow("every element kind, style and fill") << kEveryElement << true;
  QTest::newRow("pen and brush carried to the next line")
      << Posting({"R(1;F;10;10;100;100)", "L(DS;0;50;200;50)", "E(DD;E;20;20;300;180)", "L(-1;0;150;319;150)"}) << true;
  QTest::newRow("8-bit legend characters") << Posting({"T(L;10;60;\"caf\xe9 \x80 5\xb0 \xdf\xfc\")"}) << true;
  QTest::newRow("elements beyond the picture")
      << Posting({"L(10;-50;-50;400;300)", "E(1;F;250;150;400;260)", "A(2;0;0;0;-40;-40)", "T(LU;5;5;\"edge\")"})
      << true;
  QTest::newRow("incomplete elements are drawn") << Posting({"L(4;10;30;200;30;200", "T(L;10;100;\"open"}) << true;
  QTest::newRow("prose and quotes only: white")
      << Posting({"Subject: no sketch", "> L(1;0;0;319;199)", " R(1;F;0;0;320;200)", "l(1;0;0;319;199)"}) << false;
  QTest::newRow("empty posting: white") << QByteArray() << false;
  QTest::newRow("very large posting, drawn in bands") << VeryLargePosting() << true;
}

void TestRenderCommand::pictureMatchesDrawingHere() {
  QFETCH(QByteArray, posting);
  QFETCH(bool, ink);
  RunFolder folder({{"posting.skp", posting}});
  const RunResult run = folder.Run({"posting.skp"});
  RUN_OK(run);
  const QImage picture(folder.Path("posting.png"));
  const QImage expected = DrawHere(posting);
  const mode_t mask = ::umask(0);
  ::umask(mask);
  struct stat status;
  QCOMPARE(::stat(QFile::encodeName(folder.Path("posting.png")).constData(), &status), 0);
  QCOMPARE(status.st_mode & 0777, 0666 & ~mask);  // a new picture's permissions follow the umask
  QCOMPARE(CountBlack(expected) > 0, ink);
  SAME_PICTURE(picture, expected);
  if (!ink) {
    QImage white(320, 200, QImage::Format_RGB32);
    white.fill(kWhitePixel);
    SAME_PICTURE(picture, white);
  }
}

void TestRenderCommand::knownPixels_data() {
  QTest::addColumn<QByteArray>("posting");
  QTest::addColumn<QList<QPoint>>("black");
  QTest::addColumn<QList<QPoint>>("white");
  QTest::newRow("horizontal line stops before its end")
      << Posting({"L(1;10;20;110;20)"}) << QList<QPoint>{{10, 20}, {60, 20}, {109, 20}}
      << QList<QPoint>{{110, 20}, {9, 20}, {60, 19}, {60, 21}};
  QTest::newRow("relative polyline") << Posting({"L(1;10;20:40:0:0:40)"})
                                     << QList<QPoint>{{10, 20}, {49, 20}, {50, 20}, {50, 40}, {50, 59}}
                                     << QList<QPoint>{{50, 60}, {51, 20}, {30, 40}};
  QTest::newRow("filled rectangle") << Posting({"R(1;F;200;100;220;120)"})
                                    << QList<QPoint>{{200, 100}, {210, 110}, {219, 119}}
                                    << QList<QPoint>{{220, 110}, {210, 120}, {199, 110}};
  QTest::newRow("empty relative rectangle")
      << Posting({"R(1;E;10;100:50:40)"}) << QList<QPoint>{{10, 100}, {59, 100}, {10, 139}, {59, 139}, {30, 100}}
      << QList<QPoint>{{30, 120}, {60, 100}, {10, 140}};
  QTest::newRow("only sketch lines are drawn")
      << Posting({"> L(1;10;20;110;20)", " L(1;10;30;110;30)", "l(1;10;40;110;40)", "L(1;10;50;110;50)"})
      << QList<QPoint>{{50, 50}} << QList<QPoint>{{50, 20}, {50, 30}, {50, 40}};
  QTest::newRow("drawing goes on after an incomplete line")
      << Posting({"L(2;10;30;50;30;60", "T(M;10;100;\"abc", "L(1;10;150;60;150)"})
      << QList<QPoint>{{10, 150}, {59, 150}} << QList<QPoint>{{60, 150}};
}

void TestRenderCommand::knownPixels() {
  QFETCH(QByteArray, posting);
  QFETCH(QList<QPoint>, black);
  QFETCH(QList<QPoint>, white);
  RunFolder folder({{"in.skp", posting}});
  RUN_OK(folder.Run({"-o", "out.png", "in.skp"}));
  const QImage picture = QImage(folder.Path("out.png")).convertToFormat(QImage::Format_RGB32);
  QCOMPARE(picture.size(), QSize(320, 200));
  for (const QPoint& p : black)
    QVERIFY2(picture.pixel(p) == kBlackPixel, qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
  for (const QPoint& p : white)
    QVERIFY2(picture.pixel(p) == kWhitePixel, qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
}

void TestRenderCommand::scaledPicture_data() {
  QTest::addColumn<QStringList>("scaleArguments");
  QTest::addColumn<int>("scale");
  QTest::newRow("no --scale") << QStringList{} << 1;
  QTest::newRow("--scale 2") << QStringList{"--scale", "2"} << 2;
  QTest::newRow("--scale=3") << QStringList{"--scale=3"} << 3;
  QTest::newRow("--scale 8") << QStringList{"--scale", "8"} << 8;
}

void TestRenderCommand::scaledPicture() {
  QFETCH(QStringList, scaleArguments);
  QFETCH(int, scale);
  RunFolder folder({{"in.skp", kEveryElement}});
  RUN_OK(folder.Run(scaleArguments + QStringList{"-o", "big.png", "in.skp"}));
  SAME_PICTURE(QImage(folder.Path("big.png")), DrawHere(kEveryElement), scale);
  // The resolution chunk, before the pixels: 96 pixels per inch (3780 a metre).
  const QByteArray png = ReadBytes(folder.Path("big.png"));
  const qsizetype at = png.indexOf("pHYs");
  QVERIFY(at > 0 && at < png.indexOf("IDAT"));
  const auto word = [&](qsizetype i) {
    return quint32(quint8(png[i])) << 24 | quint32(quint8(png[i + 1])) << 16 | quint32(quint8(png[i + 2])) << 8 |
           quint32(quint8(png[i + 3]));
  };
  QCOMPARE(word(at + 4), 3780u);
  QCOMPARE(word(at + 8), 3780u);
  QCOMPARE(int(png[at + 12]), 1);  // per metre
}

void TestRenderCommand::lineBreaksGiveSamePicture_data() {
  QTest::addColumn<QByteArray>("posting");
  const auto lines = {"Subject: breaks",       "", "L(1;10;20;110;20)", "L(2;10;30;50;30;60", "T(M;10;100;\"abc",
                      "R(1;F;200;100;220;120)"};
  QTest::newRow("CR LF") << Posting(lines, "\r\n");
  QTest::newRow("LF") << Posting(lines, "\n");
  QTest::newRow("CR") << Posting(lines, "\r");
  QTest::newRow("mixed") << QByteArray(
      "Subject: breaks\r\n\nL(1;10;20;110;20)\rL(2;10;30;50;30;60\r\nT(M;10;100;\"abc\n"
      "R(1;F;200;100;220;120)\r");
  QTest::newRow("CR LF, no final break") << Posting(lines, "\r\n").chopped(2);
  QTest::newRow("CR, no final break") << Posting(lines, "\r").chopped(1);
}

void TestRenderCommand::lineBreaksGiveSamePicture() {
  QFETCH(QByteArray, posting);
  RunFolder folder({{"in.skp", posting}});
  const RunResult run = folder.Run({"in.skp"});
  RUN_OK(run);
  QCOMPARE(run.err, QByteArray("in.skp:4:19: Polyline is probably incomplete\n"
                               "in.skp:5:16: Legend text is probably incomplete\n"));
  const QImage picture(folder.Path("in.png"));
  SAME_PICTURE(picture, DrawHere(Posting({"Subject: breaks", "", "L(1;10;20;110;20)", "L(2;10;30;50;30;60",
                                          "T(M;10;100;\"abc", "R(1;F;200;100;220;120)"})));
  QCOMPARE(picture.pixel(210, 110), kBlackPixel);
}

void TestRenderCommand::standardInputAndOutput_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<bool>("fromStdin");
  QTest::addColumn<QString>("outputFile");  // empty: standard output
  QTest::addColumn<QByteArray>("report");
  const QByteArray stdinReport = "<stdin>:2:19: Polyline is probably incomplete\n";
  QTest::newRow("no INPUT") << QStringList{} << true << QString() << stdinReport;
  QTest::newRow("INPUT -") << QStringList{"-"} << true << QString() << stdinReport;
  QTest::newRow("-o - -") << QStringList{"-o", "-", "-"} << true << QString() << stdinReport;
  QTest::newRow("-- -") << QStringList{"--", "-"} << true << QString() << stdinReport;
  QTest::newRow("standard input to a file") << QStringList{"--output=out.png"} << true << "out.png" << stdinReport;
  QTest::newRow("standard input into --out-dir")
      << QStringList{"--out-dir", ".", "-"} << true << "stdin.png" << stdinReport;
  QTest::newRow("file to standard output") << QStringList{"-o", "-", "in.skp"} << false << QString()
                                           << QByteArray("in.skp:2:19: Polyline is probably incomplete\n");
}

void TestRenderCommand::standardInputAndOutput() {
  QFETCH(QStringList, arguments);
  QFETCH(bool, fromStdin);
  QFETCH(QString, outputFile);
  const QByteArray posting = Posting({"L(1;10;20;110;20)", "L(2;10;30;50;30;60", "E(1;F;200;50;300;150)"});
  RunFolder folder(fromStdin ? FileList{} : FileList{{"in.skp", posting}});
  RunSetup setup;
  if (fromStdin) setup.input = posting;
  const RunResult run = folder.Run(arguments, setup);
  RUN_OK(run);
  QTEST(run.err, "report");
  QImage picture;
  if (outputFile.isEmpty()) {
    picture = PngImage(run.out);
    QCOMPARE(folder.Entries(), folder.before);  // nothing written beside
  } else {
    QVERIFY(run.out.isEmpty());
    picture = QImage(folder.Path(outputFile));
  }
  SAME_PICTURE(picture, DrawHere(posting));
}

void TestRenderCommand::reportsIncompleteElements_data() {
  QTest::addColumn<QByteArray>("posting");
  QTest::addColumn<QByteArray>("report");
  QTest::newRow("closed polyline: quiet") << Posting({"L(1;10;20;110;20)"}) << QByteArray();
  QTest::newRow("polyline without )") << Posting({"L(2;10;30;50;30;60"})
                                      << QByteArray("in.skp:1:19: Polyline is probably incomplete\n");
  QTest::newRow("polyline ending in a separator")
      << Posting({"L(1;10;20;30;40;"}) << QByteArray("in.skp:1:17: Polyline is probably incomplete\n");
  QTest::newRow("legend without closing quote")
      << Posting({"T(M;10;100;\"abc"}) << QByteArray("in.skp:1:16: Legend text is probably incomplete\n");
  QTest::newRow("upward legend without closing quote")
      << Posting({"T(LU;20;150;\"up text"}) << QByteArray("in.skp:1:21: Legend text is probably incomplete\n");
  QTest::newRow("legend with its quote but no ): quiet") << Posting({"T(S;10;20;\"x\""}) << QByteArray();
  QTest::newRow("reports in order with their line numbers")
      << Posting({"Subject: two", "", "L(2;10;30;50;30;60", "> quoted", "T(S;10;20;\"x", "L(1;0;0;5;5)"})
      << QByteArray(
             "in.skp:3:19: Polyline is probably incomplete\n"
             "in.skp:5:13: Legend text is probably incomplete\n");
  QTest::newRow("close beyond 255 characters: cut off")
      << "L(1;10;20;" + QByteArray("30;40;").repeated(59) + "30;40)\r\n"
      << QByteArray("in.skp:1:256: Polyline is probably incomplete\n");
  // Not sketch lines: such a posting has none at all.
  QTest::newRow("quoted incomplete line: no sketch lines")
      << Posting({"> L(2;10;30;50"}) << QByteArray("in.skp: no sketch lines\n");
  QTest::newRow("indented incomplete line: no sketch lines")
      << Posting({" T(M;10;100;\"abc"}) << QByteArray("in.skp: no sketch lines\n");
}

void TestRenderCommand::reportsIncompleteElements() {
  QFETCH(QByteArray, posting);
  RunFolder folder({{"in.skp", posting}});
  const RunResult run = folder.Run({"in.skp"});
  RUN_OK(run);
  QTEST(run.err, "report");
  QCOMPARE(QImage(folder.Path("in.png")).size(), QSize(320, 200));
}

void TestRenderCommand::warnsAboutDrawingSize_data() {
  // Each element counts the characters its reader consumed and one more:
  // "L(1;0;0;1;1)" counts 12, "L(1;0;0;1;10)" 13.
  QTest::addColumn<QByteArray>("posting");
  QTest::addColumn<QByteArray>("report");
  QTest::newRow("4095 counted: quiet") << QByteArray("L(1;0;0;1;1)\r\n").repeated(338) +
                                              QByteArray("L(1;0;0;1;10)\r\n").repeated(3)
                                       << QByteArray();
  QTest::newRow("4096 counted: warned") << QByteArray("L(1;0;0;1;1)\r\n").repeated(337) +
                                               QByteArray("L(1;0;0;1;10)\r\n").repeated(4)
                                        << QByteArray("big.skp: Drawing text is 4096 characters!\n");
  QTest::newRow("prose is not counted")
      << QByteArray("A long line of prose that is not a sketch line at all.\r\n").repeated(2000)
      << QByteArray("big.skp: no sketch lines\n");
  QTest::newRow("warning after the reports")
      << QByteArray("L(1;0;0;1;1\r\n") + QByteArray("L(1;0;0;1;1)\r\n").repeated(341)
      << QByteArray(
             "big.skp:1:12: Polyline is probably incomplete\n"
             "big.skp: Drawing text is 4104 characters!\n");
}

void TestRenderCommand::warnsAboutDrawingSize() {
  QFETCH(QByteArray, posting);
  RunFolder folder({{"big.skp", posting}});
  const RunResult run = folder.Run({"big.skp"});
  RUN_OK(run);
  QTEST(run.err, "report");
  QVERIFY(QFileInfo::exists(folder.Path("big.png")));
}

void TestRenderCommand::replacesExistingOutput_data() {
  QTest::addColumn<QString>("output");   // as named on the command line
  QTest::addColumn<QString>("written");  // the file that gets the picture
  QTest::newRow("old picture") << "old.png"
                               << "old.png";
  QTest::newRow("picture with its own permissions") << "private.png"
                                                    << "private.png";
  QTest::newRow("link to a picture elsewhere") << "link.png"
                                               << "pictures/target.png";
  QTest::newRow("link to a picture not drawn yet") << "new-link.png"
                                                   << "pictures/new.png";
}

// The old file is replaced whole, keeping its permissions; a link is
// followed, also to a target that does not exist yet.
void TestRenderCommand::replacesExistingOutput() {
  QFETCH(QString, output);
  QFETCH(QString, written);
  const QByteArray posting = Posting({"R(1;F;10;10;50;50)"});
  RunFolder folder({{"in.skp", posting}, {"old.png", QByteArray(100000, 'x')}, {"private.png", "x"}});
  QVERIFY(QFile::setPermissions(folder.Path("private.png"), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
  QVERIFY(QDir(folder.Path()).mkdir("pictures"));
  QVERIFY(WriteBytes(folder.Path("pictures/target.png"), "x"));
  QVERIFY(QFile::link("pictures/target.png", folder.Path("link.png")));
  QVERIFY(QFile::link("pictures/new.png", folder.Path("new-link.png")));
  const bool existed = QFileInfo::exists(folder.Path(written));
  const QFileDevice::Permissions permissions = QFile::permissions(folder.Path(written));
  const QStringList entries =
      QDir(folder.Path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  QStringList pictures =
      QDir(folder.Path("pictures")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
  if (!existed) pictures = QStringList{"new.png", "target.png"};

  RUN_OK(folder.Run({"-o", output, "in.skp"}));
  SAME_PICTURE(QImage(folder.Path(written)), DrawHere(posting));
  if (existed) QCOMPARE(QFile::permissions(folder.Path(written)), permissions);
  QVERIFY(QFileInfo(folder.Path("link.png")).isSymLink());
  QVERIFY(QFileInfo(folder.Path("new-link.png")).isSymLink());
  QCOMPARE(QDir(folder.Path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
           entries);
  QCOMPARE(QDir(folder.Path("pictures")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), pictures);
}

void TestRenderCommand::byteFileNames_data() {
  QTest::addColumn<QByteArray>("input");
  QTest::addColumn<QByteArray>("output");
  QTest::newRow("Latin-1 name") << QByteArray("caf\xe9.skp") << QByteArray("caf\xe9.png");
  QTest::newRow("UTF-8 name") << QByteArray("caf\xc3\xa9.skp") << QByteArray("caf\xc3\xa9.png");
  QTest::newRow("blanks and colons") << QByteArray("re: my notes.skp") << QByteArray("re: my notes.png");
}

// File names are bytes: a posting named in any encoding is found, its
// picture named alike and the reports name it as given. (Run in-process:
// a child's arguments would pass through QString.)
void TestRenderCommand::byteFileNames() {
  QFETCH(QByteArray, input);
  QFETCH(QByteArray, output);
  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  const std::string folder = QFile::encodeName(dir.path()).toStdString() + "/";
  const RawFolderCleaner cleaner{folder};
  const QByteArray posting = Posting({"L(2;10;30;50;30;60"});
  std::FILE* file = std::fopen((folder + input.toStdString()).c_str(), "wb");
  QVERIFY(file != nullptr);
  QCOMPARE(std::fwrite(posting.constData(), 1, static_cast<std::size_t>(posting.size()), file),
           static_cast<std::size_t>(posting.size()));
  QCOMPARE(std::fclose(file), 0);

  const render_command::ParseResult parsed = render_command::ParseArguments({folder + input.toStdString()});
  QVERIFY(parsed.options.has_value());
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  QVERIFY(out != nullptr && err != nullptr);
  const int status = render_command::RunJobs(*parsed.options, stdin, out, err);
  char report[512] = {};
  std::rewind(err);
  const std::size_t reportSize = std::fread(report, 1, sizeof report - 1, err);
  std::fclose(out);
  std::fclose(err);
  QCOMPARE(status, render_command::kExitOk);
  QCOMPARE(QByteArray(report, static_cast<qsizetype>(reportSize)),
           QByteArray::fromStdString(folder) + input + ":1:19: Polyline is probably incomplete\n");

  QFile picture;
  std::FILE* png = std::fopen((folder + output.toStdString()).c_str(), "rb");
  QVERIFY(png != nullptr);
  QVERIFY(picture.open(png, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
  SAME_PICTURE(PngImage(picture.readAll()), DrawHere(posting));
  const std::vector<std::string> expected = {output.toStdString(), input.toStdString()};  // sorted
  QVERIFY(RawEntries(folder) == expected);
}

void TestRenderCommand::samplePostings_data() {
  QTest::addColumn<QString>("posting");
  QTest::addColumn<QByteArray>("report");
  QTest::newRow("floor plan") << "floor-plan.skp" << QByteArray();
  QTest::newRow("circuit") << "circuit.skp" << QByteArray();
  QTest::newRow("garden, fence incomplete")
      << "garden.skp" << QByteArray("garden.skp:22:31: Polyline is probably incomplete\n");
  QTest::newRow("route map, 8-bit legend") << "route-map.skp" << QByteArray();
}

// The sample postings draw as they do here, reporting only what they mean to.
void TestRenderCommand::samplePostings() {
  QFETCH(QString, posting);
  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  const QString examples = QStringLiteral(SKETCHPOST_EXAMPLES_DIR);
  const QByteArray text = ReadBytes(examples + "/" + posting);
  QVERIFY(!text.isEmpty());
  QVERIFY(text.count("\r\n") == text.count('\r') && text.count('\r') == text.count('\n'));  // CR LF only
  const RunResult run = RunRenderer({"-o", dir.filePath("sample.png"), posting}, examples);
  RUN_OK(run);
  QTEST(run.err, "report");
  const QImage expected = DrawHere(text);
  QVERIFY(CountBlack(expected) > 1000);
  SAME_PICTURE(QImage(dir.filePath("sample.png")), expected);
}

void TestRenderCommand::writesSvg_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<bool>("fromStdin");
  QTest::addColumn<QString>("outputFile");  // empty: standard output
  QTest::addColumn<bool>("svg");            // else PNG
  QTest::addColumn<int>("scale");
  using L = QStringList;
  QTest::newRow("OUT.svg") << L{"-o", "out.svg", "in.skp"} << false << "out.svg" << true << 1;
  QTest::newRow("OUT.SVG") << L{"-o", "OUT.SVG", "in.skp"} << false << "OUT.SVG" << true << 1;
  QTest::newRow("--format svg beside INPUT") << L{"--format", "svg", "in.skp"} << false << "in.svg" << true << 1;
  QTest::newRow("--format=svg into a .png name")
      << L{"--format=svg", "-o", "x.png", "in.skp"} << false << "x.png" << true << 1;
  QTest::newRow("--format png into a .svg name")
      << L{"--format", "png", "-o", "x.svg", "in.skp"} << false << "x.svg" << false << 1;
  QTest::newRow("-o - --format svg") << L{"-o", "-", "--format", "svg", "in.skp"} << false << QString() << true << 1;
  QTest::newRow("standard input to standard output") << L{"--format", "svg"} << true << QString() << true << 1;
  QTest::newRow("standard input to OUT.svg") << L{"-o", "out.svg"} << true << "out.svg" << true << 1;
  QTest::newRow("--scale 3") << L{"--scale", "3", "-o", "big.svg", "in.skp"} << false << "big.svg" << true << 3;
}

// SVG goes where PNG would go, with the same notes: the document drawn here,
// byte for byte, well-formed.
void TestRenderCommand::writesSvg() {
  QFETCH(QStringList, arguments);
  QFETCH(bool, fromStdin);
  QFETCH(QString, outputFile);
  QFETCH(bool, svg);
  QFETCH(int, scale);
  // An incomplete polyline and more than 4095 characters counted: both notes.
  const QByteArray posting = kEveryElement + Posting({"L(2;10;30;50;30;60", "T(M;10;100;\"a & b <c>\")"}) +
                             QByteArray("L(1;0;0;1;1)\r\n").repeated(340);
  RunFolder folder(fromStdin ? FileList{} : FileList{{"in.skp", posting}});
  RunSetup setup;
  if (fromStdin) setup.input = posting;
  const RunResult run = folder.Run(arguments, setup);
  RUN_OK(run);
  const QByteArray name = fromStdin ? "<stdin>" : "in.skp";
  QCOMPARE(run.err, name + ":26:19: Polyline is probably incomplete\n" + name + ": Drawing text is 4504 characters!\n");
  QByteArray picture;
  if (outputFile.isEmpty()) {
    picture = run.out;
    QCOMPARE(folder.Entries(), folder.before);  // nothing written beside
  } else {
    QVERIFY(run.out.isEmpty());
    picture = ReadBytes(folder.Path(outputFile));
  }
  if (!svg) {
    SAME_PICTURE(PngImage(picture), DrawHere(posting));
    return;
  }
  const QString problem = SvgProblem(picture);
  QVERIFY2(problem.isEmpty(), qPrintable(problem));
  QCOMPARE(picture, SvgHere(posting, scale));
  QVERIFY(picture.contains(
      QStringLiteral("width=\"%1\" height=\"%2\" viewBox=\"0 0 320 200\"").arg(320 * scale).arg(200 * scale).toUtf8()));
}

// --- Failures ---------------------------------------------------------------

void TestRenderCommand::unreadableInput_data() {
  QTest::addColumn<QString>("input");
  QTest::addColumn<QString>("reason");
  QTest::newRow("missing file") << "absent.skp" << QString::fromLocal8Bit(std::strerror(ENOENT));
  QTest::newRow("folder") << "folder" << QString();
  QTest::newRow("missing folder") << "nowhere/in.skp" << QString::fromLocal8Bit(std::strerror(ENOENT));
  QTest::newRow("larger than a posting may hold") << "huge.skp"
                                                  << "MiB";
}

void TestRenderCommand::unreadableInput() {
  QFETCH(QString, input);
  QFETCH(QString, reason);
  RunFolder folder;
  QVERIFY(QDir(folder.Path()).mkdir("folder"));
  QFile huge(folder.Path("huge.skp"));  // sparse: takes no room
  QVERIFY(huge.open(QIODevice::WriteOnly));
  QVERIFY(huge.resize(static_cast<qint64>(sketch::kDocumentCapacity) + 1));
  huge.close();
  const RunResult run = folder.Run({input});
  RUN_ENDS(run, 1);
  QVERIFY(run.out.isEmpty());
  const QString err = QString::fromLocal8Bit(run.err);
  QVERIFY2(IsOneMessage(err, input) && err.contains(reason), qPrintable(err));
  QCOMPARE(folder.Entries(), folder.before);
}

void TestRenderCommand::unwritableOutput_data() {
  QTest::addColumn<QString>("output");
  QTest::addColumn<bool>("needsPermissions");  // root writes into read-only folders
  QTest::newRow("missing folder") << "nowhere/out.png" << false;
  QTest::newRow("posting as a folder") << "in.skp/out.png" << false;
  QTest::newRow("folder as the output") << "folder" << false;
  QTest::newRow("read-only folder") << "locked/out.png" << true;
  QTest::newRow("old picture in a read-only folder") << "locked/old.png" << true;
}

void TestRenderCommand::unwritableOutput() {
  QFETCH(QString, output);
  QFETCH(bool, needsPermissions);
  if (needsPermissions && ::geteuid() == 0) QSKIP("read-only folders do not stop the superuser");
  const QByteArray posting = Posting({"L(1;10;20;110;20)"});
  RunFolder folder({{"in.skp", posting}});
  QVERIFY(QDir(folder.Path()).mkdir("folder"));
  QVERIFY(QDir(folder.Path()).mkdir("locked"));
  QVERIFY(WriteBytes(folder.Path("locked/old.png"), "old picture"));
  QVERIFY(QFile::setPermissions(folder.Path("locked"), QFile::ReadOwner | QFile::ExeOwner));
  const RunResult run = folder.Run({"-o", output, "in.skp"});
  QVERIFY(QFile::setPermissions(folder.Path("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
  RUN_ENDS(run, 1);
  QVERIFY2(IsOneMessage(QString::fromLocal8Bit(run.err), output), run.err.constData());
  QCOMPARE(folder.Entries(), folder.before);
  QCOMPARE(ReadBytes(folder.Path("in.skp")), posting);
  QCOMPARE(ReadBytes(folder.Path("locked/old.png")), QByteArray("old picture"));
}

void TestRenderCommand::failedWriteLeavesNoPartialFile_data() {
  QTest::addColumn<QString>("output");
  QTest::addColumn<QString>("named");  // in the report
  QTest::newRow("new picture") << "new.png"
                               << "new.png";
  QTest::newRow("old picture stays whole") << "old.png"
                                           << "old.png";
  QTest::newRow("new SVG picture") << "new.svg"
                                   << "new.svg";
  QTest::newRow("SVG over an old picture") << "old.png.svg"
                                           << "old.png.svg";
  QTest::newRow("standard output into a file") << "-"
                                               << "<stdout>";
}

// The picture fails half way through (a file-size limit stands in for a full
// disk): neither a partial picture nor the file written aside remain. The
// limit's signal (SIGXFSZ) is left as a shell leaves it, so the program must
// deal with it itself.
void TestRenderCommand::failedWriteLeavesNoPartialFile() {
  QFETCH(QString, output);
  QFETCH(QString, named);
  const QByteArray posting = Posting({"E(1;F;20;20;300;180)", "T(L;30;100;\"a picture of some size\")"});
  RunFolder folder({{"in.skp", posting}, {"old.png", "old picture"}, {"old.png.svg", "old picture"}});
  QTemporaryDir elsewhere;
  QVERIFY(elsewhere.isValid());
  RunSetup setup;
  setup.stdoutFile = elsewhere.filePath("stdout");
  setup.fileSizeLimit = 200;
  const RunResult run = folder.Run({"-o", output, "in.skp"}, setup);
  RUN_ENDS(run, 1);  // not ended by a signal
  QCOMPARE(QString::fromLocal8Bit(run.err),
           "sketchpost-render: " + named + ": " + QString::fromLocal8Bit(std::strerror(EFBIG)) + "\n");
  QCOMPARE(folder.Entries(), folder.before);
  QCOMPARE(ReadBytes(folder.Path("old.png")), QByteArray("old picture"));
  QCOMPARE(ReadBytes(folder.Path("old.png.svg")), QByteArray("old picture"));
}

void TestRenderCommand::failingStandardOutput() {
  if (!QFileInfo::exists("/dev/full")) QSKIP("no /dev/full here");
  RunFolder folder;
  RunSetup setup;
  setup.input = Posting({"L(1;10;20;110;20)"});
  setup.stdoutFile = "/dev/full";
  const RunResult run = folder.Run({}, setup);
  RUN_ENDS(run, 1);
  QCOMPARE(QString::fromLocal8Bit(run.err),
           "sketchpost-render: <stdout>: " + QString::fromLocal8Bit(std::strerror(ENOSPC)) + "\n");
}

void TestRenderCommand::refusesCollidingFiles_data() {
  QTest::addColumn<QStringList>("arguments");  // "@" stands for the folder's absolute path
  QTest::addColumn<QString>("report");
  using L = QStringList;
  const QString own = "sketchpost-render: %1: the picture would replace its posting\n";
  QTest::newRow("same name") << L{"-o", "in.skp", "in.skp"} << own.arg("in.skp");
  QTest::newRow("dot folder") << L{"-o", "./in.skp", "in.skp"} << own.arg("./in.skp");
  QTest::newRow("through the parent folder") << L{"--output=sub/../in.skp", "in.skp"} << own.arg("sub/../in.skp");
  QTest::newRow("link to the posting") << L{"-o", "link.png", "in.skp"} << own.arg("link.png");
  QTest::newRow("posting read through a link") << L{"-o", "in.skp", "link.png"} << own.arg("in.skp");
  QTest::newRow("another name of the posting") << L{"-o", "hard.png", "in.skp"} << own.arg("hard.png");
  QTest::newRow("default name of a .png posting") << L{"pic.png"} << own.arg("pic.png");
  QTest::newRow("default name of a .svg posting, --format svg")
      << L{"--format", "svg", "pic.svg"} << own.arg("pic.svg");
  QTest::newRow("a posting of the run by its absolute name")
      << L{"pic.txt", "@/pic.png"}
      << "sketchpost-render: pic.png: the picture of 'pic.txt' would replace the posting '@/pic.png'\n" +
             own.arg("@/pic.png") +
             "sketchpost-render: 'pic.txt' and '@/pic.png' would both be drawn to one file, 'pic.png' and "
             "'@/pic.png'\n";
  QTest::newRow("out-dir through a link to the folder")
      << L{"--out-dir", "here", "in.skp", "pic.png"} << own.arg("here/pic.png");
  QTest::newRow("two postings, one picture by two names")
      << L{"pic.txt", "./pic.svg"}
      << "sketchpost-render: 'pic.txt' and './pic.svg' would both be drawn to one file, 'pic.png' and './pic.png'\n";
  QTest::newRow("two postings, a new picture and a link to it")
      << L{"--out-dir", "sub", "in.skp", "pic.txt"}
      << "sketchpost-render: 'in.skp' and 'pic.txt' would both be drawn to one file, 'sub/in.png' and "
         "'sub/pic.png'\n";
  QTest::newRow("one posting twice") << L{"in.skp", "in.skp"}
                                     << "sketchpost-render: 'in.skp' and 'in.skp' would both be drawn to 'in.png'\n";
}

// A run whose pictures would replace one of its postings, or one another, is
// refused whole before anything is drawn, however the files are named.
void TestRenderCommand::refusesCollidingFiles() {
  QFETCH(QStringList, arguments);
  QFETCH(QString, report);
  const QByteArray posting = Posting({"L(1;10;20;110;20)"});
  RunFolder folder({{"in.skp", posting}, {"pic.png", posting}, {"pic.svg", posting}, {"pic.txt", posting}});
  QVERIFY(QDir(folder.Path()).mkdir("sub"));
  QVERIFY(QFile::link("in.skp", folder.Path("link.png")));
  QVERIFY(QFile::link(".", folder.Path("here")));
  QVERIFY(QFile::link("in.png", folder.Path("sub/pic.png")));  // whose target does not exist yet
  QCOMPARE(::link(QFile::encodeName(folder.Path("in.skp")).constData(),
                  QFile::encodeName(folder.Path("hard.png")).constData()),
           0);
  const RunResult run = folder.Run(arguments.replaceInStrings("@", folder.Path()));
  RUN_ENDS(run, 2);
  QCOMPARE(QString::fromLocal8Bit(run.err), QString(report).replace("@", folder.Path()));
  QCOMPARE(folder.Entries(), folder.before);
  for (const char* name : {"in.skp", "pic.png", "pic.svg", "pic.txt"}) QCOMPARE(ReadBytes(folder.Path(name)), posting);
  QVERIFY(QFileInfo(folder.Path("link.png")).isSymLink());
}

void TestRenderCommand::usageErrors_data() {
  QTest::addColumn<QStringList>("arguments");
  using L = QStringList;
  QTest::newRow("scale 9") << L{"--scale", "9", "in.skp"};
  QTest::newRow("scale abc") << L{"--scale=abc", "in.skp"};
  QTest::newRow("-o with two INPUTs") << L{"in.skp", "other.skp", "-o", "x.png"};
  QTest::newRow("unknown option") << L{"--bogus", "in.skp"};
  QTest::newRow("-o without a name") << L{"in.skp", "-o"};
  QTest::newRow("unknown format") << L{"--format", "jpeg", "in.skp"};
  QTest::newRow("--format without a value") << L{"in.skp", "--format"};
}

void TestRenderCommand::usageErrors() {
  QFETCH(QStringList, arguments);
  RunFolder folder({{"in.skp", Posting({"L(1;10;20;110;20)"})}});
  const RunResult run = folder.Run(arguments);
  RUN_ENDS(run, 2);
  QVERIFY(run.out.isEmpty());
  const QString err = QString::fromLocal8Bit(run.err);
  QVERIFY2(IsOneMessage(err) && err.endsWith("(see --help)\n"), qPrintable(err));
  QCOMPARE(folder.Entries(), folder.before);
}

void TestRenderCommand::helpAndVersion_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<QByteArray>("text");
  const QByteArray usage = QByteArray::fromStdString(render_command::UsageText());
  const QByteArray version = QByteArray::fromStdString(render_command::VersionText());
  QTest::newRow("--help") << QStringList{"--help"} << usage;
  QTest::newRow("-h with INPUT") << QStringList{"-h", "in.skp"} << usage;
  QTest::newRow("--version") << QStringList{"--version"} << version;
  QTest::newRow("--version with INPUT") << QStringList{"in.skp", "--version"} << version;
}

void TestRenderCommand::helpAndVersion() {
  QFETCH(QStringList, arguments);
  RunFolder folder({{"in.skp", Posting({"L(1;10;20;110;20)"})}});
  const RunResult run = folder.Run(arguments);
  RUN_OK(run);
  QTEST(run.out, "text");
  QVERIFY(run.out.startsWith("sketchpost-render") || run.out.startsWith("Usage: sketchpost-render"));
  QVERIFY(run.err.isEmpty());
  QCOMPARE(folder.Entries(), folder.before);
}
