// What `cmake --install` and `make package` put on a machine: the tree, the
// launcher, the AppStream entry, the file type and the two Debian packages.

#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <memory>

namespace {

const QString kBuild = QStringLiteral(SKETCHPOST_BUILD_DIR);
const QString kVersion = QStringLiteral(SKETCHPOST_PROJECT_VERSION);

// Every file installed, below the prefix; the renderer's package takes these,
// the desktop package all the rest.
const QStringList kRenderTree = {
    "bin/sketchpost-render",
    "share/doc/sketchpost-render/changelog.gz",
    "share/doc/sketchpost-render/copyright",
    "share/man/man1/sketchpost-render.1.gz",
};

// Every file installed, below the prefix.
const QStringList kTree = {
    "bin/sketchpost",
    "bin/sketchpost-render",
    "share/applications/org.sketchpost.Sketchpost.desktop",
    "share/doc/sketchpost/changelog.gz",
    "share/doc/sketchpost/copyright",
    "share/doc/sketchpost-render/changelog.gz",
    "share/doc/sketchpost-render/copyright",
    "share/icons/hicolor/128x128/apps/sketchpost.png",
    "share/icons/hicolor/16x16/apps/sketchpost.png",
    "share/icons/hicolor/256x256/apps/sketchpost.png",
    "share/icons/hicolor/32x32/apps/sketchpost.png",
    "share/icons/hicolor/48x48/apps/sketchpost.png",
    "share/icons/hicolor/64x64/apps/sketchpost.png",
    "share/icons/hicolor/scalable/apps/sketchpost.svg",
    "share/man/man1/sketchpost-render.1.gz",
    "share/man/man1/sketchpost.1.gz",
    "share/metainfo/org.sketchpost.Sketchpost.metainfo.xml",
    "share/mime/packages/sketchpost.xml",
};

struct Run {
  int status = -1;
  QString out;  // standard output and error together
};

Run Command(const QString& program, const QStringList& arguments, const QStringList& environment = {}) {
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const QString& pair : environment) env.insert(pair.section(QChar('='), 0, 0), pair.section(QChar('='), 1));
  process.setProcessEnvironment(env);
  process.start(program, arguments);
  if (!process.waitForFinished(240000) || process.exitStatus() != QProcess::NormalExit)
    return {-1, program + QStringLiteral(" did not finish: ") + process.errorString()};
  return {process.exitCode(), QString::fromLocal8Bit(process.readAll())};
}

// Installs the build into `destdir` under `prefix`; empty on success, else why not.
QString Install(const QString& destdir, const QString& prefix) {
  const Run run = Command(QStringLiteral("cmake"), {"--install", kBuild, "--prefix", prefix}, {"DESTDIR=" + destdir});
  return run.status == 0 ? QString() : run.out;
}

QStringList FilesBelow(const QString& root) {
  QStringList files;
  QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) files << QDir(root).relativeFilePath(it.next());
  files.sort();
  return files;
}

QByteArray Gunzip(const QString& path) {
  QProcess gzip;
  gzip.start(QStringLiteral("gzip"), {"-dc", path});
  gzip.waitForFinished(60000);
  return gzip.readAllStandardOutput();
}

}  // namespace

class TestInstall : public QObject {
  Q_OBJECT

 private slots:
  void tree_data();
  void tree();
  void desktopEntry();
  void metainfo();
  void mimeType();
  void package_data();
  void package();
  void packagesSplitTree();

 private:
  QString packages();
  QString packageFile(const QString& name) const;

  std::unique_ptr<QTemporaryDir> packages_;
  QString packagesFailure_;
};

void TestInstall::tree_data() {
  QTest::addColumn<QString>("prefix");
  QTest::newRow("system") << "/usr";
  QTest::newRow("the user's own") << "/home/ann/.local";
}

