// TestRenderSurroundings: the built renderer started with endless input,
// closed standard descriptors and names at the file system's limit.

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <string>
#include <vector>

#include "RenderRunKit.h"
#include "format/Limits.h"
#include "test_classes.h"

extern char** environ;

using namespace rendertest;

namespace {

constexpr qint64 kCapacity = static_cast<qint64>(sketch::kDocumentCapacity);
const QByteArray kTooLarge = "larger than the 64 MiB a posting may hold\n";

// Where the posting of a bounded-read run comes from.
enum class Source { StdinFile, StdinPipe };

// Starts the renderer in `workDir` with `stdinFd` as its standard input (or
// /dev/null for -1), standard output thrown away and standard error into
// `errFile`; SIGPIPE at its default whatever this process does with it. -1
// when it cannot start.
pid_t StartRenderer(const QStringList& arguments, const QString& workDir, int stdinFd, const QString& errFile) {
  std::vector<std::string> words{SKETCHPOST_RENDER_PATH};
  for (const QString& argument : arguments) words.push_back(QFile::encodeName(argument).toStdString());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  const std::string errPath = QFile::encodeName(errFile).toStdString();
  const std::string folder = QFile::encodeName(workDir).toStdString();

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  if (stdinFd >= 0) {
    posix_spawn_file_actions_adddup2(&actions, stdinFd, 0);
  } else {
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  }
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  pid_t pid = -1;
  const int failed = posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  return failed ? -1 : pid;
}

// Its exit status; -1 when a signal ended it.
int WaitForExit(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

constexpr int kPipeSize = 4096;

// Writes zeros into `fd` until the reader goes away or `most` bytes went in;
// the bytes the pipe took. The pipe holds kPipeSize bytes, so the reader read
// all of them but at most that many.
qint64 FeedPipe(int fd, qint64 most) {
  ::fcntl(fd, F_SETPIPE_SZ, kPipeSize);
  const std::vector<char> zeros(1 << 16, '\0');
  qint64 taken = 0;
  while (taken < most) {
    const ssize_t written = ::write(fd, zeros.data(), zeros.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) break;  // EPIPE: the reader is gone
    taken += written;
  }
  return taken;
}

// Keeps SIGPIPE ignored in this process while it lives, so that feeding a
// pipe whose reader is gone fails with EPIPE instead of ending the tests.
struct IgnoreSigpipe {
  struct sigaction before {};
  IgnoreSigpipe() {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGPIPE, &ignore, &before);
  }
  ~IgnoreSigpipe() { ::sigaction(SIGPIPE, &before, nullptr); }
};

}  // namespace

Q_DECLARE_METATYPE(Source)

void TestRenderSurroundings::readsNoMoreThanCapacityPlusOne_data() {
  QTest::addColumn<Source>("source");
  QTest::newRow("standard input, a file") << Source::StdinFile;
  QTest::newRow("standard input, a pipe") << Source::StdinPipe;
}

// A posting larger than the capacity is known after the capacity and one
// byte more: reading further would only cost time and memory. A file given
// as standard input shares its read position with this process, which shows
// exactly how far the renderer read; a pipe holds one page the renderer
// never read at most.
void TestRenderSurroundings::readsNoMoreThanCapacityPlusOne() {
  QFETCH(Source, source);
  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  const QString errFile = dir.filePath("err.txt");
  const QStringList arguments = {"-o", "out.png"};
  const IgnoreSigpipe ignoreSigpipe;
  qint64 read = 0;  // by the renderer, at least; exactly for a file
  qint64 unread = 0;
  int exitCode = -1;
  if (source == Source::StdinFile) {
    QFile posting(dir.filePath("big.skp"));  // sparse: takes no room
    QVERIFY(posting.open(QIODevice::WriteOnly));
    QVERIFY(posting.resize(kCapacity + (1 << 20)));
    posting.close();
    const int fd = ::open(QFile::encodeName(posting.fileName()).constData(), O_RDONLY | O_CLOEXEC);
    QVERIFY(fd >= 0);
    const pid_t pid = StartRenderer(arguments, dir.path(), fd, errFile);
    QVERIFY(pid > 0);
    exitCode = WaitForExit(pid);
    read = ::lseek(fd, 0, SEEK_CUR);
    ::close(fd);
  } else {
    int ends[2];
    QCOMPARE(::pipe2(ends, O_CLOEXEC), 0);
    const pid_t pid = StartRenderer(arguments, dir.path(), ends[0], errFile);
    ::close(ends[0]);
    QVERIFY(pid > 0);
    read = FeedPipe(ends[1], 2 * kCapacity);
    unread = kPipeSize;
    ::close(ends[1]);
    exitCode = WaitForExit(pid);
  }
  QCOMPARE(exitCode, 1);
  QCOMPARE(ReadBytes(errFile), "sketchpost-render: <stdin>: " + kTooLarge);
  QVERIFY2(read > kCapacity, qPrintable(QString::number(read)));
  QVERIFY2(read <= kCapacity + 1 + unread,
           qPrintable(QStringLiteral("%1 bytes past the capacity").arg(read - kCapacity)));
  if (source == Source::StdinFile) QCOMPARE(read, kCapacity + 1);
  QVERIFY(!QFile::exists(dir.filePath("out.png")));
}

