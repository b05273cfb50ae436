#pragma once

#include <QObject>

// The text rules of the editor: lines, positions, the file codec.
class TestPostingText : public QObject {
  Q_OBJECT

 private slots:
  void lineCountAndLength_data();
  void lineCountAndLength();
  void colLineToPos_data();
  void colLineToPos();
  void positionOfIndexInvertsColLineToPos();
  void fileRoundTrip_data();
  void fileRoundTrip();
  void everyByteSurvivesTheEditor();
  void captions_data();
  void captions();
  void typedAndPastedCharactersWithoutByteBecomeQuestionMarks();
};

// The editor window: files, the save question, the status bar, the caret.
class TestEditForm : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void statusBarShowsLabelsUntilFirstRefresh();
  void statusFigures_data();
  void statusFigures();
  void statusBeforeAndAfterAKey();
  void modifiedMarkStaysAfterSaveUntilNextEvent();
  void gotoColLine();
  void forwardsTheCaretLineOnRelease_data();
  void forwardsTheCaretLineOnRelease();
  void appendLine_data();
  void appendLine();
  void newErasesAfterConfirmation();
  void newKeepsTheFileForTheNextSave();
  void saveUntitledAsksForName();
  void saveAsOverwritesWithoutQuestion();
  void loadFailureKeepsThePreviousDocument();
  void loadRefusesWhatIsNotAFile_data();
  void loadRefusesWhatIsNotAFile();
  void refusesFilesBeyondCapacity_data();
  void refusesFilesBeyondCapacity();
  void failedSaveKeepsOldFileAndTextModified();
  void failedSaveAsChangesNothing_data();
  void failedSaveAsChangesNothing();
  void loadShowsTheNewNameAtOnce();
  void closeQuery_data();
  void closeQuery();
};

// The posting aids of the Edit menu.
class TestPostingAids : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void enablingStates_data();
  void enablingStates();
  void disabledKeysDoNothing();
  void copyAsksForTheNotice_data();
  void copyAsksForTheNotice();
  void copyAnswers();
  void clipboardKeepsEveryByte_data();
  void clipboardKeepsEveryByte();
  void addUrl();
  void quoteMarks_data();
  void quoteMarks();
  void removeQuotesFromTheCaretDown();
  void removeQuotesKeepsLongLinesWhole();
  void removeQuotesOnAnEmptyText();
};

// The editor's capacity against every way text enters it.
class TestTextCapacity : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void everyWayIn_data();
  void everyWayIn();
};

// Saving: the system's reasons, and the links, owner, group and permissions
// of the file saved over.
class TestPostingSave : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void fullDiskNamesTheReason();
  void keepsLinks_data();
  void keepsLinks();
  void keepsOwnerGroupAndMode();
};

// Saving where the permissions of folder and file decide; run as an
// unprivileged user only (test_editor --unprivileged).
class TestFilePermissions : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();
  void saveWhereFolderOrFileIsReadOnly_data();
  void saveWhereFolderOrFileIsReadOnly();
  void saveKeepsTheGroup();
};

// Recovery files: their format, and what is refused when they are read.
class TestRecoveryFile : public QObject {
  Q_OBJECT

 private slots:
  void roundTrip_data();
  void roundTrip();
  void refused_data();
  void refused();
  void filesOfThisUserAlone();
  void keptWhileUnsavedGoneWhenSaved();
  void foundWhenTheirProgramIsGone();
  void liveCopyFollowsEveryEdit();
};