void TestInstall::tree() {
  QFETCH(QString, prefix);
  QTemporaryDir destdir;
  const QString error = Install(destdir.path(), prefix);
  QVERIFY2(error.isEmpty(), qPrintable(error));
  QStringList expected = kTree;
  expected.sort();
  QCOMPARE(FilesBelow(destdir.path() + prefix), expected);
  QCOMPARE(FilesBelow(destdir.path()).size(), expected.size());  // nothing outside the prefix

  const QString root = destdir.path() + prefix + QChar('/');
  for (const char* program : {"bin/sketchpost", "bin/sketchpost-render"})
    QVERIFY(QFileInfo(root + QString::fromLatin1(program)).isExecutable());
  for (const int size : {16, 32, 48, 64, 128, 256}) {
    const QImage icon(root + QStringLiteral("share/icons/hicolor/%1x%1/apps/sketchpost.png").arg(size));
    QCOMPARE(icon.size(), QSize(size, size));
  }
  // The manual pages name the version and each option of the programs.
  const QByteArray page = Gunzip(root + QStringLiteral("share/man/man1/sketchpost.1.gz"));
  QVERIFY2(page.startsWith(".TH SKETCHPOST 1 \"\" \"Sketchpost " + kVersion.toLatin1() + "\""), page.left(80));
  for (const char* option : {"\\-\\-help", "\\-\\-version", "FILE"}) QVERIFY2(page.contains(option), option);
  const QByteArray renderPage = Gunzip(root + QStringLiteral("share/man/man1/sketchpost-render.1.gz"));
  for (const char* option : {"\\-\\-output", "\\-\\-scale", "\\-\\-help", "\\-\\-version", "\\-\\-out\\-dir",
                             "\\-\\-format", "\\-\\-unquote", "\\-\\-jobs", "no sketch lines"})
    QVERIFY2(renderPage.contains(option), option);
  // The installed programs run from their place, and say their version.
  const Run version = Command(root + QStringLiteral("bin/sketchpost"), {"--version"});
  QCOMPARE(version.out, QStringLiteral("sketchpost ") + kVersion + QChar('\n'));
  // The installed renderer draws legends on its own, with FreeType.
  QFile posting(destdir.path() + QStringLiteral("/legend.skp"));
  QVERIFY(posting.open(QIODevice::WriteOnly));
  posting.write("T(M;10;50;\"Gate\")\r\n");
  posting.close();
  const QString picture = destdir.path() + QStringLiteral("/legend.png");
  const Run legend = Command(root + QStringLiteral("bin/sketchpost-render"), {posting.fileName(), "-o", picture});
  QVERIFY2(legend.status == 0, qPrintable(legend.out));
  const QImage drawn(picture);
  QCOMPARE(drawn.size(), QSize(320, 200));
  int ink = 0;  // the legend's letters, in its box
  for (int y = 37; y < 50; ++y)
    for (int x = 10; x < 50; ++x) ink += drawn.pixel(x, y) == qRgb(0, 0, 0) ? 1 : 0;
  QVERIFY(ink > 20);
}

void TestInstall::desktopEntry() {
  QTemporaryDir destdir;
  QVERIFY(Install(destdir.path(), QStringLiteral("/usr")).isEmpty());
  const QString entry = destdir.filePath(QStringLiteral("usr/share/applications/org.sketchpost.Sketchpost.desktop"));
  const Run validate = Command(QStringLiteral("desktop-file-validate"), {entry});
  QVERIFY2(validate.status == 0 && validate.out.isEmpty(), qPrintable(validate.out));
  QFile file(entry);
  QVERIFY(file.open(QIODevice::ReadOnly));
  const QStringList lines = QString::fromUtf8(file.readAll()).split(QChar('\n'));
  for (const char* line : {"Exec=sketchpost %f", "Icon=sketchpost", "MimeType=text/x-sketchpost;", "Terminal=false"})
    QVERIFY2(lines.contains(QString::fromLatin1(line)), line);
  const QString categories = lines.filter(QRegularExpression(QStringLiteral("^Categories="))).value(0);
  QVERIFY2(categories.split(QRegularExpression(QStringLiteral("[=;]"))).contains(QStringLiteral("Graphics")),
           qPrintable(categories));
}

void TestInstall::metainfo() {
  QTemporaryDir destdir;
  QVERIFY(Install(destdir.path(), QStringLiteral("/usr")).isEmpty());
  const QString metainfo =
      destdir.filePath(QStringLiteral("usr/share/metainfo/org.sketchpost.Sketchpost.metainfo.xml"));
  const Run validate = Command(QStringLiteral("appstreamcli"), {"validate", "--no-net", metainfo});
  QVERIFY2(validate.status == 0, qPrintable(validate.out));
  QFile file(metainfo);
  QVERIFY(file.open(QIODevice::ReadOnly));
  QVERIFY(file.readAll().contains("<release version=\"" + kVersion.toLatin1() + "\""));
}

