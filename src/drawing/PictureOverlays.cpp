#include "drawing/PictureOverlays.h"

#include <utility>

#include "drawing/PictureView.h"

namespace drawing {

void PictureOverlays::Mark(std::string_view line) {
  if (!line.empty()) withheld_ = false;
  mark_.HighlightLine(picture_, line);
  Refresh();
}

void PictureOverlays::ShowPreview(std::function<void()> draw) {
  // Where the old and the new cover a pixel alike it stays, and only what
  // changed is repainted.
  picture_.BeginNotXorBatch();
  if (preview_) preview_();
  preview_ = std::move(draw);
  if (preview_) preview_();
  picture_.EndNotXorBatch();
  Refresh();
}

void PictureOverlays::TakePreview() {
  if (!preview_) return;
  std::exchange(preview_, nullptr)();
  Refresh();
}

void PictureOverlays::SetFrame(const QRect& frame) { view_.SetFrame(frame); }

QRect PictureOverlays::Frame() const { return view_.Frame(); }

void PictureOverlays::SetHandles(std::vector<QPoint> handles) {
  handles_ = std::move(handles);
  view_.SetHandles(handles_);
}

void PictureOverlays::DrawForGood(const std::function<void()>& figure) {
  TakePreview();
  const std::string marked = Marked();
  mark_.HighlightLine(picture_, std::string_view());
  figure();
  mark_.HighlightLine(picture_, marked);
  Refresh();
}

void PictureOverlays::AfterPass(std::string_view caretLine) {
  mark_.Forget();
  if (preview_) preview_();
  mark_.HighlightLine(picture_, withheld_ ? std::string_view() : caretLine);
  picture_.TakeTouched();  // the pass repaints the whole view
}

void PictureOverlays::Refresh() {
  const sketch::Rect touched = picture_.TakeTouched();
  if (!touched.Empty()) view_.UpdatePicture(QRect(touched.left, touched.top, touched.Width(), touched.Height()));
}

}  // namespace drawing
