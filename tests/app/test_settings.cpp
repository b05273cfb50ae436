// What lasts between runs: a frame closed with settings, and a new frame
// made from the same file, as the next run of the program would be.

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "FrameKit.h"
#include "app/Settings.h"
#include "drawing/GraphWin.h"
#include "drawing/LegendDlg.h"
#include "test_classes.h"

using frametest::ButtonOf;
using frametest::PictureOf;
using frametest::Session;
using frametest::SessionWithSettings;
using frametest::SettingsFile;
using frametest::WriteFile;

namespace {

TGrafForm* DrawingWindow(Session& session) {
  if (session.frame.EditForm == nullptr) session.NewEditor(QStringLiteral("L(1;0;0;9;9)\n"));
  session.Activate(session.frame.EditForm->Editor);
  session.Key(Qt::Key_F7);
  return session.frame.GrafForm;
}

// A drag on the picture with the left button, from `from` to `to`.
void Drag(TGrafForm* graf, QPoint from, QPoint to) {
  QTest::mousePress(PictureOf(graf), Qt::LeftButton, Qt::NoModifier, from);
  QTest::mouseMove(PictureOf(graf), to);
  QTest::mouseRelease(PictureOf(graf), Qt::LeftButton, Qt::NoModifier, to);
}

// The legend "up", large and upward, at (40, 150), chosen in the legend dialog.
void PlaceLargeUpwardLegend(TGrafForm* graf) {
  SetLegendDialogRunner([](TLegendDlgForm& dialog) {
    dialog.show();
    QTest::keyClicks(dialog.ComboBox1->lineEdit(), QStringLiteral("up"));
    QTest::mouseClick(dialog.SizeButtons[2], Qt::LeftButton);
    QTest::mouseClick(dialog.CheckBox1, Qt::LeftButton);
    QTest::keyClick(dialog.ComboBox1->lineEdit(), Qt::Key_Return);
    return dialog.result();
  });
  QTest::mouseClick(ButtonOf(graf, "TextButton"), Qt::LeftButton);
  QTest::mouseClick(PictureOf(graf), Qt::LeftButton, Qt::NoModifier, QPoint(40, 150));
  SetLegendDialogRunner(nullptr);
}

QString LastLine(const Session& session) {
  return session.frame.EditForm->Editor->toPlainText().section(QChar('\n'), -2, -2);
}

}  // namespace

void TestSettings::frameAndToolsComeBack() {
  SettingsFile file;
  QRect placed;
  {
    SessionWithSettings session(file);
    QVERIFY(session.Shown());
    session.frame.setGeometry(60, 40, 700, 500);
    placed = session.frame.geometry();
    TGrafForm* graf = DrawingWindow(session);
    QVERIFY(graf != nullptr);
    // The user's choices, made on the tool bar.
    for (QWidget* control : std::initializer_list<QWidget*>{
             ButtonOf(graf, "EllipseButton"), ButtonOf(graf, "DashPen"), ButtonOf(graf, "CbBrushStyle"),
             ButtonOf(graf, "CbGridSnap"), ButtonOf(graf, "CbOrthoSnap")})
      QTest::mouseClick(control, Qt::LeftButton);
    PlaceLargeUpwardLegend(graf);
    QCOMPARE(LastLine(session), QStringLiteral("T(LU;40;150;\"up\")"));
    QTest::mouseClick(ButtonOf(graf, "EllipseButton"), Qt::LeftButton);
    session.dialogs.answers << ui::Answer::No;  // the text drawn is not kept
    session.frame.close();
    QVERIFY(!session.frame.isVisible());
  }
  QVERIFY(QFile::exists(file.Path()));

  SessionWithSettings session(file);
  QVERIFY(session.Shown());
  QCOMPARE(session.frame.geometry(), placed);
  TGrafForm* graf = DrawingWindow(session);
  QVERIFY(graf != nullptr);
  QVERIFY(ButtonOf(graf, "EllipseButton")->isChecked());
  QVERIFY(ButtonOf(graf, "DashPen")->isChecked());
  QVERIFY(ButtonOf(graf, "CbBrushStyle")->isChecked());
  QVERIFY(ButtonOf(graf, "CbGridSnap")->isChecked());
  QVERIFY(ButtonOf(graf, "CbOrthoSnap")->isChecked());
  // The settings act as the buttons show: a dashed, filled circle snapped to
  // the grid.
  Drag(graf, QPoint(21, 19), QPoint(88, 52));
  QCOMPARE(LastLine(session), QStringLiteral("E(DS;F;20;20;90;90)"));
  // The legend dialog offers the size and direction last chosen.
  int offeredSize = -1;
  bool offeredUp = false;
  SetLegendDialogRunner([&](TLegendDlgForm& dialog) {
    offeredSize = dialog.SelectedSize();
    offeredUp = dialog.CheckBox1->isChecked();
    return int(QDialog::Rejected);
  });
  QTest::mouseClick(ButtonOf(graf, "TextButton"), Qt::LeftButton);
  QTest::mouseClick(PictureOf(graf), Qt::LeftButton, Qt::NoModifier, QPoint(40, 150));
  SetLegendDialogRunner(nullptr);
  QCOMPARE(offeredSize, 2);
  QVERIFY(offeredUp);
}

