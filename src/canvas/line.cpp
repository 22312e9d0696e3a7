// Line rasteriser.
//
// An integer error-term walk (Bresenham's): the segment steps one pixel at a time along its
// major axis, the one with the larger extent (rows when the extents tie), and moves one pixel
// along the minor axis whenever the error term, started at half the major extent, falls below
// zero. The end point with the larger major coordinate is never drawn, so the same pixels come out
// whichever end is given first.
//
// The walk takes any int end points. Differences are formed in 64 bits, and the walk jumps
// straight to the first major position that can reach the canvas: after k steps the minor
// position has moved ceil((k·dmin − dmaj/2) / dmaj) times, which gives exactly the state the
// step-by-step walk would have reached.
#include "canvas/line.h"

#include <algorithm>
#include <cstdint>

namespace {

// Reveal thresholds, in thirds of a millisecond of laser phase.
constexpr int kPhaseDivisor = 3;       // the window moves one column every 3 ms
constexpr int kLeftRevealEnd = 400;    // up to here the window grows from the left edge
constexpr int kRightRevealEnd = 820;   // up to here it grows from the right edge
constexpr int kRightRevealBase = 912;  // columns beyond 912 − q are open from the right

using wide = __int128;  // k · dmin can exceed 64 bits for segments billions of pixels long

}  // namespace

column_range reveal_window(int phase) {
  const int q = phase / kPhaseDivisor;
  column_range open{kFirstDrawable, kLastDrawable};
  if (q <= kLeftRevealEnd) {
    open.last = std::min(kLastDrawable, q - 1);
  } else if (q <= kRightRevealEnd) {
    open.first = std::max(kFirstDrawable, kRightRevealBase - q + 1);
  } else {
    open.last = kFirstDrawable - 1;
  }
  return open;
}

void draw_line_pixels(const canvas_view& canvas, int phase, Uint32 color, int x1, int y1, int x2,
                      int y2) {
  if (canvas.pixels == nullptr) return;
  const column_range window = reveal_window(phase);
  const int first_column = std::max(window.first, kFirstDrawable);
  const int last_column = std::min({window.last, kLastDrawable, canvas.width - 1});
  const int first_row = kFirstDrawable;
  const int last_row = std::min(kLastDrawable, canvas.height - 1);
  if (first_column > last_column || first_row > last_row) return;

  const bool x_major = std::llabs(int64_t{x2} - x1) > std::llabs(int64_t{y2} - y1);
  int64_t a1 = x_major ? x1 : y1, b1 = x_major ? y1 : x1;
  int64_t a2 = x_major ? x2 : y2, b2 = x_major ? y2 : x2;
  if (a1 > a2) {
    std::swap(a1, a2);
    std::swap(b1, b2);
  }
  const int64_t dmaj = a2 - a1;
  const int64_t dmin = b2 > b1 ? b2 - b1 : b1 - b2;
  const int64_t half = dmaj / 2;
  const int64_t step = b1 < b2 ? 1 : -1;

  // Major positions that can land on the canvas: columns for x-major segments, rows otherwise.
  const int64_t major_first = x_major ? first_column : first_row;
  const int64_t major_last = x_major ? last_column : last_row;
  const int64_t start = std::max(a1, major_first);
  const int64_t stop = std::min(a2 - 1, major_last);
  if (start > stop) return;

  // State of the walk after k = start − a1 steps.
  const wide behind = wide{start - a1} * dmin - half;
  const wide moves = behind <= 0 ? 0 : (behind + dmaj - 1) / dmaj;
  int64_t err = static_cast<int64_t>(wide{half} - wide{start - a1} * dmin + moves * dmaj);
  int64_t m = b1 + step * static_cast<int64_t>(moves);

  const int64_t minor_first = x_major ? first_row : first_column;
  const int64_t minor_last = x_major ? last_row : last_column;
  for (int64_t i = start; i <= stop; ++i) {
    if (m >= minor_first && m <= minor_last) {
      const int column = static_cast<int>(x_major ? i : m);
      const int row = static_cast<int>(x_major ? m : i);
      add_to_canvas(canvas, column, row, color);
    }
    err -= dmin;
    if (err < 0) {
      m += step;
      err += dmaj;
    }
  }
}
