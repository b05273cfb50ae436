#include "render/PngFile.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <new>
#include <vector>

namespace sketch {

namespace {

constexpr png_uint_32 kDotsPerMetre = 3780;  // 96 per inch

void Append(png_structp png, png_bytep data, png_size_t length) {
  bool appended = true;
  try {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
  } catch (const std::bad_alloc&) {
    appended = false;  // no exception may cross libpng's C frames
  }
  if (!appended) png_error(png, "out of memory");
}

void Flush(png_structp) {}

// Owns libpng's two structures for one picture.
struct Writer {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  ~Writer() { png_destroy_write_struct(&png, &info); }
};

// libpng reports failures by longjmp: nothing here may need a destructor
// between setjmp and the end of the writing.
bool Write(Writer& w, const Picture& picture, int scale, std::string& out, std::vector<png_byte>& row) {
  if (setjmp(png_jmpbuf(w.png))) return false;
  png_set_write_fn(w.png, &out, Append, Flush);
  const auto width = static_cast<png_uint_32>(picture.Width() * scale);
  const auto height = static_cast<png_uint_32>(picture.Height() * scale);
  png_set_IHDR(w.png, w.info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  // 96 pixels per inch, as the picture is meant to be seen.
  png_set_pHYs(w.png, w.info, kDotsPerMetre, kDotsPerMetre, PNG_RESOLUTION_METER);
  // Sketches are flat colours with long runs, and a row mostly repeats the
  // one above (always so with --scale): the up filter turns both into runs
  // of zeros, which deflate's run-length strategy at its quickest level
  // packs about as small as the slow settings, in a fraction of the time.
  png_set_filter(w.png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
  png_set_compression_level(w.png, 1);
  png_set_compression_strategy(w.png, Z_RLE);
  // Runs only ever repeat the byte before, so a 16 KB window and a smaller
  // hash compress as well as the defaults and spare about 100 KB the system
  // would hand out page by page. Not smaller: deflate slides its window and
  // rescans the whole hash each time the window fills.
  png_set_compression_window_bits(w.png, 14);
  png_set_compression_mem_level(w.png, 6);
  png_write_info(w.png, w.info);
  for (int y = 0; y < picture.Height(); ++y) {
    const Pixel* pixels = picture.Row(y);
    png_byte* at = row.data();
    for (int x = 0; x < picture.Width(); ++x) {
      const Pixel p = pixels[x];
      for (int i = 0; i < scale; ++i) {
        *at++ = static_cast<png_byte>(p >> 16);
        *at++ = static_cast<png_byte>(p >> 8);
        *at++ = static_cast<png_byte>(p);
      }
    }
    for (int i = 0; i < scale; ++i) png_write_row(w.png, row.data());
  }
  png_write_end(w.png, nullptr);
  return true;
}

}  // namespace

std::string EncodePng(const Picture& picture, int scale) {
  if (scale < 1) return {};
  Writer writer;
  if (writer.info == nullptr) return {};
  std::string out;
  std::vector<png_byte> row(static_cast<std::size_t>(picture.Width()) * static_cast<std::size_t>(scale) * 3);
  if (!Write(writer, picture, scale, out, row)) return {};
  return out;
}

}  // namespace sketch