void TestSettings::keptAsTheyChange_data() {
  QTest::addColumn<QString>("change");  // what the user does in the running program
  QTest::addColumn<QString>("kept");    // what the file holds soon after, as KeptSettings writes it
  QTest::newRow("R on the picture") << "key R"
                                    << "tool=1 ";
  QTest::newRow("a dashed pen from the tool bar") << "click dashed"
                                                  << "pen=1 ";
  QTest::newRow("thickness typed") << "thickness 3"
                                   << "width=3 ";
  QTest::newRow("fill") << "click fill"
                        << "fill=1 ";
  QTest::newRow("grid snap") << "click grid"
                             << "grid=1 ";
  QTest::newRow("a large upward legend") << "legend"
                                         << "legend=2 up=1 ";
  QTest::newRow("zoom in with Ctrl+=") << "zoom in"
                                       << "zoom=2 fit=0 ";
  QTest::newRow("zoom to Fit from the View menu") << "fit"
                                                  << "fit=1 ";
  QTest::newRow("Redraw while typing from the View menu") << "redraw"
                                                          << "redraw=1 ";
  QTest::newRow("the frame made larger") << "frame"
                                         << "frame=900x640";
}

void TestSettings::keptAsTheyChange() {
  // The program may end at any moment (a signal, a logout): what changed is
  // on disk soon after, without a close.
  QFETCH(QString, change);
  QFETCH(QString, kept);
  SettingsFile file;
  SessionWithSettings session(file);
  QVERIFY(session.Shown());
  TGrafForm* graf = DrawingWindow(session);
  QVERIFY(graf != nullptr);
  // The frame's place, kept after it is shown; then nothing is due.
  QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(file.Path()), 5000);
  QTest::qWait(600);
  session.Activate(graf);
  const QMap<QString, QWidget*> controls{{"click dashed", ButtonOf(graf, "DashPen")},
                                         {"click fill", ButtonOf(graf, "CbBrushStyle")},
                                         {"click grid", ButtonOf(graf, "CbGridSnap")}};
  if (controls.contains(change)) {
    QTest::mouseClick(controls[change], Qt::LeftButton);
  } else if (change == QLatin1String("key R")) {
    QTest::keyClick(PictureOf(graf), Qt::Key_R);
  } else if (change == QLatin1String("thickness 3")) {
    auto* field = frametest::PartOf<QSpinBox>(*graf, "PenWidth")->findChild<QLineEdit*>();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_3);
  } else if (change == QLatin1String("legend")) {
    PlaceLargeUpwardLegend(graf);
  } else if (change == QLatin1String("zoom in")) {
    session.Key(Qt::Key_Equal, Qt::ControlModifier);
  } else if (change == QLatin1String("fit")) {
    QVERIFY(session.Choose(QStringLiteral("View"), QStringLiteral("Fit")));
  } else if (change == QLatin1String("redraw")) {
    QVERIFY(session.Choose(QStringLiteral("View"), QStringLiteral("Redraw while typing")));
  } else {
    session.frame.resize(900, 640);
  }
  QTRY_VERIFY2_WITH_TIMEOUT(frametest::KeptSettings(file.Path()).contains(kept),
                            qPrintable(frametest::KeptSettings(file.Path())), 5000);
}

void TestSettings::viewComesBack() {
  SettingsFile file;
  {
    SessionWithSettings session(file);
    QVERIFY(session.Shown());
    TGrafForm* graf = DrawingWindow(session);
    QVERIFY(graf != nullptr && !graf->RedrawWhileTyping());  // off unless chosen
    session.Activate(graf);
    session.Key(Qt::Key_Equal, Qt::ControlModifier);
    session.Key(Qt::Key_Equal, Qt::ControlModifier);
    frametest::PartOf<QAction>(*graf, "RedrawWhileTyping1")->trigger();
    session.dialogs.answers << ui::Answer::No;
    session.frame.close();
  }
  app::Settings settings(file.Path());
  QVERIFY((settings.View() == drawing::ViewSettings{3, false, true}));
  Session session;
  session.frame.UseSettings(&settings);
  QVERIFY(session.Shown());
  TGrafForm* graf = DrawingWindow(session);
  QVERIFY(graf != nullptr);
  QCOMPARE(graf->Zoom(), 3);
  QVERIFY(graf->RedrawWhileTyping());
  // Fit comes back as Fit; a zoom out of range as 1x.
  settings.SetView({5, true, false});
  QVERIFY((app::Settings(file.Path()).View() == drawing::ViewSettings{5, true, false}));
  WriteFile(file.Path(), "[Drawing]\nzoom=9\nzoomFit=maybe\nredrawWhileTyping=1\n");
  QVERIFY((app::Settings(file.Path()).View() == drawing::ViewSettings{1, false, false}));
}

