// The program as it starts: the built sketchpost, run as a child process.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "FrameKit.h"
#include "test_classes.h"

namespace {

// The program on the offscreen platform, with its settings in `config`.
void StartProgram(QProcess& program, const QString& config, const QStringList& arguments) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
  program.setProcessEnvironment(environment);
  program.start(QStringLiteral(SKETCHPOST_PROGRAM), arguments);
}

bool IsFifo(const QString& path) {
  struct stat info {};
  return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISFIFO(info.st_mode);
}

// The signals process `pid` ignores, as /proc shows them: bit n-1 for signal n.
quint64 IgnoredSignals(qint64 pid) {
  QFile status(QStringLiteral("/proc/%1/status").arg(pid));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("SigIgn:")) return line.mid(7).trimmed().toULongLong(nullptr, 16);
  return 0;
}

}  // namespace

void TestStartUp::ignoresTheFileSizeSignal() {
  // Past the file-size limit a write would end the program, unsaved text and
  // all; ignored, the write fails and the save reports it.
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  // The plugin loader reports while the application object is made, so the
  // first line comes when the start-up before it is done.
  environment.insert(QStringLiteral("QT_DEBUG_PLUGINS"), QStringLiteral("1"));
  program.setProcessEnvironment(environment);
  program.setReadChannel(QProcess::StandardError);
  program.start(QStringLiteral(SKETCHPOST_PROGRAM), QStringList());
  QVERIFY(program.waitForStarted(60000));
  QVERIFY(program.waitForReadyRead(60000));
  const quint64 ignored = IgnoredSignals(program.processId());
  program.kill();
  program.waitForFinished(60000);
  QVERIFY2(ignored & (quint64{1} << (SIGXFSZ - 1)), qPrintable(QString::number(ignored, 16)));
}

void TestStartUp::settingsOutliveATermSignal() {
  // The frame's size, given on the command line, is a change to keep: it is
  // in the file before the run is ended from outside.
  QTemporaryDir config;
  const QString file = config.filePath(QStringLiteral("sketchpost/sketchpost.ini"));
  QProcess program;
  StartProgram(program, config.path(), {QStringLiteral("-qwindowgeometry"), QStringLiteral("640x480+30+40")});
  QVERIFY(program.waitForStarted(60000));
  QTRY_VERIFY_WITH_TIMEOUT(frametest::KeptSettings(file).endsWith(QStringLiteral("frame=640x480")), 30000);
  program.terminate();
  QVERIFY(program.waitForFinished(60000));
  QVERIFY(frametest::KeptSettings(file).endsWith(QStringLiteral("frame=640x480")));
}

void TestStartUp::settingsFifoNeitherBlocksNorIsWritten() {
  // A FIFO in the settings file's place would hold the start in open() for
  // ever, waiting for a writer.
  QTemporaryDir config;
  QVERIFY(QDir(config.path()).mkpath(QStringLiteral("sketchpost")));
  const QString fifo = config.filePath(QStringLiteral("sketchpost/sketchpost.ini"));
  QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
  QProcess program;
  StartProgram(program, config.path(), {QStringLiteral("-qwindowgeometry"), QStringLiteral("640x480+30+40")});
  QVERIFY(program.waitForStarted(60000));
  QByteArray said;
  QTRY_VERIFY_WITH_TIMEOUT((said += program.readAllStandardError()).contains("is not a regular file"), 30000);
  QVERIFY2(said.contains(QFile::encodeName(fifo)), said.constData());
  // The frame's size would be kept half a second after the window shows.
  QTest::qWait(1500);
  QCOMPARE(program.state(), QProcess::Running);
  // Nobody has the FIFO open for reading.
  const int writer = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
  const int error = errno;
  if (writer >= 0) ::close(writer);
  QCOMPARE(writer, -1);
  QCOMPARE(error, ENXIO);
  program.terminate();
  QVERIFY(program.waitForFinished(60000));
  QVERIFY(IsFifo(fifo));
}
