#pragma once
// Shared pieces of the render tests: a text as a line source, a host that
// records prompts and answers them as planned, and picture helpers.

#include <QImage>
#include <QList>
#include <QRect>
#include <deque>
#include <string>
#include <vector>

#include "render/DrawPass.h"

namespace testkit {

class TextSource final : public sketch::LineSource {
 public:
  explicit TextSource(std::string text);
  explicit TextSource(std::vector<std::string> lines) : lines_(std::move(lines)) {}
  std::int32_t LineCount() const override { return static_cast<std::int32_t>(lines_.size()); }
  std::string Line(std::int32_t index) const override { return lines_[static_cast<std::size_t>(index)]; }

 private:
  std::vector<std::string> lines_;
};

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
  QImage picture;
  sketch::DrawPassCounters pass;
  std::vector<Prompt> prompts;
  std::vector<std::string> warnings;
};

// The draw pass over `text` (lines split at CR LF, CR or LF) on a new canvas.
PassResult Draw(const std::string& text, std::deque<bool> answers = {});

// Pixels of `picture` that are not white, and their bounding box.
QList<QPoint> NonWhite(const QImage& picture);
QRect Bounds(const QList<QPoint>& points);
bool IsBlack(const QImage& picture, int x, int y);
bool IsWhite(const QImage& picture, int x, int y);

}  // namespace testkit
