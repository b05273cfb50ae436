#pragma once

#include <QObject>

// The element drawers, line by line: what each sketch line paints and what
// it leaves on the canvas.
class TestDrawers : public QObject {
  Q_OBJECT

 private slots:
  void drawsTheSameAs_data();
  void drawsTheSameAs();
  void drawsNothing_data();
  void drawsNothing();
  void reportsIncompleteElements_data();
  void reportsIncompleteElements();
  void filledAndEmptyRectangles();
  void dashedEllipseTouchesPictureEdges();
  void penWidthFromStyleField();
  void quarterArcOfEachQuadrant_data();
  void quarterArcOfEachQuadrant();
  void arcCentredOnAnEdgeDrawsOneQuarter();
  void legendPlacement();
  void highlightOfLegendIsABar();
  void highlightInvertsFilledShapes();
  void dashGapsFollowTheBrushOfEarlierLines_data();
  void dashGapsFollowTheBrushOfEarlierLines();
  void failedFieldStillChangesThePen();
  void partlyReadLinesChangePenAndBrush_data();
  void partlyReadLinesChangePenAndBrush();
  void readPenStyle_data();
  void readPenStyle();
  void readFill_data();
  void readFill();
  void eightBitLegendTextIsDrawn();
};

// The draw pass over whole texts: counting, warning, stopping.
class TestDrawPass : public QObject {
  Q_OBJECT

 private slots:
  void countsDrawnCharacters_data();
  void countsDrawnCharacters();
  void sizeWarningAbove4095();
  void okAtFirstPromptLeadsToSecond();
  void cancelEndsThePass();
  void cancelEndsPassOfMoreThan100001Lines();
  void linesAreReadUpTo255Characters();
  void promptMessageIsCutAt255();
  void textWithoutLinesLeavesPictureAlone();
  void proseOnlyClearsToWhite();
  void bandedPassDrawsTheSame();
  void bandedPassWithATextPainterDrawsInOnePiece();
};

// The highlight of the caret's element and the grid, both taken off again by
// drawing them a second time.
class TestOverlays : public QObject {
  Q_OBJECT

 private slots:
  void highlightOnAndOffRestoresEveryPixel_data();
  void highlightOnAndOffRestoresEveryPixel();
  void highlightColours();
  void movingBetweenFilledRectangles();
  void typingInAHighlightedLine();
  void shortAndIdenticalLines();
  void gridToggles();
  void gridAndHighlightCommute();
  void overlaysKeepToolSettings();
};

// The SVG writer under the draw pass: documents an XML parser reads, figures
// where the canvas puts their pixels, legends where the canvas puts them.
class TestSvgSurface : public QObject {
  Q_OBJECT

 private slots:
  void xmlText_data();
  void xmlText();
  void xmlUtf8Text_data();
  void xmlUtf8Text();
  void documentsAreWellFormed_data();
  void documentsAreWellFormed();
  void axisAlignedFiguresMatchPixelForPixel_data();
  void axisAlignedFiguresMatchPixelForPixel();
  void examplesLookAlike_data();
  void examplesLookAlike();
  void randomPostingsLookAlike_data();
  void randomPostingsLookAlike();
  void legendsLieWhereTheCanvasPutsThem_data();
  void legendsLieWhereTheCanvasPutsThem();
  void consecutiveLinesBecomeOnePolyline_data();
  void consecutiveLinesBecomeOnePolyline();
  void passStartsTheDocumentAfresh();
  void farShapesAreCutToThePicture_data();
  void farShapesAreCutToThePicture();
  void cuttingKeepsWhatLiesInTheBox();
};

// Picking the element under a point of the picture, and its handles; the
// elements in a band, by their ink boxes.
class TestPicking : public QObject {
  Q_OBJECT

 private slots:
  void picksWithinTheTolerance_data();
  void picksWithinTheTolerance();
  void legendsByTheirTextBox_data();
  void legendsByTheirTextBox();
  void agreesWithThePaintedPixels();
  void handlesAreTheResolvedPoints_data();
  void handlesAreTheResolvedPoints();
  void picksTheElementsInABand_data();
  void picksTheElementsInABand();
  void legendBoxIsItsMeasuredTextBox_data();
  void legendBoxIsItsMeasuredTextBox();
  void boxesHoldThePaintedPixels();
};
