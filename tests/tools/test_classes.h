#pragma once

#include <QObject>

// sketchpost-render: its arguments and output names in-process, and the
// built program run end to end, its pictures compared with the same postings
// drawn here and with pixels known from the geometry.
class TestRenderCommand : public QObject {
  Q_OBJECT

 private slots:
  void parsesArguments_data();
  void parsesArguments();
  void refusesBadArguments_data();
  void refusesBadArguments();
  void defaultOutputName_data();
  void defaultOutputName();
  void choosesPictureFormat_data();
  void choosesPictureFormat();

  void pictureMatchesDrawingHere_data();
  void pictureMatchesDrawingHere();
  void knownPixels_data();
  void knownPixels();
  void scaledPicture_data();
  void scaledPicture();
  void lineBreaksGiveSamePicture_data();
  void lineBreaksGiveSamePicture();
  void standardInputAndOutput_data();
  void standardInputAndOutput();
  void reportsIncompleteElements_data();
  void reportsIncompleteElements();
  void warnsAboutDrawingSize_data();
  void warnsAboutDrawingSize();
  void replacesExistingOutput_data();
  void replacesExistingOutput();
  void byteFileNames_data();
  void byteFileNames();
  void samplePostings_data();
  void samplePostings();
  void writesSvg_data();
  void writesSvg();

  void unreadableInput_data();
  void unreadableInput();
  void unwritableOutput_data();
  void unwritableOutput();
  void failedWriteLeavesNoPartialFile_data();
  void failedWriteLeavesNoPartialFile();
  void failingStandardOutput();
  void refusesCollidingFiles_data();
  void refusesCollidingFiles();
  void usageErrors_data();
  void usageErrors();
  void helpAndVersion_data();
  void helpAndVersion();
};

// sketchpost-render started the way a careless script or a hostile posting
// would start it: endless or oversized input, standard descriptors closed,
// a file-size limit, output names at the file system's limit, pipes and
// devices in the place of files.
class TestRenderSurroundings : public QObject {
  Q_OBJECT

 private slots:
  void readsNoMoreThanCapacityPlusOne_data();
  void readsNoMoreThanCapacityPlusOne();
  void endlessInputIsTooLarge();
  void refusesWhatIsNotAFile_data();
  void refusesWhatIsNotAFile();
  void closedStandardDescriptors_data();
  void closedStandardDescriptors();
  void longOutputNames_data();
  void longOutputNames();
};

// The renderer without Qt, legends or not.
class TestRendererWithoutQt : public QObject {
  Q_OBJECT

 private slots:
  void drawsWithoutQt_data();
  void drawsWithoutQt();
};

// Several postings in one run, and quoted postings.
class TestBatches : public QObject {
  Q_OBJECT

 private slots:
  void parsesBatches_data();
  void parsesBatches();
  void drawsEveryPosting_data();
  void drawsEveryPosting();
  void drawsJobsPostingsAtOnce_data();
  void drawsJobsPostingsAtOnce();
  void quoteMarksAsTheEditor_data();
  void quoteMarksAsTheEditor();
  void unquotedPicture();
  void notesPostingsWithoutSketchLines_data();
  void notesPostingsWithoutSketchLines();
  void progressLineText_data();
  void progressLineText();
  void progressLineOnATerminal_data();
  void progressLineOnATerminal();
};