void TestSettings::frameStateComesBack_data() {
  QTest::addColumn<bool>("maximised");
  QTest::newRow("closed maximised") << true;
  QTest::newRow("maximised, then back to normal") << false;
}

void TestSettings::frameStateComesBack() {
  QFETCH(bool, maximised);
  SettingsFile file;
  const QRect placed(70, 50, 640, 480);
  {
    SessionWithSettings session(file);
    QVERIFY(session.Shown());
    session.frame.setGeometry(placed);
    session.frame.showMaximized();
    QTRY_VERIFY(session.frame.isMaximized());
    if (!maximised) session.frame.showNormal();
    session.frame.close();
  }
  SessionWithSettings session(file);
  QVERIFY(session.Shown());
  QCOMPARE(session.frame.isMaximized(), maximised);
  // Either way the size and place it had before it was maximised.
  QCOMPARE(session.frame.normalGeometry(), placed);
}

void TestSettings::recentFilesComeBack() {
  SettingsFile file;
  QTemporaryDir postings;
  const QString a = postings.filePath(QStringLiteral("a.skp")), b = postings.filePath(QStringLiteral("b.skp"));
  WriteFile(a, "a\r\n");
  WriteFile(b, "b\r\n");
  {
    SessionWithSettings session(file);
    QVERIFY(session.Shown());
    session.frame.OpenFile(a);
    session.frame.OpenFile(b);
    // The program ends without a close: what was opened is kept already.
  }
  SessionWithSettings session(file);
  QVERIFY(session.Shown());
  QCOMPARE(frametest::FrameRecentFiles(session.frame), (QStringList{b, a}));
  session.dialogs.fileNames << QString();
  session.Key(Qt::Key_F3);
  QCOMPARE(session.dialogs.calls.last().options.folder, postings.path());
  frametest::FrameRecentMenu(session.frame)->actions().at(1)->trigger();
  QCOMPARE(session.frame.EditForm->windowTitle(), QStringLiteral("Text a.skp"));
}

void TestSettings::storedRecentFiles_data() {
  QTest::addColumn<QByteArray>("recent");  // the value of recent= in [Files]
  QTest::addColumn<QStringList>("files");  // what the frame's history holds
  QTest::newRow("one") << QByteArray("/p/a.skp") << QStringList{"/p/a.skp"};
  QTest::newRow("ten: the first eight") << QByteArray("/p/0, /p/1, /p/2, /p/3, /p/4, /p/5, /p/6, /p/7, /p/8, /p/9")
                                        << QStringList{"/p/0", "/p/1", "/p/2", "/p/3", "/p/4", "/p/5", "/p/6", "/p/7"};
  QTest::newRow("repeated and empty names: once each")
      << QByteArray("/p/a.skp, , /p/b.skp, /p/a.skp") << QStringList{"/p/a.skp", "/p/b.skp"};
  QTest::newRow("a name with a comma") << QByteArray("\"/p/a, b.skp\"") << QStringList{"/p/a, b.skp"};
}

void TestSettings::storedRecentFiles() {
  QFETCH(QByteArray, recent);
  QFETCH(QStringList, files);
  SettingsFile file;
  file.Write("[Files]\nrecent=" + recent + "\n");
  SessionWithSettings session(file);
  QVERIFY(session.Shown());
  QCOMPARE(frametest::FrameRecentFiles(session.frame), files);
}

void TestSettings::badFileGivesDefaults_data() {
  QTest::addColumn<QByteArray>("content");  // "<none>": no file; "<folder>": a folder in its place
  QTest::newRow("missing") << QByteArray("<none>");
  QTest::newRow("empty") << QByteArray();
  QTest::newRow("binary") << QByteArray("\x00\xff\xfe[\x01]\n=\x80\x81", 11);
  QTest::newRow("cut off") << QByteArray("[Drawing]\ntool=");
  QTest::newRow("unclosed group") << QByteArray("[Drawing\ntool=1\n[Files]\nrecent=@ByteArray(");
  QTest::newRow("a folder") << QByteArray("<folder>");
  QTest::newRow("geometry cut off") << QByteArray("[Frame]\ngeometry=@ByteArray(\\x1\\xd9\\xd0\\xcb\\0\\x3)");
  QTest::newRow("recent files not a list") << QByteArray("[Files]\nrecent=@Variant(\\0\\0\\0\\x7f)");
}

