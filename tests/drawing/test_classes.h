#pragma once

#include <QObject>

#include "DrawingSession.h"

// The drawing window bound to an editor: the pass, its prompts, the
// settings, the overlays, the caption and the copy.
class TestGrafForm : public drawingtest::SessionTest {
  Q_OBJECT

 private slots:
  void startsWithItsFirstSettings();
  void passPaintsTheEditorText();
  void emptyTextLeavesEverything();
  void promptPutsCaretBehindWhatWasRead_data();
  void promptPutsCaretBehindWhatWasRead();
  void sizeWarning_data();
  void sizeWarning();
  void settingsFollowTheButtonsAfterAPass();
  void styleAndThicknessRules();
  void settingsRefusedDuringAGesture();
  void arcCautionOncePerWindow();
  void relativeCautionOnEveryCheck();
  void fillSetsTheBrush();
  void captions_data();
  void captions();
  void highlightFollowsTheCaretAndPassRemovesIt();
  void activationRemovesTheHighlight();
  void gridTwiceAndPassClearsIt();
  void copyPutsThePictureOnTheClipboard();
  void f6AsksForTheBoundEditor();
};

// Snapping and the sketch lines written for shapes.
class TestSketchRules : public QObject {
  Q_OBJECT

 private slots:
  void snapPoint_data();
  void snapPoint();
  void writtenText_data();
  void writtenText();
  void writtenTextMatchesTheConcatenatedForm();
};

// Drawing with the mouse: presses, moves and releases on the picture.
class TestGestures : public drawingtest::SessionTest {
  Q_OBJECT

 private slots:
  void writesTheShapesDrawn_data();
  void writesTheShapesDrawn();
  void anyEventsLeaveWhatTheNextPassPaints_data();
  void anyEventsLeaveWhatTheNextPassPaints();
  void secondButtonStartsAfresh();
  void aFullTextTakesNoShape_data();
  void aFullTextTakesNoShape();
  void pictureEqualsTheNextPass_data();
  void pictureEqualsTheNextPass();
  void polylineOverSeveralCtrlReleases_data();
  void polylineOverSeveralCtrlReleases();
  void polylineEdgeCases();
  void openPolylineEnds_data();
  void openPolylineEnds();
  void centreModes();
  void snappingAndReadOut();
  void rightButtonDrawsLikeLeft();
  void settingsRefusedDuringAGesture();
  void previewIsTakenOffAgain();
  void undoTakesTheShapeBack();
};

// Legends: the text tool and its dialog.
class TestLegend : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void firstDialogOfARun();
  void dialogControls();
  void historyOfTheRun();
  void cautionsOncePerRun();
  void sizeAndDirectionCarryOver();
  void placedTextRules_data();
  void placedTextRules();
  void typedTextIsWrittenAsTyped();
  void gridSnapsTheLegendPoint();
};

// The picture as the window shows it: zoom, redraw while typing, undo.
class TestPictureView : public drawingtest::SessionTest {
  Q_OBJECT

 private slots:
  void dragsWriteTheSameLineAtEveryZoom_data();
  void dragsWriteTheSameLineAtEveryZoom();
  void readOutsGoWhenThePointerLeaves();
  void zoomShowsSharpSquares_data();
  void zoomShowsSharpSquares();
  void theWindowShowsTheSquaresItRepaints();
  void ctrlWheelZoomsAndPlainWheelScrolls();
  void fitFollowsTheWindow();
  void zoomingInGrowsTheWindow_data();
  void zoomingInGrowsTheWindow();
  void aMoveRepaintsOnlyWhatItChanged();
  void redrawWhileTypingFollowsTheText();
  void liveNoteNamesTheLineBeingTyped_data();
  void liveNoteNamesTheLineBeingTyped();
  void redrawDuringAGestureKeepsTheRubberBand();
  void undoAndRedoFromThePicture();
};

// The select tool and the tool keys.
class TestSelect : public drawingtest::SessionTest {
  Q_OBJECT

 private slots:
  void init();  // the select tool in hand over a text of shapes
  void toolKeysChooseTools();
  void picksTheTopmostElement_data();
  void picksTheTopmostElement();
  void caretInTheTextPicks();
  void dragsRewriteTheLine_data();
  void dragsRewriteTheLine();
  void arrowsDeleteAndEscape();
  void deleteLeavesNothingPicked();
  void aLineTooLongIsNotChanged();
  void randomEditsLeaveThePass();
};

class TestSelectMany : public drawingtest::SessionTest {
  Q_OBJECT

 private slots:
  void init();  // the select tool in hand over a text of shapes, the Edit keys given
  void bandPicksWhatLiesWhollyInside_data();
  void bandPicksWhatLiesWhollyInside();
  void severalMoveAndGoAsOne();
  void restyleRewritesTheFields_data();
  void restyleRewritesTheFields();
  void duplicateCopyCutPaste();
  void theBandLeavesNoTrail_data();
  void theBandLeavesNoTrail();
};
