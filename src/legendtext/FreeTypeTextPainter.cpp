#include "legendtext/FreeTypeTextPainter.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "format/Codec.h"
#include "legendtext/FreeTypeFaces.h"

namespace legendtext {

namespace {

// Qt caches glyph bitmaps up to this many pixels per em and draws bigger
// ones as outlines, laid out with the advances of normally hinted glyphs.
constexpr int kLargestCachedGlyph = 64;

// The metric rules, those of Qt's painter:
// - ascent and descent: the font's design ascender and descender (hhea)
//   scaled to the pixel size in 1/64 pixels, then rounded to the nearest
//   pixel, halves away from zero (33.495 pixels is 33.5, so 34);
// - height: ascent plus descent (no line gap);
// - advance: the sum of the glyphs' hinted advances, each a whole pixel:
//   hinted for monochrome up to kLargestCachedGlyph pixels, normally above.
//   A tab reaches the next multiple of kTabStop pixels from the text's start;
//   line and page breaks and the soft hyphen are neither seen nor measured.
int ScaledDesignUnits(FT_Face face, FT_Short units) {
  const FT_Long sixtyFourths = FT_MulFix(std::abs(units), face->size->metrics.y_scale);
  return static_cast<int>((sixtyFourths + 32) >> 6);
}

constexpr int kTabStop = 80;

bool Unseen(char16_t c) { return c == u'\n' || c == u'\f' || c == u'\r' || c == 0x00AD; }

FT_Face FaceOf(const sketch::CanvasFont& font) { return SizedFace(FindFontFile(font.name), std::abs(font.Height())); }

FT_Int32 LoadFlags(FT_Face face) {
  return face->size->metrics.y_ppem <= kLargestCachedGlyph ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL;
}

// A glyph to draw with its pen position along the text.
struct PlacedGlyph {
  FT_UInt glyph;  // 0, the font's missing glyph box, for a character it lacks
  int penX;
};

struct TextLayout {
  sketch::TextMetrics metrics;
  std::vector<PlacedGlyph> glyphs;
};

TextLayout LayOut(FT_Face face, std::string_view text) {
  TextLayout layout;
  sketch::TextMetrics& m = layout.metrics;
  m.ascent = ScaledDesignUnits(face, face->ascender);
  m.height = m.ascent + ScaledDesignUnits(face, face->descender);
  for (const char byte : text) {
    const char16_t c = sketch::ByteToChar(static_cast<unsigned char>(byte));
    if (c == u'\t') {
      m.advance = (m.advance / kTabStop + 1) * kTabStop;
      continue;
    }
    if (Unseen(c)) continue;
    const FT_UInt glyph = FT_Get_Char_Index(face, c);
    layout.glyphs.push_back({glyph, m.advance});
    if (FT_Load_Glyph(face, glyph, LoadFlags(face)) == 0) {
      m.advance += static_cast<int>((face->glyph->advance.x + 32) >> 6);
    }
  }
  return layout;
}

// Pixel (u, v) of the text in its own reading direction, where (0, 0) is the
// box's top left pixel, as a pixel of the mask: upward text is turned by -90
// degrees about the box's top left corner (x, y).
class TextPixels {
 public:
  TextPixels(sketch::CoverageMask& mask, const sketch::Rect& clip, int x, int y, bool up)
      : mask_(mask),
        clip_(clip.Intersected(sketch::Rect::OfSize(0, 0, mask.Width(), mask.Height()))),
        x_(x),
        y_(y),
        up_(up) {}

  void Set(int u, int v, sketch::CoverageMask::Class cls) {
    const int mx = up_ ? x_ + v : x_ + u;
    const int my = up_ ? y_ - 1 - u : y_ + v;
    if (!clip_.Contains(mx, my)) return;
    mask_
        .Bits()[static_cast<std::size_t>(my) * static_cast<std::size_t>(mask_.Width()) + static_cast<std::size_t>(mx)] =
        cls;
  }

  // Pixels u0..u1-1, v0..v1-1 of the text.
  void Fill(int u0, int v0, int u1, int v1, sketch::CoverageMask::Class cls) {
    for (int v = v0; v < v1; ++v) {
      for (int u = u0; u < u1; ++u) Set(u, v, cls);
    }
  }

 private:
  sketch::CoverageMask& mask_;
  sketch::Rect clip_;
  int x_, y_;
  bool up_;
};

// The monochrome bitmap of the glyph just rendered, its origin at (penX,
// baseline) of the text.
void PutGlyph(const FT_GlyphSlot slot, int penX, int baseline, TextPixels& pixels) {
  const FT_Bitmap& bitmap = slot->bitmap;
  if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO) return;
  const int left = penX + slot->bitmap_left, top = baseline - slot->bitmap_top;
  for (unsigned row = 0; row < bitmap.rows; ++row) {
    const unsigned char* bits = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
    for (unsigned col = 0; col < bitmap.width; ++col) {
      if ((bits[col >> 3] & (0x80u >> (col & 7))) != 0) {
        pixels.Set(left + static_cast<int>(col), top + static_cast<int>(row), sketch::CoverageMask::kInk);
      }
    }
  }
}

}  // namespace

sketch::TextMetrics FreeTypeTextPainter::Measure(const sketch::CanvasFont& font, std::string_view text) {
  FT_Face face = FaceOf(font);
  return face != nullptr ? LayOut(face, text).metrics : sketch::TextMetrics{};
}

void FreeTypeTextPainter::Paint(sketch::CoverageMask& mask, const sketch::Rect& clip, int x, int y,
                                const sketch::CanvasFont& font, std::string_view text, bool box) {
  FT_Face face = FaceOf(font);
  if (face == nullptr) return;
  const TextLayout layout = LayOut(face, text);
  const sketch::TextMetrics& m = layout.metrics;
  TextPixels pixels(mask, clip, x, y, font.up);
  if (box) pixels.Fill(0, 0, m.advance, m.height, sketch::CoverageMask::kFill);
  for (const PlacedGlyph& placed : layout.glyphs) {
    if (FT_Load_Glyph(face, placed.glyph, LoadFlags(face)) == 0 &&
        FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO) == 0) {
      PutGlyph(face->glyph, placed.penX, m.ascent, pixels);
    }
  }
}

FreeTypeTextPainter& SharedTextPainter() {
  static FreeTypeTextPainter painter;
  return painter;
}

}  // namespace legendtext
