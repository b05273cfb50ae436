// Sketchpost on a real X server, as a user meets it: the built program is
// started with a file, a rectangle is drawn with real mouse events (xdotool),
// F2 saves, and the file's bytes are checked. A file dropped on the frame is
// opened through the program's own drop handler, since xdotool cannot speak
// the drag-and-drop protocol. The windows are checked in this process too,
// on screens scaled by a fraction or by 2 (separate runs set the factor):
// where a press lands, and what the frame shows when it opens. Every wait is
// for something to be seen (a window, a picture, a file) and gives up with a
// message after a bound.

#include <sys/stat.h>

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QProcess>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <functional>

#include "ScriptedDialogs.h"
#include "app/Application.h"
#include "app/MDIFrame.h"
#include "drawing/GraphWin.h"
#include "drawing/PictureView.h"
#include "editor/MDIEdit.h"
#include "editor/PostingText.h"
#include "editor/RecoveryFile.h"

namespace {

constexpr int kPatienceMs = 30000;  // for anything the program has to do

// Polls `ready` until it holds or the bound passes.
bool WaitFor(const std::function<bool()>& ready, int ms = kPatienceMs) {
  const QDeadlineTimer deadline(ms);
  while (!ready()) {
    if (deadline.hasExpired()) return false;
    QTest::qWait(50);
  }
  return true;
}

// xdotool with `arguments`; its standard output, trimmed, or "" on failure.
QString Xdotool(const QStringList& arguments) {
  QProcess xdotool;
  xdotool.start(QStringLiteral("xdotool"), arguments);
  if (!xdotool.waitForFinished(kPatienceMs) || xdotool.exitCode() != 0) return {};
  return QString::fromLocal8Bit(xdotool.readAllStandardOutput()).trimmed();
}

bool Xdo(const QStringList& arguments) {
  QProcess xdotool;
  xdotool.start(QStringLiteral("xdotool"), arguments);
  return xdotool.waitForFinished(kPatienceMs) && xdotool.exitCode() == 0;
}

QByteArray Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  QCOMPARE(file.write(bytes), bytes.size());
}

bool IsBlack(QRgb pixel) { return (pixel & 0xffffff) == 0; }
bool IsWhite(QRgb pixel) { return (pixel & 0xffffff) == 0xffffff; }

// Where the picture of L(1;10;20;110;20) stands on the screen: its one black
// line is a run of exactly 100 black pixels between white ones, 20 rows
// below the picture's top edge and 10 pixels right of its left edge.
std::optional<QPoint> FindPicture() {
  const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
  for (int y = 1; y + 1 < screen.height(); ++y) {
    int run = 0;
    for (int x = 0; x < screen.width(); ++x) {
      const QRgb pixel = screen.pixel(x, y);
      if (IsBlack(pixel) && IsWhite(screen.pixel(x, y - 1)) && IsWhite(screen.pixel(x, y + 1))) {
        ++run;
        continue;
      }
      if (run == 100 && IsWhite(pixel) && x >= 111 && IsWhite(screen.pixel(x - 101, y))) return QPoint(x - 110, y - 20);
      run = 0;
    }
  }
  return std::nullopt;
}

// The device pixels of a window at `scale` that show logical pixel
// `logical`: from the first to the last whose left (or top) edge lies in it.
int FirstDevicePixel(int logical, qreal scale) { return static_cast<int>(std::ceil(logical * scale)); }
int LastDevicePixel(int logical, qreal scale) { return static_cast<int>(std::ceil((logical + 1) * scale)) - 1; }

// `widget` and every widget around it up to `room` hold all of it: nothing
// of it is cut off or scrolled away.
bool WhollyShown(const QWidget* widget, const QWidget* room) {
  if (!widget->isVisible()) return false;
  const QRect shown(widget->mapTo(room, QPoint(0, 0)), widget->size());
  for (const QWidget* around = widget->parentWidget(); around != nullptr; around = around->parentWidget()) {
    if (!QRect(around->mapTo(room, QPoint(0, 0)), around->size()).contains(shown)) return false;
    if (around == room) return true;
  }
  return false;
}

