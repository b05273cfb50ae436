// The program as it starts: the built sketchpost, run as a child process.

#include <QFile>
#include <QProcess>
#include <QTest>
#include <csignal>

#include "test_classes.h"

namespace {

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