void TestInstall::mimeType() {
  QTemporaryDir destdir;
  QVERIFY(Install(destdir.path(), QStringLiteral("/usr")).isEmpty());
  const QString mime = destdir.filePath(QStringLiteral("usr/share/mime"));
  QFile file(mime + QStringLiteral("/packages/sketchpost.xml"));
  QVERIFY(file.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&file);
  QStringList seen;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    const auto attribute = [&](const char* name) { return xml.attributes().value(QLatin1String(name)).toString(); };
    if (xml.name() == QLatin1String("mime-type")) seen << QStringLiteral("type ") + attribute("type");
    if (xml.name() == QLatin1String("glob")) seen << QStringLiteral("glob ") + attribute("pattern");
    if (xml.name() == QLatin1String("sub-class-of")) seen << QStringLiteral("subclass of ") + attribute("type");
  }
  QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
  QCOMPARE(seen, (QStringList{"type text/x-sketchpost", "subclass of text/plain", "glob *.skp"}));
  // The database a desktop builds from it knows the type by its name.
  const Run update = Command(QStringLiteral("update-mime-database"), {mime});
  QVERIFY2(update.status == 0, qPrintable(update.out));
  QFile globs(mime + QStringLiteral("/globs2"));
  QVERIFY(globs.open(QIODevice::ReadOnly));
  QVERIFY(globs.readAll().contains(":text/x-sketchpost:*.skp"));
  QFile subclasses(mime + QStringLiteral("/subclasses"));
  QVERIFY(subclasses.open(QIODevice::ReadOnly));
  QVERIFY(subclasses.readAll().contains("text/x-sketchpost text/plain"));
}

// The packages `make package` builds, made once for all the checks of them.
QString TestInstall::packages() {
  if (packages_) return packagesFailure_;
  packages_ = std::make_unique<QTemporaryDir>();
  const Run cpack =
      Command(QStringLiteral("cpack"),
              {"-G", "DEB", "--config", kBuild + QStringLiteral("/CPackConfig.cmake"), "-B", packages_->path()});
  if (cpack.status != 0) packagesFailure_ = cpack.out;
  return packagesFailure_;
}

// The one package of that name (sketchpost_0.1.0_amd64.deb), or empty.
QString TestInstall::packageFile(const QString& name) const {
  const QStringList debs =
      QDir(packages_->path()).entryList({name + QChar('_') + kVersion + QStringLiteral("_*.deb")}, QDir::Files);
  return debs.size() == 1 ? packages_->filePath(debs.first()) : QString();
}

void TestInstall::package_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QStringList>("files");
  QTest::addColumn<QStringList>("depends");  // each a whole entry of Depends
  QTest::addColumn<QString>("refused");      // no entry of Depends may match
  QTest::addColumn<QString>("description");  // a phrase of the long description

  QStringList desktopTree = kTree;
  for (const QString& file : kRenderTree) desktopTree.removeAll(file);
  // The renderer serves without a desktop: no Qt library, no Qt plugin.
  QTest::newRow("renderer") << "sketchpost-render" << kRenderTree
                            << QStringList{"fonts-liberation2 | fonts-liberation", "libc6 (>= *)", "libpng16-16 (>= *)"}
                            << "qt6|qt-"
                            << "PNG or SVG";
  QTest::newRow("desktop") << "sketchpost" << desktopTree << QStringList{"sketchpost-render (= " + kVersion + ")",
                                                                         "libqt6widgets6 (>= *)",
                                                                         "libqt6gui6 (>= *)",
                                                                         "libc6 (>= *)",
                                                                         "fonts-liberation2 | fonts-liberation",
                                                                         "qt6-qpa-plugins"}
                           << "^$"
                           << "sketchpost-render";
}

