// File "Export picture..." of the drawing window, chosen from the frame's
// menu bar as a user chooses it: the file kinds, the names, what is written
// and what a failure leaves.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include "FrameKit.h"
#include "drawing/GraphWin.h"
#include "drawing/PictureExport.h"
#include "editor/PostingText.h"
#include "qttext/PictureImage.h"
#include "test_classes.h"

using frametest::Session;

namespace {

const QString kPosting = QStringLiteral(
    "A plan, as promised:\n"
    "R(3;E;20;20;300;180)\n"
    "L(DS;20;100;300;100)\n"
    "E(1;F;140;60;180;90)\n"
    "T(M;30;40;\"Hall & <kitchen>\")\n");

// A frame with an editor of `kPosting` saved as `name` in `folder`, and its
// drawing window made by F7 and active.
struct ExportFixture {
  explicit ExportFixture(const QString& name = QStringLiteral("plan.skp"),
                         const QByteArray& bytes = editor::EncodePosting(QTextDocument(kPosting))) {
    posting = folder.filePath(name);
    QFile file(posting);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
  }
  [[nodiscard]] bool Open() {
    if (!session.Shown()) return false;
    session.dialogs.fileNames << posting;
    if (!session.Choose(QStringLiteral("File"), QStringLiteral("Open..."))) return false;
    if (session.frame.EditForm == nullptr) return false;
    session.Activate(session.frame.EditForm->Editor);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F7);
    graf = session.frame.GrafForm;
    return graf != nullptr && (promptsExpected || session.dialogs.calls.size() == 1);
  }
  // Export picture with the dialog answered: `filter` chosen ("" keeps the
  // one offered) and `name` typed ("" cancels).
  [[nodiscard]] bool Export(const QString& filter, const QString& name) {
    session.dialogs.filters << filter;
    session.dialogs.fileNames << name;
    return session.Choose(QStringLiteral("File"), QStringLiteral("Export picture..."));
  }
  const testsupport::DialogCall& LastCall() const { return session.dialogs.calls.last(); }

  QTemporaryDir folder;
  QString posting;
  bool promptsExpected = false;  // the posting has lines the pass asks about
  Session session;
  TGrafForm* graf = nullptr;
};

// The picture F7 painted, without the caret line's mark.
QImage ShownPicture(TGrafForm* graf) {
  graf->DrawSketch();
  return qttext::ImageOf(graf->Picture.Picture()).copy();
}

QStringList FilesIn(const QString& folder) { return QDir(folder).entryList(QDir::Files, QDir::Name); }

}  // namespace

void TestExportPicture::offersEveryKindAndProposesThePostingsName() {
  ExportFixture fx;
  QVERIFY(fx.Open());
  QVERIFY(fx.Export(QString(), QString()));  // cancelled
  const testsupport::DialogCall& call = fx.LastCall();
  QCOMPARE(call.kind, QString("Save"));
  QCOMPARE(call.options.title, QString("Export picture"));
  const QStringList filters = call.options.filter.split(";;");
  QCOMPARE(filters.size(), 9);
  QCOMPARE(filters.first(), QString("PNG picture (*.png)"));
  QCOMPARE(filters[7], QString("PNG picture, 8x (*.png)"));
  QCOMPARE(filters.last(), QString("SVG drawing (*.svg)"));
  QCOMPARE(call.options.proposedName, fx.folder.filePath("plan.png"));
  QCOMPARE(FilesIn(fx.folder.path()), QStringList{"plan.skp"});  // cancel writes nothing
  QCOMPARE(fx.session.dialogs.Kinds(), QStringList({"Open", "Save"}));
}

void TestExportPicture::pngAtEachScaleIsThePicture_data() {
  QTest::addColumn<int>("scale");
  for (int scale : {1, 2, 3, 8}) QTest::addRow("%dx", scale) << scale;
}

void TestExportPicture::pngAtEachScaleIsThePicture() {
  QFETCH(int, scale);
  ExportFixture fx;
  QVERIFY(fx.Open());
  const QString filter = drawing::ExportFilters()[scale - 1];
  QVERIFY(fx.Export(filter, fx.folder.filePath("plan.png")));
  QCOMPARE(fx.session.dialogs.Kinds(), QStringList({"Open", "Save"}));  // no box after the dialog
  QImage written(fx.folder.filePath("plan.png"), "PNG");
  QCOMPARE(written.size(), QSize(320 * scale, 200 * scale));
  const QImage expected = ShownPicture(fx.graf).scaled(320 * scale, 200 * scale);  // each pixel a square
  QCOMPARE(written.convertToFormat(QImage::Format_RGB32), expected);
}

void TestExportPicture::svgIsWellFormedAndHoldsTheFigures() {
  ExportFixture fx;
  QVERIFY(fx.Open());
  QVERIFY(fx.Export("SVG drawing (*.svg)", fx.folder.filePath("plan.svg")));
  QFile file(fx.folder.filePath("plan.svg"));
  QVERIFY(file.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&file);
  QStringList elements;
  QString legend;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    elements << xml.name().toString();
    if (xml.name() == QStringLiteral("text")) legend = xml.readElementText();
  }
  QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
  QCOMPARE(elements.first(), QString("svg"));
  QVERIFY(elements.contains("text"));
  QCOMPARE(legend, QString("Hall & <kitchen>"));
  QVERIFY(elements.size() >= 5);  // background and four figures at least
}

