#include "drawing/GraphWin.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "drawing/ToolGlyphs.h"
#include "drawing/ToolRegistry.h"
#include "editor/DocumentLines.h"
#include "editor/MDIEdit.h"
#include "editor/PostingText.h"
#include "legendtext/FreeTypeTextPainter.h"
#include "qttext/LegendFont.h"
#include "qttext/PictureImage.h"
#include "qttext/TextBytes.h"
#include "render/DrawPass.h"
#include "render/LegendText.h"
#include "ui/Dialogs.h"

namespace {

const QString kRelativeCaution = QStringLiteral(
    "Caution: Relative is new. Readers who have older\n"
    "versions of Sketchpost cannot display the coordinates.\n"
    "Please do not use it except when you really need it!\n"
    "Vessrin.");

// Message texts of the sketch code break lines with CR LF; Qt's boxes with LF.
QString ShownText(std::string_view message) {
  QString text = sketch::BytesToQString(message);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

QToolButton* ToolBarButton(QWidget* parent, const QString& hint, bool checkable = true) {
  auto* button = new QToolButton(parent);
  button->setToolTip(hint);
  button->setCheckable(checkable);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

// The thickness up-down leaves the arrow keys alone.
class NoArrowKeys final : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown) return true;
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

TGrafForm::TGrafForm(QWidget* parent)
    : QWidget(parent),
      Image(ui::Named(new drawing::PictureView(Picture.Picture()), "Image")),
      overlays_(Picture, *Image) {
  setWindowTitle(QStringLiteral("picture"));
  // FormCreate: a blank picture, a clear brush, the legend face.
  Picture.brush.style = sketch::BrushStyle::Clear;
  legendFontName_ = qttext::ChooseLegendFontName();
  Picture.font.name = legendFontName_;
  Picture.SetTextPainter(&legendtext::SharedTextPainter());
  for (const drawing::ToolEntry& entry : drawing::kTools) tools_[entry.code] = entry.make();

  BuildToolBar();
  ScrollBox1 = ui::Named(new QScrollArea(this), "ScrollBox1");
  ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  ScrollBox1->setWidget(Image);
  ScrollBox1->setWidgetResizable(false);
  Image->setFocusPolicy(Qt::StrongFocus);  // keys go to the drawing window while it is active
  setFocusProxy(Image);
  connect(Image, &drawing::PictureView::pressed, this, &TGrafForm::FormMouseDown);
  connect(Image, &drawing::PictureView::moved, this, &TGrafForm::FormMouseMove);
  connect(Image, &drawing::PictureView::released, this, &TGrafForm::FormMouseUp);
  // Ctrl+wheel zooms, also beside the picture when it is smaller than the window.
  ScrollBox1->viewport()->installEventFilter(this);
  Image->installEventFilter(this);

  StatusBar1 = ui::Named(new QStatusBar(this), "StatusBar1");
  StatusBar1->setSizeGripEnabled(false);
  // Fixed and opaque: a new text at every mouse move repaints the label
  // alone, never the window's layout around it.
  for (std::size_t i = 0; i < StatusPanels.size(); ++i) {
    StatusPanels[i] = new QLabel(StatusBar1);
    StatusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    StatusPanels[i]->setFixedSize(i == 0 ? 150 : 170, StatusPanels[i]->sizeHint().height());
    StatusPanels[i]->setAutoFillBackground(true);
    StatusBar1->addWidget(StatusPanels[i]);
  }
  ZoomPanel = ui::Named(new QLabel(StatusBar1), "ZoomPanel");
  ZoomPanel->setToolTip(tr("zoom"));
  StatusBar1->addWidget(ZoomPanel);
  NotePanel = ui::Named(new QLabel(StatusBar1), "NotePanel");
  StatusBar1->addWidget(NotePanel, 1);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(Panel1);
  layout->addWidget(ScrollBox1, 1);
  layout->addWidget(StatusBar1);
  BuildMenus();
  ReportSettingChanges();
  ShowZoom();
  resize(Image->width() + 40, Image->height() + 90);
}

void TGrafForm::BuildToolBar() {
  Panel1 = ui::Named(new QWidget(this), "Panel1");
  auto* bar = new QHBoxLayout(Panel1);
  bar->setContentsMargins(2, 1, 2, 1);
  bar->setSpacing(1);

  toolGroup_ = new QButtonGroup(this);
  for (const drawing::ToolEntry& entry : drawing::kTools) {
    QToolButton* button = ui::Named(ToolBarButton(Panel1, tr(entry.hint)), entry.objectName);
    if (entry.glyph == nullptr) {
      button->setText(QLatin1String(entry.letter));
      QFont times(QStringLiteral("Times New Roman"));
      times.setPixelSize(21);
      times.setBold(true);
      button->setFont(times);
    } else {
      button->setIcon(drawing::ToolIcon(entry.glyph));
    }
    button->setIconSize(QSize(20, 20));
    toolGroup_->addButton(button);
    bar->addWidget(button);
    connect(button, &QToolButton::clicked, this, [this, code = entry.code] { ToolButtonClick(code); });
    toolButtons_[entry.code] = button;
  }
  toolButtons_[settings_.tool]->setChecked(true);
  bar->addSpacing(6);

  styles_ = new QButtonGroup(this);
  const char* const penNames[] = {"SolidPen", "DashPen", "DotPen", "DashDotPen"};
  const QString penHints[] = {tr("solid line"), tr("dashed"), tr("dotted"), tr("dashdot")};
  for (std::size_t style = 0; style < penButtons_.size(); ++style) {
    QToolButton* button = penButtons_[style] = ui::Named(ToolBarButton(Panel1, penHints[style]), penNames[style]);
    button->setIcon(drawing::PenStyleIcon(static_cast<sketch::PenStyle>(style)));
    button->setIconSize(QSize(21, 5));
    styles_->addButton(button);
    bar->addWidget(button);
  }
  PenButton(sketch::PenStyle::Solid)->setChecked(true);
  connect(styles_, &QButtonGroup::buttonClicked, this, &TGrafForm::StyleBtnClick);
  bar->addSpacing(6);

  PenWidth = ui::Named(new QSpinBox(Panel1), "PenWidth");
  PenWidth->setRange(sketch::kOfferedPenWidthMin, sketch::kOfferedPenWidthMax);
  PenWidth->setValue(1);
  PenWidth->setWrapping(false);
  PenWidth->setToolTip(tr("line thickness"));
  PenWidth->installEventFilter(new NoArrowKeys(PenWidth));
  PenWidth->installEventFilter(this);  // the tool letters, which it would take as text
  connect(PenWidth, &QSpinBox::valueChanged, this, &TGrafForm::PenSizeChange);
  bar->addWidget(PenWidth);

  CbGridSnap = ui::Named(new QCheckBox(QStringLiteral(":::::"), Panel1), "CbGridSnap");
  CbGridSnap->setToolTip(tr("snap to grid"));
  CbOrthoSnap = ui::Named(new QCheckBox(QStringLiteral("/-|\\"), Panel1), "CbOrthoSnap");
  CbOrthoSnap->setToolTip(tr("snap ortho/45\u00B0"));
  CbBrushStyle = ui::Named(new QCheckBox(tr("fill"), Panel1), "CbBrushStyle");
  CbBrushStyle->setToolTip(tr("rect+ellipse filled"));
  connect(CbBrushStyle, &QCheckBox::clicked, this, &TGrafForm::SetBrushStyle);
  CbRelative = ui::Named(new QCheckBox(QStringLiteral("+-"), Panel1), "CbRelative");
  CbRelative->setToolTip(tr("relative coordinates"));
  CbRelative->setVisible(false);
  CbRelative->setEnabled(false);
  connect(CbRelative, &QCheckBox::clicked, this, &TGrafForm::CbRelativeClick);
  connect(CbGridSnap, &QCheckBox::toggled, this, [this](bool on) { settings_.gridSnap = on; });
  connect(CbOrthoSnap, &QCheckBox::toggled, this, [this](bool on) { settings_.orthoSnap = on; });
  for (QCheckBox* box : {CbGridSnap, CbOrthoSnap, CbBrushStyle, CbRelative}) {
    box->setFocusPolicy(Qt::NoFocus);
    bar->addWidget(box);
  }

  BtnPaintGrid = ui::Named(new QPushButton(QStringLiteral("..."), Panel1), "BtnPaintGrid");
  BtnPaintGrid->setToolTip(tr("paint grid"));
  BtnPaintGrid->setFocusPolicy(Qt::NoFocus);
  BtnPaintGrid->setFixedWidth(28);
  connect(BtnPaintGrid, &QPushButton::clicked, this, &TGrafForm::PaintGrid);
  bar->addWidget(BtnPaintGrid);

  BtnSwitchToEdit = ui::Named(ToolBarButton(Panel1, tr("select text editor"), false), "BtnSwitchToEdit");
  BtnSwitchToEdit->setText(QStringLiteral("F6"));
  connect(BtnSwitchToEdit, &QToolButton::clicked, this, [this] { emit showEditorRequested(EditWindow); });
  bar->addWidget(BtnSwitchToEdit);
  bar->addStretch(1);
}

void TGrafForm::BuildMenus() {
  File1 = ui::Named(new QMenu(tr("&File"), this), "File1");
  Textwindow1 = ui::Named(File1->addAction(tr("Textwindow")), "Textwindow1");
  Textwindow1->setShortcut(Qt::Key_F6);
  File1->addSeparator();
  // The bound text saved from here, as F2 saves it in the text window: a
  // sketch is finished in the picture.
  Save1 = ui::Named(File1->addAction(tr("&Save")), "Save1");
  Save1->setShortcuts({QKeySequence(Qt::Key_F2), QKeySequence::Save});
  ExportPicture1 = ui::Named(File1->addAction(tr("Export &picture...")), "ExportPicture1");
  File1->addSeparator();
  Exit1 = ui::Named(File1->addAction(tr("e&xit")), "Exit1");
  Edit1 = ui::Named(new QMenu(tr("&Edit"), this), "Edit1");
  // What the select tool picked, as sketch lines; Copy with nothing picked
  // copies the picture.
  const auto command = [this](const char* name, const QString& text, drawing::EditCommand code, QKeySequence key) {
    QAction* item = ui::Named(Edit1->addAction(text), name);
    item->setShortcut(key);
    connect(item, &QAction::triggered, this, [this, code] { EditCommandClick(code); });
    return item;
  };
  Cut1 = command("Cut1", tr("Cu&t"), drawing::EditCommand::Cut, QKeySequence::Cut);
  Copy1 = command("Copy1", tr("&copy"), drawing::EditCommand::Copy, QKeySequence::Copy);
  Paste1 = command("Paste1", tr("&Paste"), drawing::EditCommand::Paste, QKeySequence::Paste);
  Duplicate1 = command("Duplicate1", tr("D&uplicate"), drawing::EditCommand::Duplicate, Qt::CTRL | Qt::Key_D);
  // The Delete key reaches the tool from the picture; the item only shows it.
  Delete1 = command("Delete1", tr("&Delete") + QStringLiteral("\tDel"), drawing::EditCommand::Delete, {});
  SelectAll1 = command("SelectAll1", tr("Select &all"), drawing::EditCommand::SelectAll, QKeySequence::SelectAll);
  Edit1->addSeparator();
  grid1 = ui::Named(Edit1->addAction(tr("&grid")), "grid1");
  grid1->setShortcut(Qt::CTRL | Qt::Key_G);
  connect(Textwindow1, &QAction::triggered, this, [this] { emit showEditorRequested(EditWindow); });
  connect(Exit1, &QAction::triggered, this, [this] { emit exitRequested(); });
  connect(ExportPicture1, &QAction::triggered, this, &TGrafForm::ExportPicture1Click);
  connect(Save1, &QAction::triggered, this, [this] {
    if (EditWindow != nullptr) EditWindow->Save();
  });
  connect(grid1, &QAction::triggered, this, &TGrafForm::PaintGrid);
  // Undo and redo of the bound editor's text, first in the menu, above copy and grid.
  Undo1 = ui::Named(new QAction(tr("&Undo"), this), "Undo1");
  Undo1->setShortcut(QKeySequence::Undo);
  Redo1 = ui::Named(new QAction(tr("&Redo"), this), "Redo1");
  Redo1->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  Edit1->insertActions(Cut1, {Undo1, Redo1});
  Edit1->insertSeparator(Cut1);
  connect(Undo1, &QAction::triggered, this, &TGrafForm::Undo1Click);
  connect(Redo1, &QAction::triggered, this, &TGrafForm::Redo1Click);
  connect(Edit1, &QMenu::aboutToShow, this, &TGrafForm::RenewUndoItems);
  connect(Edit1, &QMenu::aboutToShow, this, &TGrafForm::RenewEditItems);
  // Shut, the items take their keys whatever is picked; each does what applies.
  connect(Edit1, &QMenu::aboutToHide, this, [this] {
    for (QAction* item : {Cut1, Copy1, Paste1, Duplicate1, Delete1, SelectAll1}) item->setEnabled(true);
  });
  RenewUndoItems();
  BuildViewMenu();
}

QList<ui::MenuGroup> TGrafForm::MenuGroups() const { return {{0, File1}, {1, Edit1}, {2, View1}}; }

// --- Settings ----------------------------------------------------------------

TGrafForm::~TGrafForm() = default;

bool TGrafForm::GestureUnderWay() const { return CurrentTool().UnderWay(); }

void TGrafForm::ToolButtonClick(std::uint8_t code) {
  if (GestureUnderWay()) return;  // the button shows down; the next pass makes the tool follow it
  SwitchTool(code);
  const drawing::ToolEntry* entry = drawing::FindTool(code);
  if (entry->caution == nullptr || std::exchange(cautioned_[code], true)) return;
  ui::CurrentDialogs().Warning(this, tr(entry->caution));
}

void TGrafForm::SwitchTool(std::uint8_t code) {
  if (code != settings_.tool) {
    EndGesture();
    overlays_.SetHandles({});
    overlays_.SetFrame({});
    settings_.tool = code;
  }
  RenewPick();
}

void TGrafForm::RenewPick() { CurrentTool().Renew(*this); }

void TGrafForm::StyleBtnClick(QAbstractButton* button) {
  if (GestureUnderWay()) return;
  const auto style =
      static_cast<sketch::PenStyle>(std::find(penButtons_.begin(), penButtons_.end(), button) - penButtons_.begin());
  settings_.penStyle = style;
  if (style != sketch::PenStyle::Solid) {
    const QScopedValueRollback quiet(quietControls_, true);
    PenWidth->setValue(1);
    settings_.penWidth = 1;
  }
  RestylePicked({ChosenPen(), std::nullopt});
}

void TGrafForm::PenSizeChange() {
  if (GestureUnderWay()) return;
  settings_.penWidth = PenWidth->value();
  if (settings_.penWidth != 1) {
    PenButton(sketch::PenStyle::Solid)->setChecked(true);
    settings_.penStyle = sketch::PenStyle::Solid;
  }
  if (!quietControls_) RestylePicked({ChosenPen(), std::nullopt});
}

void TGrafForm::SetBrushStyle() {
  if (GestureUnderWay()) return;
  ApplyFillSetting();
  RestylePicked({std::nullopt, settings_.fill ? sketch::Fill::Filled : sketch::Fill::Empty});
}

sketch::Pen TGrafForm::ChosenPen() const {
  const bool solid = settings_.penStyle == sketch::PenStyle::Solid;
  return {settings_.penStyle, solid ? settings_.penWidth : 1};
}

void TGrafForm::RestylePicked(const sketch::StyleChange& change) { CurrentTool().Restyle(*this, change); }

void TGrafForm::EditCommandClick(drawing::EditCommand command) {
  if (GestureUnderWay()) return;
  const bool picksAnew = command == drawing::EditCommand::Paste || command == drawing::EditCommand::SelectAll;
  if (picksAnew && settings_.tool != drawing::kSelectTool) toolButtons_[drawing::kSelectTool]->click();
  if (CurrentTool().Do(*this, command)) return;
  if (command == drawing::EditCommand::Copy) Copy1Click();
}

void TGrafForm::RenewEditItems() {
  RenewPick();  // the text may have changed since
  // Paste and Select all take the select tool in hand; the rest need its pick.
  const drawing::Tool& select = *tools_[drawing::kSelectTool];
  const bool selecting = settings_.tool == drawing::kSelectTool;
  const auto can = [&](drawing::EditCommand command) { return select.CanDo(*this, command); };
  Cut1->setEnabled(selecting && can(drawing::EditCommand::Cut));
  Copy1->setEnabled(!GestureUnderWay());  // the picture when nothing is picked
  Paste1->setEnabled(can(drawing::EditCommand::Paste));
  Duplicate1->setEnabled(selecting && can(drawing::EditCommand::Duplicate));
  Delete1->setEnabled(selecting && can(drawing::EditCommand::Delete));
  SelectAll1->setEnabled(can(drawing::EditCommand::SelectAll));
}

void TGrafForm::ApplyFillSetting() { settings_.fill = CbBrushStyle->isChecked(); }

void TGrafForm::CbRelativeClick() {
  if (CbRelative->isChecked()) ui::CurrentDialogs().Warning(this, kRelativeCaution);
}

void TGrafForm::Copy1Click() { QApplication::clipboard()->setImage(qttext::ImageOf(Picture.Picture()).copy()); }

// --- Binding, pass, overlays -------------------------------------------------

QString TGrafForm::DrawCaption(const QString& editorCaption) {
  if (editorCaption == editor::kUntitled) return QStringLiteral("Draw window");
  return QStringLiteral("Draw ") + editor::CaptionFileName(editorCaption);
}

void TGrafForm::RenewCaption() {
  if (EditWindow != nullptr) setWindowTitle(DrawCaption(EditWindow->Caption()));
}

void TGrafForm::BindEditor(TEditForm* editor) {
  EditMemo = editor->Editor;
  EditWindow = editor;
  RenewCaption();
  overlays_.ForgetMark();
  QTextDocument* document = EditMemo->document();
  connect(document, &QTextDocument::contentsChanged, this, &TGrafForm::ScheduleLiveRedraw);
  connect(document, &QTextDocument::contentsChange, this, &TGrafForm::OnTextChange);
  connect(document, &QTextDocument::undoAvailable, this, &TGrafForm::RenewUndoItems);
  connect(document, &QTextDocument::redoAvailable, this, &TGrafForm::RenewUndoItems);
  RenewUndoItems();
}

void TGrafForm::DrawSketch() {
  if (EditMemo == nullptr) return;
  const editor::DocumentLines lines(*EditMemo->document());
  if (lines.LineCount() == 0) return;  // picture, settings and caption stay
  liveRedrawDue_ = false;              // this pass shows the text as it is
  NotePanel->clear();
  sketch::RunDrawPass(Picture, lines, *this, Pass);
  overlays_.AfterPass({});  // the picture was cleared: no mark is left on it
  RefreshPicture();

  // The settings follow the buttons again, also a press refused during a gesture.
  for (std::uint8_t code = 0; code < drawing::kToolCount; ++code)
    if (toolButtons_[code]->isChecked() && code != settings_.tool) SwitchTool(code);
  for (std::size_t style = 0; style < penButtons_.size(); ++style)
    if (penButtons_[style]->isChecked()) settings_.penStyle = static_cast<sketch::PenStyle>(style);
  if (settings_.penStyle != sketch::PenStyle::Solid) {
    const QScopedValueRollback quiet(quietControls_, true);
    PenWidth->setValue(1);
  }
  ApplyFillSetting();
  RenewCaption();
  RenewPick();
}

void TGrafForm::HighlightLine(const std::string& line) {
  overlays_.Mark(line);
  RenewPick();  // the caret's line is the picked one
}

void TGrafForm::PaintGrid() {
  sketch::PaintGrid(Picture);
  overlays_.Refresh();
}

void TGrafForm::RefreshPicture() { Image->update(); }

bool TGrafForm::event(QEvent* event) {
  if (event->type() == QEvent::ParentChange) FollowActivation();
  if (event->type() == QEvent::WindowDeactivate) EndGesture();  // another program's window came forward
  return QWidget::event(event);
}

void TGrafForm::FollowActivation() {
  auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
  if (frame == nullptr || frame == activationFrame_) return;
  activationFrame_ = frame;
  // Activated by its title bar, the window's frame may hold the focus.
  frame->installEventFilter(this);
  connect(frame, &QMdiSubWindow::windowStateChanged, this, [this](Qt::WindowStates before, Qt::WindowStates now) {
    if (before.testFlag(Qt::WindowActive) && !now.testFlag(Qt::WindowActive)) EndGesture();
  });
}

void TGrafForm::OnGrafWinActivate() {
  if (!LastHighlight().empty()) HighlightLine(std::string());
}

bool TGrafForm::ConfirmIncomplete(std::int32_t lineIndex, std::int32_t column, std::string_view message) {
  if (EditWindow != nullptr) EditWindow->GotoColLine(column, lineIndex);
  RefreshPicture();
  return ui::CurrentDialogs().WarningOkCancel(this, ShownText(message)) == ui::Answer::Ok;
}

void TGrafForm::WarnDrawingSize(std::string_view message) {
  RefreshPicture();
  ui::CurrentDialogs().Warning(this, ShownText(message));
}
