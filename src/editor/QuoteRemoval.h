#pragma once
// Remove quotes: newsreaders put quote marks such as ">>>" or ":::" in front
// of quoted lines, and a sketch line must begin in the first column. A line
// loses what stands in front of an element marker ("L(", "l(", "R(", "r(",
// "E(", "e(", "A(", "a(", "T(", "t(") when the marker begins within the
// first 7 columns behind nothing but quote characters (no ASCII letters or
// digits). A line that is empty or begins with a blank is left alone.

#include <QStringView>

namespace editor {

// Only this many characters of a line are looked at; the rest is kept as is.
inline constexpr int kQuoteScanLength = 4096;

// How many characters to take off the front of `line`: 0 when it stays.
int QuoteMarksLength(QStringView line);

}  // namespace editor
