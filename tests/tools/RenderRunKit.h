#pragma once
// What the renderer's tests share: postings, the built program run as a
// child process, folder listings, and pictures drawn in this process to
// compare its pictures with.

#include <sys/resource.h>
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <initializer_list>
#include <utility>

#include "RenderArguments.h"

namespace rendertest {

inline constexpr int kRunTimeoutMs = 120000;
inline constexpr QRgb kBlackPixel = 0xff000000;
inline constexpr QRgb kWhitePixel = 0xffffffff;

// The lines of a posting, each followed by `lineBreak`.
QByteArray Posting(std::initializer_list<const char*> lines, const char* lineBreak = "\r\n");

// How the child is started.
struct RunSetup {
  QByteArray input;    // written to its standard input
  QString stdoutFile;  // standard output goes to this file instead of a pipe
  // Bytes; 0 for none. Writes beyond it fail, as on a full disk; the child
  // starts with SIGXFSZ at its default, as a shell starts it.
  rlim_t fileSizeLimit = 0;
  QList<int> closedDescriptors;  // closed just before the program starts
  // When set, standard input stays open and empty until this file exists
  // (or kHoldTimeoutMs pass): the run has to get there without its input.
  QString fileBeforeInput;
  // Standard error goes to a terminal (a pseudo-terminal, TERM=xterm) whose
  // bytes come back as `err`.
  bool errorsOnTerminal = false;
};

inline constexpr int kHoldTimeoutMs = 30000;

struct RunResult {
  bool finished = false;  // ran to its own end within the time allowed
  int exitCode = -1;
  bool fileBeforeInputSeen = false;  // it appeared while standard input was held
  QByteArray out;
  QByteArray err;
};

// Runs the built sketchpost-render in `workDir`.
RunResult RunRenderer(const QStringList& arguments, const QString& workDir, const RunSetup& setup = {});

bool WriteBytes(const QString& path, const QByteArray& bytes);

using FileList = QList<std::pair<QString, QByteArray>>;

// A fresh temporary folder with the files a test names (each its name in the
// folder and its bytes), in which the program runs.
class RunFolder {
 public:
  explicit RunFolder(const FileList& files = {});
  QString Path(const QString& name = {}) const { return name.isEmpty() ? dir_.path() : dir_.filePath(name); }
  QStringList Entries() const;  // Listing() of the folder
  // Runs the program in the folder, its entries noted in `before` just then;
  // when the folder or a file could not be made, an unfinished run that says so.
  RunResult Run(const QStringList& arguments, const RunSetup& setup = {});
  QStringList before;

 private:
  QTemporaryDir dir_;
  bool filled_ = false;
};

// The arguments parsed in this process.
render_command::ParseResult ParseHere(const QStringList& arguments);

QByteArray ReadBytes(const QString& path);

// Every entry under `root` with its size, to show that nothing was added.
QStringList Listing(const QString& root);

// The picture of `posting` drawn in this process, as the window would.
QImage DrawHere(const QByteArray& posting);

// The SVG document of `posting` written in this process, as the renderer
// writes it (`scale` times as large).
QByteArray SvgHere(const QByteArray& posting, int scale = 1);

// Empty when `svg` is well-formed XML with an <svg> root in the SVG
// namespace; else what is wrong.
QString SvgProblem(const QByteArray& svg);

// Empty when `actual` is `expected` enlarged `scale` times pixel for pixel;
// else where they first differ.
QString Difference(const QImage& actual, const QImage& expected, int scale = 1);

int CountBlack(const QImage& picture);
QImage PngImage(const QByteArray& bytes);

}  // namespace rendertest

// The run ended by itself with `status` (`result` is evaluated once).
#define RUN_ENDS(result, status)                                                                                       \
  do {                                                                                                                 \
    const rendertest::RunResult& endedRun = (result);                                                                  \
    QVERIFY2(endedRun.finished, endedRun.err.constData());                                                             \
    QVERIFY2(endedRun.exitCode == (status),                                                                            \
             qPrintable(QStringLiteral("status %1: ").arg(endedRun.exitCode) + QString::fromLocal8Bit(endedRun.err))); \
  } while (0)
#define RUN_OK(result) RUN_ENDS(result, 0)

// `actual` is `expected` pixel for pixel (see Difference).
#define SAME_PICTURE(actual, expected, ...)                                                                \
  do {                                                                                                     \
    const QString pictureDifference = rendertest::Difference(actual, expected __VA_OPT__(, ) __VA_ARGS__); \
    QVERIFY2(pictureDifference.isEmpty(), qPrintable(pictureDifference));                                  \
  } while (0)
