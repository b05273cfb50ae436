// bench_editor: the editor window on a long posting of 100,000 lines (about
// 5 MB of prose, quotes and sketch lines), shown in the frame as the user
// has it:
//   - a key release: the status bar and the caret line sent to the frame,
//   - one sketch line appended, as the drawing tools do,
//   - loading the posting file (until the text is on screen),
//   - saving it,
//   - Remove quotes from the top over the whole posting quoted once more,
//   - Add URL, and Copy of a sketch of 20 lines.
// Each must stay within its time; the program prints the fastest repetition
// of each against its target and fails when one is above.

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <array>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "FastestRun.h"
#include "ScriptedDialogs.h"
#include "SketchPosting.h"
#include "app/MDIFrame.h"
#include "editor/MDIEdit.h"
#include "editor/PostingText.h"
#include "editor/RecoveryFile.h"
#include "format/Limits.h"

namespace {

constexpr int kLines = 100000;
constexpr std::uint32_t kSeed = 20240719;

// Only Save as is planned, once a measurement, to move the document to the
// save file; any other box would be a modal window in the middle of one.
int UnexpectedDialogs(const testsupport::ScriptedDialogs& dialogs) {
  int unexpected = dialogs.unplanned;
  for (const testsupport::DialogCall& call : dialogs.calls) {
    if (call.kind == QStringLiteral("Save")) continue;
    ++unexpected;
    std::fprintf(stderr, "bench_editor: unexpected dialog: %s\n", qPrintable(call.text));
  }
  return unexpected;
}

// std::mt19937 is the same everywhere; ranges are cut by hand.
class Random {
 public:
  explicit Random(std::uint32_t seed) : engine_(seed) {}
  int Between(int low, int high) {
    return low + static_cast<int>(engine_() % static_cast<std::uint32_t>(high - low + 1));
  }

 private:
  std::mt19937 engine_;
};

constexpr std::array<std::string_view, 24> kWords = {"the",
                                                     "path",
                                                     "up",
                                                     "hill",
                                                     "to",
                                                     "bridge",
                                                     "and",
                                                     "river",
                                                     "we",
                                                     "walked",
                                                     "north",
                                                     "from",
                                                     "inn",
                                                     "ferry",
                                                     "leaves",
                                                     "every",
                                                     "hour",
                                                     "map",
                                                     "shows",
                                                     "lake",
                                                     "shore",
                                                     "caf\xe9",
                                                     "Stra\xdf"
                                                     "e",
                                                     "steep"};

std::string ProseLine(Random& random) {
  std::string line;
  const int width = random.Between(62, 78);
  while (static_cast<int>(line.size()) < width) {
    if (!line.empty()) line += ' ';
    line += kWords[static_cast<std::size_t>(random.Between(0, static_cast<int>(kWords.size()) - 1))];
  }
  return line;
}

// Blocks as in a thread: a few prose lines, quoted text (now and then
// quoted twice), sketches of 4 to 24 lines, with blank lines between.
std::vector<std::string> PostingLines() {
  const sketch_bench::Posting sketches = sketch_bench::GeneratePosting(50000, kSeed);
  std::size_t nextSketch = 0;
  Random random(kSeed);
  std::vector<std::string> lines;
  lines.reserve(kLines);
  while (static_cast<int>(lines.size()) < kLines) {
    const int kind = random.Between(0, 99);
    const int count = kind < 40 ? random.Between(3, 12) : kind < 65 ? random.Between(2, 10) : random.Between(4, 24);
    for (int i = 0; i < count && static_cast<int>(lines.size()) < kLines; ++i) {
      if (kind < 40) {
        lines.push_back(ProseLine(random));
      } else if (kind < 65) {
        lines.push_back((kind < 57 ? "> " : "> > ") + ProseLine(random));
      } else {
        lines.push_back(sketches.lines[nextSketch++ % sketches.lines.size()]);
      }
    }
    if (static_cast<int>(lines.size()) < kLines) lines.emplace_back();
  }
  return lines;
}

// The posting file as a newsreader saves it: CR LF after every line.
QByteArray PostingFile(const std::vector<std::string>& lines) {
  QByteArray bytes;
  for (const std::string& line : lines) {
    bytes.append(line.data(), static_cast<qsizetype>(line.size()));
    bytes.append("\r\n", 2);
  }
  return bytes;
}

// The frame with the editor, the posting loaded, and the files.
struct Setup {
  QTemporaryDir folder;
  QString postingPath;
  QString savePath;
  QByteArray postingBytes;
  std::vector<std::string> sketchLines;
  testsupport::ScriptedDialogs dialogs;  // installed while the setup lives
  TFrameForm frame;
  TEditForm* editor = nullptr;
  std::int64_t forwarded = 0;
  QByteArray lastForwarded;