// The program's windows named "Sketchpost" on the screen, largest first:
// the frame, then any box over it.
QStringList SketchpostWindows(const QProcess& program) {
  QStringList windows =
      Xdotool({"search", "--onlyvisible", "--pid", QString::number(program.processId()), "--name", "^Sketchpost$"})
          .split(QChar('\n'), Qt::SkipEmptyParts);
  const auto area = [](const QString& window) {
    const QString size = Xdotool({"getwindowgeometry", window}).section(QStringLiteral("Geometry: "), 1).trimmed();
    return qint64{size.section('x', 0, 0).toInt()} * size.section('x', 1, 1).toInt();
  };
  std::stable_sort(windows.begin(), windows.end(),
                   [&](const QString& a, const QString& b) { return area(a) > area(b); });
  return windows;
}

// A box over the frame; "" while there is none.
QString BoxWindow(const QProcess& program) {
  const QStringList windows = SketchpostWindows(program);
  return windows.size() > 1 ? windows.last() : QString();
}

// The built program with `arguments`, its settings and recovery files kept
// under `home`, once its frame is mapped; the frame's window id in `window`.
bool StartProgram(QProcess& program, const QString& home, const QStringList& arguments, QString& window) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
  environment.insert(QStringLiteral("XDG_STATE_HOME"), home + QStringLiteral("/state"));
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  program.setProcessEnvironment(environment);
  program.setProcessChannelMode(QProcess::ForwardedChannels);
  program.start(QStringLiteral(SKETCHPOST_PROGRAM), arguments);
  if (!program.waitForStarted(kPatienceMs)) return false;
  // A window has its name from the moment it is made, so a search by name
  // alone can find it unmapped, and an unmapped window takes no focus.
  return WaitFor([&] {
    window = SketchpostWindows(program).value(0);
    return !window.isEmpty();
  });
}

// The recovery files in `folder`.
QStringList Recoveries(const QString& folder) {
  return QDir(folder).entryList({QStringLiteral("*.recovery")}, QDir::Files | QDir::System);
}

}  // namespace

class TestOnXServer : public QObject {
  Q_OBJECT

 private slots:
  void startsDrawsAndSaves();
  void dropOpensAFile();
  void pressTakesThePixelUnderThePointer();
  void frameOpensWithRoomForTheDrawingWindow();
  void editsPickedShapesWithRealEvents();
  void unsavedTextOutlivesTheProgram_data();
  void unsavedTextOutlivesTheProgram();
  void fileNamedAtTheStartWaitsForTheOffer();
};

