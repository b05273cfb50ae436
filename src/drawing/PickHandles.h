#pragma once
// The handles the select tool shows on a picked element, and what dragging
// one does to the element's points. A rectangle or ellipse shows all four
// corners, though its line holds two: a corner between them moves one
// coordinate of each, so the line keeps its own corner order and the
// corner opposite the dragged one stays put.

#include <cstddef>
#include <vector>

#include "format/SketchElement.h"

namespace drawing {

// Where the handles of `element` lie: the vertices of a line, the four
// corners of a rectangle or ellipse (the first corner, then on round), the
// centre and the corner of an arc, the foot of a legend.
std::vector<sketch::Point> ShownHandles(const sketch::Element& element);

// The handle that stays where it is while `handle` is dragged: the
// opposite corner of a box, else the point the element's line measures
// `handle` from (the vertex before, the other corner, the centre).
sketch::Point FixedHandle(sketch::ElementKind kind, const std::vector<sketch::Point>& handles, std::size_t handle);

// The element's points (in ResolvedPoints' order) once `handle` of the
// shown handles is at `at`.
std::vector<sketch::Point> PointsWithHandleAt(sketch::ElementKind kind, std::vector<sketch::Point> points,
                                              std::size_t handle, sketch::Point at);

}  // namespace drawing