  Setup() {
    postingPath = folder.filePath(QStringLiteral("thread.skp"));
    savePath = folder.filePath(QStringLiteral("saved.skp"));
    const std::vector<std::string> lines = PostingLines();
    postingBytes = PostingFile(lines);
    for (const std::string& line : lines) {
      if (line.size() > 1 && line[1] == '(') sketchLines.push_back(line);
    }
    QFile file(postingPath);
    if (file.open(QIODevice::WriteOnly)) file.write(postingBytes);
    file.close();

    frame.resize(800, 600);
    frame.show();
    frame.findChild<QAction*>(QStringLiteral("New1"))->trigger();
    editor = frame.EditForm;
    frame.EditForm->parentWidget()->showMaximized();
    QObject::connect(editor, &TEditForm::cursorLineReleased, editor, [this](const QByteArray& line) {
      ++forwarded;
      lastForwarded = line;
    });
    Load();
  }
  ~Setup() { frame.hide(); }
  Setup(const Setup&) = delete;
  Setup& operator=(const Setup&) = delete;

  bool Load() {
    const bool loaded = editor->LoadFile(postingPath);
    QCoreApplication::processEvents();
    return loaded;
  }
  QTextDocument* Document() const { return editor->Editor->document(); }
};

Setup* setup = nullptr;

// The caret to `line`, a few characters in.
void PutCaret(int line, int column) {
  const QTextBlock block = setup->Document()->findBlockByNumber(line);
  QTextCursor cursor(block);
  cursor.setPosition(block.position() + std::min(column, block.length() - 1));
  setup->editor->Editor->setTextCursor(cursor);
}

void ReleaseKey() {
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
  QCoreApplication::sendEvent(setup->editor->Editor, &release);
}

void BM_KeyRelease(benchmark::State& state) {
  const int middle = setup->Document()->blockCount() / 2;
  const std::int64_t forwardedBefore = setup->forwarded;
  int step = 0;
  for (auto _ : state) {
    state.PauseTiming();
    PutCaret(middle - 500 + (step * 37) % 1000, step % 23);
    QCoreApplication::processEvents();  // what the last release left to paint
    ++step;
    state.ResumeTiming();
    ReleaseKey();
  }
  if (setup->forwarded - forwardedBefore != state.iterations()) state.SkipWithError("a release sent no caret line");
}
// A fixed count: the caret moves and repaints between the releases take far
// longer than the releases.
BENCHMARK(BM_KeyRelease)->Unit(benchmark::kMicrosecond)->Iterations(3000)->Repetitions(3);

// Back to the text as loaded.
void CutBackTo(int characters) {
  QTextCursor cursor(setup->Document());
  cursor.setPosition(characters - 1);
  cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
  cursor.removeSelectedText();
  setup->Document()->clearUndoRedoStacks();
  setup->Document()->setModified(false);
}

void BM_AppendLine(benchmark::State& state) {
  const int loaded = setup->Document()->characterCount();
  const int lines = setup->Document()->blockCount();
  std::size_t next = 0;
  int appended = 0;
  for (auto _ : state) {
    setup->editor->AppendLine(QString::fromLatin1(setup->sketchLines[next++ % setup->sketchLines.size()]));
    if (++appended == 2000) {  // the document grows by 2,000 lines at most
      state.PauseTiming();
      CutBackTo(loaded);
      QCoreApplication::processEvents();
      appended = 0;
      state.ResumeTiming();
    }
  }
  const int grown = setup->Document()->blockCount() - lines;
  CutBackTo(loaded);
  if (grown != appended) state.SkipWithError("AppendLine did not add one line each");
}
BENCHMARK(BM_AppendLine)->Unit(benchmark::kMicrosecond)->Repetitions(3);

// The editor's menu item `name`, to be chosen as a click on it chooses it.
QAction* Item(const char* name) { return setup->editor->findChild<QAction*>(QLatin1String(name)); }

void BM_LoadFile(benchmark::State& state) {
  for (auto _ : state) {
    if (!setup->Load()) state.SkipWithError("the posting did not load");
  }
}
BENCHMARK(BM_LoadFile)->Unit(benchmark::kMillisecond)->MinTime(1)->Repetitions(3);

void BM_Save(benchmark::State& state) {
  setup->dialogs.fileNames = {setup->savePath};
  Item("Saveas1")->trigger();
  if (setup->editor->IsModified()) state.SkipWithError("Save as failed");
  QAction* save = Item("Save1");
  for (auto _ : state) save->trigger();
  if (!setup->dialogs.Texts(QStringLiteral("Error")).isEmpty()) state.SkipWithError("Save failed");
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->MinTime(1)->Repetitions(3);

// The posting as a reply quotes it: every line behind "> ".
QString QuotedPosting() {
  QString text = editor::DecodePosting(setup->postingBytes);
  text.replace(QStringLiteral("\n"), QStringLiteral("\n> "));
  return QStringLiteral("> ") + text;
}

void BM_RemoveQuotes(benchmark::State& state) {
  // A sketch line of the posting: behind "> " it must come back as it was.
  int sketchLine = 0;
  while (setup->Document()->findBlockByNumber(sketchLine).text().mid(1, 1) != QStringLiteral("(")) ++sketchLine;
  const QString sketch = setup->Document()->findBlockByNumber(sketchLine).text();
  const QString quoted = QuotedPosting();
  int changes = 0;
  const auto connection =
      QObject::connect(setup->Document(), &QTextDocument::contentsChanged, setup->editor, [&] { ++changes; });
  for (auto _ : state) {
    state.PauseTiming();
    setup->editor->Editor->setPlainText(quoted);
    setup->editor->Editor->moveCursor(QTextCursor::Start);
    QCoreApplication::processEvents();
    changes = 0;
    state.ResumeTiming();
    Item("Removequotes1")->trigger();
    state.PauseTiming();
    const bool unquoted = setup->Document()->findBlockByNumber(sketchLine).text() == sketch;
    setup->Document()->undo();  // one step takes it all back
    const bool oneStep = changes == 2 && setup->Document()->findBlockByNumber(sketchLine).text() == "> " + sketch &&
                         !setup->Document()->isUndoAvailable();
    if (!oneStep || !unquoted) {
      state.SkipWithError("Remove quotes was not one change of one undo step");
      break;
    }
    state.ResumeTiming();
  }
  QObject::disconnect(connection);
  setup->Load();
}
BENCHMARK(BM_RemoveQuotes)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3);

void BM_AddURL(benchmark::State& state) {
  const int loaded = setup->Document()->characterCount();
  int added = 0;
  QAction* addUrl = Item("AddURL1");
  for (auto _ : state) {
    addUrl->trigger();
    if (++added == 200) {
      state.PauseTiming();
      CutBackTo(loaded);
      added = 0;
      state.ResumeTiming();
    }
  }
  CutBackTo(loaded);
}
BENCHMARK(BM_AddURL)->Unit(benchmark::kMicrosecond)->Repetitions(3);

void BM_CopySketch(benchmark::State& state) {
  // 20 lines in the middle, as an author copies one sketch; no question.
  const QTextBlock first = setup->Document()->findBlockByNumber(kLines / 2);
  const QTextBlock last = setup->Document()->findBlockByNumber(kLines / 2 + 20);
  QTextCursor cursor(first);
  cursor.setPosition(last.position(), QTextCursor::KeepAnchor);
  setup->editor->Editor->setTextCursor(cursor);
  QAction* copy = Item("Copy1");
  for (auto _ : state) copy->trigger();
}
BENCHMARK(BM_CopySketch)->Unit(benchmark::kMicrosecond)->Repetitions(3);

// --- 64 MiB: a recovery at the start, and the same text opened as a file ------

// The posting over and over, just under the editor's capacity.
QByteArray LargestText() {
  QByteArray text;
  while (text.size() + setup->postingBytes.size() <= static_cast<qsizetype>(sketch::kDocumentCapacity)) {
    text += setup->postingBytes;
  }
  return text;
}

// A past run's recovery file of the largest text is found, read, checked
// and put into the text window, until the window has painted it. The scan's
// own share (reading and checking) is counted apart.
void BM_RecoverLargest(benchmark::State& state) {
  const QString folder = editor::RecoveryFolder();
  const QString kept = folder + QStringLiteral("/2147483646-1.recovery");  // of a program long gone
  const QString adopted = folder + QStringLiteral("/%1-").arg(::getpid());
  if (!editor::WriteRecoveryFile(kept, {setup->postingPath, QDateTime::currentDateTimeUtc(), 2147483646, LargestText()})
           .isEmpty()) {
    state.SkipWithError("the recovery file could not be written");
    return;
  }
  double scanning = 0;
  for (auto _ : state) {
    QElapsedTimer clock;
    clock.start();
    const editor::RecoveryScan scan = editor::FindRecoveries(folder, static_cast<qint64>(sketch::kDocumentCapacity));
    scanning += static_cast<double>(clock.nsecsElapsed()) * 1e-9;
    if (scan.found.size() != 1) {
      state.SkipWithError("the recovery file was not found");
      break;
    }
    setup->editor->Recover(scan.found[0].recovery, scan.found[0].fileName);
    QCoreApplication::processEvents();
    state.PauseTiming();  // the window took the file as its own: back for the next start
    for (const QString& name : QDir(folder).entryList({QStringLiteral("*.recovery")})) {
      if ((folder + '/' + name).startsWith(adopted)) QFile::rename(folder + '/' + name, kept);
    }
    state.ResumeTiming();
  }
  state.counters["scan_ms"] =
      benchmark::Counter(scanning * 1e3 / static_cast<double>(state.iterations()), benchmark::Counter::kDefaults);
  QFile::remove(kept);
  setup->Load();
}
BENCHMARK(BM_RecoverLargest)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

// The same text opened as a posting file: what the text window itself costs.
void BM_LoadLargest(benchmark::State& state) {
  const QString path = setup->folder.filePath(QStringLiteral("largest.skp"));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(LargestText()) < 0) state.SkipWithError("not written");
  file.close();
  for (auto _ : state) {
    if (!setup->editor->LoadFile(path)) state.SkipWithError("the largest posting did not load");
    QCoreApplication::processEvents();
  }
  QFile::remove(path);
  setup->Load();
}
BENCHMARK(BM_LoadLargest)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

