#pragma once
// Which pixels of a pen 1 pixel wide are dash and which are gap, counted
// along a figure from its start.

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

#include "canvas/Geometry.h"

namespace sketch {

// Dashes and gaps of DashLengths; a solid pen is all dash.
class DashPattern {
 public:
  explicit DashPattern(PenStyle style) : DashPattern(Worked(style)) {}
  bool IsDash(std::int64_t step) const { return dash_[Phase(step)]; }

  // Pixels x0..x1 of a row, whose step (from 0 up) is stepAtX0 at x0 and
  // grows by `direction` (1 or -1) from pixel to pixel rightwards: calls
  // add(first, last, dash) for each stretch of dash or gap.
  template <typename Add>
  void ForEachStretch(int x0, int x1, std::int64_t stepAtX0, int direction, Add add) const {
    if (direction > 0) {
      std::int64_t step = stepAtX0;
      for (int x = x0; x <= x1;) {
        const std::size_t at = Phase(step);
        const int last = static_cast<int>(std::min<std::int64_t>(x1, std::int64_t{x} + stretch_[at] - 1));
        add(x, last, dash_[at]);
        step += last - x + 1;
        x = last + 1;
      }
      return;
    }
    std::int64_t step = stepAtX0 - (x1 - x0);  // at x1, growing leftwards
    for (int x = x1; x >= x0;) {
      const std::size_t at = Phase(step);
      const int first = static_cast<int>(std::max<std::int64_t>(x0, std::int64_t{x} - stretch_[at] + 1));
      add(first, x, dash_[at]);
      step += x - first + 1;
      x = first - 1;
    }
  }

 private:
  // Where step (0 or more) falls in the pattern. The periods the pens have
  // are spelled out: a remainder by a constant is a multiplication, by a
  // variable a division, the slowest step of a dashed outline's row.
  std::size_t Phase(std::int64_t step) const {
    switch (period_) {
      case 24:
        return static_cast<std::size_t>(step % 24);
      case 6:
        return static_cast<std::size_t>(step % 6);
      default:
        return static_cast<std::size_t>(step % period_);
    }
  }
  constexpr explicit DashPattern(std::span<const int> lengths) {
    bool dash = true;
    for (const int length : lengths) {
      for (int i = 0; i < length; ++i) {
        dash_[static_cast<std::size_t>(period_)] = dash;
        stretch_[static_cast<std::size_t>(period_++)] = length - i;
      }
      dash = !dash;
    }
  }
  // The patterns are worked out once, at compile time: a figure copies its own.
  static const DashPattern& Worked(PenStyle style) {
    static constexpr std::array<int, 1> kAllDash = {1};
    // In the order of PenStyle's values.
    static constexpr std::array<DashPattern, 4> kPatterns = {
        DashPattern(kAllDash), DashPattern(DashLengths(PenStyle::Dash)), DashPattern(DashLengths(PenStyle::Dot)),
        DashPattern(DashLengths(PenStyle::DashDot))};
    return kPatterns[static_cast<std::size_t>(style)];
  }
  std::array<bool, 24> dash_{};
  std::array<int, 24> stretch_{};  // pixels from each step to the end of its dash or gap
  int period_ = 0;
};

}  // namespace sketch