void TestOnXServer::startsDrawsAndSaves() {
  QTemporaryDir folder;
  const QString posting = folder.filePath(QStringLiteral("house.skp"));
  Write(posting, "L(1;10;20;110;20)\r\n");
  // The settings of an earlier run: the rectangle tool.
  const QString config = folder.filePath(QStringLiteral("config"));
  QVERIFY(QDir().mkpath(config + QStringLiteral("/sketchpost")));
  Write(config + QStringLiteral("/sketchpost/sketchpost.ini"), "[Drawing]\ntool=1\n");

  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  program.setProcessEnvironment(environment);
  program.setProcessChannelMode(QProcess::ForwardedChannels);
  program.start(QStringLiteral(SKETCHPOST_PROGRAM), {posting});
  QVERIFY2(program.waitForStarted(kPatienceMs), "sketchpost did not start");
  const QString pid = QString::number(program.processId());

  // The frame once it is on the screen: a window has its name from the moment
  // it is made, so a search by name alone can find it unmapped, while it is
  // still being set up, and an unmapped window takes no keyboard focus.
  QString window;
  QVERIFY2(
      WaitFor([&] {
        window =
            Xdotool({"search", "--onlyvisible", "--pid", pid, "--name", "^Sketchpost$"}).section(QChar('\n'), 0, 0);
        return !window.isEmpty();
      }),
      "no window named Sketchpost was mapped within 30 s");
  // Its icon is Sketchpost's, handed to the window system.
  QProcess xprop;
  xprop.start(QStringLiteral("xprop"), {"-id", window, "_NET_WM_ICON"});
  QVERIFY(xprop.waitForFinished(kPatienceMs));
  QVERIFY2(xprop.readAllStandardOutput().contains("Icon (16 x 16)"), "the frame has no 16x16 icon");

  // Room for both child windows; the keyboard to the frame (there is no
  // window manager to give it).
  QVERIFY(Xdo({"windowsize", "--sync", window, "1000", "760"}));
  QVERIFY(Xdo({"windowfocus", "--sync", window}));
  std::optional<QPoint> picture;
  QVERIFY2(WaitFor([&] {
             Xdo({"key", "--clearmodifiers", "F7"});
             picture = FindPicture();
             return picture.has_value();
           }),
           "F7 showed no picture of house.skp within 30 s");

  // A rectangle, dragged with the left button.
  const QPoint from = *picture + QPoint(50, 40), to = *picture + QPoint(150, 120);
  QVERIFY(Xdo({"mousemove", "--sync", QString::number(from.x()), QString::number(from.y())}));
  QVERIFY(Xdo({"mousedown", "1"}));
  QVERIFY(Xdo({"mousemove", "--sync", QString::number(from.x() + 40), QString::number(from.y() + 30)}));
  QVERIFY(Xdo({"mousemove", "--sync", QString::number(to.x()), QString::number(to.y())}));
  QVERIFY(Xdo({"mouseup", "1"}));
  // F6 back to the text, F2 to save it.
  QVERIFY(Xdo({"key", "--clearmodifiers", "F6", "F2"}));
  const QByteArray expected = "L(1;10;20;110;20)\r\nR(1;E;50;40;150;120)\r\n";
  QVERIFY2(WaitFor([&] { return Read(posting) == expected; }),
           qPrintable(QStringLiteral("house.skp after F2 holds \"%1\"").arg(QString::fromLatin1(Read(posting)))));

  // File Exit from the keyboard ends the program and keeps its settings.
  QVERIFY(Xdo({"key", "--clearmodifiers", "alt+f"}));
  QVERIFY(Xdo({"key", "--clearmodifiers", "x"}));
  QVERIFY2(program.waitForFinished(kPatienceMs), "File Exit did not end the program within 30 s");
  QCOMPARE(program.exitCode(), 0);
  const QByteArray settings = Read(config + QStringLiteral("/sketchpost/sketchpost.ini"));
  QVERIFY2(settings.contains("tool=1") && settings.contains("geometry=@ByteArray("), settings.constData());
  QVERIFY2(settings.contains("recent=" + posting.toUtf8()), settings.constData());
}

void TestOnXServer::dropOpensAFile() {
  QTemporaryDir folder;
  const QString first = folder.filePath(QStringLiteral("dropped.skp"));
  const QString second = folder.filePath(QStringLiteral("second.skp"));
  Write(first, "R(1;E;10;10;20;20)\r\n");
  Write(second, "E(1;E;10;10;20;20)\r\n");
  testsupport::ScriptedDialogs dialogs;
  TFrameForm frame;
  frame.resize(800, 600);
  frame.show();
  QVERIFY(QTest::qWaitForWindowExposed(&frame));

  // The drop of a file manager: the file's address and its text.
  const auto drop = [](QWidget* target, const QString& file) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file)});
    data.setText(file);
    const QPoint at(5, 5);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent event(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
    return enter.isAccepted() && event.isAccepted();
  };
  QVERIFY(drop(&frame, first));
  QVERIFY2(WaitFor([&] { return frame.EditForm != nullptr; }), "the drop on the frame made no editor window");
  QCOMPARE(frame.EditForm->windowTitle(), QStringLiteral("Text dropped.skp"));

  // On the editor with the text changed: the save question first.
  frame.EditForm->Editor->insertPlainText(QStringLiteral("x"));
  dialogs.answers << ui::Answer::No;
  QVERIFY(drop(frame.EditForm->Editor->viewport(), second));
  QVERIFY2(WaitFor([&] { return frame.EditForm->windowTitle() == QLatin1String("Text second.skp"); }),
           qPrintable(frame.EditForm->windowTitle()));
  QCOMPARE(dialogs.Kinds(), QStringList{"ConfirmYesNoCancel"});
  QCOMPARE(frame.EditForm->Editor->toPlainText(), QStringLiteral("E(1;E;10;10;20;20)\n"));
  frame.hide();
}

