#pragma once
// Shared pieces of the render tests: a host that records prompts and answers
// them as planned, and picture helpers.

#include <QImage>
#include <QList>
#include <QRect>
#include <deque>
#include <string>
#include <vector>

#include "canvas/Picture.h"
#include "render/DrawPass.h"

namespace testkit {

struct Prompt {
  std::int32_t lineIndex;
  std::int32_t column;
  std::string message;
};

class ScriptedHost final : public sketch::DrawHost {
 public:
  std::deque<bool> answers;  // planned answers; OK once they run out
  std::vector<Prompt> prompts;
  std::vector<std::string> warnings;

  bool ConfirmIncomplete(std::int32_t lineIndex, std::int32_t column, std::string_view message) override;
  void WarnDrawingSize(std::string_view message) override;
};

struct PassResult {
  sketch::Picture picture{0, 0, 0};
  sketch::DrawPassCounters pass;
  std::vector<Prompt> prompts;
  std::vector<std::string> warnings;
};

// The draw pass over `text` (lines split at CR LF, CR or LF) on a new canvas.
PassResult Draw(const std::string& text, std::deque<bool> answers = {});

// The draw pass over `text` onto an SVG writer: its document. With
// `measured`, the writer measures legends with the program's text painter.
std::string DrawSvg(const std::string& text, bool measured = true);

// `svg` rendered by Qt SVG onto a white picture of 320x200 pixels times
// `scale`, antialiased.
QImage RasteriseSvg(const std::string& svg, int scale = 1);

// The picture as a QImage (a copy).
QImage ImageOf(const sketch::Picture& picture);

// Pixels of `picture` that are not white, and their bounding box.
QList<QPoint> NonWhite(const sketch::Picture& picture);
QRect Bounds(const QList<QPoint>& points);
bool IsBlack(const sketch::Picture& picture, int x, int y);
bool IsWhite(const sketch::Picture& picture, int x, int y);

}  // namespace testkit
