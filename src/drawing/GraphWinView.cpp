// The drawing window's view of the picture: zoom, redraw while typing, and
// undo and redo of the bound editor's text from the picture.

#include <QActionGroup>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <utility>

#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QToolButton>

#include "drawing/GraphWin.h"
#include "drawing/ToolRegistry.h"
#include "editor/DocumentLines.h"
#include "editor/MDIEdit.h"
#include "editor/SketchTextEdit.h"
#include "format/Limits.h"
#include "render/DrawPass.h"

namespace {

// The pass asks nothing: what the drawing window's boxes would say is kept
// as one status-bar note, an incomplete line as the renderer writes it
// ("line:column: message"). Incomplete lines are drawn as far as they go.
// Of several incomplete lines the note names the caret's (the one being
// typed, most likely) or else the first, and says how many there are.
class NoteHost final : public sketch::DrawHost {
 public:
  explicit NoteHost(std::int32_t caretLine) : caretLine_(caretLine) {}
  bool ConfirmIncomplete(std::int32_t lineIndex, std::int32_t column, std::string_view message) override {
    ++incompleteLines_;
    if (!incomplete_.isEmpty() && lineIndex != caretLine_) return true;
    const std::string_view first = message.substr(0, message.find_first_of("\r\n"));
    incomplete_ = QStringLiteral("%1:%2: %3")
                      .arg(lineIndex + 1)
                      .arg(column + 1)
                      .arg(QString::fromLatin1(first.data(), static_cast<qsizetype>(first.size())));
    return true;
  }
  void WarnDrawingSize(std::string_view message) override {
    size_ = QString::fromLatin1(message.data(), static_cast<qsizetype>(message.size()));
  }
  QString Note() const {
    QString incomplete = incomplete_;
    if (incompleteLines_ > 1)
      incomplete += QCoreApplication::translate("TGrafForm", " (%1 incomplete lines)").arg(incompleteLines_);
    if (incomplete.isEmpty() || size_.isEmpty()) return incomplete + size_;
    return incomplete + QStringLiteral("  ") + size_;
  }

 private:
  std::int32_t caretLine_;
  int incompleteLines_ = 0;
  QString incomplete_, size_;
};

}  // namespace

void TGrafForm::BuildViewMenu() {
  View1 = ui::Named(new QMenu(tr("&View"), this), "View1");
  ZoomIn1 = ui::Named(View1->addAction(tr("Zoom &in")), "ZoomIn1");
  ZoomIn1->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  ZoomOut1 = ui::Named(View1->addAction(tr("Zoom &out")), "ZoomOut1");
  ZoomOut1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
  ActualSize1 = ui::Named(View1->addAction(tr("&Actual size")), "ActualSize1");
  ActualSize1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
  View1->addSeparator();
  auto* steps = new QActionGroup(this);
  for (int zoom = 1; zoom <= kZoomMax; ++zoom) {
    QAction* step = View1->addAction(QStringLiteral("&%1x").arg(zoom));
    step->setObjectName(QStringLiteral("ZoomStep%1").arg(zoom));
    step->setCheckable(true);
    steps->addAction(step);
    ZoomSteps[static_cast<std::size_t>(zoom - 1)] = step;
    connect(step, &QAction::triggered, this, [this, zoom] { SetZoom(zoom); });
  }
  ZoomFit1 = ui::Named(View1->addAction(tr("&Fit")), "ZoomFit1");
  ZoomFit1->setCheckable(true);
  steps->addAction(ZoomFit1);
  View1->addSeparator();
  RedrawWhileTyping1 = ui::Named(View1->addAction(tr("&Redraw while typing")), "RedrawWhileTyping1");
  RedrawWhileTyping1->setCheckable(true);
  connect(ZoomIn1, &QAction::triggered, this, [this] { ZoomBy(1); });
  connect(ZoomOut1, &QAction::triggered, this, [this] { ZoomBy(-1); });
  connect(ActualSize1, &QAction::triggered, this, [this] { SetZoom(1); });
  connect(ZoomFit1, &QAction::triggered, this, &TGrafForm::SetZoomFit);
  connect(RedrawWhileTyping1, &QAction::toggled, this, [this](bool on) {
    if (on)
      ScheduleLiveRedraw();
    else
      NotePanel->clear();
  });
}

// --- Zoom ------------------------------------------------------------------------

