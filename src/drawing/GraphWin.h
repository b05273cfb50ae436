#pragma once
// TGrafForm, the drawing window: the 320x200 picture of the sketch lines in
// the editor text it is bound to, and the tool bar whose settings the mouse
// tools draw with. The picture is never stored: DrawSketch repaints it from
// the text. There is at most one; closing it only minimises it.
//
// The tool settings are a value of their own, applied to the canvas for each
// figure a tool draws. The picture can be shown enlarged (zoom), and can
// follow every change of the text (redraw while typing).

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
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "canvas/Canvas.h"
#include "canvas/Geometry.h"
#include "drawing/DrawingTools.h"
#include "drawing/PictureView.h"
#include "drawing/ToolCodes.h"
#include "drawing/ToolSettings.h"
#include "format/LineSource.h"
#include "format/PointRewrite.h"
#include "format/SketchTokens.h"
#include "render/DrawHost.h"
#include "render/ElementDrawers.h"
#include "render/Overlays.h"
#include "render/Picking.h"
#include "ui/MdiChild.h"

class TEditForm;
class QKeyEvent;
class QMdiSubWindow;
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
  QToolButton* SelectButton = nullptr;  // picks shapes in the picture to move, reshape or delete
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
  QLabel* ZoomPanel = nullptr;  // "1x" ... "8x", "Fit 3x"
  QLabel* NotePanel = nullptr;  // what redraw while typing found
  QMenu* File1 = nullptr;
  QMenu* Edit1 = nullptr;
  QMenu* View1 = nullptr;
  QAction *Textwindow1 = nullptr, *ExportPicture1 = nullptr, *Exit1 = nullptr, *Copy1 = nullptr, *grid1 = nullptr;
  QAction *Undo1 = nullptr, *Redo1 = nullptr;
  QAction *ZoomIn1 = nullptr, *ZoomOut1 = nullptr, *ActualSize1 = nullptr, *ZoomFit1 = nullptr;
  std::array<QAction*, 8> ZoomSteps{};  // 1x ... 8x
  QAction* RedrawWhileTyping1 = nullptr;

  // State.
  sketch::Canvas Picture;
  // The tool, pen, width, fill, snaps and legend choices of the next figure.
  // `Settings.tool` is the tool in hand: 0 line, 1 rectangle, 2 ellipse, 3 arc, 4 text.
  drawing::ToolSettings Settings;
  bool Drawing = false;
  bool PolylineOpen = false;
  bool ArcWarned = false;
  QPoint StartPoint, CurrentPoint, CenterPoint;
  editor::SketchTextEdit* EditMemo = nullptr;
  TEditForm* EditWindow = nullptr;
  std::string LegendFontName;
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
  drawing::ToolSettings CurrentToolSettings() const { return Settings; }
  void ApplyToolSettings(const drawing::ToolSettings& settings);

  // Zoom: whole steps 1 to 8, or Fit (the largest step the window shows whole).
  static constexpr int kZoomMax = 8;
  int Zoom() const { return Image->Zoom(); }
  bool ZoomFits() const { return zoomFit_; }
  void SetZoom(int zoom);  // clamped to 1..8; ends Fit
  void SetZoomFit();
  void ZoomBy(int steps);
  drawing::ViewSettings CurrentViewSettings() const { return {Zoom(), zoomFit_, RedrawWhileTyping()}; }
  void ApplyViewSettings(const drawing::ViewSettings& view);

  // Redraw while typing: every change of the bound text repaints the picture
  // once the event loop turns, asking nothing.
  bool RedrawWhileTyping() const { return RedrawWhileTyping1->isChecked(); }
  void SetRedrawWhileTyping(bool on) { RedrawWhileTyping1->setChecked(on); }
  // The pass of a redraw while typing, or after an undo: questions become a
  // note in the status bar; the mark goes back onto the caret's line.
  void RedrawQuietly();

  // "Draw window", or "Draw " and the editor's file name.
  static QString DrawCaption(const QString& editorCaption);

  // Mouse gestures on the picture (X, Y in picture pixels; any button draws).
  const drawing::DrawingTool& CurrentTool() const { return drawing::ToolFor(Settings.tool); }
  void FormMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint at);
  void FormMouseMove(Qt::KeyboardModifiers shift, QPoint at);
  void FormMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint at);
  QPoint SnapPoint(int x, int y, QPoint reference, bool orthoAllowed) const;
  // The shape of the tool between p1 and p2 with the pen and fill of the settings.
  void DrawToolShape(QPoint p1, QPoint p2, sketch::PenMode mode);

  // Sketch lines into the bound editor's text; false when the text refused
  // them (it is full).
  bool AppendSketchLine(const std::string& text);
  bool ExtendLastLine(const std::string& text);

  // Ends an open polyline where it stands: its line gets its ")". Escape
  // does it, so does leaving the drawing window.
  void EndPolyline();

  // A press with the text tool: asks for a legend and places it at StartPoint.
  void PlaceLegend();

  // The select tool. The picked element is the one of the editor's caret
  // line, when that is a drawable sketch line; a click in the picture puts
  // the caret on the topmost element under the mouse.
  std::optional<std::int32_t> PickedLine() const { return pickedLine_; }
  const std::vector<QPoint>& Handles() const { return handles_; }

 signals:
  void showEditorRequested(TEditForm* editor);  // F6
  void exitRequested();
  // A tool setting, the legend's size or direction, or the view changed.
  void settingsChanged();

 private:
  void BuildToolBar();
  void NameParts();
  void BuildMenus();
  void ReportSettingChanges();
  void ToolButtonClick(std::uint8_t tool);
  void ArcButtonClick();
  void StyleBtnClick(QAbstractButton* button);
  void PenSizeChange();
  void SetBrushStyle();
  void CbRelativeClick();
  void Copy1Click();
  // File "Export picture...": the picture F7 paints, as a PNG or SVG file.
  void ExportPicture1Click();
  void BuildViewMenu();
  void RenewCaption();
  void RefreshPicture() { Image->update(); }
  // Repaints what the canvas drew since the last call.
  void RefreshTouched();
  void ShowZoom();
  void FitZoomToWindow();
  void ScheduleLiveRedraw();
  void Undo1Click();
  void Redo1Click();
  void RenewUndoItems();
  std::string CaretLine() const;
  QString exportFilter_;  // the kind of picture file chosen last
  // Writes what a release emits and settles the gesture.
  void Finish(const drawing::Emission& emission);
  void SettleToolShape(bool written);
  // Everything drawn on the picture for good (copy mode) goes through here:
  // the caret mark comes off first and goes back on after, so no mark is
  // ever left under a figure, where taking it off later would invert the
  // figure. Rubber bands and drag previews are off by then.
  void DrawForGood(const std::function<void()>& draw);
  // Draws the preview of the gesture again, which takes it off.
  void EraseRubberBand();
  // The gesture's points for the pointer at `at`.
  void FollowPointer(Qt::KeyboardModifiers shift, QPoint at);
  bool CentreMode(Qt::KeyboardModifiers shift) const;
  void ShowPoint(int panel, const char* format, QPoint p);
  bool GestureUnderWay() const { return Drawing || PolylineOpen || drag_.active; }

  // sketch::DrawHost
  bool ConfirmIncomplete(std::int32_t lineIndex, std::int32_t column, std::string_view message) override;
  void WarnDrawingSize(std::string_view message) override;

  QButtonGroup* tools_ = nullptr;
  QButtonGroup* styles_ = nullptr;
  // The select tool's side (GraphWinSelect.cpp).
  struct SelectDrag {
    bool active = false;
    int handle = -1;                           // the point dragged; -1: the whole element
    QPoint press;                              // where the drag began, in picture points
    std::string original;                      // the picked line as it stands in the text
    std::string preview;                       // the line as it will be; empty: no preview on the picture
    std::vector<sketch::PicturePoint> points;  // the element's points before the drag
    std::uint8_t kindTool = 0;                 // the drawing tool whose snapping the element follows
  };
  // The open polyline's line in the text, followed through changes that
  // others make; -1 when there is none or the change touched it.
  int polylineStart_ = -1, polylineLength_ = 0;
  bool writing_ = false;  // the window itself changes the text
  void FollowPolylineLine();
  void OnTextChange(int from, int removed, int added);
  void StopPolylineGesture();
  void ClosePolylineLine();
  // The keys that work wherever the focus is in the window: the tool
  // letters, and Escape, which ends an open polyline or a select drag.
  bool WindowKey(const QKeyEvent* key);
  // Leaving the window ends an open polyline; its keys reach it through
  // the window's frame too.
  void FollowActivation();
  QMdiSubWindow* activationFrame_ = nullptr;
  void SelectMouseDown(QPoint at);
  void SelectMouseMove(Qt::KeyboardModifiers shift, QPoint at);
  void SelectMouseUp(Qt::KeyboardModifiers shift, QPoint at);
  std::vector<sketch::PicturePoint> DraggedPoints(QPoint at) const;
  void TogglePreview(const std::string& line);
  void CancelSelectDrag();
  // The picked element's line with its points moved to `points`, written
  // over the old one as one undo step; false when it was not changed.
  bool RewritePicked(const std::vector<sketch::PicturePoint>& points);
  void MovePickedBy(QPoint offset);
  void DeletePicked();
  void RenewPick();
  bool ToolKey(const QKeyEvent* key);
  bool SelectKey(const QKeyEvent* key);
  std::string LineText(std::int32_t line) const;
  // The text's lines for picking, read again only when the text changed.
  const sketch::PickIndex& PickingIndex();
  std::optional<sketch::PickIndex> pickingIndex_;
  int pickingRevision_ = -1;
  std::optional<std::int32_t> pickedLine_;
  // After a Delete the caret's line is another element, which nobody chose:
  // nothing is picked (or marked) until the user picks again.
  bool pickWithdrawn_ = false;
  std::optional<std::int32_t> deletedLine_;  // for Ctrl+Z right after the Delete
  int deleteRevision_ = -1;
  // The Delete an undo took back, with the revision after the undo: redone
  // at once, nothing is picked again.
  std::optional<std::pair<std::int32_t, int>> redoneDelete_;
  std::vector<QPoint> handles_;
  SelectDrag drag_;

  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

  sketch::Highlight highlight_;
  int polylineRevision_ = -1;  // the editor's revision after the open polyline's last vertex
  bool zoomFit_ = false;
  bool liveRedrawDue_ = false;  // a redraw while typing waits for the event loop
};
