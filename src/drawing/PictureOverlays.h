#pragma once
// What lies over the drawing window's picture: the mark of the element
// under the editor's caret, the gesture's preview (both drawn onto the
// picture by inversion, so drawing them again takes them off) and the pick
// handles (drawn over it by the view). Everything drawn for good goes
// through DrawForGood, which takes the mark off first and puts it back
// after: a mark left under a figure would invert the figure when taken off.

#include <QPoint>
#include <QRect>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "canvas/Canvas.h"
#include "render/Overlays.h"

namespace drawing {

class PictureView;

class PictureOverlays {
 public:
  PictureOverlays(sketch::Canvas& picture, PictureView& view) : picture_(picture), view_(view) {}

  // The mark onto the element of `line` (off the last one); an empty line
  // takes it off, another line ends a withholding.
  void Mark(std::string_view line);
  const std::string& Marked() const { return mark_.LastHighlight(); }
  void ForgetMark() { mark_.Forget(); }  // the text it was on went away
  // After a Delete the caret's line is an element nobody chose: it gets no
  // mark (and no pick) until the caret is put on a line again.
  void Withhold(bool withheld = true) { withheld_ = withheld; }
  bool Withheld() const { return withheld_; }

  // `draw` draws the preview in the not-xor mode; it replaces the preview
  // shown, the old and the new reaching the picture together.
  void ShowPreview(std::function<void()> draw);
  void TakePreview();  // off the picture

  void SetHandles(std::vector<QPoint> handles);
  const std::vector<QPoint>& Handles() const { return handles_; }
  // The dashed outline round picture pixels; empty: none.
  void SetFrame(const QRect& frame);
  QRect Frame() const;

  // `figure` drawn in copy mode, the mark off meanwhile. A preview is
  // taken off first and stays off.
  void DrawForGood(const std::function<void()>& figure);
  // A pass cleared the picture: the preview goes on again, then the mark
  // onto `caretLine` unless it is withheld.
  void AfterPass(std::string_view caretLine);
  // Repaints what the picture drew since the last call.
  void Refresh();

 private:
  sketch::Canvas& picture_;
  PictureView& view_;
  sketch::Highlight mark_;
  bool withheld_ = false;
  std::function<void()> preview_;
  std::vector<QPoint> handles_;
};

}  // namespace drawing
