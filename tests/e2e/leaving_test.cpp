// Leaving the show early, as a user does: Escape held down, the window's close button (the window
// manager's WM_DELETE_WINDOW request), the close button while the mouse keeps moving over the
// window, and many short runs back to back, each of which must shut down cleanly.
//
// How fast the run ends is measured against the frame rate the program itself reports: the key is
// seen by the next input check, which comes within one frame, and that frame and the shutdown
// finish within another. Early frames of the show are slow under software rendering, so a frame's
// length is taken from the last "FPS" line rather than assumed to be 40 ms.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <thread>

#include "demo_programs.h"
#include "demo_run.h"
#include "pointer_flood.h"
#include "x_client.h"
#include "x_server.h"

namespace {

constexpr char kScreen[] = "1024x768x24";
constexpr int kModeWidth = 1024;
constexpr int kModeHeight = 768;
constexpr auto kWindowTimeout = 30s;
constexpr int kPairsBeforeLeaving = 3;    // leave after a few seconds of show
constexpr auto kSchedulingSlack = 300ms;  // two loaded cores: the process may wait to run
constexpr auto kEndTimeout = 20s;         // far beyond any prompt end: the run is stuck
constexpr int kBackToBackRuns = 20;
constexpr auto kFloodLength = 3s;  // motion before the close request
// Far beyond a real mouse: a 40 ms frame sees 200 moves, more than SDL's event queue holds.
constexpr int kFloodMovesPerSecond = 5000;

double milliseconds(test_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// Waits for the `count`th progress pair; returns the frame length it implies (1 s / FPS).
test_clock::duration frame_length_after_pairs(demo_run& run, int count) {
  int seen = 0;
  int fps = 0;
  const auto line = run.process().wait_for_line(
      [&](const std::string& text) {
        if (text.rfind("FPS: ", 0) == 0) fps = std::stoi(text.substr(5));
        return text.rfind("Seconds: ", 0) == 0 && ++seen == count;
      },
      60s);
  if (!line) return test_clock::duration::zero();
  return std::chrono::duration_cast<test_clock::duration>(1s) / std::max(fps, 1);
}

void expect_clean_end(spawned_process& p) {
  EXPECT_EQ(p.end_signal(), 0);
  EXPECT_EQ(p.exit_status(), 0);
  EXPECT_EQ(p.error_text(), "");
}

TEST(Leaving, EscapeHeldDownEndsTheRunWithinTwoFrames) {
  x_server server(kScreen);
  work_folder folder;
  demo_run run(kWindowProgram, server.display(), folder);
  const test_clock::duration frame = frame_length_after_pairs(run, kPairsBeforeLeaving);
  ASSERT_GT(frame.count(), 0) << run.process().error_text();

  const test_clock::time_point down = run.key("Escape", true);
  const bool ended = run.process().wait_for_end(kEndTimeout);
  run.key("Escape", false);
  ASSERT_TRUE(ended) << "the run did not end with Escape held down";
  expect_clean_end(run.process());
  const test_clock::duration took = run.process().ended_at() - down;
  EXPECT_LE(took, 2 * frame + kSchedulingSlack);
  std::printf("[figures] Escape: ended %.0f ms after the key went down (frame %.0f ms)\n",
              milliseconds(took), milliseconds(frame));
}

// Closing the window, with the mouse still or moving fast over it the whole time.
struct close_case {
  std::string name;
  int moves_per_second;  // 0: the mouse stays still
};

void PrintTo(const close_case& c, std::ostream* out) {
  *out << c.name;
}

class Closing : public ::testing::TestWithParam<close_case> {};

TEST_P(Closing, TheCloseRequestEndsTheRunWithinAFewFrames) {
  x_server server(kScreen);
  x_client x(server.display());
  work_folder folder;
  demo_run run(kWindowProgram, server.display(), folder);
  const std::optional<window_box> window =
      x.wait_for_window(kWindowTimeout, kModeWidth, kModeHeight);
  ASSERT_TRUE(window.has_value());
  ASSERT_TRUE(window->takes_close) << "the window should accept WM_DELETE_WINDOW";
  test_clock::duration frame = frame_length_after_pairs(run, kPairsBeforeLeaving);
  ASSERT_GT(frame.count(), 0) << run.process().error_text();

  std::optional<pointer_flood> flood;
  if (GetParam().moves_per_second > 0) {
    flood.emplace(server.display(), *window, GetParam().moves_per_second);
    std::this_thread::sleep_for(kFloodLength);
    ASSERT_FALSE(run.process().ended()) << "mouse motion alone must not end the run";
  }
  const test_clock::time_point asked = test_clock::now();
  x.request_close(*window);
  const bool ended = run.process().wait_for_end(kEndTimeout);
  const long moves = flood ? flood->moves() : 0;
  flood.reset();
  ASSERT_TRUE(ended) << "the run did not end after the close request";
  expect_clean_end(run.process());
  const test_clock::duration took = run.process().ended_at() - asked;
  EXPECT_LE(took, 3 * frame + kSchedulingSlack);
  std::printf("[figures] close (%s): ended %.0f ms after the request (frame %.0f ms, %ld moves)\n",
              GetParam().name.c_str(), milliseconds(took), milliseconds(frame), moves);
}

INSTANTIATE_TEST_SUITE_P(Mouse, Closing,
                         ::testing::Values(close_case{"Still", 0},
                                           close_case{"Moving", kFloodMovesPerSecond}),
                         [](const auto& info) { return info.param.name; });

TEST(Leaving, TwentyShortRunsInARowAllEndCleanly) {
  x_server server(kScreen);
  work_folder folder;
  int clean = 0;
  for (int i = 0; i < kBackToBackRuns; ++i) {
    demo_run run(kWindowProgram, server.display(), folder);
    ASSERT_TRUE(run.wait_until_running()) << "run " << i << ": " << run.process().error_text();
    // Leave between one and two seconds in: the first pair comes after about one second.
    std::this_thread::sleep_for(i % 5 * 150ms);
    ASSERT_TRUE(run.leave_with_escape(kEndTimeout)) << "run " << i << " did not end";
    spawned_process& p = run.process();
    EXPECT_EQ(p.end_signal(), 0) << "run " << i;
    EXPECT_EQ(p.exit_status(), 0) << "run " << i;
    EXPECT_EQ(p.error_text(), "") << "run " << i;
    clean += p.end_signal() == 0 && p.exit_status() == 0 && p.error_text().empty();
  }
  std::printf("[figures] back to back: %d of %d runs ended cleanly\n", clean, kBackToBackRuns);
}

}  // namespace
