#include "render/BandedPass.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace sketch {

namespace {

// Passes the host's notes on and goes on whatever it answers.
class GoOnAfterTelling final : public DrawHost {
 public:
  explicit GoOnAfterTelling(DrawHost& host) : host_(host) {}
  bool ConfirmIncomplete(std::int32_t lineIndex, std::int32_t column, std::string_view message) override {
    host_.ConfirmIncomplete(lineIndex, column, message);
    return true;
  }
  void WarnDrawingSize(std::string_view message) override { host_.WarnDrawingSize(message); }

 private:
  DrawHost& host_;
};

int BandTop(int band, int bands) { return band * kPictureHeight / bands; }

// What a pass starts from besides the picture, which it clears.
struct SurfaceState {
  CanvasPen pen;
  CanvasBrush brush;
  CanvasFont font;
  Point penPos;
};

}  // namespace

void RunBandedDrawPass(Canvas& canvas, const LineSource& lines, DrawHost& host, DrawPassCounters& pass, int bands) {
  GoOnAfterTelling tellingHost(host);
  bands = std::clamp(bands, 1, kPictureHeight);
  if (bands == 1 || canvas.GetTextPainter() != nullptr || lines.LineCount() == 0) {
    RunDrawPass(canvas, lines, tellingHost, pass);
    return;
  }
  // The other bands go to canvases of their own, made and drawn on their
  // threads; this canvas is read for them before it is drawn on.
  const SurfaceState start{canvas.pen, canvas.brush, canvas.font, canvas.PenPos()};
  std::vector<std::optional<Canvas>> others(static_cast<std::size_t>(bands - 1));
  std::vector<std::exception_ptr> failures(others.size());
  std::vector<std::thread> threads;
  threads.reserve(others.size());
  for (int band = 1; band < bands; ++band) {
    const auto index = static_cast<std::size_t>(band - 1);
    try {
      threads.emplace_back([&, band, index] {
        try {
          Canvas& other = others[index].emplace();
          other.pen = start.pen;
          other.brush = start.brush;
          other.font = start.font;
          other.MoveTo(start.penPos.x, start.penPos.y);
          other.DrawOnlyRows(BandTop(band, bands), BandTop(band + 1, bands) - 1);
          GoOnHost quiet;
          DrawPassCounters counters;
          RunDrawPass(other, lines, quiet, counters);
        } catch (...) {
          failures[index] = std::current_exception();
        }
      });
    } catch (const std::system_error&) {
      // The system would not start another thread: the bands begun are
      // waited for, and the picture is drawn in one piece.
      for (std::thread& thread : threads) thread.join();
      RunDrawPass(canvas, lines, tellingHost, pass);
      return;
    }
  }
  std::exception_ptr failure;
  try {
    canvas.DrawOnlyRows(0, BandTop(1, bands) - 1);
    RunDrawPass(canvas, lines, tellingHost, pass);
  } catch (...) {
    failure = std::current_exception();
  }
  canvas.DrawOnlyRows(0, kPictureHeight - 1);
  for (std::thread& thread : threads) thread.join();
  if (failure) std::rethrow_exception(failure);
  for (int band = 1; band < bands; ++band) {
    const auto index = static_cast<std::size_t>(band - 1);
    if (failures[index]) std::rethrow_exception(failures[index]);
    canvas.TakeRowsFrom(*others[index], BandTop(band, bands), BandTop(band + 1, bands) - 1);
  }
}

}  // namespace sketch
