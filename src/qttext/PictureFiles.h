#pragma once
// A posting's sketch as a picture file, drawn the same way wherever it is
// written: by the renderer and by the drawing window's Export picture.

#include <QByteArray>

#include "canvas/Picture.h"
#include "format/LineSource.h"
#include "render/DrawHost.h"

namespace qttext {

// The sketch of `lines` drawn by the draw pass on a fresh picture, legends
// in the legend font.
sketch::Picture DrawPosting(const sketch::LineSource& lines, sketch::DrawHost& host);

// `picture` as PNG bytes, each pixel a `scale` by `scale` square; empty when
// it cannot be encoded.
QByteArray PngOf(const sketch::Picture& picture, int scale);

// The sketch of `lines` drawn by the draw pass as an SVG document, `scale`
// times the picture's size, legends in the legend font.
QByteArray SvgOf(const sketch::LineSource& lines, sketch::DrawHost& host, int scale = 1);

}  // namespace qttext