// A device that never ends, as standard input, is read up to the capacity
// and reported.
void TestRenderSurroundings::endlessInputIsTooLarge() {
  QTemporaryDir dir;
  QTemporaryDir elsewhere;
  QVERIFY(dir.isValid() && elsewhere.isValid());
  const int zero = ::open("/dev/zero", O_RDONLY | O_CLOEXEC);
  QVERIFY(zero >= 0);
  const pid_t pid = StartRenderer({"-o", "out.png"}, dir.path(), zero, elsewhere.filePath("err.txt"));
  ::close(zero);
  QVERIFY(pid > 0);
  QCOMPARE(WaitForExit(pid), 1);
  QCOMPARE(ReadBytes(elsewhere.filePath("err.txt")), "sketchpost-render: <stdin>: " + kTooLarge);
  QVERIFY(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
}

void TestRenderSurroundings::refusesWhatIsNotAFile_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<QByteArray>("report");
  QTest::addColumn<QStringList>("drawn");
  using L = QStringList;
  const QByteArray notAFile = ": not a regular file\n";
  QTest::newRow("INPUT a named pipe between postings, two at once")
      << L{"-j", "2", "a.skp", "pipe.skp", "b.skp"} << "sketchpost-render: pipe.skp" + notAFile << L{"a.png", "b.png"};
  QTest::newRow("INPUT a link to a named pipe")
      << L{"to-pipe.skp"} << "sketchpost-render: to-pipe.skp" + notAFile << L{};
  QTest::newRow("INPUT /dev/zero") << L{"-o", "out.png", "/dev/zero"} << "sketchpost-render: /dev/zero" + notAFile
                                   << L{};
  QTest::newRow("OUT a named pipe nobody reads")
      << L{"-o", "c.png", "a.skp"} << "sketchpost-render: c.png" + notAFile << L{};
  QTest::newRow("OUT a link to a named pipe")
      << L{"-o", "link.png", "a.skp"} << "sketchpost-render: link.png" + notAFile << L{};
  QTest::newRow("OUT a device") << L{"-o", "/dev/null", "a.skp"} << "sketchpost-render: /dev/null" + notAFile << L{};
  QTest::newRow("OUT /dev/stdout, a pipe here")
      << L{"-o", "/dev/stdout", "a.skp"} << "sketchpost-render: /dev/stdout" + notAFile << L{};
  QTest::newRow("a named pipe of a posting's picture's name")
      << L{"a.skp", "c.skp"} << "sketchpost-render: c.png" + notAFile << L{"a.png"};
}

// A pipe or device is neither read as a posting nor written as a picture:
// opening a named pipe waits for the other end, for ever when nobody comes.
// The others of the run are drawn all the same; no pipe is replaced.
void TestRenderSurroundings::refusesWhatIsNotAFile() {
  QFETCH(QStringList, arguments);
  QFETCH(QStringList, drawn);
  const QByteArray posting = Posting({"E(2;F;100;50;220;150)"});
  RunFolder folder({{"a.skp", posting}, {"b.skp", posting}, {"c.skp", posting}});
  for (const char* name : {"pipe.skp", "c.png"})
    QCOMPARE(::mkfifo(QFile::encodeName(folder.Path(name)).constData(), 0600), 0);
  QVERIFY(QFile::link("pipe.skp", folder.Path("to-pipe.skp")));
  QVERIFY(QFile::link("c.png", folder.Path("link.png")));
  const RunResult run = folder.Run(arguments);
  RUN_ENDS(run, 1);
  QTEST(run.err, "report");
  QStringList after = folder.Entries();
  for (const QString& name : drawn) {
    const QString difference = Difference(QImage(folder.Path(name)), DrawHere(posting));
    QVERIFY2(difference.isEmpty(), qPrintable(name + ": " + difference));
    after.removeIf([&](const QString& entry) { return entry.startsWith("/" + name + " "); });
  }
  QCOMPARE(after, folder.before);
  for (const char* name : {"pipe.skp", "c.png"}) {
    struct stat status;
    QCOMPARE(::lstat(QFile::encodeName(folder.Path(name)).constData(), &status), 0);
    QVERIFY(S_ISFIFO(status.st_mode));
  }
}

