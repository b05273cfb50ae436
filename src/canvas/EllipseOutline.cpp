#include "canvas/EllipseOutline.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sketch {

namespace {

// Row widths computed in floating point are good to far better than this;
// steps of a row end closer to one column than this are counted one by one.
constexpr double kStepMargin = 1e-6;

// The smallest k in [lo, hi) for which `holds` is true, or hi; `holds` must
// be false up to some k and true from there on.
template <typename Holds>
std::int64_t FirstWhere(std::int64_t lo, std::int64_t hi, Holds holds) {
  while (lo < hi) {
    const std::int64_t mid = lo + (hi - lo) / 2;
    if (holds(mid)) {
      hi = mid;
    } else {
      lo = mid + 1;
    }
  }
  return lo;
}

}  // namespace

// How the counts work. Take the right part of an upper row k of the rim:
// its inside neighbours are row k-1 (as wide or wider) and row k+1 (as
// narrow or narrower), so its outline runs from one column past row k+1's
// end to its own end: max(1, Reach(k) - Reach(k+1)) pixels. Over a stretch
// of rows these telescope to Reach(first) - Reach(last+1) plus the number of
// rows whose end equals the next row's. Where the true row ends step less
// than one column from row to row (towards three o'clock), each row's end
// is the next one's or one more, so those rows are the count of rows minus
// the columns stepped; where they step one column or more, there are none.
// The outermost rows (the cap, where the outline has no inside to go round)
// are at most one column from the centre, all but the last row of the rim's
// edge, and are summed directly.

EllipseOutline::EllipseOutline(const EllipseShape& e) : e_(e), halfX_(e.halfX), halfY_(e.halfY) {
  lowerFirst_ = halfY_ != 0 ? 0 : 1;
  const std::int64_t rowBound =
      static_cast<std::int64_t>(std::floor(std::max(e.ry + kWholePixels - 0.5 * halfY_, 0.0))) + 2;
  rows_ = FirstWhere(0, rowBound, [&](std::int64_t k) { return !HasRow(k); });
  rimRows_ = FirstWhere(
      0, rows_, [&](std::int64_t k) { return k + 1 >= rows_ || std::min(Reach(k) - 1, Reach(k + 1)) < halfX_; });
  capOnesEnd_ = FirstWhere(std::min(rimRows_ + 1, rows_), rows_, [&](std::int64_t k) { return Reach(k) < 1; });
  const auto step = [&](std::int64_t k) { return RowHalfWidth(k) - RowHalfWidth(k + 1); };
  steepFrom_ = FirstWhere(0, rimRows_, [&](std::int64_t k) { return step(k) >= 1 - kStepMargin; });
  flatFrom_ = FirstWhere(steepFrom_, rimRows_, [&](std::int64_t k) { return step(k) > 1 + kStepMargin; });
  equalsBefore_.assign(1, 0);
  for (std::int64_t k = steepFrom_; k < flatFrom_; ++k)
    equalsBefore_.push_back(equalsBefore_.back() + (Reach(k) == Reach(k + 1) ? 1 : 0));

  const std::int64_t last = rows_ - 1;
  quarterStart_[1] = RightPixels(0, last);
  quarterStart_[2] = quarterStart_[1] + LeftPixels(0, last);
  quarterStart_[3] = quarterStart_[2] + LeftPixels(lowerFirst_, last);
  total_ = quarterStart_[3] + RightPixels(lowerFirst_, last);
}

double EllipseOutline::RowHalfWidth(std::int64_t k) const {
  return e_.HalfWidth(0.5 * halfY_ + static_cast<double>(k), kWholePixels);
}

std::int64_t EllipseOutline::Reach(std::int64_t k) const { return e_.Reach(RowHalfWidth(k)); }

bool EllipseOutline::HasRow(std::int64_t k) const {
  const double half = RowHalfWidth(k);
  return half >= 0 && e_.Reach(half) >= halfX_;
}

std::int64_t EllipseOutline::EqualReaches(std::int64_t first, std::int64_t last) const {
  std::int64_t equals = 0;
  // Steep rows: each steps zero or one column.
  const std::int64_t steepLast = std::min(last, steepFrom_ - 1);
  if (first <= steepLast) equals += (steepLast - first + 1) - (Reach(first) - Reach(steepLast + 1));
  // The rows in between, counted one by one beforehand.
  const std::int64_t bandFirst = std::max(first, steepFrom_), bandLast = std::min(last, flatFrom_ - 1);
  if (bandFirst <= bandLast) {
    equals += equalsBefore_[static_cast<std::size_t>(bandLast + 1 - steepFrom_)] -
              equalsBefore_[static_cast<std::size_t>(bandFirst - steepFrom_)];
  }
  return equals;  // flat rows step at least a column: none equal
}

std::int64_t EllipseOutline::RimPixels(std::int64_t first, std::int64_t last) const {
  if (first > last) return 0;
  return Reach(first) - Reach(last + 1) + EqualReaches(first, last);
}

std::int64_t EllipseOutline::CapReach(std::int64_t first, std::int64_t last) const {
  if (first > last) return 0;
  std::int64_t sum = 0;
  if (first == rimRows_) sum += Reach(first++);  // the rim's edge may be as wide as the ellipse
  const std::int64_t onesLast = std::min(last, capOnesEnd_ - 1);
  if (first <= onesLast) sum += onesLast - first + 1;
  return sum;
}

