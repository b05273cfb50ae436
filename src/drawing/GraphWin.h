#pragma once
// TGrafForm, the drawing window: the 320x200 picture of the sketch lines in
// the editor text it is bound to, and the tool bar whose settings the mouse
// tools draw with. The picture is never stored: DrawSketch repaints it from
// the text. There is at most one; closing it only minimises it.
//
// The canvas of the picture carries the tool settings: its pen holds the pen
// style and width (black), its brush the fill setting.

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolButton>
#include <QWidget>
#include <array>
#include <cstdint>
#include <string>

#include "canvas/Canvas.h"
#include "drawing/PictureView.h"
#include "drawing/ToolCodes.h"
#include "drawing/ToolSettings.h"
#include "format/SketchTokens.h"
#include "render/DrawHost.h"
#include "render/ElementDrawers.h"
#include "render/Overlays.h"
#include "ui/MdiChild.h"

class TEditForm;
namespace editor {
class SketchTextEdit;
}

class TGrafForm : public QWidget, public ui::MdiChild, private sketch::DrawHost {
  Q_OBJECT

 public:
  explicit TGrafForm(QWidget* parent = nullptr);

  using enum drawing::ToolCode;

  // Controls, left to right on the tool bar.
  QWidget* Panel1 = nullptr;
  QToolButton *LineButton = nullptr, *RectangleButton = nullptr, *EllipseButton = nullptr, *ArcButton = nullptr,
              *TextButton = nullptr;
  QToolButton *SolidPen = nullptr, *DashPen = nullptr, *DotPen = nullptr, *DashDotPen = nullptr;
  QSpinBox* PenWidth = nullptr;  // its edit field is PenSize
  QCheckBox *CbGridSnap = nullptr, *CbOrthoSnap = nullptr, *CbBrushStyle = nullptr, *CbRelative = nullptr;
  QPushButton* BtnPaintGrid = nullptr;
  QToolButton* BtnSwitchToEdit = nullptr;
  QScrollArea* ScrollBox1 = nullptr;
  drawing::PictureView* Image = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  std::array<QLabel*, 2> StatusPanels{};
  QMenu* File1 = nullptr;
  QMenu* Edit1 = nullptr;
  QAction *Textwindow1 = nullptr, *ExportPicture1 = nullptr, *Exit1 = nullptr, *Copy1 = nullptr, *grid1 = nullptr;

  // State.
  sketch::Canvas Picture;  // the picture and the tool settings
  std::uint8_t Tool = kLineTool;
  bool Drawing = false;
  bool PolylineOpen = false;
  bool ArcWarned = false;
  QPoint StartPoint, CurrentPoint, CenterPoint;
  editor::SketchTextEdit* EditMemo = nullptr;
  TEditForm* EditWindow = nullptr;
  std::string LegendFontName;
  std::uint16_t LegendSize = 1;
  bool LegendUp = false;
  sketch::DrawPassCounters Pass;  // LineIndex, LineLength, DrawnChars of the last pass

  // ui::MdiChild: closing only minimises, nothing to ask.
  QList<ui::MenuGroup> MenuGroups() const override;
  bool CloseQuery() override { return true; }

  void BindEditor(TEditForm* editor);
  // Repaints the picture from the bound editor's text.
  void DrawSketch();
  // Marks the element of `line` (taking the mark off the last one).
  void HighlightLine(const std::string& line);
  void PaintGrid();
  const std::string& LastHighlight() const { return highlight_.LastHighlight(); }
  // The drawing window became the active child window.
  void OnGrafWinActivate();
  void ApplyFillSetting();

  // The tool bar's and the legend's settings; applying them during a gesture
  // does nothing, as the tool bar does.
  drawing::ToolSettings CurrentToolSettings() const;
  void ApplyToolSettings(const drawing::ToolSettings& settings);

  // "Draw window", or "Draw " and the editor's file name.
  static QString DrawCaption(const QString& editorCaption);

  // Mouse gestures on the picture (X, Y in picture pixels; any button draws).
  void FormMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint at);
  void FormMouseMove(Qt::KeyboardModifiers shift, QPoint at);
  void FormMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint at);
  QPoint SnapPoint(int x, int y, QPoint reference, bool orthoAllowed) const;
  // The shape of `Tool` between p1 and p2 with the canvas pen and brush.
  void DrawToolShape(QPoint p1, QPoint p2, sketch::PenMode mode);

  // Sketch lines into the bound editor's text; false when the text refused
  // them (it is full).
  bool AppendSketchLine(const std::string& text);
  bool ExtendLastLine(const std::string& text);

  // A press with the text tool: asks for a legend and places it at StartPoint.
  void PlaceLegend();

 signals:
  void showEditorRequested(TEditForm* editor);  // F6
  void exitRequested();

 private:
  void BuildToolBar();
  void BuildMenus();
  void ToolButtonClick(std::uint8_t tool);
  void ArcButtonClick();
  void StyleBtnClick(QAbstractButton* button);
  void PenSizeChange();
  void SetBrushStyle();
  void CbRelativeClick();
  void Copy1Click();
  // File "Export picture...": the picture F7 paints, as a PNG or SVG file.
  void ExportPicture1Click();
  void RenewCaption();
  void RefreshPicture() { Image->update(); }
  QString exportFilter_;  // the kind of picture file chosen last
  void FinishLine(bool ctrl);
  void FinishRectangle() { FinishBox(sketch::ElementKind::Rectangle); }
  void FinishEllipse() { FinishBox(sketch::ElementKind::Ellipse); }
  void FinishBox(sketch::ElementKind kind);
  void FinishArc();
  void SettleToolShape(bool written);
  // Draws the preview of the gesture again, which takes it off; returns where.
  QRect EraseRubberBand();
  // The gesture's points for the pointer at `at`.
  void FollowPointer(Qt::KeyboardModifiers shift, QPoint at);
  bool CentreMode(Qt::KeyboardModifiers shift) const;
  void ShowPoint(int panel, const char* format, QPoint p);
  QRect ShapeReach(QPoint p1, QPoint p2) const;
  bool GestureUnderWay() const { return Drawing || PolylineOpen; }

  // sketch::DrawHost
  bool ConfirmIncomplete(std::int32_t lineIndex, std::int32_t column, std::string_view message) override;
  void WarnDrawingSize(std::string_view message) override;

  QButtonGroup* tools_ = nullptr;
  QButtonGroup* styles_ = nullptr;
  sketch::Highlight highlight_;
  int polylineRevision_ = -1;  // the editor's revision after the open polyline's last vertex
};