void TestRenderSurroundings::closedStandardDescriptors_data() {
  QTest::addColumn<QList<int>>("closed");
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<int>("exitCode");
  QTest::addColumn<QByteArray>("report");
  QTest::addColumn<bool>("picture");  // out.png drawn
  using L = QStringList;
  const QByteArray note = "in.skp:1:19: Polyline is probably incomplete\n";
  QTest::newRow("input closed, posting from it")
      << QList<int>{0} << L{"-o", "out.png"} << 1
      << QByteArray("sketchpost-render: <stdin>: standard input is closed\n") << false;
  QTest::newRow("input closed, posting from a file")
      << QList<int>{0} << L{"-o", "out.png", "in.skp"} << 0 << note << true;
  QTest::newRow("output closed, picture to it")
      << QList<int>{1} << L{"-o", "-", "in.skp"} << 1
      << QByteArray("sketchpost-render: <stdout>: standard output is closed\n") << false;
  QTest::newRow("output closed, picture to a file")
      << QList<int>{1} << L{"-o", "out.png", "in.skp"} << 0 << note << true;
  QTest::newRow("output closed, --version")
      << QList<int>{1} << L{"--version"} << 1 << QByteArray("sketchpost-render: <stdout>: standard output is closed\n")
      << false;
  QTest::newRow("error closed: nobody to tell, nothing done")
      << QList<int>{2} << L{"-o", "out.png", "in.skp"} << 1 << QByteArray() << false;
  QTest::newRow("all three closed") << QList<int>{0, 1, 2} << L{"-o", "out.png", "in.skp"} << 1 << QByteArray()
                                    << false;
}

// A closed standard descriptor would be the next file opened: the program's
// own event handle or the posting. The renderer reads a posting from a closed
// input or writes a picture to a closed output never, and says so; without
// standard error it cannot say anything, so it does nothing.
void TestRenderSurroundings::closedStandardDescriptors() {
  QFETCH(QList<int>, closed);
  QFETCH(QStringList, arguments);
  QFETCH(bool, picture);
  const QByteArray posting = Posting({"L(2;10;30;50;30;60", "E(1;F;200;50;300;150)"});
  RunFolder folder({{"in.skp", posting}});
  RunSetup setup;
  setup.closedDescriptors = closed;
  const RunResult run = folder.Run(arguments, setup);
  QVERIFY2(run.finished, "ended by a signal or did not end");
  QTEST(run.exitCode, "exitCode");
  QTEST(run.err, "report");
  QVERIFY(run.out.isEmpty());
  if (picture) {
    SAME_PICTURE(QImage(folder.Path("out.png")), DrawHere(posting));
  } else {
    QCOMPARE(folder.Entries(), folder.before);
  }
}

void TestRenderSurroundings::longOutputNames_data() {
  QTest::addColumn<int>("length");        // of the picture's name, in bytes
  QTest::addColumn<bool>("existing");     // an old picture of that name is replaced
  QTest::addColumn<bool>("defaultName");  // the name comes from INPUT's
  QTest::newRow("246 bytes") << 246 << false << false;
  QTest::newRow("250 bytes") << 250 << false << false;
  QTest::newRow("255 bytes") << 255 << false << false;
  QTest::newRow("255 bytes, replacing an old picture") << 255 << true << false;
  QTest::newRow("255 bytes, named after INPUT") << 255 << false << true;
}

// A picture may have any name the file system takes, however long: the file
// written aside before it is renamed needs a name of its own that fits.
void TestRenderSurroundings::longOutputNames() {
  QFETCH(int, length);
  QFETCH(bool, existing);
  QFETCH(bool, defaultName);
  const QString stem(length - 4, QLatin1Char('p'));
  const QString output = stem + ".png";
  const QString input = defaultName ? stem + ".skp" : QStringLiteral("in.skp");
  const QByteArray posting = Posting({"R(1;F;10;10;50;50)", "L(3;0;199;319;0)"});
  RunFolder folder({{input, posting}});
  if (existing) QVERIFY(WriteBytes(folder.Path(output), "old picture"));
  const RunResult run = folder.Run(defaultName ? QStringList{input} : QStringList{"-o", output, input});
  RUN_OK(run);
  QVERIFY(run.err.isEmpty());
  SAME_PICTURE(QImage(folder.Path(output)), DrawHere(posting));
  QStringList expected{input, output};
  expected.sort();
  QCOMPARE(QDir(folder.Path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
           expected);
}
