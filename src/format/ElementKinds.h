#pragma once
// The element kinds and what sets each apart, in one table: reading and
// writing a line, the check that it can be drawn and resolving its points
// all go by it. A new kind is an entry here and a case in each switch over
// ElementKind (the drawers, picking), which the compiler names.

#include <array>
#include <cstddef>
#include <optional>

namespace sketch {

// Element kinds; each is its letter in column 1, always upper case.
enum class ElementKind : char {
  Polyline = 'L',  // a line or polyline
  Rectangle = 'R',
  Ellipse = 'E',
  Arc = 'A',     // a quarter arc
  Legend = 'T',  // a legend text
};

// The first field of a line: the style field, or a legend's size field.
enum class LeadField : char { Pen, Size };

// What a coordinate marked ':' of a point after the first is an offset from.
enum class Reference : char {
  None,         // every point absolute, whatever its mark
  PointBefore,  // the point before, itself resolved
  FirstPoint,   // the first point
};

// A kind's layout: its fields in the order they are read and written.
struct KindLayout {
  ElementKind kind;
  LeadField lead;
  bool fill;        // the fill field follows the lead field
  bool reserved;    // a number read and ignored follows the lead field
  int points;       // the points that must read
  bool morePoints;  // further points may follow, up to ')'
  bool text;        // a quoted text follows the points
  Reference reference;

  constexpr int FieldsBeforePoints() const { return 1 + int{fill} + int{reserved}; }
  // The fields a line needs before it can be drawn: those before the
  // points, two numbers for each point that must read, the text.
  constexpr int RequiredFields() const { return FieldsBeforePoints() + 2 * points + int{text}; }
  // A line that may go on (more points, a text) is closed only by its end
  // mark; the others need none.
  constexpr bool ClosedByDefault() const { return !morePoints && !text; }
};

// Every kind, in the order of their letters in quote removal's markers.
// clang-format off
inline constexpr std::array<KindLayout, 5> kKindTable = {{
    // kind                  lead             fill   reserved points more   text   reference
    {ElementKind::Polyline,  LeadField::Pen,  false, false,   2,     true,  false, Reference::PointBefore},
    {ElementKind::Rectangle, LeadField::Pen,  true,  false,   2,     false, false, Reference::FirstPoint},
    {ElementKind::Ellipse,   LeadField::Pen,  true,  false,   2,     false, false, Reference::FirstPoint},
    {ElementKind::Arc,       LeadField::Pen,  false, true,    2,     false, false, Reference::FirstPoint},
    {ElementKind::Legend,    LeadField::Size, false, false,   1,     false, true,  Reference::None},
}};
// clang-format on

inline constexpr std::array<ElementKind, kKindTable.size()> kElementKinds = [] {
  std::array<ElementKind, kKindTable.size()> kinds{};
  for (std::size_t i = 0; i < kinds.size(); ++i) kinds[i] = kKindTable[i].kind;
  return kinds;
}();

constexpr char KindLetter(ElementKind kind) { return static_cast<char>(kind); }

// Each kind's entry in kKindTable by its letter, found without a search (a
// line's layout is looked up several times as it is read and drawn).
inline constexpr std::array<std::size_t, 26> kLayoutIndex = [] {
  std::array<std::size_t, 26> index{};
  for (std::size_t i = 0; i < kKindTable.size(); ++i) index[KindLetter(kKindTable[i].kind) - 'A'] = i;
  return index;
}();
constexpr const KindLayout& LayoutOf(ElementKind kind) { return kKindTable[kLayoutIndex[KindLetter(kind) - 'A']]; }

// The kind whose letter `letter` is (upper case only); none for any other byte.
constexpr std::optional<ElementKind> KindOfLetter(char letter) {
  for (const ElementKind kind : kElementKinds) {
    if (KindLetter(kind) == letter) return kind;
  }
  return std::nullopt;
}

}  // namespace sketch
