#pragma once
// Whether a window's captions show whole: every label, button and group box
// title as wide and high as its text needs, inside its parent, and clear of
// the captions beside it. One line a fault, naming the caption.

#include <QStringList>

class QWidget;

namespace testsupport {

QStringList ClippedTexts(const QWidget* window);

}  // namespace testsupport