void TestSettings::badFileGivesDefaults() {
  QFETCH(QByteArray, content);
  SettingsFile file;
  QVERIFY(QDir().mkpath(QFileInfo(file.Path()).absolutePath()));
  if (content == "<folder>") {
    QVERIFY(QDir().mkpath(file.Path()));
  } else if (content != "<none>") {
    WriteFile(file.Path(), content);
  }
  QRect unset;
  {
    Session session;
    QVERIFY(session.Shown());
    unset = session.frame.geometry();
  }
  SessionWithSettings session(file);
  QVERIFY(session.Shown());
  QCOMPARE(session.frame.geometry(), unset);
  QVERIFY(frametest::FrameRecentFiles(session.frame).isEmpty());
  TGrafForm* graf = DrawingWindow(session);
  QVERIFY(graf != nullptr);
  QVERIFY(graf->CurrentToolSettings() == drawing::ToolSettings{});
  session.dialogs.answers << ui::Answer::No;
  session.frame.close();
  QVERIFY(session.dialogs.Texts("Error").isEmpty());
  QVERIFY(session.dialogs.Texts("Warning").isEmpty());
  // What the file could not hold stays unsaid, and the next run starts as this one did.
  app::Settings again(file.Path());
  QVERIFY(again.Tools() == drawing::ToolSettings{});
}

void TestSettings::badValuesGiveDefaults_data() {
  QTest::addColumn<QByteArray>("drawing");  // the lines of the [Drawing] group
  QTest::addColumn<QString>("expected");    // the settings read, as "tool style width fill grid ortho size up"
  QTest::newRow("all set") << QByteArray(
                                  "tool=3\npenStyle=solid\npenWidth=7\nfill=true\ngridSnap=true\northoSnap=true\n"
                                  "legendSize=0\nlegendUp=true")
                           << "3 0 7 1 1 1 0 1";
  QTest::newRow("tool past the last") << QByteArray("tool=6") << "0 0 1 0 0 0 1 0";
  QTest::newRow("tool negative") << QByteArray("tool=-1") << "0 0 1 0 0 0 1 0";
  QTest::newRow("tool a word") << QByteArray("tool=ellipse") << "0 0 1 0 0 0 1 0";
  QTest::newRow("width 0") << QByteArray("penWidth=0") << "0 0 1 0 0 0 1 0";
  QTest::newRow("width 11") << QByteArray("penWidth=11") << "0 0 1 0 0 0 1 0";
  QTest::newRow("width 10") << QByteArray("penWidth=10") << "0 0 10 0 0 0 1 0";
  QTest::newRow("the last pen") << QByteArray("penStyle=dashdot") << "0 3 1 0 0 0 1 0";
  QTest::newRow("unknown pen") << QByteArray("penStyle=wavy") << "0 0 1 0 0 0 1 0";
  QTest::newRow("dotted and thick: thin") << QByteArray("penStyle=dot\npenWidth=4") << "0 2 1 0 0 0 1 0";
  QTest::newRow("fill yes is not true") << QByteArray("fill=yes") << "0 0 1 0 0 0 1 0";
  QTest::newRow("legend size 2") << QByteArray("legendSize=2") << "0 0 1 0 0 0 2 0";
  QTest::newRow("legend size 3") << QByteArray("legendSize=3") << "0 0 1 0 0 0 1 0";
  QTest::newRow("huge number") << QByteArray("tool=99999999999999999999") << "0 0 1 0 0 0 1 0";
}

void TestSettings::badValuesGiveDefaults() {
  QFETCH(QByteArray, drawing);
  QFETCH(QString, expected);
  SettingsFile file;
  file.Write("[Drawing]\n" + drawing + "\n");
  const drawing::ToolSettings tools = app::Settings(file.Path()).Tools();
  const QString read = QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8")
                           .arg(tools.tool)
                           .arg(static_cast<int>(tools.penStyle))
                           .arg(tools.penWidth)
                           .arg(int(tools.fill))
                           .arg(int(tools.gridSnap))
                           .arg(int(tools.orthoSnap))
                           .arg(tools.legendSize)
                           .arg(int(tools.legendUp));
  QCOMPARE(read, expected);
}
