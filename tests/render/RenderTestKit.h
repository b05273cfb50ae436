#pragma once
// Shared pieces of the render tests: a host that records prompts and answers
// them as planned, and picture helpers.

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

// Pixels of `picture` that are not white, and their bounding box.
QList<QPoint> NonWhite(const sketch::Picture& picture);
QRect Bounds(const QList<QPoint>& points);
bool IsBlack(const sketch::Picture& picture, int x, int y);
bool IsWhite(const sketch::Picture& picture, int x, int y);

}  // namespace testkit
