#pragma once
// The draw pass: the whole text onto a cleared picture, line by line.

#include <cstdint>
#include <string>
#include <string_view>

#include "canvas/PictureSize.h"
#include "canvas/Surface.h"
#include "format/LineSource.h"
#include "render/DrawHost.h"
#include "render/ElementDrawers.h"

namespace sketch {

inline constexpr std::int32_t kDrawingSizeWarnAbove = 4095;

// "Drawing text is %d characters!" for `drawnChars`.
std::string DrawingSizeMessage(std::int32_t drawnChars);

// Clears the picture to white and draws every line in black and the copy mix
// mode, each cut to 255 characters, until the text ends or the user stops the
// pass at an incomplete prompt; then warns when the sketch text counted is
// above 4095 characters. A text without lines leaves the picture untouched.
// The brush is clear when the first line is drawn; afterwards pen and brush
// are as the last drawers left them.
void RunDrawPass(Surface& canvas, const LineSource& lines, DrawHost& host, DrawPassCounters& pass);

}  // namespace sketch