// The file kind follows the filter chosen: a name with the other kind's
// suffix gets the chosen one, a name with another suffix keeps it and gets
// the chosen one added.
void TestExportPicture::theChosenKindDecidesTheSuffix_data() {
  QTest::addColumn<QString>("filter");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("written");
  QTest::newRow("svg chosen, png name") << "SVG drawing (*.svg)"
                                        << "plan.png"
                                        << "plan.svg";
  QTest::newRow("png chosen, svg name") << "PNG picture, 2x (*.png)"
                                        << "plan.SVG"
                                        << "plan.png";
  QTest::newRow("other suffix") << "SVG drawing (*.svg)"
                                << "plan.v2"
                                << "plan.v2.svg";
  QTest::newRow("trailing dot") << "SVG drawing (*.svg)"
                                << "plan."
                                << "plan.svg";
  QTest::newRow("upper case kept") << "PNG picture (*.png)"
                                   << "PLAN.PNG"
                                   << "PLAN.PNG";
}

void TestExportPicture::theChosenKindDecidesTheSuffix() {
  QFETCH(QString, filter);
  QFETCH(QString, typed);
  QFETCH(QString, written);
  ExportFixture fx;
  QVERIFY(fx.Open());
  QVERIFY(fx.Export(filter, fx.folder.filePath(typed)));
  QStringList expected{written, "plan.skp"};
  expected.sort();
  QCOMPARE(FilesIn(fx.folder.path()), expected);
}

// The next export offers the kind chosen last, and its suffix in the name.
void TestExportPicture::theKindChosenLastIsOfferedAgain() {
  ExportFixture fx(QStringLiteral("untouched.posting.skp"));
  QVERIFY(fx.Open());
  QVERIFY(fx.Export("SVG drawing (*.svg)", fx.folder.filePath("a.svg")));
  QVERIFY(fx.Export(QString(), QString()));
  QCOMPARE(fx.LastCall().options.proposedName, fx.folder.filePath("untouched.posting.svg"));
  QCOMPARE(fx.LastCall().options.defaultSuffix, QString("svg"));
}

// A failed export says why in an error box and leaves what was there whole.
void TestExportPicture::aFailedExportSaysWhyAndKeepsTheOldFile() {
  ExportFixture fx;
  QVERIFY(fx.Open());
  const QString missingFolder = fx.folder.filePath("gone/plan.png");
  QVERIFY(fx.Export(QString(), missingFolder));
  QCOMPARE(fx.session.dialogs.Kinds(), QStringList({"Open", "Save", "Error"}));
  QVERIFY(fx.session.dialogs.Texts("Error").first().contains(missingFolder));
  QVERIFY(!QFile::exists(missingFolder));

  // Over a folder of that name: refused, the folder untouched.
  QVERIFY(QDir(fx.folder.path()).mkdir("plan.png"));
  QVERIFY(fx.Export(QString(), fx.folder.filePath("plan.png")));
  QCOMPARE(fx.session.dialogs.Texts("Error").size(), 2);
  QVERIFY(QFileInfo(fx.folder.filePath("plan.png")).isDir());
}

void TestExportPicture::windowDrawsAsTheRenderer_data() {
  QTest::addColumn<QString>("example");
  const QDir examples(QStringLiteral(SKETCHPOST_SOURCE_DIR "/examples"));
  for (const QString& name : examples.entryList({QStringLiteral("*.skp")}, QDir::Files, QDir::Name))
    QTest::newRow(qPrintable(name)) << examples.filePath(name);
}

// F7's picture of every example posting, legends and all, is the picture
// the command-line renderer draws of it, pixel for pixel.
void TestExportPicture::windowDrawsAsTheRenderer() {
  QFETCH(QString, example);
  QFile file(example);
  QVERIFY(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  QVERIFY(bytes.contains("\nT("));  // it has legends
  ExportFixture fixture(QStringLiteral("example.skp"), bytes);
  fixture.promptsExpected = true;
  // The renderer notes what the pass asks about and goes on; so does the
  // window when told to.
  fixture.session.dialogs.answers = QList<ui::Answer>(8, ui::Answer::Ok);
  QVERIFY(fixture.Open());
  const QString png = fixture.folder.filePath(QStringLiteral("rendered.png"));
  QProcess renderer;
  renderer.start(QStringLiteral(SKETCHPOST_RENDER_PATH), {fixture.posting, QStringLiteral("-o"), png});
  QVERIFY(renderer.waitForFinished(60000));
  QCOMPARE(renderer.exitCode(), 0);
  const QImage rendered = QImage(png).convertToFormat(QImage::Format_RGB32);
  const QImage shown = ShownPicture(fixture.graf).convertToFormat(QImage::Format_RGB32);
  QCOMPARE(rendered.size(), shown.size());
  QVERIFY2(rendered == shown, qPrintable(example));
}
