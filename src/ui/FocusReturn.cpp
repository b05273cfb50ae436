#include "ui/FocusReturn.h"

#include <QApplication>

namespace ui {

FocusReturn::FocusReturn() : window_(QApplication::activeWindow()), focus_(QApplication::focusWidget()) {}

FocusReturn::~FocusReturn() {
  if (window_ == nullptr || !window_->isVisible()) return;
  window_->activateWindow();
  if (focus_ != nullptr && focus_->window() == window_) focus_->setFocus(Qt::ActiveWindowFocusReason);
}

}  // namespace ui
