#pragma once
// What the drawers need of the world outside the picture: the window that
// shows the pass (the drawing window), or the command-line renderer.

#include <cstdint>
#include <string_view>

namespace sketch {

class DrawHost {
 public:
  virtual ~DrawHost() = default;

  // A polyline or legend text of the draw pass is not closed. The editor's
  // caret goes behind the characters read (`column` of line `lineIndex`, both
  // from 0) and the user is asked; `message` is the prompt text followed by
  // the whole line, cut at 255 characters. True (OK) goes on with the pass;
  // anything else ends it.
  virtual bool ConfirmIncomplete(std::int32_t lineIndex, std::int32_t column, std::string_view message) = 0;

  // The sketch text of the pass is large: "Drawing text is %d characters!".
  virtual void WarnDrawingSize(std::string_view message) = 0;
};

// A host that asks nothing: incomplete lines are drawn as far as they go and
// the pass goes on; a large sketch is drawn whole without a warning.
class GoOnHost final : public DrawHost {
 public:
  bool ConfirmIncomplete(std::int32_t, std::int32_t, std::string_view) override { return true; }
  void WarnDrawingSize(std::string_view) override {}
};

}  // namespace sketch