void TestOnXServer::pressTakesThePixelUnderThePointer() {
  testsupport::ScriptedDialogs dialogs;
  TEditForm editor;
  TGrafForm graf;
  graf.BindEditor(&editor);
  graf.show();
  QVERIFY(QTest::qWaitForWindowExposed(&graf));
  const qreal scale = graf.devicePixelRatioF();
  const QPoint origin = graf.findChild<QWidget*>(QStringLiteral("Image"))->mapTo(&graf, QPoint(0, 0));
  const QString window = QString::number(graf.winId());
  // The device pixel of the window at the first or the last corner of picture pixel `p` (at 1x).
  const auto at = [&](QPoint p, bool last) {
    const auto pixel = last ? LastDevicePixel : FirstDevicePixel;
    return QStringList{QString::number(pixel(origin.x() + p.x(), scale)),
                       QString::number(pixel(origin.y() + p.y(), scale))};
  };
  // Lines dragged from one corner of a picture pixel to the other corner of another.
  const struct {
    QPoint from;
    bool fromLast;
    QPoint to;
    bool toLast;
  } drags[] = {{{100, 50}, true, {200, 150}, false}, {{99, 49}, false, {10, 20}, true}};
  for (const auto& drag : drags) {
    QVERIFY(Xdo(QStringList{"mousemove", "--window", window, "--sync"} + at(drag.from, drag.fromLast)));
    QVERIFY(Xdo({"mousedown", "1"}));
    QVERIFY(Xdo(QStringList{"mousemove", "--window", window, "--sync"} + at(drag.to, drag.toLast)));
    QVERIFY(Xdo({"mouseup", "1"}));
  }
  const QByteArray expected = "L(1;100;50;200;150)\r\nL(1;99;49;10;20)\r\n";
  const auto written = [&] { return editor::EncodePosting(*editor.Editor->document()); };
  WaitFor([&] { return written() == expected; }, 5000);
  QCOMPARE(written(), expected);
}

