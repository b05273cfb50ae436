#pragma once

#include <QObject>

// The FreeType legend painter's own rules: its metrics, the turn of upward
// text, the clip, the character set, the font match and painting threads.
class TestFreeTypePainter : public QObject {
  Q_OBJECT

 private slots:
  void metricsFollowTheRules_data();
  void metricsFollowTheRules();
  void upwardTextIsTheUprightTextTurned_data();
  void upwardTextIsTheUprightTextTurned();
  void paintsOnlyWithinTheClip_data();
  void paintsOnlyWithinTheClip();
  void upperHalfBytesDrawAsQtDrawsThem();
  void unassignedBytesDrawTheMissingGlyph();
  void unknownFamilyFallsBackToTheMatchedFont_data();
  void unknownFamilyFallsBackToTheMatchedFont();
  void twoThreadsPaintTheSameMasks();
};
