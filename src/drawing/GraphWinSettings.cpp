// The drawing window's settings as one value, for keeping them between runs.

#include "drawing/GraphWin.h"

void TGrafForm::ApplyToolSettings(const drawing::ToolSettings& settings) {
  if (GestureUnderWay()) return;
  QToolButton* const tools[] = {LineButton, RectangleButton, EllipseButton, ArcButton, TextButton, SelectButton};
  if (settings.tool < std::size(tools)) {
    tools[settings.tool]->setChecked(true);
    Settings.tool = settings.tool;
  }
  // The width first: a width above 1 makes the pen solid again.
  PenWidth->setValue(settings.penWidth);
  QToolButton* const styles[] = {SolidPen, DashPen, DotPen, DashDotPen};
  const auto style = static_cast<std::size_t>(settings.penStyle);
  if (style < std::size(styles) && (settings.penStyle == sketch::PenStyle::Solid || PenWidth->value() == 1)) {
    styles[style]->setChecked(true);
    Settings.penStyle = settings.penStyle;
  }
  CbBrushStyle->setChecked(settings.fill);
  ApplyFillSetting();
  CbGridSnap->setChecked(settings.gridSnap);
  CbOrthoSnap->setChecked(settings.orthoSnap);
  if (settings.legendSize <= 2) Settings.legendSize = settings.legendSize;
  Settings.legendUp = settings.legendUp;
}