void TestOnXServer::frameOpensWithRoomForTheDrawingWindow() {
  testsupport::ScriptedDialogs dialogs;
  TFrameForm frame;
  frame.show();
  QVERIFY(QTest::qWaitForWindowExposed(&frame));
  const QRect screen = frame.screen()->availableGeometry();
  // A good share of the screen, and all of it on the screen.
  QVERIFY(frame.width() * 2 > screen.width() && frame.height() * 2 > screen.height());
  QVERIFY(screen.contains(frame.geometry()));
  // New and F7 from the keyboard.
  const QString window = QString::number(frame.winId());
  QVERIFY(Xdo({"windowfocus", "--sync", window}));
  QVERIFY(Xdo({"key", "--clearmodifiers", "ctrl+n"}));
  QVERIFY2(WaitFor([&] { return frame.EditForm != nullptr && frame.EditForm->isVisible(); }), "Ctrl+N made no editor");
  QVERIFY(Xdo({"key", "--clearmodifiers", "F7"}));
  QVERIFY2(WaitFor([&] { return frame.GrafForm != nullptr && frame.GrafForm->isVisible(); }),
           "F7 made no drawing window");
  QTest::qWait(100);  // the layouts settle
  // The drawing window whole in the frame: every tool, the picture at 1x and the status bar.
  const TGrafForm& graf = *frame.GrafForm;
  QCOMPARE(graf.Zoom(), 1);
  QVERIFY(!frame.MdiArea->horizontalScrollBar()->isVisible());
  QWidget* const room = frame.MdiArea->viewport();
  QVERIFY(WhollyShown(graf.parentWidget(), room));
  const auto part = [&graf](const char* name) { return graf.findChild<QWidget*>(QLatin1String(name)); };
  QList<QWidget*> shown{part("Image"), part("StatusBar1")};
  for (QWidget* tool : part("Panel1")->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (tool->isVisibleTo(part("Panel1"))) shown << tool;
  QVERIFY(shown.size() > 12);
  for (const QWidget* widget : shown)
    QVERIFY2(WhollyShown(widget, room), qPrintable(widget->metaObject()->className() + QStringLiteral(" ") +
                                                   widget->toolTip() + QStringLiteral(" is cut off")));
  frame.hide();
}

// The select tool's editing with the X server's own mouse and keys, in the
// frame (whose menu bar carries the Edit keys): a band, Ctrl+D, Shift+click,
// an arrow key, the fill box, Ctrl+C and F2, at the screen's scale.
void TestOnXServer::editsPickedShapesWithRealEvents() {
  testsupport::ScriptedDialogs dialogs;
  TFrameForm frame;
  frame.show();
  QVERIFY(QTest::qWaitForWindowExposed(&frame));
  const QString window = QString::number(frame.winId());
  QVERIFY(Xdo({"windowfocus", "--sync", window}));
  QVERIFY(Xdo({"key", "--clearmodifiers", "ctrl+n"}));
  QVERIFY(WaitFor([&] { return frame.EditForm != nullptr && frame.EditForm->isVisible(); }));
  frame.EditForm->Editor->setPlainText(QStringLiteral("L(1;10;20;110;20)\nR(2;E;40;60;140;120)\n"));
  QVERIFY(Xdo({"key", "--clearmodifiers", "F7"}));
  QVERIFY(WaitFor([&] {
    return frame.GrafForm != nullptr && frame.MdiArea->activeSubWindow() != nullptr &&
           frame.MdiArea->activeSubWindow()->widget() == frame.GrafForm;
  }));
  TGrafForm& graf = *frame.GrafForm;
  QVERIFY(Xdo({"key", "--clearmodifiers", "v"}));
  QVERIFY(WaitFor([&] { return graf.CurrentToolSettings().tool == drawing::kSelectTool; }));
  QTest::qWait(100);  // the layouts settle
  const qreal scale = frame.devicePixelRatioF();
  const auto at = [&](QPoint p) {
    const QPoint logical = graf.Image->mapTo(&frame, p);
    return QStringList{QString::number(FirstDevicePixel(logical.x(), scale)),
                       QString::number(FirstDevicePixel(logical.y(), scale))};
  };
  const auto moveTo = [&](QPoint p) { return Xdo(QStringList{"mousemove", "--window", window, "--sync"} + at(p)); };
  const auto written = [&] { return QString::fromLatin1(editor::EncodePosting(*frame.EditForm->Editor->document())); };

  // A band round both shapes, from empty picture.
  QVERIFY(moveTo({5, 5}) && Xdo({"mousedown", "1"}) && moveTo({100, 100}) && moveTo({200, 150}) &&
          Xdo({"mouseup", "1"}));
  QVERIFY(WaitFor([&] { return graf.PickedLines() == std::vector<std::int32_t>{0, 1}; }, 5000));
  // Ctrl+D: copies 10 right and down, picked.
  QVERIFY(Xdo({"key", "--clearmodifiers", "ctrl+d"}));
  QVERIFY(WaitFor([&] { return graf.PickedLines() == std::vector<std::int32_t>{2, 3}; }, 5000));
  // Shift+click adds the first line; an arrow key moves all three.
  QVERIFY(moveTo({60, 20}) && Xdo({"keydown", "shift"}) && Xdo({"click", "1"}) && Xdo({"keyup", "shift"}));
  QVERIFY(WaitFor([&] { return graf.PickedLines() == std::vector<std::int32_t>{0, 2, 3}; }, 5000));
  QVERIFY(Xdo({"key", "--clearmodifiers", "Down"}));
  // The fill box, clicked: the picked rectangle is filled, the lines stay.
  QWidget* fill = graf.findChild<QWidget*>(QStringLiteral("CbBrushStyle"));
  const QPoint box = fill->mapTo(&frame, QPoint(fill->width() / 2, fill->height() / 2));
  QVERIFY(Xdo({"mousemove", "--window", window, "--sync", QString::number(FirstDevicePixel(box.x(), scale)),
               QString::number(FirstDevicePixel(box.y(), scale))}));
  QVERIFY(Xdo({"click", "1"}));
  const QString expected = "L(1;10;21;110;21)\r\nR(2;E;40;60;140;120)\r\nL(1;20;31;120;31)\r\nR(2;F;50;71;150;131)\r\n";
  WaitFor([&] { return written() == expected; }, 5000);
  QCOMPARE(written(), expected);
  // Ctrl+C: the picked lines; F2 saves the text from the picture.
  QVERIFY(Xdo({"key", "--clearmodifiers", "ctrl+c"}));
  WaitFor([&] { return QApplication::clipboard()->text().startsWith(QLatin1String("L(1;10;21")); }, 5000);
  QCOMPARE(QApplication::clipboard()->text(),
           QStringLiteral("L(1;10;21;110;21)\r\nL(1;20;31;120;31)\r\nR(2;F;50;71;150;131)\r\n"));
  QTemporaryDir folder;
  const QString posting = folder.filePath(QStringLiteral("picked.skp"));
  dialogs.fileNames = {posting};
  QVERIFY(Xdo({"key", "--clearmodifiers", "F2"}));
  WaitFor([&] { return Read(posting) == expected.toLatin1(); }, 5000);
  QCOMPARE(Read(posting), expected.toLatin1());
  frame.hide();
}

void TestOnXServer::unsavedTextOutlivesTheProgram_data() {
  QTest::addColumn<QString>("signal");
  QTest::newRow("TERM, as at a shutdown") << "TERM";
  QTest::newRow("HUP, its terminal closed") << "HUP";
  QTest::newRow("INT, Ctrl+C on its terminal") << "INT";
  QTest::newRow("KILL, two seconds after the last key") << "KILL";
}

// Text typed and not saved, the program ended by a signal, started again:
// the box offers the text, Enter takes it back, F2 saves it to its posting.
void TestOnXServer::unsavedTextOutlivesTheProgram() {
  QFETCH(QString, signal);
  QTemporaryDir home;
  const QString posting = home.filePath(QStringLiteral("garden.skp"));
  const QByteArray saved = "L(1;10;20;110;20)\r\n";
  Write(posting, saved);
  const QString state = home.filePath(QStringLiteral("state/sketchpost"));

  QProcess first;
  QString window;
  QVERIFY2(StartProgram(first, home.path(), {posting}, window), "sketchpost did not start");
  QVERIFY(Xdo({"windowfocus", "--sync", window}));
  QVERIFY(Xdo({"type", "--delay", "20", "R(1;E;5;5;60;40)"}));
  // The one recovery file, named by the program's run.
  QString kept;
  const auto keptText = [&] {
    const QStringList files = Recoveries(state);
    kept = files.size() == 1 ? state + '/' + files[0] : QString();
    return editor::ReadRecoveryFile(kept, 1000).recovery.text;
  };
  // Kept within two seconds of the first key.
  QVERIFY2(WaitFor([&] { return keptText() == "R(1;E;5;5;60;40)L(1;10;20;110;20)\r\n"; }, 5000), keptText());
  // Keys after that copy: a signal keeps them at once, a kill loses them
  // unless two seconds passed.
  QVERIFY(Xdo({"key", "--delay", "20", "Return"}));
  const QByteArray typed = "R(1;E;5;5;60;40)\r\nL(1;10;20;110;20)\r\n";
  if (signal == QLatin1String("KILL")) {
    QVERIFY2(WaitFor([&] { return keptText() == typed; }, 5000), keptText());
  } else {
    QTest::qWait(300);  // the program has read the key from the X server
  }
  QProcess::execute(QStringLiteral("kill"), {"-" + signal, QString::number(first.processId())});
  QVERIFY(first.waitForFinished(kPatienceMs));
  if (signal != QLatin1String("KILL")) {
    QCOMPARE(first.exitStatus(), QProcess::NormalExit);
    QCOMPARE(first.exitCode(), 0);
  }
  QCOMPARE(keptText(), typed);
  QCOMPARE(editor::ReadRecoveryFile(kept, 1000).recovery.posting, posting);
  QCOMPARE(Read(posting), saved);  // nothing written to the posting

  // Broken files beside it neither block nor stop the next start: a copy
  // cut short and a pipe no one writes to.
  const QString cut = state + QStringLiteral("/2147483646-1.recovery");
  const QString pipe = state + QStringLiteral("/2147483646-2.recovery");
  Write(cut, Read(kept).chopped(3));
  QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);

  // The next start offers it; Enter recovers; F2 saves it where it came from.
  QProcess second;
  QVERIFY2(StartProgram(second, home.path(), {}, window), "sketchpost did not start again");
  QString box;
  QVERIFY2(WaitFor([&] { return !(box = BoxWindow(second)).isEmpty(); }), "no box offered the kept text");
  QVERIFY(Xdo({"windowfocus", "--sync", box}));
  QVERIFY(Xdo({"key", "--clearmodifiers", "Return"}));
  QVERIFY2(WaitFor([&] { return BoxWindow(second).isEmpty(); }), "the box stayed");
  QVERIFY2(
      WaitFor([&] { return Recoveries(state).size() == 1 && !Recoveries(state).contains(QFileInfo(kept).fileName()); }),
      "the recovered text's copy is not the running program's own");
  QVERIFY(QFile::exists(cut + ".bad") && QFile::exists(pipe + ".bad"));  // put aside
  QVERIFY(Xdo({"windowfocus", "--sync", window}));
  QVERIFY(Xdo({"key", "--clearmodifiers", "F2"}));
  QVERIFY2(WaitFor([&] { return Read(posting) == typed; }), Read(posting).constData());
  QVERIFY2(WaitFor([&] { return Recoveries(state).isEmpty(); }), "a saved text kept its recovery copy");
  QVERIFY(Xdo({"key", "--clearmodifiers", "alt+f"}));
  QVERIFY(Xdo({"key", "--clearmodifiers", "x"}));
  QVERIFY2(second.waitForFinished(kPatienceMs), "File Exit did not end the program within 30 s");
  QCOMPARE(second.exitCode(), 0);
}

