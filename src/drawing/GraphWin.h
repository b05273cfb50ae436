#pragma once
// TGrafForm, the drawing window: the 320x200 picture of the sketch lines in
// the editor text it is bound to, and the tool bar whose settings the mouse
// tools draw with. The picture is never stored: DrawSketch repaints it from
// the text. There is at most one; closing it only minimises it.
//
// The tool settings are a value of their own, applied to the canvas for each
// figure a tool draws. The picture can be shown enlarged (zoom), and can
// follow every change of the text (redraw while typing).

#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "canvas/Canvas.h"
#include "drawing/PictureOverlays.h"
#include "drawing/PictureView.h"
#include "drawing/Tool.h"
#include "drawing/ToolRegistry.h"
#include "drawing/ToolSettings.h"
#include "render/DrawHost.h"
#include "render/DrawPass.h"
#include "ui/MdiChild.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QKeyEvent;
class QLabel;
class QMdiSubWindow;
class QMenu;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QStatusBar;
class QToolButton;
class TEditForm;
namespace editor {
class SketchTextEdit;
}

class TGrafForm : public QWidget, public ui::MdiChild, private sketch::DrawHost, private drawing::ToolContext {
  Q_OBJECT

 public:
  explicit TGrafForm(QWidget* parent = nullptr);
  ~TGrafForm() override;

  // The picture, and the control that shows it and takes the mouse.
  sketch::Canvas Picture;
  drawing::PictureView* Image = nullptr;

  // ui::MdiChild: closing only minimises, nothing to ask.
  QList<ui::MenuGroup> MenuGroups() const override;
  bool CloseQuery() override { return true; }

  void BindEditor(TEditForm* editor);
  TEditForm* BoundEditor() const { return EditWindow; }
  // Repaints the picture from the bound editor's text.
  void DrawSketch();
  // The LineIndex, LineLength and DrawnChars of the last pass.
  const sketch::DrawPassCounters& LastPass() const { return Pass; }
  // Marks the element of `line` (taking the mark off the last one).
  void HighlightLine(const std::string& line);
  void PaintGrid();
  const std::string& LastHighlight() const { return overlays_.Marked(); }
  // The drawing window became the active child window.
  void OnGrafWinActivate();

  // The tool bar's and the legend's settings; applying them during a gesture
  // does nothing, as the tool bar does.
  drawing::ToolSettings CurrentToolSettings() const { return settings_; }
  void ApplyToolSettings(const drawing::ToolSettings& settings);
  // A gesture is under way: a shape being drawn, an open polyline, a drag.
  bool GestureUnderWay() const;

  // Zoom: whole steps 1 to 8, or Fit (the largest step the window shows whole).
  static constexpr int kZoomMax = 8;
  int Zoom() const override { return Image->Zoom(); }
  bool ZoomFits() const { return zoomFit_; }
  void SetZoom(int zoom);  // clamped to 1..8; ends Fit
  void SetZoomFit();
  void ZoomBy(int steps);
  drawing::ViewSettings CurrentViewSettings() const { return {Zoom(), zoomFit_, RedrawWhileTyping()}; }
  void ApplyViewSettings(const drawing::ViewSettings& view);

  // Redraw while typing: every change of the bound text repaints the picture
  // once the event loop turns, asking nothing.
  bool RedrawWhileTyping() const;
  void SetRedrawWhileTyping(bool on);
  // The pass of a redraw while typing, or after an undo: questions become a
  // note in the status bar; the mark goes back onto the caret's line.
  void RedrawQuietly() override;

  // "Draw window", or "Draw " and the editor's file name.
  static QString DrawCaption(const QString& editorCaption);

  // Sketch lines into the bound editor's text; false when the text refused
  // them (it is full).
  bool AppendSketchLine(const std::string& text) override;
  bool ExtendLastLine(const std::string& text, bool joinPrevious) override;

  // The select tool's pick: the caret's line when that is a drawable
  // sketch line, and the handles shown on it.
  std::optional<std::int32_t> PickedLine() const { return CurrentTool().Picked(); }
  std::vector<std::int32_t> PickedLines() const { return CurrentTool().PickedLines(); }
  const std::vector<QPoint>& Handles() const { return overlays_.Handles(); }

 signals:
  void showEditorRequested(TEditForm* editor);  // F6
  void exitRequested();
  // A tool setting, the legend's size or direction, or the view changed.
  void settingsChanged();

 private:
  void BuildToolBar();
  void BuildMenus();
  void BuildViewMenu();
  void ReportSettingChanges();
  // The tool of `code` in hand (from a button, a key or the settings).
  void ToolButtonClick(std::uint8_t code);
  void SwitchTool(std::uint8_t code);
  drawing::Tool& CurrentTool() const { return *tools_[settings_.tool]; }
  const drawing::ToolSettings& Settings() const override { return settings_; }
  void StyleBtnClick(QAbstractButton* button);
  void PenSizeChange();
  void SetBrushStyle();
  void ApplyFillSetting();
  void CbRelativeClick();
  // The pen or fill the user chose goes onto what the tool picked as well.
  void RestylePicked(const sketch::StyleChange& change);
  sketch::Pen ChosenPen() const;
  void Copy1Click();
  // The Edit menu's commands on picked elements; Paste and Select all take
  // the select tool in hand, Copy with nothing picked copies the picture.
  void EditCommandClick(drawing::EditCommand command);
  void RenewEditItems();
  // File "Export picture...": the picture F7 paints, as a PNG or SVG file.
  void ExportPicture1Click();
  void RenewCaption();
  void RefreshPicture();
  void ShowZoom();
  void FitZoomToWindow();
  // After a zoom in: the window grows to show the whole picture, within the frame.
  void GrowToShowPicture();
  void ScheduleLiveRedraw();
  void Undo1Click();
  void Redo1Click();
  void RenewUndoItems();
  void RenewPick();
  std::string CaretLine() const;

