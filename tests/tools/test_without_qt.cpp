// The renderer draws legends as the window does, with FreeType, and never
// links or loads Qt, with legends or without: a server without a desktop
// runs it.

#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

#include "RenderRunKit.h"
#include "test_classes.h"

using namespace rendertest;

void TestRendererWithoutQt::drawsWithoutQt_data() {
  QTest::addColumn<QByteArray>("posting");
  QTest::addColumn<QString>("format");
  const QByteArray shapes = Posting({"L(3;10;10;200;150)", "E(DS;F;20;20;120;90)", "prose with T( inside"});
  const QByteArray legends = Posting({"L(3;10;10;200;150)", "T(M;30;60;\"Gate\")",
                                      "T(LU;300;190;\"Stra\xdf"
                                      "e\")"});
  QTest::newRow("shapes, png") << shapes << "png";
  QTest::newRow("shapes, svg") << shapes << "svg";
  QTest::newRow("legends, png") << legends << "png";
  QTest::newRow("legends, svg") << legends << "svg";
}

void TestRendererWithoutQt::drawsWithoutQt() {
  QFETCH(QByteArray, posting);
  QFETCH(QString, format);
  // What the program links, and what the dynamic linker loads while it runs.
  QProcess ldd;
  ldd.start(QStringLiteral("ldd"), {QStringLiteral(SKETCHPOST_RENDER_PATH)});
  QVERIFY(ldd.waitForFinished(60000));
  const QByteArray linked = ldd.readAllStandardOutput();
  QVERIFY2(linked.contains("libc.so") && !linked.contains("libQt"), linked.constData());

  RunFolder folder({{"posting.skp", posting}});
  qputenv("LD_DEBUG", "libs");
  const RunResult result = folder.Run({"posting.skp", "--format", format});
  qunsetenv("LD_DEBUG");
  RUN_OK(result);
  QVERIFY2(result.err.contains("calling init:"), "LD_DEBUG told nothing");
  QVERIFY2(!result.err.contains("libQt"), result.err.constData());
  const QByteArray written = ReadBytes(folder.Path("posting." + format));
  if (format == "svg") {
    QCOMPARE(written, SvgHere(posting));
  } else {
    SAME_PICTURE(PngImage(written), DrawHere(posting));
  }
}
