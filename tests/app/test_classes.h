#pragma once

#include <QObject>

// The frame's menu bar and the keys: what stands on the bar with and
// without the editor, which keys act where, the window list.
class TestFrameMenus : public QObject {
  Q_OBJECT

 private slots:
  void startsWithTheFrameAlone();
  void menuBar_data();
  void menuBar();
  void shortcutKeys_data();
  void shortcutKeys();
  void windowList();
};

// The commands around the editor's file: New, Open, closing the editor
// window, Exit, and the save question each of them may ask.
class TestFrameFiles : public QObject {
  Q_OBJECT

 private slots:
  void newMakesTheOneEditor();
  void open_data();
  void open();
  void openDialogOptions();
  void openReadsIntoTheMinimisedEditor();
  void closeEditorWindow_data();
  void closeEditorWindow();
  void exit_data();
  void exit();
  void exitAsksEveryChild_data();
  void exitAsksEveryChild();
  void recoveriesOfferedAtTheStart_data();
  void recoveriesOfferedAtTheStart();
};

// Arranging the child windows, the help window, the caret line, and the
// frame's end.
class TestFrameWindows : public QObject {
  Q_OBJECT

 private slots:
  void tile_data();
  void tile();
  void arrangeIcons();
  void helpWindow();
  void captionsShowWhole();
  void keysGoBackAfterADialog();
  void caretLineStaysInTheEditor();
  void destroyingAShownFrame();
};

// The frame and the drawing window: F7, F6, the highlight, keys and closing.
class TestFrameDrawing : public QObject {
  Q_OBJECT

 private slots:
  void f7MakesTheDrawingWindowOnce();
  void drawingWindowOpensWithItsLeftEdgeInTheFrame();
  void keysFollowTheActiveWindow();
  void f7OnlyFromTheEditor();
  void caretLineIsHighlighted();
  void promptPutsTheEditorCaret();
  void closingMinimisesAndKeepsSettings();
  void drawingWritesIntoTheEditor();
  void zoomAndUndoKeys();
  void leavingTheWindowEndsAnOpenPolyline();
  void toolKeysWhereverTheFocusIs();
  void saveFromThePicture_data();
  void saveFromThePicture();
};

// The start-up of the program itself, run as a child process.
class TestExportPicture : public QObject {
  Q_OBJECT

 private slots:
  void offersEveryKindAndProposesThePostingsName();
  void pngAtEachScaleIsThePicture_data();
  void pngAtEachScaleIsThePicture();
  void svgIsWellFormedAndHoldsTheFigures();
  void theChosenKindDecidesTheSuffix_data();
  void theChosenKindDecidesTheSuffix();
  void theKindChosenLastIsOfferedAgain();
  void aFailedExportSaysWhyAndKeepsTheOldFile();
  void windowDrawsAsTheRenderer_data();
  void windowDrawsAsTheRenderer();
};

class TestStartUp : public QObject {
  Q_OBJECT

 private slots:
  void ignoresTheFileSizeSignal();
  void settingsOutliveATermSignal();
  void settingsFifoNeitherBlocksNorIsWritten();
};

// The child process of destroyingAShownFrame: shows a frame with the editor
// and destroys it while it is shown.
int DestroyShownFrame();

// Files that come from outside the dialogs: the command line, files dropped
// on the frame or the editor, the recent files, and where the file dialogs
// start.
class TestFilesFromOutside : public QObject {
  Q_OBJECT

 private slots:
  void commandLine_data();
  void commandLine();
  void programAnswersOnTheTerminal_data();
  void programAnswersOnTheTerminal();
  void openFile_data();
  void openFile();
  void drop_data();
  void drop();
  void recentFiles();
  void recentFileGone();
  void dialogsStartInTheLastFolder();
};

// What lasts from one run to the next, through the settings file.
class TestSettings : public QObject {
  Q_OBJECT

 private slots:
  void frameAndToolsComeBack();
  void keptAsTheyChange_data();
  void keptAsTheyChange();
  void viewComesBack();
  void frameStateComesBack_data();
  void frameStateComesBack();
  void recentFilesComeBack();
  void storedRecentFiles_data();
  void storedRecentFiles();
  void badFileGivesDefaults_data();
  void badFileGivesDefaults();
  void badValuesGiveDefaults_data();
  void badValuesGiveDefaults();
};

// What a desktop user expects of any program: the standard keys, the
// About box, the window icon, one version everywhere.
class TestDesktopLook : public QObject {
  Q_OBJECT

 private slots:
  void standardKeys_data();
  void standardKeys();
  void noKeyServesTwoItems();
  void aboutBox();
  void everyWindowHasTheIcon();
};