  // Mouse gestures on the picture go to the tool in hand.
  void FormMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint at);
  void FormMouseMove(Qt::KeyboardModifiers shift, QPoint at);
  void FormMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint at);
  // The tool in hand ends its gesture, and the read-outs of its points go.
  void EndGesture();
  // Origin (or Center), Current and Cursor: empty.
  void ClearReadOuts();
  void OnTextChange(int from, int removed, int added);
  // The keys that work wherever the focus is in the window: the tool
  // letters, and Escape, which cancels the gesture.
  bool WindowKey(const QKeyEvent* key);
  // Leaving the window ends a gesture where it stands; its keys reach it
  // through the window's frame too.
  void FollowActivation();

  // drawing::ToolContext
  sketch::Canvas& Canvas() override { return Picture; }
  drawing::PictureOverlays& Overlays() override { return overlays_; }
  bool Relative() const override;
  void ShowPoint(int panel, const char* format, QPoint p) override;
  void ShowNote(const QString& note) override;
  TEditForm* Text() override { return EditWindow; }
  void UndoText(bool redo) override;
  QWidget* DialogParent() override { return this; }
  const std::string& LegendFontName() const override { return legendFontName_; }
  void KeepLegendChoice(std::uint16_t size, bool up) override;

  // sketch::DrawHost
  bool ConfirmIncomplete(std::int32_t lineIndex, std::int32_t column, std::string_view message) override;
  void WarnDrawingSize(std::string_view message) override;

  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

  // Controls, left to right on the tool bar.
  QWidget* Panel1 = nullptr;
  std::array<QToolButton*, drawing::kToolCount> toolButtons_{};  // by tool code
  std::array<QToolButton*, 4> penButtons_{};                     // SolidPen, DashPen, DotPen, DashDotPen
  QToolButton* PenButton(sketch::PenStyle style) const { return penButtons_[static_cast<std::size_t>(style)]; }
  QSpinBox* PenWidth = nullptr;  // its edit field is PenSize
  QCheckBox *CbGridSnap = nullptr, *CbOrthoSnap = nullptr, *CbBrushStyle = nullptr, *CbRelative = nullptr;
  QPushButton* BtnPaintGrid = nullptr;
  QToolButton* BtnSwitchToEdit = nullptr;
  QScrollArea* ScrollBox1 = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  std::array<QLabel*, 2> StatusPanels{};
  QLabel* ZoomPanel = nullptr;  // "1x" ... "8x", "Fit 3x"
  QLabel* NotePanel = nullptr;  // what redraw while typing found
  QMenu *File1 = nullptr, *Edit1 = nullptr, *View1 = nullptr;
  QAction *Textwindow1 = nullptr, *Save1 = nullptr, *ExportPicture1 = nullptr, *Exit1 = nullptr, *Copy1 = nullptr,
          *grid1 = nullptr;
  QAction *Undo1 = nullptr, *Redo1 = nullptr;
  QAction *Cut1 = nullptr, *Paste1 = nullptr, *Duplicate1 = nullptr, *Delete1 = nullptr, *SelectAll1 = nullptr;
  QAction *ZoomIn1 = nullptr, *ZoomOut1 = nullptr, *ActualSize1 = nullptr, *ZoomFit1 = nullptr;
  std::array<QAction*, 8> ZoomSteps{};  // 1x ... 8x
  QAction* RedrawWhileTyping1 = nullptr;
  QButtonGroup* toolGroup_ = nullptr;
  QButtonGroup* styles_ = nullptr;

  // The tool, pen, width, fill, snaps and legend choices of the next figure.
  drawing::ToolSettings settings_;
  std::array<std::unique_ptr<drawing::Tool>, drawing::kToolCount> tools_;  // by tool code
  std::array<bool, drawing::kToolCount> cautioned_{};                      // the tool's caution was shown
  editor::SketchTextEdit* EditMemo = nullptr;
  TEditForm* EditWindow = nullptr;
  std::string legendFontName_;
  sketch::DrawPassCounters Pass;
  drawing::PictureOverlays overlays_;
  QString exportFilter_;        // the kind of picture file chosen last
  bool writing_ = false;        // the window itself changes the text
  bool quietControls_ = false;  // the window sets its controls: nothing picked is restyled
  QMdiSubWindow* activationFrame_ = nullptr;
  bool zoomFit_ = false;
  bool liveRedrawDue_ = false;  // a redraw while typing waits for the event loop
};
