// The whole show, untouched, as a user sees it: the programs run on their own X server until the
// show ends by itself, and the test checks the window, the hidden cursor, the progress lines, the
// length of the show and the exit status, and prints the run's figures.
//
// When the show starts is seen from outside through the music file: the program reads the whole
// track into memory, closes the file, starts the music and only then takes the show's start time,
// so the moment the file is closed (inotify) is the show's start within a millisecond, whatever
// the loading and the first frame cost on a loaded machine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "demo_programs.h"
#include "demo_run.h"
#include "x_client.h"
#include "x_server.h"

namespace {

constexpr char kScreen[] = "1024x768x24";
constexpr int kModeWidth = 1024;
constexpr int kModeHeight = 768;
constexpr double kShowSeconds = 59.0;       // the run ends once show time passes 59 s
constexpr double kLatestEndSeconds = 61.0;  // the last frame and the shutdown fit in 2 s
constexpr int kMostFramesPerSecond = 26;    // 25 a second; a period just over 1 s can hold 26
constexpr double kShortestPairGap = 0.75;   // pairs come after more than 1 s, less a late line
constexpr double kLongestPairGap = 3.0;     // ... and a frame or so later, even when slow
constexpr double kLateLine = 0.25;          // s: a progress line may reach the test this late
constexpr double kClockStartsBy = 1.0;      // s after the launch, on a loaded machine
constexpr auto kWindowTimeout = 30s;
constexpr auto kRunTimeout = 150s;
constexpr auto kSanitizedRunTimeout = 240s;

struct full_show_case {
  std::string name;
  std::string program;
  bool fullscreen;
  bool sanitized;
  bool silent;  // without its music: one warning, and the show runs its whole length in silence
};

void PrintTo(const full_show_case& c, std::ostream* out) {
  *out << c.name;
}

std::vector<full_show_case> full_show_cases() {
  std::vector<full_show_case> cases{{"Window", kWindowProgram, false, false, false},
                                    {"Fullscreen", kFullscreenProgram, true, false, false},
                                    {"WindowSilent", kWindowProgram, false, false, true}};
  const std::string sanitized = sanitized_program("demo_window");
  if (!sanitized.empty()) cases.push_back({"WindowSanitized", sanitized, false, true, false});
  return cases;
}

double seconds_between(test_clock::time_point from, test_clock::time_point to) {
  return std::chrono::duration<double>(to - from).count();
}

class FullShow : public ::testing::TestWithParam<full_show_case> {};

TEST_P(FullShow, RunsTheWholeShowAndEndsByItself) {
  const full_show_case& c = GetParam();
  x_server server(kScreen);
  x_client x(server.display());
  ASSERT_FALSE(x.cursor_invisible()) << "the bare server should show its cursor";
  work_folder folder;
  if (c.silent) folder.remove_data_file(kMusicName);
  demo_run run(
      c.program, server.display(), folder,
      c.sanitized ? sanitizer_environment() : std::vector<std::pair<std::string, std::string>>{});

  // The display: a 1024 × 768 window, or one the program places over the whole screen.
  const std::optional<window_box> window =
      x.wait_for_window(kWindowTimeout, kModeWidth, kModeHeight);
  ASSERT_TRUE(window.has_value()) << "no window appeared; stderr: " << run.process().error_text();
  EXPECT_EQ(window->width, kModeWidth);
  EXPECT_EQ(window->height, kModeHeight);
  ASSERT_TRUE(run.wait_until_running()) << run.process().error_text();
  // The program maps its full-screen window after its managed one: by the first frame it is up.
  if (c.fullscreen) {
    const std::vector<window_box> on_screen = x.windows_on_screen();
    EXPECT_TRUE(std::any_of(on_screen.begin(), on_screen.end(), [&](const window_box& w) {
      return w.override_redirect && w.x == 0 && w.y == 0 && w.width == x.screen_width() &&
             w.height == x.screen_height();
    })) << "no window of the program's own covers the screen";
  }
  EXPECT_TRUE(x.cursor_invisible()) << "the cursor over the show should be hidden";

  ASSERT_TRUE(run.process().wait_for_end(c.sanitized ? kSanitizedRunTimeout : kRunTimeout));
  spawned_process& p = run.process();
  EXPECT_EQ(p.end_signal(), 0);
  EXPECT_EQ(p.exit_status(), 0);
  const std::vector<std::string> errors = lines_of(p.error_text());
  if (c.silent) {
    ASSERT_EQ(errors.size(), 1u) << p.error_text();
    EXPECT_NE(errors[0].find(kMusicName), std::string::npos) << errors[0];
  } else {
    EXPECT_EQ(p.error_text(), "") << "nothing on standard error (and no sanitizer report)";
  }

  // The show's length: from the start of show time to the end of the process. Without music the
  // end of reading the picture stands in for the start, a little early.
  const std::optional<test_clock::time_point> show_start =
      run.files()->first_close(c.silent ? kPictureName : kMusicName);
  ASSERT_TRUE(show_start.has_value());
  const double length = seconds_between(*show_start, p.ended_at());
  EXPECT_GE(length, kShowSeconds);
  EXPECT_LE(length, kLatestEndSeconds);

  // The progress pairs: in order, about once a second, at most 25 frames a second.
  std::string problem;
  const std::vector<progress_pair> pairs = progress_pairs(p.output_lines(), &problem);
  EXPECT_EQ(problem, "");
  ASSERT_GE(pairs.size(), 2u);
  int fewest_fps = pairs.front().fps;
  long frames = 0;
  for (size_t i = 0; i < pairs.size(); ++i) {
    EXPECT_LE(pairs[i].fps, kMostFramesPerSecond) << "pair " << i;
    fewest_fps = std::min(fewest_fps, pairs[i].fps);
    frames += pairs[i].fps;
    if (i == 0) continue;
    const double gap = seconds_between(pairs[i - 1].arrived, pairs[i].arrived);
    EXPECT_GE(gap, kShortestPairGap) << "pair " << i;
    EXPECT_LE(gap, kLongestPairGap) << "pair " << i;
    EXPECT_GE(pairs[i].seconds - pairs[i - 1].seconds, 1) << "pair " << i;
    EXPECT_LE(pairs[i].seconds - pairs[i - 1].seconds, 3) << "pair " << i;
  }

  // "Seconds: S" counts whole seconds of SDL's clock, which starts first thing in the program. A
  // pair that arrived at time a puts the clock's zero between a - S - 1 and a - S seconds (later,
  // by however long the line took to arrive): all the pairs must agree on it, and it must lie
  // just after the launch. The first pair comes more than a second after a stamp taken before the
  // loading, so it reads at least 1; a count of show time would read 0 there, the loading short.
  auto zero_after = test_clock::time_point::min();
  auto zero_before = test_clock::time_point::max();
  for (const progress_pair& pair : pairs) {
    const auto s = std::chrono::duration_cast<test_clock::duration>(
        std::chrono::duration<double>(pair.seconds));
    zero_after = std::max(zero_after, pair.arrived - s - 1s);
    zero_before = std::min(zero_before, pair.arrived - s);
  }
  EXPECT_LE(seconds_between(zero_before, zero_after), kLateLine) << "the pairs disagree";
  EXPECT_GE(zero_before, p.started()) << "the count began before the program did";
  EXPECT_LE(seconds_between(p.started(), zero_after), kClockStartsBy) << "the count began late";
  EXPECT_GE(pairs.front().seconds, 1) << "the count should include the loading";

  std::printf(
      "[figures] %s: show length %.3f s (data read to exit), %.3f s from launch; loading %.3f s; "
      "SDL clock zero between %+.0f and %+.0f ms from launch; %zu progress pairs, %ld frames, "
      "slowest second %d frames; peak resident memory %ld KiB\n",
      c.name.c_str(), length, seconds_between(p.started(), p.ended_at()),
      seconds_between(p.started(), *show_start), 1000 * seconds_between(p.started(), zero_after),
      1000 * seconds_between(p.started(), zero_before), pairs.size(), frames, fewest_fps,
      p.peak_resident_kb());
}

INSTANTIATE_TEST_SUITE_P(Programs, FullShow, ::testing::ValuesIn(full_show_cases()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
