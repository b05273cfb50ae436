#pragma once
// What the frame needs of a child window: its menus, which merge into the
// frame's menu bar while it is active, and its close query.

#include <QList>
#include <QMdiSubWindow>

class QMenu;

namespace ui {

// A top-level menu and its group index: a child's menu replaces the frame's
// menu of the same group, and menus stand in the order of their groups.
struct MenuGroup {
  int group = 0;
  QMenu* menu = nullptr;
};

class MdiChild {
 public:
  virtual ~MdiChild() = default;
  virtual QList<MenuGroup> MenuGroups() const = 0;
  // Asks whatever must be asked before the window closes; false keeps it open.
  virtual bool CloseQuery() = 0;
};

// `part` named `name`: tests and style sheets find a window's parts by name.
template <class Part>
Part* Named(Part* part, const char* name) {
  part->setObjectName(QLatin1String(name));
  return part;
}

// The menus of the bar: the frame's, with the child's merged in.
QList<QMenu*> MergeMenus(const QList<MenuGroup>& frame, const QList<MenuGroup>& child);

// The frame around a child window. Closing it runs the child's close query
// and then only minimises it: child windows live as long as the program.
class ChildSubWindow final : public QMdiSubWindow {
  Q_OBJECT

 public:
  ChildSubWindow(QWidget* child, MdiChild* contract, QWidget* parent = nullptr);
  MdiChild* Child() const { return contract_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  MdiChild* contract_;
};

}  // namespace ui
