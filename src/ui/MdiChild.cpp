#include "ui/MdiChild.h"

#include <QCloseEvent>
#include <QMenu>
#include <algorithm>

namespace ui {

QList<QMenu*> MergeMenus(const QList<MenuGroup>& frame, const QList<MenuGroup>& child) {
  QList<MenuGroup> merged = child;
  for (const MenuGroup& own : frame) {
    const bool replaced =
        std::any_of(child.begin(), child.end(), [&](const MenuGroup& c) { return c.group == own.group; });
    if (!replaced) merged << own;
  }
  std::stable_sort(merged.begin(), merged.end(),
                   [](const MenuGroup& a, const MenuGroup& b) { return a.group < b.group; });
  QList<QMenu*> menus;
  for (const MenuGroup& g : merged) menus << g.menu;
  return menus;
}

ChildSubWindow::ChildSubWindow(QWidget* child, MdiChild* contract, QWidget* parent)
    : QMdiSubWindow(parent), contract_(contract) {
  setWidget(child);
  setAttribute(Qt::WA_DeleteOnClose, false);
  // The child's own system menu would claim Ctrl+F4 and Ctrl+W; the frame's
  // child-window keys work through the frame.
  for (QAction* action : systemMenu()->actions()) action->setShortcuts({});
}

void ChildSubWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (contract_->CloseQuery()) showMinimized();
}

}  // namespace ui