// The measurements only mean something on the posting as meant.
bool PostingAsMeant() {
  const QTextDocument& document = *setup->Document();
  if (editor::LineCount(document) != kLines) {
    std::fprintf(stderr, "bench_editor: %d lines loaded, not %d\n", editor::LineCount(document), kLines);
    return false;
  }
  if (editor::EncodePosting(document) != setup->postingBytes) {
    std::fprintf(stderr, "bench_editor: the loaded text is not the posting\n");
    return false;
  }
  const int line = kLines / 2;
  PutCaret(line, 3);
  ReleaseKey();
  const QByteArray expected =
      setup->postingBytes.split('\n').at(line).chopped(1).left(static_cast<qsizetype>(sketch::kCountedMax));
  if (setup->forwarded != 1 || setup->lastForwarded != expected) {
    std::fprintf(stderr, "bench_editor: a key release did not send the caret's line\n");
    return false;
  }
  std::printf("posting of %d lines, %lld bytes (%zu sketch lines)\n", kLines,
              static_cast<long long>(setup->postingBytes.size()), setup->sketchLines.size());
  return true;
}

struct Target {
  const char* benchmark;
  const char* what;
  double seconds;
};

constexpr std::array<Target, 9> kTargets = {{
    {"BM_KeyRelease", "key release (status bar + caret line)", 0.001},
    {"BM_AppendLine", "AppendLine of one sketch line", 0.001},
    {"BM_LoadFile", "LoadFile of the posting", 0.5},
    {"BM_Save", "Save1Click of the posting", 0.3},
    {"BM_RemoveQuotes", "Remove quotes over the quoted posting", 0.2},
    {"BM_AddURL", "Add URL", 0.005},
    {"BM_CopySketch", "Copy of a sketch of 20 lines", 0.005},
    {"BM_RecoverLargest", "recovery of a 64 MiB text at the start", 1.0},
    {"BM_LoadLargest", "LoadFile of the same 64 MiB text", 0},
}};

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Recovery copies of the changed posting go to a folder of the run's own.
  const QTemporaryDir state;
  qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  auto owned = std::make_unique<Setup>();
  setup = owned.get();
  if (!PostingAsMeant()) return 1;

  sketch_bench::FastestRunReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  bool met = UnexpectedDialogs(setup->dialogs) == 0;
  for (const Target& target : kTargets) {
    const auto found = reporter.fastest.find(target.benchmark);
    if (found == reporter.fastest.end()) continue;  // filtered out
    if (target.seconds == 0) {
      std::printf("%-40s %10.3f ms\n", target.what, found->second * 1e3);
      continue;
    }
    const bool within = found->second <= target.seconds;
    met = met && within;
    std::printf("%-40s %10.3f ms (target at most %g ms): %s\n", target.what, found->second * 1e3, target.seconds * 1e3,
                within ? "met" : "NOT MET");
  }
  setup = nullptr;
  owned.reset();
  return met ? 0 : 1;
}
