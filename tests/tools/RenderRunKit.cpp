#include "RenderRunKit.h"

#include <pty.h>
#include <unistd.h>
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <QXmlStreamReader>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

#include "format/LineSource.h"
#include "format/TextLines.h"
#include "qttext/PictureFiles.h"
#include "qttext/PictureImage.h"
#include "render/DrawHost.h"

namespace rendertest {

QByteArray Posting(std::initializer_list<const char*> lines, const char* lineBreak) {
  QByteArray text;
  for (const char* line : lines) text.append(line).append(lineBreak);
  return text;
}

RunResult RunRenderer(const QStringList& arguments, const QString& workDir, const RunSetup& setup) {
  QProcess process;
  process.setWorkingDirectory(workDir);
  if (!setup.stdoutFile.isEmpty()) process.setStandardOutputFile(setup.stdoutFile);
  const rlim_t fileSizeLimit = setup.fileSizeLimit;
  const QList<int> closed = setup.closedDescriptors;
  int terminal = -1, terminalSide = -1;
  if (setup.errorsOnTerminal) {
    if (::openpty(&terminal, &terminalSide, nullptr, nullptr, nullptr) != 0) return {};
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TERM"), QStringLiteral("xterm"));
    process.setProcessEnvironment(environment);
  }
  // Runs in the child after its standard descriptors are in place.
  process.setChildProcessModifier([fileSizeLimit, closed, terminalSide] {
    if (terminalSide >= 0) ::dup2(terminalSide, STDERR_FILENO);
    if (fileSizeLimit > 0) {
      ::signal(SIGXFSZ, SIG_DFL);
      const rlimit limit{fileSizeLimit, fileSizeLimit};
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    for (const int fd : closed) ::close(fd);
  });
  RunResult result;
  process.start(QStringLiteral(SKETCHPOST_RENDER_PATH), arguments);
  // The terminal's bytes, read as they come: a full terminal would stop the
  // program. Reading ends once the program's side is closed.
  QByteArray onTerminal;
  std::thread reader;
  if (terminal >= 0) {
    ::close(terminalSide);
    reader = std::thread([terminal, &onTerminal] {
      char bytes[4096];
      for (ssize_t n; (n = ::read(terminal, bytes, sizeof bytes)) > 0;) onTerminal.append(bytes, n);
    });
  }
  const auto endTerminal = [&] {
    if (terminal < 0) return;
    if (reader.joinable()) reader.join();
    ::close(terminal);
    terminal = -1;
  };
  if (!process.waitForStarted(kRunTimeoutMs)) {
    process.kill();
    endTerminal();
    return result;
  }
  if (!setup.fileBeforeInput.isEmpty()) {
    QDeadlineTimer deadline(kHoldTimeoutMs);
    while (!QFileInfo::exists(setup.fileBeforeInput) && !deadline.hasExpired() && process.state() == QProcess::Running)
      QThread::msleep(10);
    result.fileBeforeInputSeen = QFileInfo::exists(setup.fileBeforeInput);
  }
  process.write(setup.input);
  process.closeWriteChannel();
  if (!process.waitForFinished(kRunTimeoutMs)) {
    process.kill();
    process.waitForFinished(kRunTimeoutMs);
  } else {
    result.finished = process.exitStatus() == QProcess::NormalExit;
    result.exitCode = process.exitCode();
  }
  result.out = process.readAllStandardOutput();
  result.err = process.readAllStandardError();
  if (terminal >= 0) {
    endTerminal();
    result.err = onTerminal;
  }
  return result;
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

RunFolder::RunFolder(const FileList& files) : filled_(dir_.isValid()) {
  for (const auto& [name, bytes] : files) filled_ = filled_ && WriteBytes(dir_.filePath(name), bytes);
}

QStringList RunFolder::Entries() const { return Listing(dir_.path()); }

RunResult RunFolder::Run(const QStringList& arguments, const RunSetup& setup) {
  before = Entries();
  if (filled_) return RunRenderer(arguments, dir_.path(), setup);
  RunResult unmade;
  unmade.err = "the folder or its files could not be made";
  return unmade;
}

render_command::ParseResult ParseHere(const QStringList& arguments) {
  std::vector<std::string> bytes;
  for (const QString& argument : arguments) bytes.push_back(argument.toStdString());
  return render_command::ParseArguments(bytes);
}

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList Listing(const QString& root) {
  QStringList entries;
  QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    it.next();
    entries << QStringLiteral("%1 %2").arg(it.filePath().mid(root.size())).arg(it.fileInfo().size());
  }
  entries.sort();
  return entries;
}

QImage DrawHere(const QByteArray& posting) {
  sketch::GoOnHost host;
  return qttext::ImageOf(qttext::DrawPosting(sketch::MemoryLines(posting.toStdString()), host)).copy();
}

QByteArray SvgHere(const QByteArray& posting, int scale) {
  sketch::GoOnHost host;
  return qttext::SvgOf(sketch::MemoryLines(posting.toStdString()), host, scale);
}

QString SvgProblem(const QByteArray& svg) {
  QXmlStreamReader reader(svg);
  if (!reader.readNextStartElement()) return QStringLiteral("no element: ") + reader.errorString();
  if (reader.name() != QStringLiteral("svg") || reader.namespaceUri() != QStringLiteral("http://www.w3.org/2000/svg"))
    return QStringLiteral("root element is ") + reader.qualifiedName().toString();
  while (!reader.atEnd()) reader.readNext();
  return reader.hasError() ? reader.errorString() : QString();
}

QString Difference(const QImage& actual, const QImage& expected, int scale) {
  if (actual.isNull()) return QStringLiteral("no picture");
  if (actual.size() != expected.size() * scale) {
    return QStringLiteral("picture is %1x%2, expected %3x%4")
        .arg(actual.width())
        .arg(actual.height())
        .arg(expected.width() * scale)
        .arg(expected.height() * scale);
  }
  const QImage a = actual.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb want = expected.pixel(x / scale, y / scale);
      if (a.pixel(x, y) != want) {
        return QStringLiteral("pixel (%1,%2) is %3, expected %4")
            .arg(x)
            .arg(y)
            .arg(a.pixel(x, y), 8, 16)
            .arg(want, 8, 16);
      }
    }
  }
  return {};
}

int CountBlack(const QImage& picture) {
  int count = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) count += picture.pixel(x, y) == kBlackPixel ? 1 : 0;
  }
  return count;
}

QImage PngImage(const QByteArray& bytes) {
  QImage picture;
  picture.loadFromData(bytes, "PNG");
  return picture;
}

}  // namespace rendertest
