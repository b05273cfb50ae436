#pragma once

#include <QObject>

// The sketch line grammar as the reader sees it: fields, numbers, quoted
// texts, the close check, and the byte codec and line splitting around it.
class TestFormat : public QObject {
  Q_OBJECT

 private slots:
  void scanField_data();
  void scanField();
  void readNumber_data();
  void readNumber();
  void readQuotedText_data();
  void readQuotedText();
  void nextIsClose_data();
  void nextIsClose();
  void recognisesSketchLines_data();
  void recognisesSketchLines();
  void coordText_data();
  void coordText();
  void countedStringsCutAt255();
  void codecRoundTripsEveryByte();
  void codecMapsCharactersWithoutByteToQuestionMark();
  void splitLines_data();
  void splitLines();
};

// A sketch line as a value: what ReadElement takes out of a line and how far
// it gets in one that fails, what WriteElement writes, and the two agreeing
// over many generated lines.
class TestSketchElement : public QObject {
  Q_OBJECT

 private slots:
  void readsEveryKind_data();
  void readsEveryKind();
  void partlyReadLines_data();
  void partlyReadLines();
  void writesTheDrawingWindowsForm_data();
  void writesTheDrawingWindowsForm();
  void writtenLinesAreCutAt255();
  void everyKindNeedsItsLastRequiredField();
  void readWriteReadOverGeneratedLines();
  void fuzzDictionaryListsEveryToken();
};

// Moving a sketch line's points by rewriting its numbers in place.
class TestPointRewrite : public QObject {
  Q_OBJECT

 private slots:
  void resolvedPoints_data();
  void resolvedPoints();
  void rewritesOnlyTheNumbers_data();
  void rewritesOnlyTheNumbers();
  void refusesLinesItCannotRewrite_data();
  void refusesLinesItCannotRewrite();
  void randomMovesOfGeneratedLines();
};

// Changing a sketch line's pen and fill by rewriting its style fields in place.
class TestStyleRewrite : public QObject {
  Q_OBJECT

 private slots:
  void rewritesOnlyTheStyleFields_data();
  void rewritesOnlyTheStyleFields();
};
