// The capture's frame times: the frames of the whole show and the window of kept frames.
#include "capture/frame_schedule.h"

#include <gtest/gtest.h>

#include <ostream>

#include "capture/capture_options.h"

namespace {

// The live program at a steady rate runs its last frame at show time 59500: the end test after
// it reads 59000 + 1000 / fps ms, the first time past 59000.
struct whole_show_case {
  int fps;
  int frames;
  Sint32 second_frame_time;
};

void PrintTo(const whole_show_case& c, std::ostream* out) {
  *out << c.fps << " fps";
}

class whole_show : public ::testing::TestWithParam<whole_show_case> {};

TEST_P(whole_show, RunsAsManyFramesAsTheLiveLoopAtThatRate) {
  const whole_show_case& c = GetParam();
  const frame_schedule schedule(c.fps, kEarliestTime, kLatestTime);
  EXPECT_EQ(schedule.show_frames(), c.frames);
  EXPECT_EQ(schedule.show_time(0), 500);
  EXPECT_EQ(schedule.show_time(1), c.second_frame_time);
  EXPECT_EQ(schedule.show_time(c.frames - 1), 59500);
  EXPECT_EQ(schedule.first_kept(), 0);
  EXPECT_EQ(schedule.kept_frames(), c.frames);
}

INSTANTIATE_TEST_SUITE_P(rates, whole_show,
                         ::testing::Values(whole_show_case{25, 1476, 540},
                                           whole_show_case{1, 60, 1500},
                                           whole_show_case{30, 1771, 533},
                                           whole_show_case{1000, 59001, 501}));

struct window_case {
  int fps;
  Sint32 from;
  Sint32 to;
  int first_kept;
  int kept_frames;
};

void PrintTo(const window_case& c, std::ostream* out) {
  *out << c.fps << " fps, " << c.from << " to " << c.to;
}

class kept_window : public ::testing::TestWithParam<window_case> {};

TEST_P(kept_window, KeepsTheFramesWhoseShowTimeLiesInside) {
  const window_case& c = GetParam();
  const frame_schedule schedule(c.fps, c.from, c.to);
  EXPECT_EQ(schedule.kept_frames(), c.kept_frames);
  if (c.kept_frames == 0) return;
  EXPECT_EQ(schedule.first_kept(), c.first_kept);
  EXPECT_EQ(schedule.frames_to_draw(), c.first_kept + c.kept_frames);
  EXPECT_FALSE(schedule.kept(c.first_kept - 1));
  EXPECT_TRUE(schedule.kept(c.first_kept));
  EXPECT_FALSE(schedule.kept(c.first_kept + c.kept_frames));
}

INSTANTIATE_TEST_SUITE_P(
    windows, kept_window,
    ::testing::Values(window_case{25, 28500, 28700, 700, 6},  // bounds inclusive
                      window_case{25, 28501, 28539, 0, 0},    // between two frames
                      window_case{25, kEarliestTime, 500, 0, 1},
                      window_case{25, 59500, kLatestTime, 1475, 1},
                      window_case{25, 59501, kLatestTime, 0, 0},  // after the last frame
                      window_case{1, 27500, 29500, 27, 3},
                      window_case{30, 500, 600, 0, 4}));  // 500, 533, 566, 600

}  // namespace
