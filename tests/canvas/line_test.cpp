// The line rasteriser: the pixels of short segments, the reveal window at phases across and beyond
// the two-second cycle, end points at the limits of int, and thousands of random segments against
// a plain walk over every step of the segment.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <random>
#include <vector>

#include "canvas/line.h"
#include "test_canvas.h"

namespace {

constexpr Uint32 kColor = 0x1F1FFF;  // the laser's centre colour

struct point {
  int column, row;
};

struct line_case {
  const char* name;
  int x1, y1, x2, y2;
  int phase;
  std::vector<point> drawn;
};
void PrintTo(const line_case& c, std::ostream* out) {
  *out << c.name;
}

std::vector<point> run(int column, int row, int dc, int dr, int count) {
  std::vector<point> out;
  for (int i = 0; i < count; ++i) out.push_back({column + i * dc, row + i * dr});
  return out;
}

const line_case kLines[] = {
    {"x_major", 1, 1, 5, 3, 1000, {{1, 1}, {2, 1}, {3, 2}, {4, 2}}},
    {"x_major_reversed", 5, 3, 1, 1, 1000, {{1, 1}, {2, 1}, {3, 2}, {4, 2}}},
    {"y_major", 1, 1, 3, 5, 1000, {{1, 1}, {1, 2}, {2, 3}, {2, 4}}},
    {"y_major_reversed", 3, 5, 1, 1, 1000, {{1, 1}, {1, 2}, {2, 3}, {2, 4}}},
    {"tie_is_y_major", 4, 1, 1, 4, 1000, {{4, 1}, {3, 2}, {2, 3}}},
    {"tie_reversed", 1, 4, 4, 1, 1000, {{4, 1}, {3, 2}, {2, 3}}},
    {"later_end_first_is_not_drawn", 2, 7, 2, 3, 1000, run(2, 3, 0, 1, 4)},
    {"row_0", 1, 0, 300, 0, 1000, {}},
    {"column_0", 0, 1, 0, 300, 1000, {}},
    {"zero_length", 10, 10, 10, 10, 1000, {}},
    {"window_phase_9", 1, 5, 10, 5, 9, {{1, 5}, {2, 5}}},
    {"window_phase_1500", 400, 5, 420, 5, 1500, run(413, 5, 1, 0, 7)},
    {"window_phase_1999", 240, 5, 250, 5, 1999, run(247, 5, 1, 0, 3)},
    {"window_phase_2460", 100, 5, 110, 5, 2460, run(100, 5, 1, 0, 10)},
    {"window_phase_2463", 100, 5, 110, 5, 2463, {}},
    // End points at the limits of int: the walk must neither overflow nor take billions of steps.
    {"int_wide_row", INT_MIN, 5, INT_MAX, 5, 1000, run(1, 5, 1, 0, 332)},
    {"int_diagonal", INT_MIN, INT_MIN, INT_MAX, INT_MAX, 1000, run(1, 1, 1, 1, 332)},
    {"int_anti_diagonal", INT_MAX, 512 - INT_MAX, INT_MIN + 513, INT_MAX, 1999,
     run(511, 1, -1, 1, 265)},
    // One column in 2^32 rows: the step to column 2 happens half-way, at row 0.
    {"int_tall_step_right", 1, INT_MIN, 2, INT_MAX, 1000, run(2, 1, 0, 1, 511)},
    {"int_tall_step_to_column_0", 0, INT_MAX, 1, INT_MIN, 1000, {}},
    {"int_long_step_down", INT_MIN, 0, INT_MAX, 1, 1000, run(1, 1, 1, 0, 332)},
    {"int_far_away", INT_MIN, INT_MIN, INT_MIN + 7, INT_MAX, 1000, {}},
    {"int_phase_min", 1, 5, 100, 5, INT_MIN, {}},
    {"int_phase_max", 1, 5, 100, 5, INT_MAX, {}},
};

class line_pixels : public ::testing::TestWithParam<line_case> {};

TEST_P(line_pixels, draws_exactly_these_pixels) {
  const line_case& c = GetParam();
  std::vector<pixel> expected;
  for (const point& p : c.drawn) expected.push_back({p.column, p.row, kColor});
  guarded_canvas canvas;
  draw_line_pixels(canvas.view(), c.phase, kColor, c.x1, c.y1, c.x2, c.y2);
  EXPECT_EQ(canvas.changed(), sorted(expected));
  EXPECT_TRUE(canvas.guards_intact());
}

INSTANTIATE_TEST_SUITE_P(segments, line_pixels, ::testing::ValuesIn(kLines),
                         [](const auto& info) { return std::string(info.param.name); });

// The open columns at each phase, read from reveal_window and from a line across the whole width.
struct window_case {
  int phase;
  int first, last;  // last < first: no column is open
};

const window_case kWindows[] = {
    {0, 1, 0},       {1, 1, 0},        {2, 1, 0},        {3, 1, 0},        {9, 1, 2},
    {1000, 1, 332},  {1200, 1, 399},   {1202, 1, 399},   {1203, 1, 0},     {1204, 1, 0},
    {1205, 1, 0},    {1206, 511, 511}, {1500, 413, 511}, {1998, 247, 511}, {1999, 247, 511},
    {2460, 93, 511}, {2463, 1, 0},     {-1, 1, 0},       {-3, 1, 0},       {-1000, 1, 0},
};

TEST(reveal_window, opens_these_columns) {
  for (const window_case& w : kWindows) {
    SCOPED_TRACE(::testing::Message() << "phase " << w.phase);
    const column_range open = reveal_window(w.phase);
    if (w.last < w.first) {
      EXPECT_GT(open.first, open.last);
    } else {
      EXPECT_EQ(open.first, w.first);
      EXPECT_EQ(open.last, w.last);
    }
    guarded_canvas canvas;
    draw_line_pixels(canvas.view(), w.phase, kColor, -5, 9, 600, 9);
    std::vector<pixel> expected;
    for (int column = w.first; column <= w.last; ++column) expected.push_back({column, 9, kColor});
    EXPECT_EQ(canvas.changed(), expected);
  }
}

TEST(draw_line_pixels, adds_modulo_2_32_with_carries) {
  struct {
    Uint32 before, color, after;
  } const cases[] = {
      {0x00FFFFFF, 0x001F1FFF, 0x011F1FFE},  // the carry reaches the top byte
      {0xFFFFFFFF, 0x00000001, 0x00000000},  // a carry out of the top byte is lost
  };
  for (const auto& c : cases) {
    guarded_canvas canvas;
    canvas.set(1, 1, c.before);
    draw_line_pixels(canvas.view(), 1000, c.color, 1, 1, 2, 1);
    EXPECT_EQ(canvas.at(1, 1), c.after);
  }
}

// The rasteriser as the program defines it, step by step over the whole segment, testing every
// pixel against the drawable area and the reveal window. Coordinates must keep differences in int.
void reference_line(guarded_canvas& canvas, int phase, Uint32 color, int x1, int y1, int x2,
                    int y2) {
  const bool x_major = std::abs(x2 - x1) > std::abs(y2 - y1);
  int a1 = x_major ? x1 : y1, b1 = x_major ? y1 : x1;
  int a2 = x_major ? x2 : y2, b2 = x_major ? y2 : x2;
  if (a1 > a2) {
    std::swap(a1, a2);
    std::swap(b1, b2);
  }
  const int dmaj = a2 - a1, dmin = std::abs(b2 - b1);
  int err = dmaj / 2, m = b1;
  const int step = b1 < b2 ? 1 : -1;
  const int q = phase / 3;
  for (int i = a1; i < a2; ++i) {
    const int column = x_major ? i : m, row = x_major ? m : i;
    const bool open = q <= 400 ? column < q : q <= 820 ? column > 912 - q : false;
    if (column >= 1 && column <= 511 && row >= 1 && row <= 511 && open)
      canvas.add(column, row, color);
    err -= dmin;
    if (err < 0) {
      m += step;
      err += dmaj;
    }
  }
}

TEST(draw_line_pixels, matches_the_plain_walk_on_random_segments) {
  std::mt19937 random(1203);  // fixed seed: the same segments every run
  auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
  constexpr int kNearSegments = 3000;  // both ends in [-3000, 3000]
  constexpr int kFarSegments = 200;    // one end near the canvas, the other up to 200000 away
  guarded_canvas painted, expected;
  for (int n = 0; n < kNearSegments + kFarSegments; ++n) {
    int x1 = uniform(-3000, 3000), y1 = uniform(-3000, 3000);
    int x2 = uniform(-3000, 3000), y2 = uniform(-3000, 3000);
    if (n % 4 == 0) {  // many short segments in and around the canvas
      x1 = uniform(-40, 560), y1 = uniform(-40, 560);
      x2 = x1 + uniform(-60, 60), y2 = y1 + uniform(-60, 60);
    }
    if (n >= kNearSegments) {
      x1 = uniform(-100, 600), y1 = uniform(-100, 600);
      x2 = uniform(-200000, 200000), y2 = uniform(-200000, 200000);
    }
    const int phase = uniform(-10, 2500);
    const Uint32 color = random();
    draw_line_pixels(painted.view(), phase, color, x1, y1, x2, y2);
    reference_line(expected, phase, color, x1, y1, x2, y2);
    ASSERT_TRUE(painted == expected) << "segment " << n << ": (" << x1 << "," << y1 << ")-(" << x2
                                     << "," << y2 << ") phase " << phase;
  }
  EXPECT_TRUE(painted.guards_intact());
}

}  // namespace
