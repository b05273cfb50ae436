#pragma once

#include <QObject>

// The picture's drawing operations, checked on pixels.
class TestCanvas : public QObject {
  Q_OBJECT

 private slots:
  void newPictureIsWhite();
  void rectangleCoversX1ToX2MinusOne_data();
  void rectangleCoversX1ToX2MinusOne();
  void filledRectangleHasPenOutlineAndBrushInside();
  void lineStopsBeforeItsEndPoint_data();
  void lineStopsBeforeItsEndPoint();
  void zeroLengthLineDrawsNothing();
  void widthZeroDrawsThinnestLine();
  void widePenIsThickAndRound_data();
  void widePenIsThickAndRound();
  void widePenWithBrokenStyleDrawsSolid();
  void dashGaps_data();
  void dashGaps();
  void penStylesDiffer();
  void brokenOutlines_data();
  void brokenOutlines();
  void ellipseTouchesItsBoxEdges();
  void filledEllipseHasNoHoles();
  void arcRunsCounterClockwise();
  void notXorTwiceRestoresEveryPixel();
  void notXorOnWhiteDrawsAsCopy();
  void notXorBatchEqualsFiguresOneByOne();
  void figuresDrawnInBandsEqualOnePicture();
  void notXorInvertsAgainstPen();
  void textOutPlacesBoxAndIgnoresMixMode();
  void upwardTextReadsUpLeftOfBox();
  void fontHeightsAtNinetySixDpi_data();
  void fontHeightsAtNinetySixDpi();
  void fillRectPaintsWithBrushOnly();
  void textAndFillsWhollyOffThePictureChangeNothing_data();
  void textAndFillsWhollyOffThePictureChangeNothing();
  void shapesFarOutsideShowTheirVisiblePart();
};

// Figures reaching far off the picture: the outline walk of broken pens, and
// shapes that show the same pixels wherever they lie.
class TestFarShapes : public QObject {
  Q_OBJECT

 private slots:
  void outlineWalkMatchesAStepByStepWalk_data();
  void outlineWalkMatchesAStepByStepWalk();
  void movedShapesShowTheSamePixels_data();
  void movedShapesShowTheSamePixels();
  void dashesDoNotDependOnWhatLiesOffThePicture_data();
  void dashesDoNotDependOnWhatLiesOffThePicture();
  void dashesOfARectangleCountFromItsCorner();
  void thinLinesTakeTheNearestPixel_data();
  void thinLinesTakeTheNearestPixel();
  void quarterArcsMakeTheWholeOutline_data();
  void quarterArcsMakeTheWholeOutline();
};