void TGrafForm::SetZoom(int zoom) {
  const int before = Zoom();
  zoomFit_ = false;
  Image->SetZoom(std::clamp(zoom, 1, kZoomMax));
  ShowZoom();
  if (Zoom() > before) GrowToShowPicture();
}

// Zooming in should show more of the picture, not a slice of it in a window
// of the old size while the frame has room: the window (its frame in the MDI
// area) grows by what the scroll box lacks, as far as the frame's area goes,
// moving left or up to stay inside; scroll bars show the rest. It never
// shrinks (zooming out keeps a size the user chose), a maximised or
// minimised window keeps its size, and Fit never comes here, so the growth
// cannot set off Fit's resizeEvent.
void TGrafForm::GrowToShowPicture() {
  if (!isVisible()) {  // the frame applies the last run's zoom before it shows the window
    QTimer::singleShot(0, this, [this] {
      if (isVisible() && !zoomFit_) GrowToShowPicture();
    });
    return;
  }
  auto* const sub = qobject_cast<QMdiSubWindow*>(parentWidget());
  QWidget* const window = sub != nullptr ? static_cast<QWidget*>(sub) : this;
  if (sub == nullptr && !isWindow()) return;  // held by some other widget: not ours to size
  if (window->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) return;
  const QSize need = Image->size() - ScrollBox1->maximumViewportSize();
  if (need.width() <= 0 && need.height() <= 0) return;
  QRect room;
  if (sub != nullptr) {
    room = sub->parentWidget()->rect();  // the MDI area's viewport
  } else {
    const QRect outer = frameGeometry(), inner = geometry();
    room = screen()->availableGeometry().adjusted(inner.left() - outer.left(), inner.top() - outer.top(),
                                                  inner.right() - outer.right(), inner.bottom() - outer.bottom());
  }
  const QRect old = window->geometry();
  QSize want = old.size() + need;
  // A side cut short shows a scroll bar, which takes room from the other side.
  const QSize bars(ScrollBox1->verticalScrollBar()->sizeHint().width(),
                   ScrollBox1->horizontalScrollBar()->sizeHint().height());
  if (want.width() > room.width()) want.rheight() += bars.height();
  if (want.height() > room.height()) want.rwidth() += bars.width();
  const QSize size = want.boundedTo(room.size()).expandedTo(old.size());
  if (size == old.size()) return;
  // Moved back only as far as the growth passes the room's right or bottom edge.
  const int left = size.width() > old.width() ? std::min(old.left(), room.right() + 1 - size.width()) : old.left();
  const int top = size.height() > old.height() ? std::min(old.top(), room.bottom() + 1 - size.height()) : old.top();
  window->setGeometry(QRect(QPoint(left, top), size));
}

void TGrafForm::SetZoomFit() {
  zoomFit_ = true;
  FitZoomToWindow();
}

void TGrafForm::ApplyViewSettings(const drawing::ViewSettings& view) {
  if (view.fit) {
    SetZoomFit();
  } else {
    SetZoom(view.zoom);
  }
  SetRedrawWhileTyping(view.redrawWhileTyping);
}

void TGrafForm::ZoomBy(int steps) {
  // From Fit, a step goes on from the zoom it shows.
  SetZoom(Zoom() + steps);
}

void TGrafForm::FitZoomToWindow() {
  const QSize room = ScrollBox1->maximumViewportSize();
  const int fit = std::min(room.width() / sketch::kPictureWidth, room.height() / sketch::kPictureHeight);
  Image->SetZoom(std::clamp(fit, 1, kZoomMax));
  ShowZoom();
}

void TGrafForm::ShowZoom() {
  const int zoom = Zoom();
  ZoomPanel->setText(zoomFit_ ? tr("Fit %1x").arg(zoom) : tr("%1x").arg(zoom));
  ZoomSteps[static_cast<std::size_t>(zoom - 1)]->setChecked(!zoomFit_);
  ZoomFit1->setChecked(zoomFit_);
  ZoomIn1->setEnabled(zoom < kZoomMax);
  ZoomOut1->setEnabled(zoom > 1);
}

void TGrafForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (zoomFit_) FitZoomToWindow();
}

