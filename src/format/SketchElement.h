#pragma once
// One sketch line as a value: what the reader takes out of a line and what
// the writers put into one.
//
// Reading goes field by field in the order of the kind's layout and stops at
// the first field that fails; the read says how far it got, because a line
// that fails half way still counts: the drawers apply its style field to the
// pen and its fill field to the brush before they find out (later lines
// inherit them).
//
// The fields of each kind, in order, are those of its layout in kKindTable.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "format/PicturePoint.h"
#include "format/SketchTokens.h"

namespace sketch {

// The style field.
struct Pen {
  PenStyle style = PenStyle::Solid;
  // Solid: as written, negative included (keeps the width the pen had).
  // Broken styles: 1.
  std::int32_t width = 1;
  friend bool operator==(const Pen&, const Pen&) = default;
};

// A point as written: each coordinate absolute, or (marked ':') an offset
// from the matching coordinate of its reference point, which the kind's
// Reference rule names. The first point of a line and the foot of a legend
// text are absolute whatever their mark: the reader leaves their flags false.
struct ElementPoint {
  std::int32_t x = 0, y = 0;
  bool relativeX = false, relativeY = false;

  std::int32_t ResolveX(std::int32_t referenceX) const { return relativeX ? x + referenceX : x; }
  std::int32_t ResolveY(std::int32_t referenceY) const { return relativeY ? y + referenceY : y; }
  friend bool operator==(const ElementPoint&, const ElementPoint&) = default;
};

struct Element {
  ElementKind kind = ElementKind::Polyline;
  Pen pen;                    // L, R, E, A
  Fill fill = Fill::Empty;    // R, E
  std::int32_t reserved = 0;  // A: read and ignored; the drawing window writes 0
  // L: the vertices; R, E: the corners; A: the centre, then the corner of the
  // bounding rectangle; T: the foot of the text.
  std::vector<ElementPoint> points;
  std::uint16_t legendSize = kMediumLegend;  // T: index into kLegendSizeLetters
  bool up = false;                           // T: the text reads upwards
  std::string text;                          // T: holds no double quote
  // L: ')' follows the last point; T: the closing double quote follows the
  // text. Always true for R, E and A, whose lines need no end.
  bool closed = true;

  friend bool operator==(const Element&, const Element&) = default;
};

// Where each point of `element` lies in the picture, in the element's order:
// relative coordinates resolved against their reference (L: the vertex
// before, itself resolved; R, E: the first corner; A: the centre). Into
// `resolved`, whose storage is kept.
void ResolvePoints(const Element& element, std::vector<Point>& resolved);
std::vector<Point> ResolvedPoints(const Element& element);
// The point that point `index` (1 or more) is an offset from under `rule`,
// among `resolved`, the points resolved before it.
Point ReferencePoint(Reference rule, std::span<const Point> resolved, std::size_t index);

struct ElementRead {
  Element element;
  // Fields of the layout read in order before the first one that failed
  // (for L every number read counts, an odd x of a last pair too). Only the
  // fields read are set in `element`; the others keep their defaults.
  int fieldsRead = 0;
  // Characters of the line the reader took, kind letter included: L up to
  // where it stopped (the close check takes nothing), R, E and A up to the
  // sixth field, T up to the closing double quote (left unread).
  std::size_t consumed = 0;

  // The style field was read (L, R, E, A), and with it the pen changes.
  bool HasPen() const { return LayoutOf(element.kind).lead == LeadField::Pen && fieldsRead >= 1; }
  // The fill field was read (R, E), and with it the brush changes.
  bool HasFill() const { return LayoutOf(element.kind).fill && fieldsRead >= 2; }
  bool Drawable() const { return fieldsRead >= LayoutOf(element.kind).RequiredFields(); }
};

// Reads the first 255 characters of `line` into `read`, reusing its storage.
// False, and `read` unchanged, when `line` is not a sketch line.
bool ReadElement(std::string_view line, ElementRead& read);
std::optional<ElementRead> ReadElement(std::string_view line);

// The style field alone, from the front of `rest` (one field).
bool ReadPenField(std::string_view& rest, Pen& pen);
// The fill field alone, from the front of `rest` (one field).
bool ReadFillField(std::string_view& rest, Fill& fill);

// The line as the drawing window writes it: the kind letter, '(' and the
// fields in layout order, ';' before absolute and ':' before relative
// numbers, plain decimals, ')' at the end (for L and T only when closed),
// T's text in double quotes (a double quote in it is written as an
// apostrophe). Cut at 255 characters.
std::string WriteElement(const Element& element);

// Pieces of the written form.
// The style field's token: the width of a solid pen, else DS, DT or DD.
std::string PenStyleToken(const Pen& pen);
// The two numbers of `point`, each behind ';' or, when relative, ':' (a
// further vertex of a polyline the drawing window grows).
std::string PointText(const ElementPoint& point);

}  // namespace sketch
