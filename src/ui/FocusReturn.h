#pragma once
// Gives the keyboard back after a modal dialog: the window that was active
// when the dialog came up is made active again and its focused control gets
// the focus back. Qt leaves that to the window manager, and on an X server
// without one the keys went nowhere until the user clicked.

#include <QPointer>
#include <QWidget>

namespace ui {

class FocusReturn {
 public:
  FocusReturn();
  ~FocusReturn();
  FocusReturn(const FocusReturn&) = delete;
  FocusReturn& operator=(const FocusReturn&) = delete;

 private:
  QPointer<QWidget> window_;
  QPointer<QWidget> focus_;
};

}  // namespace ui
