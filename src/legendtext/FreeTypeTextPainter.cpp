#include "legendtext/FreeTypeTextPainter.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <tuple>
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

// A glyph as it is drawn at one size. Hinting runs a font's own program for
// each glyph, which costs more than all else a legend takes: each thread
// keeps what it made, by face, size and glyph.
struct CachedGlyph {
  int advance = 0;                             // whole pixels
  int left = 0, top = 0, width = 0, rows = 0;  // the bitmap, from the pen position and the baseline
  std::vector<bool> ink;                       // rows by width
};

const CachedGlyph& GlyphOf(FT_Face face, FT_UInt glyph) {
  thread_local std::map<std::tuple<FT_Face, FT_UShort, FT_UInt>, CachedGlyph> cache;
  const auto key = std::make_tuple(face, face->size->metrics.y_ppem, glyph);
  if (const auto found = cache.find(key); found != cache.end()) return found->second;
  CachedGlyph made;
  if (FT_Load_Glyph(face, glyph, LoadFlags(face)) == 0) {
    made.advance = static_cast<int>((face->glyph->advance.x + 32) >> 6);
    const FT_Bitmap& bitmap = face->glyph->bitmap;
    if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO) == 0 && bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
      made.left = face->glyph->bitmap_left;
      made.top = face->glyph->bitmap_top;
      made.width = static_cast<int>(bitmap.width);
      made.rows = static_cast<int>(bitmap.rows);
      made.ink.resize(static_cast<std::size_t>(made.width) * static_cast<std::size_t>(made.rows));
      for (int row = 0; row < made.rows; ++row) {
        const unsigned char* bits = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
        for (int col = 0; col < made.width; ++col) {
          made.ink[static_cast<std::size_t>(row * made.width + col)] = (bits[col >> 3] & (0x80u >> (col & 7))) != 0;
        }
      }
    }
  }
  return cache.emplace(key, std::move(made)).first->second;
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
    m.advance += GlyphOf(face, glyph).advance;
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

// A glyph's bitmap, its origin at (penX, baseline) of the text.
void PutGlyph(const CachedGlyph& glyph, int penX, int baseline, TextPixels& pixels) {
  const int left = penX + glyph.left, top = baseline - glyph.top;
  for (int row = 0; row < glyph.rows; ++row) {
    for (int col = 0; col < glyph.width; ++col) {
      if (glyph.ink[static_cast<std::size_t>(row * glyph.width + col)]) {
        pixels.Set(left + col, top + row, sketch::CoverageMask::kInk);
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
  for (const PlacedGlyph& placed : layout.glyphs) PutGlyph(GlyphOf(face, placed.glyph), placed.penX, m.ascent, pixels);
}

FreeTypeTextPainter& SharedTextPainter() {
  static FreeTypeTextPainter painter;
  return painter;
}

}  // namespace legendtext
