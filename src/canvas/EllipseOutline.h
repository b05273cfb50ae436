#pragma once
// The outline one pixel wide of an ellipse (the inside pixels that have a
// 4-neighbour outside) and the order in which a broken pen walks it:
// counter-clockwise from three o'clock, so that pixel number n of the walk
// takes dash step n.
//
// Where a pixel stands in the walk is worked out from the ends of the rows,
// never by walking to it: the rows of one quarter telescope into a few row
// ends, so the cost is the same for an ellipse millions of pixels across as
// for one on the picture, and the dashes a pixel gets do not depend on how
// much of the ellipse lies off the picture.
//
// The walk, by quarters (rows of the upper half are those at or above the
// centre):
//   upper right: rows from the centre upwards, each right to left;
//   upper left:  rows from the top downwards, each right to left;
//   lower left:  rows from the centre downwards, each left to right;
//   lower right: rows from the bottom upwards, each left to right.
// Pixels right of the centre, or on its vertical, belong to the right side.
// Along the walk the direction of the pixels from the centre only ever turns
// counter-clockwise, so an arc's pixels are one stretch of it.

#include <array>
#include <cstdint>
#include <vector>

#include "canvas/Shapes.h"

namespace sketch {

class EllipseOutline {
 public:
  // Numbering the walk costs some work up front; a solid pen does without.
  enum class Walk { kUnnumbered, kNumbered };
  EllipseOutline(const EllipseShape& e, Walk walk);

  // The outline pixels of row `y` that reach into the columns minX..maxX: up
  // to two runs, left part first, each with the walk number of its pixel x0
  // (0 when unnumbered) and whether the walk numbers grow to the right (+1)
  // or to the left (-1).
  struct Run {
    std::int64_t x0, x1;  // x0 <= x1, the whole run (not cut to minX..maxX)
    std::int64_t indexAtX0;
    int direction;  // walk number of pixel x: indexAtX0 + direction * (x - x0)
  };
  int RowRuns(std::int64_t y, std::int64_t minX, std::int64_t maxX, Run runs[2]) const;

  // The rest needs a numbered walk.

  // Number of pixels of the whole outline.
  std::int64_t Total() const { return total_; }

  // Walk number of the first pixel whose direction from the centre, in the
  // ellipse's own coordinates, lies at or counter-clockwise after the angle
  // `radians` (0 to 2 pi, from three o'clock); Total() when there is none.
  std::int64_t FirstAtOrAfter(double radians) const;

  // The direction of pixel (x, y) as the walk orders it: 0 to 2 pi.
  double AngleOf(std::int64_t x, std::int64_t y) const;

 private:
  // Rows are numbered k = 0, 1, ... from the centre outwards, alike above and
  // below it. Reach(k): the last column of row k, from the centre's column;
  // -1 beyond the last row.
  std::int64_t Reach(std::int64_t k) const;
  bool HasRow(std::int64_t k) const;
  // Pixels of the right and left part of the rows first..last (empty when
  // first > last).
  std::int64_t RightPixels(std::int64_t first, std::int64_t last) const;
  std::int64_t LeftPixels(std::int64_t first, std::int64_t last) const;
  // Rows of the rim (rows 0 to rimRows_-1, each with both neighbours in the
  // outline): a part holds max(1, Reach(k) - Reach(k+1)) pixels.
  std::int64_t RimPixels(std::int64_t first, std::int64_t last) const;
  // Of the rows first..last beyond the rim, the sum of Reach.
  std::int64_t CapReach(std::int64_t first, std::int64_t last) const;
  std::int64_t EqualReaches(std::int64_t first, std::int64_t last) const;
  double RowHalfWidth(std::int64_t k) const;

  struct Part {
    std::int64_t x0, x1;  // from the centre's column
  };
  struct Parts {
    Part left, right;  // left of the centre's column, and from it on
  };
  // The parts of row k, or none when there is no row k.
  bool PartsOf(std::int64_t k, Parts& parts) const;

  EllipseShape e_;
  int halfX_ = 0, halfY_ = 0;  // the centre lies on a pixel edge (1) or a pixel centre (0)
  bool numbered_ = false;
  std::int64_t rows_ = 0;  // rows on each side of the centre, centre row included
  std::int64_t rimRows_ = 0;
  std::int64_t lowerFirst_ = 0;  // the first row number of the lower half
  std::int64_t capOnesEnd_ = 0;  // rows beyond the rim with Reach >= 1 end here
  // Rim rows before steepFrom_ end at most one column past the next row;
  // rows from flatFrom_ on at least one column past it. The rows between are
  // counted one by one.
  std::int64_t steepFrom_ = 0, flatFrom_ = 0;
  std::vector<std::int64_t> equalsBefore_;  // equal neighbours before each row of that band
  std::int64_t quarterStart_[4] = {0, 0, 0, 0};
  struct ReachMemo {
    std::int64_t row = -1, reach = 0;
  };
  mutable std::array<ReachMemo, 16> reachMemo_;
  std::int64_t total_ = 0;
};

}  // namespace sketch