// A file named on the command line while a past run's text waits: the box
// comes first, and the file is opened after it, with the save question for
// the recovered text, never silently over it.
void TestOnXServer::fileNamedAtTheStartWaitsForTheOffer() {
  QTemporaryDir home;
  const QString state = home.filePath(QStringLiteral("state/sketchpost"));
  const QString posting = home.filePath(QStringLiteral("other.skp"));
  Write(posting, "E(1;E;10;10;90;60)\r\n");
  const editor::Recovery left{{}, QDateTime::currentDateTimeUtc(), 2147483646, "kept"};
  QCOMPARE(editor::WriteRecoveryFile(state + QStringLiteral("/2147483646-1.recovery"), left), QString());

  QProcess program;
  QString window;
  QVERIFY2(StartProgram(program, home.path(), {posting}, window), "sketchpost did not start");
  QString offer;
  QVERIFY2(WaitFor([&] { return !(offer = BoxWindow(program)).isEmpty(); }), "no box offered the kept text");
  QVERIFY(Xdo({"windowfocus", "--sync", offer}));
  QVERIFY(Xdo({"key", "--clearmodifiers", "Return"}));
  // Recovered; then the question whether to save it before other.skp opens.
  QString question;
  QVERIFY2(WaitFor([&] {
             question = BoxWindow(program);
             return !question.isEmpty() && question != offer;
           }),
           "other.skp was opened over the recovered text without a question");
  QVERIFY(Xdo({"windowfocus", "--sync", question}));
  QVERIFY(Xdo({"key", "--clearmodifiers", "n"}));  // No: let the recovered text go
  QVERIFY2(WaitFor([&] { return BoxWindow(program).isEmpty(); }), "the question stayed");
  // other.skp is in the window: a key and F2 save it.
  QVERIFY(Xdo({"windowfocus", "--sync", window}));
  QVERIFY(Xdo({"type", "--delay", "20", "x"}));
  QVERIFY(Xdo({"key", "--clearmodifiers", "F2"}));
  QVERIFY2(WaitFor([&] { return Read(posting) == "xE(1;E;10;10;90;60)\r\n"; }), Read(posting).constData());
  QVERIFY2(WaitFor([&] { return Recoveries(state).isEmpty(); }), "a copy let go or saved was kept");
  program.terminate();
  QVERIFY(program.waitForFinished(kPatienceMs));
}

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  app::SetUpApplication();
  TestOnXServer test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_desktop.moc"
