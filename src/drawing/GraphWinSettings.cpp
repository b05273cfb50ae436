// The drawing window's settings as one value, for keeping them between runs.

#include "drawing/GraphWin.h"

drawing::ToolSettings TGrafForm::CurrentToolSettings() const {
  drawing::ToolSettings settings;
  settings.tool = Tool;
  settings.penStyle = Picture.pen.style;
  settings.penWidth = PenWidth->value();
  settings.fill = CbBrushStyle->isChecked();
  settings.gridSnap = CbGridSnap->isChecked();
  settings.orthoSnap = CbOrthoSnap->isChecked();
  settings.legendSize = LegendSize;
  settings.legendUp = LegendUp;
  return settings;
}

void TGrafForm::ApplyToolSettings(const drawing::ToolSettings& settings) {
  if (GestureUnderWay()) return;
  QToolButton* const tools[] = {LineButton, RectangleButton, EllipseButton, ArcButton, TextButton};
  if (settings.tool < std::size(tools)) {
    tools[settings.tool]->setChecked(true);
    Tool = settings.tool;
  }
  // The width first: a width above 1 makes the pen solid again.
  PenWidth->setValue(settings.penWidth);
  QToolButton* const styles[] = {SolidPen, DashPen, DotPen, DashDotPen};
  const auto style = static_cast<std::size_t>(settings.penStyle);
  if (style < std::size(styles) && (settings.penStyle == sketch::PenStyle::Solid || PenWidth->value() == 1)) {
    styles[style]->setChecked(true);
    Picture.pen.style = settings.penStyle;
  }
  CbBrushStyle->setChecked(settings.fill);
  ApplyFillSetting();
  CbGridSnap->setChecked(settings.gridSnap);
  CbOrthoSnap->setChecked(settings.orthoSnap);
  if (settings.legendSize <= 2) LegendSize = settings.legendSize;
  LegendUp = settings.legendUp;
}