void TestInstall::package() {
  QFETCH(QString, name);
  QFETCH(QStringList, files);
  QFETCH(QStringList, depends);
  QFETCH(QString, refused);
  QFETCH(QString, description);
  const QString failure = packages();
  QVERIFY2(failure.isEmpty(), qPrintable(failure));
  const QString deb = packageFile(name);
  QVERIFY2(!deb.isEmpty(), qPrintable(QDir(packages_->path()).entryList().join(QChar(' '))));

  const Run contents = Command(QStringLiteral("dpkg-deb"), {"-c", deb});
  QCOMPARE(contents.status, 0);
  QStringList listed;
  for (const QString& line : contents.out.split(QChar('\n'), Qt::SkipEmptyParts))
    if (!line.startsWith(QChar('d'))) listed << line.section(QChar(' '), -1).mid(6);  // "./usr/..."
  listed.sort();
  files.sort();
  QCOMPARE(listed, files);

  const auto field = [&](const char* which) {
    return Command(QStringLiteral("dpkg-deb"), {"-f", deb, QString::fromLatin1(which)}).out.trimmed();
  };
  QCOMPARE(field("Package"), name);
  QCOMPARE(field("Version"), kVersion);
  QCOMPARE(field("Section"), QStringLiteral("graphics"));
  // Worked out from the libraries, and the packages named; versions of the
  // libraries as dpkg-shlibdeps finds them.
  const QStringList entries = field("Depends").split(QRegularExpression(QStringLiteral(",\\s*")));
  for (const QString& wanted : depends) {
    const QRegularExpression pattern(
        QRegularExpression::wildcardToRegularExpression(wanted, QRegularExpression::UnanchoredWildcardConversion));
    QVERIFY2(
        entries.filter(QRegularExpression(QStringLiteral("^") + pattern.pattern() + QStringLiteral("$"))).size() == 1,
        qPrintable(wanted + QStringLiteral(" not in ") + entries.join(QStringLiteral(", "))));
  }
  for (const QString& entry : entries)
    for (const QString& alternative : entry.split(QChar('|')))
      QVERIFY2(!alternative.trimmed().contains(QRegularExpression(refused)), qPrintable(entry));

  // Nothing for the package's users to run at install or removal: no
  // maintainer scripts (the module is the programs' own, not for ldconfig).
  const Run control = Command(QStringLiteral("sh"), {"-c", "dpkg-deb --ctrl-tarfile '" + deb + "' | tar -t"});
  QCOMPARE(control.out.split(QChar('\n'), Qt::SkipEmptyParts), (QStringList{"./md5sums", "./control"}));
  // The changelog in the package's own doc folder names the release at hand.
  const Run changelog = Command(
      QStringLiteral("sh"),
      {"-c", "dpkg-deb --fsys-tarfile '" + deb + "' | tar -xO ./usr/share/doc/" + name + "/changelog.gz | gzip -dc"});
  QVERIFY2(changelog.out.startsWith(QStringLiteral("sketchpost (") + kVersion + QStringLiteral(") unstable;")),
           qPrintable(changelog.out));
  QVERIFY2(field("Description").contains(description), qPrintable(field("Description")));

  // What Debian's own check of a package finds: no error, no warning.
  if (QStandardPaths::findExecutable(QStringLiteral("lintian")).isEmpty()) QSKIP("lintian is not installed");
  const Run lintian = Command(QStringLiteral("lintian"), {"--fail-on", "error,warning", deb});
  const QStringList tags = lintian.out.split(QChar('\n')).filter(QRegularExpression(QStringLiteral("^[EW]: ")));
  QVERIFY2(lintian.status == 0 && tags.isEmpty(), qPrintable(lintian.out));
}

// The two packages together install what `cmake --install` does, and no file
// is in both (dpkg would refuse the second package), nor a third package made.
void TestInstall::packagesSplitTree() {
  const QString failure = packages();
  QVERIFY2(failure.isEmpty(), qPrintable(failure));
  QCOMPARE(QDir(packages_->path()).entryList({QStringLiteral("*.deb")}, QDir::Files).size(), 2);
  QStringList all;
  for (const char* name : {"sketchpost", "sketchpost-render"}) {
    const QString deb = packageFile(QString::fromLatin1(name));
    QVERIFY2(!deb.isEmpty(), name);
    const Run contents = Command(QStringLiteral("sh"), {"-c", "dpkg-deb --fsys-tarfile '" + deb + "' | tar -t"});
    QCOMPARE(contents.status, 0);
    for (const QString& path : contents.out.split(QChar('\n'), Qt::SkipEmptyParts))
      if (!path.endsWith(QChar('/'))) all << path.mid(6);
  }
  all.sort();
  QStringList expected = kTree;
  expected.sort();
  QCOMPARE(all, expected);  // a file in both would be listed twice
}

QTEST_GUILESS_MAIN(TestInstall)
#include "test_install.moc"
