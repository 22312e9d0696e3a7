// The laser: its glow colours, the 185 lines of one painting in their order, which canvas columns
// a painting reaches at phases across the two-second cycle, and the glow's profile across the line.
#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <vector>

#include "canvas/laser.h"
#include "test_canvas.h"

namespace {

constexpr Uint32 kCentre = 0x1F1FFF;

// The glow colour at 1 to 18 rows from the centre line: red 2, green 93 / d, blue 381 / d (which
// carries into green at d = 1).
const Uint32 kGlow[kGlowReach + 1] = {
    0,        0x025E7D, 0x022EBE, 0x021F7F, 0x02175F, 0x02124C, 0x020F3F,
    0x020D36, 0x020B2F, 0x020A2A, 0x020926, 0x020822, 0x02071F, 0x02071D,
    0x02061B, 0x020619, 0x020517, 0x020516, 0x020515,
};

TEST(glow_color, fades_with_the_distance) {
  for (int d = 1; d <= kGlowReach; ++d) EXPECT_EQ(glow_color(d), kGlow[d]) << "d = " << d;
}

struct line_call {
  Uint32 color;
  int x1, y1, x2, y2;
  bool operator==(const line_call& o) const {
    return std::tie(color, x1, y1, x2, y2) == std::tie(o.color, o.x1, o.y1, o.x2, o.y2);
  }
};

std::ostream& operator<<(std::ostream& out, const line_call& c) {
  return out << std::hex << "0x" << c.color << std::dec << " (" << c.x1 << "," << c.y1 << ")-("
             << c.x2 << "," << c.y2 << ")";
}

// The polyline on the canvas, and mirrored (where each segment is given with its later point
// first).
const int kPoints[6][2] = {{0, 100}, {50, 0}, {100, 50}, {200, 110}, {300, 170}, {400, 70}};
const int kMirrored[6][2] = {{512, 100}, {462, 0}, {412, 50}, {312, 110}, {212, 170}, {112, 70}};

std::vector<line_call> expected_lines(bool mirrored) {
  std::vector<line_call> out;
  for (int k = 0; k < 5; ++k) {
    const int* s = mirrored ? kMirrored[k + 1] : kPoints[k];
    const int* e = mirrored ? kMirrored[k] : kPoints[k + 1];
    for (int o = -18; o <= 18; ++o)
      if (o != 0) out.push_back({kGlow[o < 0 ? -o : o], s[0], s[1] + o, e[0], e[1] + o});
    out.push_back({kCentre, s[0], s[1], e[0], e[1]});
  }
  return out;
}

TEST(for_each_laser_line, gives_185_lines_glow_first_then_centre) {
  const struct {
    int phase;
    bool mirrored;
  } cases[] = {{0, false}, {1202, false}, {1203, true}, {1999, true}};
  for (const auto& c : cases) {
    std::vector<line_call> calls;
    for_each_laser_line(c.phase, [&](Uint32 color, int x1, int y1, int x2, int y2) {
      calls.push_back({color, x1, y1, x2, y2});
    });
    ASSERT_EQ(calls.size(), 185u) << "phase " << c.phase;
    EXPECT_EQ(calls, expected_lines(c.mirrored)) << "phase " << c.phase;
  }
}

// The columns a painting on a black canvas changes: first to last, none when last < first, except
// the column where two segments meet and each leaves that end point out (the x-major third segment
// ends at column 300, and the y-major fifth ends there at row 170; mirrored: column 412).
struct reach_case {
  int phase;
  int first, last;
  int gap;  // a column left out inside first to last, or 0
};

const reach_case kReach[] = {
    {0, 1, 0, 0},        {1, 1, 0, 0},        {2, 1, 0, 0},        {3, 1, 0, 0},
    {4, 1, 0, 0},        {5, 1, 0, 0},        {6, 1, 1, 0},        {600, 1, 199, 0},
    {1200, 1, 399, 300}, {1201, 1, 399, 300}, {1202, 1, 399, 300}, {1203, 1, 0, 0},
    {1204, 1, 0, 0},     {1205, 1, 0, 0},     {1206, 511, 511, 0}, {1999, 247, 511, 412},
};

TEST(paint_laser, reaches_the_open_columns_only) {
  for (const reach_case& c : kReach) {
    SCOPED_TRACE(::testing::Message() << "phase " << c.phase);
    guarded_canvas canvas;
    paint_laser(canvas.view(), c.phase);
    std::set<int> columns, expected;
    for (const pixel& p : canvas.changed()) {
      columns.insert(p.column);
      EXPECT_GE(p.row, 1);
    }
    for (int column = c.first; column <= c.last; ++column)
      if (column != c.gap) expected.insert(column);
    EXPECT_EQ(columns, expected);
    EXPECT_TRUE(canvas.guards_intact());
  }
}

// Column 150 lies on the third segment alone, (100,50)-(200,110), whose centre passes row 80
// there: the column holds the centre colour with the glow fading 18 rows up and down, and nothing
// else.
TEST(paint_laser, glows_across_the_line) {
  constexpr int kColumn = 150, kCentreRow = 80;
  guarded_canvas canvas;
  paint_laser(canvas.view(), 1200);
  std::vector<pixel> column, expected;
  for (const pixel& p : canvas.changed())
    if (p.column == kColumn) column.push_back(p);
  for (int o = -kGlowReach; o <= kGlowReach; ++o)
    expected.push_back({kColumn, kCentreRow + o, o == 0 ? kCentre : kGlow[o < 0 ? -o : o]});
  EXPECT_EQ(column, expected);
}

}  // namespace
