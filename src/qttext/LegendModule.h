#pragma once
// The legend module: Qt's text painter as a library that a program without
// Qt loads (dlopen) only when a sketch has legends, so drawing the shapes
// never waits for Qt's start-up.

#include "canvas/TextPainter.h"

// Names of the functions the module exports.
#define SKETCHPOST_LEGEND_ENTRY "sketchpost_legend_painter"
#define SKETCHPOST_LEGEND_FONT_ENTRY "sketchpost_legend_font_name"

extern "C" {

// Starts Qt for fonts (without a screen) unless the program already runs a
// Qt application, and gives the module's text painter. Call it from one
// thread at a time; the painter is the caller's to serialise as well.
using SketchpostLegendEntry = sketch::TextPainter* (*)();

// The legend font's name (see LegendFontChoice), through fontconfig, which
// the program without legends need not load; valid until the process ends.
using SketchpostLegendFontEntry = const char* (*)();

}  // extern "C"
