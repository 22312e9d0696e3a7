// What the show puts on the screen at chosen show times, read back from the real frame buffer:
// where each window's panels and particles land, and that the end of the show is black.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "shell/shell.h"
#include "show_frame.h"

namespace {

constexpr Sint32 kWallTime = 12000;  // a frame of the wall, before the later windows

class frames_test : public show_test {
 protected:
  // The windows after the wall draw with the state and lights the wall leaves: one frame of it.
  void leave_the_wall() { run_frame(*show, kWallTime); }
  // A frame that starts from a freshly cleared canvas, as read back after it.
  std::vector<Uint8> frame_at(Sint32 show_time) {
    show->last_clear = show_time - 1001;
    run_frame(*show, show_time);
    return read_frame();
  }
};

// The screen rectangle that the eye-space rectangle [x0, x1] × [y0, y1] at depth z covers, cut to
// the screen.
screen_box projected(double x0, double x1, double y0, double y1, double z) {
  const auto top_left = screen_point(x0, y1, z);
  const auto bottom_right = screen_point(x1, y0, z);
  return {std::max(0, static_cast<int>(top_left.first)),
          std::max(0, static_cast<int>(top_left.second)),
          std::min(kScreenWidth - 1, static_cast<int>(bottom_right.first)),
          std::min(kScreenHeight - 1, static_cast<int>(bottom_right.second)), 0};
}

long area_of(const screen_box& b) {
  return static_cast<long>(b.right - b.left + 1) * (b.bottom - b.top + 1);
}

// Every lit pixel lies in `where` (give or take a pixel of rasterisation), and the lit pixels fill
// at least a fifth of it: the panels are there and nowhere else.
void expect_drawn_inside(const std::vector<Uint8>& frame, const screen_box& where) {
  const screen_box lit = lit_bounds(frame, 0);
  ASSERT_GT(lit.count, 0) << "nothing drawn";
  EXPECT_GE(lit.left, where.left - 1);
  EXPECT_LE(lit.right, where.right + 1);
  EXPECT_GE(lit.top, where.top - 1);
  EXPECT_LE(lit.bottom, where.bottom + 1);
  EXPECT_GE(lit.count, area_of(where) / 5);
}

// The panels of a pair stand 2 units beyond the pair's origin and reach 1.8 units to each side of
// it and 1 unit up and down.
constexpr double kPairDepth = 2;
constexpr double kPairHalfWidth = 1.8;
constexpr double kPanelHalfHeight = 1;

TEST_F(frames_test, WallOfPanelsCoversTheScreen) {
  run_frame(*show, 4960);  // lit as the frame before left the lights
  const std::vector<Uint8> frame = frame_at(5000);
  // Every sixteenth of the screen shows panels, on at least a tenth of its pixels.
  constexpr int kCells = 4;
  constexpr int kCellWidth = kScreenWidth / kCells;
  constexpr int kCellHeight = kScreenHeight / kCells;
  for (int row = 0; row < kCells; ++row) {
    for (int column = 0; column < kCells; ++column) {
      const screen_box cell{column * kCellWidth, row * kCellHeight, (column + 1) * kCellWidth - 1,
                            (row + 1) * kCellHeight - 1, 0};
      EXPECT_GE(lit_bounds(frame, 0, cell).count, area_of(cell) / 10)
          << "cell " << column << ", " << row;
    }
  }
}

struct pair_case {
  Sint32 show_time;
  double centre_x;  // the pair's centre line, in eye coordinates
  double depth;     // the pair's origin, in eye coordinates
};

TEST_F(frames_test, PairIsPulledInThenTurnsAway) {
  leave_the_wall();
  // Scene 2 starts 100 units beyond the camera step, past the far plane (100): nothing shows.
  EXPECT_EQ(lit_bounds(frame_at(13000), 0).count, 0);

  const pair_case cases[] = {
      {15000, 0, -1 - 60},  // pulled in to 60 units
      {17000, 0, -1 - 20},  // to 20
      {19000, 0, -1},       // the turn starts with scene 2's pair facing the camera
      {21700, -1, -1},      // half a turn: scene 3's pair faces it, one unit to the left
  };
  for (const pair_case& c : cases) {
    SCOPED_TRACE(c.show_time);
    const double z = c.depth - kPairDepth;
    expect_drawn_inside(frame_at(c.show_time),
                        projected(c.centre_x - kPairHalfWidth, c.centre_x + kPairHalfWidth,
                                  -kPanelHalfHeight, kPanelHalfHeight, z));
  }
}

// Where the fountains' particles are born: fountain k (1 to 4) stands at x = k − 4 and half a
// unit up; its particles start at (1.5, 1.5) from there and are drawn 4 units further away.
std::pair<double, double> fountain_spawn(int k) {
  return screen_point(k - 4 + 1.5, 0.5 + 1.5, -1 - 4.0);
}

// Particle pixels: every channel above kSpray. Lit by the recoloured lights, a lone particle is
// a dim pink dot; where many overlap, at the fountain heads, they add up to nearly white.
constexpr int kSpray = 20;
constexpr int kBright = 200;

long particle_pixels(const std::vector<Uint8>& frame, int threshold, const screen_box& area) {
  long count = 0;
  for (int top = std::max(0, area.top); top <= std::min(kScreenHeight - 1, area.bottom); ++top) {
    for (int x = std::max(0, area.left); x <= std::min(kScreenWidth - 1, area.right); ++x) {
      const Uint8* p =
          frame.data() + 3 * (static_cast<size_t>(kScreenHeight - 1 - top) * kScreenWidth + x);
      if (std::min({p[0], p[1], p[2]}) > threshold) ++count;
    }
  }
  return count;
}

screen_box around(const std::pair<double, double>& point, int reach_x, int reach_y) {
  const int x = static_cast<int>(point.first);
  const int y = static_cast<int>(point.second);
  return {x - reach_x, y - reach_y, x + reach_x, y + reach_y, 0};
}

TEST_F(frames_test, FourFountainsSprayParticlesOverTheUpperHalf) {
  leave_the_wall();
  const screen_box screen{0, 0, kScreenWidth - 1, kScreenHeight - 1, 0};
  // First frame: every particle is one step away from its birth point.
  const std::vector<Uint8> first = frame_at(28500);
  long at_heads = 0;
  for (int k = 1; k <= 4; ++k) {
    const long here = particle_pixels(first, kBright, around(fountain_spawn(k), 12, 12));
    EXPECT_GT(here, 0) << "fountain " << k;
    at_heads += here;
  }
  EXPECT_EQ(at_heads, particle_pixels(first, kBright, screen)) << "bright pixels elsewhere";

  // Some 16 frames later the fountains spray over the upper half of the screen, each about its
  // own birth point, with bright heads still where the particles are born.
  constexpr int kFrameMs = 40;
  std::vector<Uint8> later;
  for (Sint32 t = 28500 + kFrameMs; t <= 29140; t += kFrameMs) later = frame_at(t);
  const screen_box lower_half{0, kScreenHeight / 2, kScreenWidth - 1, kScreenHeight - 1, 0};
  EXPECT_EQ(particle_pixels(later, kSpray, lower_half), 0);
  long heads = 0;
  for (int k = 1; k <= 4; ++k) {
    SCOPED_TRACE(::testing::Message() << "fountain " << k);
    const auto spawn = fountain_spawn(k);
    EXPECT_GT(particle_pixels(later, kSpray, around(spawn, 90, kScreenHeight / 2)), 2000);
    heads += particle_pixels(later, kBright, around(spawn, 40, 40));
  }
  // (now and then a few spray particles overlap into a bright pixel of their own)
  EXPECT_GE(heads, particle_pixels(later, kBright, screen) * 95 / 100) << "bright away from heads";
  EXPECT_GT(particle_pixels(later, kSpray, screen), 10 * heads) << "the spray is not spread";
}

struct tint_case {
  GLfloat red, green, blue;
};

TEST_F(frames_test, LastPanelFillsTheScreenInTheCurrentColour) {
  // Scene 4's one panel is two units away and, turned half about z, reaches from x = −1 to 0.8
  // (the panel covers x −0.8 … 1 of its own frame); unlit, its texels are multiplied by the
  // current colour.
  const screen_box panel = projected(-1, 0.8, -1, 1, -2);
  const tint_case tints[] = {{1, 0, 0}, {0, 0, 1}};
  for (const tint_case& tint : tints) {
    SCOPED_TRACE(::testing::Message() << tint.red << " " << tint.green << " " << tint.blue);
    glColor4f(tint.red, tint.green, tint.blue, 1);
    const std::vector<Uint8> frame = frame_at(50000);
    expect_drawn_inside(frame, panel);
    const GLfloat channels[3] = {tint.red, tint.green, tint.blue};
    for (int c = 0; c < 3; ++c) {
      if (channels[c] != 0) continue;
      long seen = 0;
      for (size_t i = c; i < frame.size(); i += 3) seen += frame[i] != 0;
      EXPECT_EQ(seen, 0) << "channel " << c << " outside the tint";
    }
  }
}

TEST_F(frames_test, ScreenIsBlackAfterTheLastPanel) {
  EXPECT_GT(lit_bounds(frame_at(58999), 0).count, 0);
  for (Sint32 t : {59000, 59400}) EXPECT_EQ(lit_bounds(frame_at(t), 0).count, 0) << t;
}

}  // namespace
