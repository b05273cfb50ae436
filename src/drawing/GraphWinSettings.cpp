// The drawing window's settings as one value, for keeping them between runs,
// and the word that one of them changed.

#include <QButtonGroup>
#include <QCheckBox>
#include <QScopedValueRollback>
#include <QSpinBox>
#include <QToolButton>

#include "drawing/GraphWin.h"
#include "drawing/ToolRegistry.h"

void TGrafForm::ApplyToolSettings(const drawing::ToolSettings& settings) {
  if (GestureUnderWay()) return;
  if (drawing::FindTool(settings.tool) != nullptr) {
    toolButtons_[settings.tool]->setChecked(true);
    SwitchTool(settings.tool);
  }
  // The width first: a width above 1 makes the pen solid again.
  const QScopedValueRollback quiet(quietControls_, true);
  PenWidth->setValue(settings.penWidth);
  const auto style = static_cast<std::size_t>(settings.penStyle);
  if (style < penButtons_.size() && (settings.penStyle == sketch::PenStyle::Solid || PenWidth->value() == 1)) {
    penButtons_[style]->setChecked(true);
    settings_.penStyle = settings.penStyle;
  }
  CbBrushStyle->setChecked(settings.fill);
  ApplyFillSetting();
  CbGridSnap->setChecked(settings.gridSnap);
  CbOrthoSnap->setChecked(settings.orthoSnap);
  if (settings.legendSize <= 2) settings_.legendSize = settings.legendSize;
  settings_.legendUp = settings.legendUp;
}

void TGrafForm::ReportSettingChanges() {
  const auto changed = [this] { emit settingsChanged(); };
  connect(toolGroup_, &QButtonGroup::buttonToggled, this, changed);
  connect(styles_, &QButtonGroup::buttonToggled, this, changed);
  connect(PenWidth, &QSpinBox::valueChanged, this, changed);
  for (QCheckBox* box : {CbGridSnap, CbOrthoSnap, CbBrushStyle}) connect(box, &QCheckBox::toggled, this, changed);
  // Every zoom shows as a checked step or Fit.
  for (QAction* step : ZoomSteps) connect(step, &QAction::toggled, this, changed);
  connect(ZoomFit1, &QAction::toggled, this, changed);
  connect(RedrawWhileTyping1, &QAction::toggled, this, changed);
}