bool TGrafForm::eventFilter(QObject* watched, QEvent* event) {
  // Keys while the picture has the focus: the select tool's keys, ahead of
  // the scroll box's own use of the arrows. The tool letters and Escape also
  // while the thickness box (which takes only digits) or the window's frame
  // has it; other children pass them on to keyPressEvent.
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (watched == Image && CurrentTool().Key(*this, *key)) return true;
    if ((watched == Image || watched == PenWidth || watched == activationFrame_) && WindowKey(key)) return true;
  }
  // The pointer left the picture: no point of it is under the pointer now.
  if (watched == Image && event->type() == QEvent::Leave) ClearReadOuts();
  if ((watched == Image || watched == ScrollBox1->viewport()) && event->type() == QEvent::Wheel) {
    auto* wheel = static_cast<QWheelEvent*>(event);
    if (!wheel->modifiers().testFlag(Qt::ControlModifier)) return false;  // the wheel scrolls
    const int notches = wheel->angleDelta().y() / 120;
    if (notches == 0) return true;
    // The picture point under the pointer stays under it.
    const QPointF inViewport = watched == Image ? Image->mapToParent(wheel->position()) : wheel->position();
    const QPoint scroll(ScrollBox1->horizontalScrollBar()->value(), ScrollBox1->verticalScrollBar()->value());
    const QPointF onPicture = (inViewport + scroll) / Zoom();
    SetZoom(Zoom() + notches);
    ScrollBox1->horizontalScrollBar()->setValue(static_cast<int>(onPicture.x() * Zoom() - inViewport.x()));
    ScrollBox1->verticalScrollBar()->setValue(static_cast<int>(onPicture.y() * Zoom() - inViewport.y()));
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void TGrafForm::keyPressEvent(QKeyEvent* event) {
  if (!WindowKey(event)) QWidget::keyPressEvent(event);
}

bool TGrafForm::WindowKey(const QKeyEvent* key) {
  if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
    if (!CurrentTool().Cancel(*this)) return false;
    ClearReadOuts();
    return true;
  }
  if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  for (const drawing::ToolEntry& entry : drawing::kTools) {
    if (key->key() != entry.key) continue;
    toolButtons_[entry.code]->click();  // as a click on the button: refused during a gesture, the caution
    return true;
  }
  return false;
}

// --- Redraw while typing --------------------------------------------------------

void TGrafForm::ScheduleLiveRedraw() {
  if (!RedrawWhileTyping() || liveRedrawDue_) return;
  liveRedrawDue_ = true;
  QTimer::singleShot(0, this, [this] {
    if (!liveRedrawDue_) return;  // a pass ran meanwhile
    liveRedrawDue_ = false;
    if (RedrawWhileTyping()) RedrawQuietly();
  });
}

std::string TGrafForm::CaretLine() const {
  if (EditWindow == nullptr) return {};
  return editor::LineBytes(*EditMemo->document(), EditWindow->GetColLine().line, static_cast<int>(sketch::kCountedMax));
}

void TGrafForm::RedrawQuietly() {
  liveRedrawDue_ = false;
  if (EditMemo == nullptr) return;
  const editor::DocumentLines lines(*EditMemo->document());
  if (lines.LineCount() == 0) return;  // as F7: the picture stays
  NoteHost host(EditWindow != nullptr ? EditWindow->GetColLine().line : -1);
  sketch::RunDrawPass(Picture, lines, host, Pass);
  // A gesture or a drag under way keeps its rubber band, drawn again onto the new picture.
  overlays_.AfterPass(CaretLine());
  RefreshPicture();
  NotePanel->setText(host.Note());
  RenewCaption();
  RenewPick();
}

// --- Undo and redo --------------------------------------------------------------

void TGrafForm::RenewUndoItems() {
  const QTextDocument* document = EditMemo != nullptr ? EditMemo->document() : nullptr;
  Undo1->setEnabled(document != nullptr && document->isUndoAvailable());
  Redo1->setEnabled(document != nullptr && document->isRedoAvailable());
}

void TGrafForm::Undo1Click() {
  // Not in the middle of a gesture: its lines are still being written.
  if (EditMemo == nullptr || GestureUnderWay() || !EditMemo->document()->isUndoAvailable()) return;
  CurrentTool().Undo(*this, false);
  RedrawQuietly();
}

void TGrafForm::Redo1Click() {
  if (EditMemo == nullptr || GestureUnderWay() || !EditMemo->document()->isRedoAvailable()) return;
  CurrentTool().Undo(*this, true);
  RedrawQuietly();
}

void TGrafForm::UndoText(bool redo) { redo ? EditMemo->redo() : EditMemo->undo(); }

bool TGrafForm::RedrawWhileTyping() const { return RedrawWhileTyping1->isChecked(); }
void TGrafForm::SetRedrawWhileTyping(bool on) { RedrawWhileTyping1->setChecked(on); }
