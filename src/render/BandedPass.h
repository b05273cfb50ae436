#pragma once
// The draw pass on several threads at once: each thread reads the whole
// text and draws every figure, but only on its own band of the picture's
// rows. A figure's rows are worked out independently of one another, so the
// bands together are exactly the picture of one pass; the work of drawing
// is shared, the reading is done by each.

#include "canvas/Canvas.h"
#include "render/DrawPass.h"

namespace sketch {

// Postings with fewer sketch lines than this are drawn in one piece. The
// bands pay off only once the drawing is long against what a second thread
// costs the first time in a process (starting it, waking the other core,
// its own memory): measured in sketchpost-render on two cores, 3,400 lines
// drew no faster in bands, 17,000 lines 11% faster, 190,000 lines 29%.
inline constexpr int kBandedPassMinSketchLines = 10000;

// RunDrawPass in `bands` bands of rows (1 draws in one piece). The host is
// told of incomplete lines and of the size as by RunDrawPass, once, from
// the calling thread, but the pass does not stop at its answer: every band
// must see the same figures. A canvas with a text painter is drawn in one
// piece, as painters are not made to be called from two threads at once.
void RunBandedDrawPass(Canvas& canvas, const LineSource& lines, DrawHost& host, DrawPassCounters& pass, int bands);

}  // namespace sketch
