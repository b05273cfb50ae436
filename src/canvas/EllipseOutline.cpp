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

EllipseOutline::EllipseOutline(const EllipseShape& e, Walk walk) : e_(e), halfX_(e.halfX), halfY_(e.halfY) {
  lowerFirst_ = halfY_ != 0 ? 0 : 1;
  numbered_ = walk == Walk::kNumbered;
  if (!numbered_) return;
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

std::int64_t EllipseOutline::Reach(std::int64_t k) const {
  // The sums of a row's walk number come back to the same few rows again and
  // again: the row itself, its neighbour, and where the stretches of rows end.
  ReachMemo& memo = reachMemo_[static_cast<std::size_t>(k) % reachMemo_.size()];
  if (memo.row != k) {
    const double half = RowHalfWidth(k);
    memo = {k, half < 0 ? -1 : e_.Reach(half)};
  }
  return memo.reach;
}

bool EllipseOutline::HasRow(std::int64_t k) const { return Reach(k) >= halfX_; }

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

bool EllipseOutline::PartsOf(std::int64_t k, Parts& parts) const {
  const std::int64_t reach = Reach(k);
  if (reach < halfX_) return false;
  // Inside the rim the outer neighbour row is in the ellipse and the part
  // runs from one past its end; the left part is the right part's mirror.
  const std::int64_t next = Reach(k + 1);
  if (next >= halfX_ && std::min(reach - 1, next) >= halfX_) {
    const std::int64_t from = std::min(reach - 1, next) + 1;
    parts = {{halfX_ - reach, halfX_ - from}, {from, reach}};
  } else {
    parts = {{halfX_ - reach, std::min(reach, std::int64_t{halfX_} - 1)}, {halfX_, reach}};
  }
  return true;
}

int EllipseOutline::RowRuns(std::int64_t y, std::int64_t minX, std::int64_t maxX, Run runs[2]) const {
  const std::int64_t twiceFromCentre = 2 * (y - e_.baseY) - halfY_;
  const bool upper = twiceFromCentre <= 0;
  const std::int64_t k = (std::abs(twiceFromCentre) - halfY_) / 2;
  Parts parts;
  if (!PartsOf(k, parts)) return 0;
  const std::int64_t last = rows_ - 1;
  // Walk numbers of the parts' first pixels in the walk: upper rows are
  // walked right to left, lower rows left to right.
  const auto firstInWalk = [&](bool left) -> std::int64_t {
    if (upper) return left ? quarterStart_[1] + LeftPixels(k + 1, last) : RightPixels(0, k - 1);
    return left ? quarterStart_[2] + LeftPixels(lowerFirst_, k - 1) : quarterStart_[3] + RightPixels(k + 1, last);
  };
  int count = 0;
  for (const bool left : {true, false}) {
    const Part& part = left ? parts.left : parts.right;
    // Walk numbers are worked out only for the parts that show.
    if (part.x0 > part.x1 || e_.baseX + part.x1 < minX || e_.baseX + part.x0 > maxX) continue;
    Run& run = runs[count++];
    run = {e_.baseX + part.x0, e_.baseX + part.x1, 0, upper ? -1 : 1};
    if (numbered_) run.indexAtX0 = firstInWalk(left) + (upper ? part.x1 - part.x0 : 0);
  }
  return count;
}

double EllipseOutline::AngleOf(std::int64_t x, std::int64_t y) const {
  const double sx = std::max(e_.rx, 0.5), sy = std::max(e_.ry, 0.5);
  const double dx = static_cast<double>(x - e_.baseX) - 0.5 * halfX_;
  const double dy = static_cast<double>(y - e_.baseY) - 0.5 * halfY_;
  const double angle = std::atan2(-dy / sy, dx / sx);
  return angle < 0 ? angle + 2 * std::numbers::pi : angle;
}

std::int64_t EllipseOutline::FirstAtOrAfter(double radians) const {
  // The quarter that holds the angle: upper right from 0 to a quarter turn,
  // upper left to a half turn, and so on.
  const int quarter = std::clamp(static_cast<int>(std::ceil(radians / (std::numbers::pi / 2))) - 1, 0, 3);
  const bool upper = quarter < 2, right = quarter == 0 || quarter == 3;
  const std::int64_t last = rows_ - 1, first = upper ? 0 : lowerFirst_;
  // Its rows in the order of the walk, and each row's part, walked right to
  // left in the upper half and left to right in the lower.
  const bool outwards = quarter == 0 || quarter == 2;
  const auto rowAt = [&](std::int64_t position) { return outwards ? first + position : last - position; };
  const auto yOf = [&](std::int64_t k) { return upper ? e_.baseY - k : e_.baseY + halfY_ + k; };
  const auto partOf = [&](std::int64_t k) {
    Parts parts;
    PartsOf(k, parts);
    return right ? parts.right : parts.left;
  };
  const auto xAt = [&](const Part& part, std::int64_t i) { return e_.baseX + (upper ? part.x1 - i : part.x0 + i); };
  // The first row whose last pixel lies at or after the angle. Empty parts
  // (left parts of the outermost rows) come first in the upper left quarter
  // and last in the lower left.
  const std::int64_t rowsOfQuarter = rows_ - first;
  const std::int64_t position = FirstWhere(0, rowsOfQuarter, [&](std::int64_t p) {
    const Part part = partOf(rowAt(p));
    if (part.x0 > part.x1) return quarter == 2;
    return AngleOf(xAt(part, part.x1 - part.x0), yOf(rowAt(p))) >= radians;
  });
  const std::int64_t quarterEnd = quarter == 3 ? total_ : quarterStart_[quarter + 1];
  if (position == rowsOfQuarter) return quarterEnd;
  const std::int64_t k = rowAt(position);
  const Part part = partOf(k);
  if (part.x0 > part.x1) return quarterEnd;
  const std::int64_t i =
      FirstWhere(0, part.x1 - part.x0 + 1, [&](std::int64_t n) { return AngleOf(xAt(part, n), yOf(k)) >= radians; });
  std::int64_t before = 0;  // pixels of the quarter before row k
  switch (quarter) {
    case 0:
      before = RightPixels(0, k - 1);
      break;
    case 1:
      before = LeftPixels(k + 1, last);
      break;
    case 2:
      before = LeftPixels(lowerFirst_, k - 1);
      break;
    default:
      before = RightPixels(k + 1, last);
  }
  return quarterStart_[quarter] + before + i;
}

}  // namespace sketch