std::int64_t EllipseOutline::RightPixels(std::int64_t first, std::int64_t last) const {
  if (first > last) return 0;
  const std::int64_t capFirst = std::max(first, rimRows_);
  const std::int64_t capRows = std::max<std::int64_t>(last - capFirst + 1, 0);
  return RimPixels(first, std::min(last, rimRows_ - 1)) + CapReach(capFirst, last) + capRows * (1 - halfX_);
}

std::int64_t EllipseOutline::LeftPixels(std::int64_t first, std::int64_t last) const {
  if (first > last) return 0;
  return RimPixels(first, std::min(last, rimRows_ - 1)) + CapReach(std::max(first, rimRows_), last);
}

EllipseOutline::Part EllipseOutline::RightPart(std::int64_t k) const {
  const std::int64_t reach = Reach(k);
  if (k < rimRows_) return {std::min(reach - 1, Reach(k + 1)) + 1, reach};
  return {halfX_, reach};
}

EllipseOutline::Part EllipseOutline::LeftPart(std::int64_t k) const {
  const Part right = RightPart(k);
  if (k < rimRows_) return {halfX_ - right.x1, halfX_ - right.x0};  // the mirror image
  return {halfX_ - right.x1, std::min(right.x1, std::int64_t{halfX_} - 1)};
}

int EllipseOutline::RowRuns(std::int64_t y, std::int64_t minX, std::int64_t maxX, Run runs[2]) const {
  const std::int64_t twiceFromCentre = 2 * (y - e_.baseY) - halfY_;
  const bool upper = twiceFromCentre <= 0;
  const std::int64_t k = (std::abs(twiceFromCentre) - halfY_) / 2;
  if (k >= rows_) return 0;
  const std::int64_t last = rows_ - 1;
  int count = 0;
  // The walk numbers are worked out only for the parts that show.
  const auto shows = [&](Part part) {
    return part.x0 <= part.x1 && e_.baseX + part.x1 >= minX && e_.baseX + part.x0 <= maxX;
  };
  const auto add = [&](Part part, std::int64_t indexAtX0, int direction) {
    runs[count++] = {e_.baseX + part.x0, e_.baseX + part.x1, indexAtX0, direction};
  };
  const Part left = LeftPart(k), right = RightPart(k);
  if (upper) {  // both walked right to left
    if (shows(left)) add(left, quarterStart_[1] + LeftPixels(k + 1, last) + (left.x1 - left.x0), -1);
    if (shows(right)) add(right, quarterStart_[0] + RightPixels(0, k - 1) + (right.x1 - right.x0), -1);
  } else {  // both walked left to right
    if (shows(left)) add(left, quarterStart_[2] + LeftPixels(lowerFirst_, k - 1), 1);
    if (shows(right)) add(right, quarterStart_[3] + RightPixels(k + 1, last), 1);
  }
  return count;
}

void EllipseOutline::PixelAt(std::int64_t index, std::int64_t& x, std::int64_t& y) const {
  const std::int64_t last = rows_ - 1;
  const int quarter = index >= quarterStart_[3] ? 3 : index >= quarterStart_[2] ? 2 : index >= quarterStart_[1] ? 1 : 0;
  const std::int64_t r = index - quarterStart_[quarter];
  std::int64_t k = 0;
  switch (quarter) {
    case 0:  // outwards from the centre row
      k = FirstWhere(0, rows_, [&](std::int64_t n) { return RightPixels(0, n) > r; });
      x = RightPart(k).x1 - (r - RightPixels(0, k - 1));
      break;
    case 1:  // inwards from the top
      k = FirstWhere(0, rows_, [&](std::int64_t n) { return LeftPixels(n, last) <= r; }) - 1;
      x = LeftPart(k).x1 - (r - LeftPixels(k + 1, last));
      break;
    case 2:
      k = FirstWhere(lowerFirst_, rows_, [&](std::int64_t n) { return LeftPixels(lowerFirst_, n) > r; });
      x = LeftPart(k).x0 + (r - LeftPixels(lowerFirst_, k - 1));
      break;
    default:
      k = FirstWhere(lowerFirst_, rows_, [&](std::int64_t n) { return RightPixels(n, last) <= r; }) - 1;
      x = RightPart(k).x0 + (r - RightPixels(k + 1, last));
      break;
  }
  x += e_.baseX;
  y = quarter < 2 ? e_.baseY - k : e_.baseY + halfY_ + k;
}

double EllipseOutline::AngleOf(std::int64_t x, std::int64_t y) const {
  const double sx = std::max(e_.rx, 0.5), sy = std::max(e_.ry, 0.5);
  const double dx = static_cast<double>(x - e_.baseX) - 0.5 * halfX_;
  const double dy = static_cast<double>(y - e_.baseY) - 0.5 * halfY_;
  const double angle = std::atan2(-dy / sy, dx / sx);
  return angle < 0 ? angle + 2 * std::numbers::pi : angle;
}

std::int64_t EllipseOutline::FirstAtOrAfter(double radians) const {
  return FirstWhere(0, total_, [&](std::int64_t index) {
    std::int64_t x, y;
    PixelAt(index, x, y);
    return AngleOf(x, y) >= radians;
  });
}

}  // namespace sketch
