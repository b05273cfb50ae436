#pragma once
// The drawing tools: line, rectangle, ellipse, quarter arc and text. Each
// knows how a gesture with it goes (where a press starts, how the pointer
// moves the points), the shape it previews and draws, and the sketch line a
// release writes. The window keeps the gesture state and does the writing.

#include <QPoint>
#include <cstdint>
#include <string>

#include "canvas/Canvas.h"
#include "drawing/ToolSettings.h"

namespace drawing {

// The points of a gesture in picture pixels.
struct GesturePoints {
  QPoint start;    // the fixed corner, the line's start or the open polyline's last vertex
  QPoint current;  // the moving point
  QPoint centre;   // the press point: the centre in centre mode
};

// What the end of a gesture writes into the text, and what becomes of it.
struct Emission {
  enum class Write : std::uint8_t {
    Nothing,     // the shape is drawn, nothing is written (too small to write)
    Append,      // `text` as a new last line
    Extend,      // `text` onto the last line (the open polyline)
    EndGesture,  // nothing drawn, nothing written: the gesture just ends
  };
  Write write = Write::Nothing;
  std::string text;
  bool continues = false;  // the polyline stays open at the new vertex
};

// What a release knows besides the points.
struct ReleaseContext {
  const ToolSettings& settings;
  bool ctrl = false;          // held at the release
  bool polylineOpen = false;  // the line tool's polyline waits for vertices
  bool relative = false;      // the "+-" box: points after the first as offsets
};

class DrawingTool {
 public:
  virtual ~DrawingTool() = default;

  // Centre mode: the press point is the shape's centre and the pointer drags
  // a corner of its bounding box; `ctrl` tells whether Ctrl is held.
  virtual bool CentreMode(bool ctrl) const { return static_cast<void>(ctrl), false; }
  // A press during a gesture that goes on with it instead of starting anew.
  virtual bool ContinuesGesture(bool polylineOpen, bool ctrl) const {
    return static_cast<void>(polylineOpen), static_cast<void>(ctrl), false;
  }
  // A press asks for a legend instead of starting a shape.
  virtual bool PlacesLegend() const { return false; }

  // The pointer (already snapped) moves the gesture's points.
  void Follow(GesturePoints& points, QPoint snapped, bool ctrl) const;

  // The shape between the opposite corners p1 and p2 (a line's ends), in
  // `mode`, with the pen and fill of `settings`.
  void DrawShape(sketch::Canvas& canvas, const ToolSettings& settings, QPoint p1, QPoint p2,
                 sketch::PenMode mode) const;

  // What a release writes for the gesture's points.
  virtual Emission Release(const GesturePoints& points, const ReleaseContext& context) const = 0;

 protected:
  // Lines and arcs have no fill: their dash gaps stay open whatever the fill box says.
  virtual bool TakesFill() const { return false; }
  virtual void Draw(sketch::Canvas& canvas, QPoint p1, QPoint p2) const = 0;
};

// The tool of a code (kLineTool ... kSelectTool); the line tool for any other.
const DrawingTool& ToolFor(std::uint8_t code);

// The canvas pen and brush the settings draw with.
sketch::CanvasPen ToolPen(const ToolSettings& settings, sketch::PenMode mode = sketch::PenMode::Copy);
sketch::CanvasBrush ToolBrush(const ToolSettings& settings);

}  // namespace drawing
