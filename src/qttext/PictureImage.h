#pragma once
// The picture as a QImage over its own pixels, without copying: for showing
// it, putting it on the clipboard and writing it as PNG. The image is valid
// while the picture lives and keeps its size.

#include <QImage>

#include "canvas/Picture.h"

namespace qttext {

inline QImage ImageOf(sketch::Picture& picture) {
  return QImage(picture.Bits(), picture.Width(), picture.Height(), picture.BytesPerLine(), QImage::Format_RGB32);
}

inline const QImage ImageOf(const sketch::Picture& picture) {
  return QImage(picture.Bits(), picture.Width(), picture.Height(), picture.BytesPerLine(), QImage::Format_RGB32);
}

}  // namespace qttext
