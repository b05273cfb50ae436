// The renderer draws shapes without Qt and loads the legend module only for
// a sketch with legends: a missing module then fails that picture, loudly,
// and leaves every other picture as it was.

#include <QProcess>
#include <QTest>

#include "RenderRunKit.h"
#include "test_classes.h"

using namespace rendertest;

namespace {

// Sets an environment variable for the children started while it lives.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const QByteArray& value) : name_(name) {
    if (!value.isNull()) qputenv(name, value);
  }
  ~ScopedEnvironment() { qunsetenv(name_); }

 private:
  const char* name_;
};

}  // namespace

void TestLegendModule::programLinksNoQt_data() {
  QTest::addColumn<QByteArray>("library");
  // Qt, and fontconfig with the font libraries it brings: the legend module
  // loads them when a sketch has legends.
  for (const char* library : {"libQt", "libfontconfig", "libfreetype"}) QTest::newRow(library) << QByteArray(library);
}

void TestLegendModule::programLinksNoQt() {
  QFETCH(QByteArray, library);
  QProcess ldd;
  ldd.start(QStringLiteral("ldd"), {QStringLiteral(SKETCHPOST_RENDER_PATH)});
  QVERIFY(ldd.waitForFinished(60000));
  const QByteArray needed = ldd.readAllStandardOutput();
  QVERIFY2(needed.contains("libc.so"), needed.constData());
  QVERIFY2(!needed.contains(library), needed.constData());
}

void TestLegendModule::moduleOnlyForLegends_data() {
  QTest::addColumn<QByteArray>("posting");
  QTest::addColumn<QString>("format");
  QTest::addColumn<QByteArray>("module");  // null: the one built beside the program
  QTest::addColumn<int>("status");

  const QByteArray shapes = Posting({"L(3;10;10;200;150)", "E(DS;F;20;20;120;90)", "prose with T( inside"});
  const QByteArray legend = Posting({"L(3;10;10;200;150)", "T(M;30;60;\"Gate\")"});
  const QByteArray missing = "/nonexistent/sketchpost-legends.so";
  QTest::newRow("shapes, module missing, png") << shapes << "png" << missing << 0;
  QTest::newRow("shapes, module missing, svg") << shapes << "svg" << missing << 0;
  QTest::newRow("legend, module missing, png") << legend << "png" << missing << 1;
  QTest::newRow("legend, module missing, svg") << legend << "svg" << missing << 1;
  QTest::newRow("legend, module found, png") << legend << "png" << QByteArray() << 0;
  QTest::newRow("legend, module found, svg") << legend << "svg" << QByteArray() << 0;
}

void TestLegendModule::moduleOnlyForLegends() {
  QFETCH(QByteArray, posting);
  QFETCH(QString, format);
  QFETCH(QByteArray, module);
  QFETCH(int, status);
  RunFolder folder({{"posting.skp", posting}});
  const QString output = folder.Path("posting." + format);
  const ScopedEnvironment environment("SKETCHPOST_LEGEND_MODULE", module);
  const RunResult result = folder.Run({"posting.skp", "--format", format});
  RUN_ENDS(result, status);
  if (status != 0) {
    QVERIFY2(result.err.contains("posting.skp: legends cannot be drawn: "), result.err.constData());
    QVERIFY(!QFile::exists(output));
    return;
  }
  QVERIFY2(result.err.isEmpty(), result.err.constData());
  const QByteArray written = ReadBytes(output);
  if (format == "svg") {
    QCOMPARE(written, SvgHere(posting));
  } else {
    SAME_PICTURE(PngImage(written), DrawHere(posting));
  }
}
