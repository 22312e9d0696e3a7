// The frame loop on the real display with a clock the test sets: what ends a run (Escape held, a
// quit event however many events wait before it, more than 59 s of show), the progress pair
// written after each period of more than a second, and the frame count it reports.
#include <SDL/SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "shell/clock.h"
#include "shell/frame_loop.h"
#include "shell/shell.h"
#include "show/intro.h"
#include "support/test_display.h"

namespace {

constexpr Uint32 kStartTicks = 100000;  // the clock's reading when a test's loop is built
// Show time runs 500 ms ahead of the clock: a show that started this long ago is past its last
// scene (frames draw nothing, so they are quick), yet ten more 40 ms frames pass before its end.
constexpr Uint32 kQuietShowAge = 58600;

// The clock the tests set: Ticks reads `now`; Delay records the sleep and lets that time pass.
struct manual_clock {
  static Uint32 now;
  static std::vector<Uint32> sleeps;
  static Uint32 Ticks() { return now; }
  static void Delay(Uint32 ms) {
    sleeps.push_back(ms);
    now += ms;
  }
};
Uint32 manual_clock::now;
std::vector<Uint32> manual_clock::sleeps;

// Standard output diverted to a temporary file while it lives; `take` returns what was written
// since the last call. Nothing may assert while it lives: gtest reports on standard output.
class stdout_capture {
 public:
  stdout_capture() : file_(std::tmpfile()) {
    std::cout.flush();
    std::fflush(stdout);
    saved_ = dup(STDOUT_FILENO);
    dup2(fileno(file_), STDOUT_FILENO);
  }
  ~stdout_capture() {
    std::cout.flush();
    std::fflush(stdout);
    dup2(saved_, STDOUT_FILENO);
    close(saved_);
    std::fclose(file_);
  }
  std::string take() {
    std::cout.flush();
    std::fflush(stdout);
    struct stat st;
    fstat(fileno(file_), &st);
    std::string text(static_cast<size_t>(st.st_size) - taken_, '\0');
    if (!text.empty()) {
      text.resize(static_cast<size_t>(pread(fileno(file_), text.data(), text.size(), taken_)));
    }
    taken_ += text.size();
    return text;
  }

 private:
  std::FILE* file_;
  int saved_ = -1;
  size_t taken_ = 0;
};

// Event types the X server may raise on its own (other programs' windows come and go on the
// test display); they are kept out of the queue so that it holds only what a test pushes.
constexpr Uint8 kServerEventTypes[] = {SDL_ACTIVEEVENT, SDL_KEYDOWN,         SDL_KEYUP,
                                       SDL_MOUSEMOTION, SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP,
                                       SDL_VIDEORESIZE, SDL_VIDEOEXPOSE};

class FrameLoopTest : public display_test {
 protected:
  static void SetUpTestSuite() {
    display_test::SetUpTestSuite();
    if (!display_open()) return;
    try {
      show_.emplace();
    } catch (const show_error& e) {
      ADD_FAILURE() << "the show could not be built: " << e.what();
    }
  }
  static void TearDownTestSuite() { show_.reset(); }

  void SetUp() override {
    display_test::SetUp();
    if (!show_) GTEST_SKIP() << "no show";
    saved_clock_ = demo_clock;
    demo_clock = {manual_clock::Ticks, manual_clock::Delay};
    manual_clock::now = kStartTicks;
    manual_clock::sleeps.clear();
    for (Uint8 type : kServerEventTypes) SDL_EventState(type, SDL_IGNORE);
    drain_events();
    SDL_GetKeyState(nullptr)[SDLK_ESCAPE] = 0;
    running = true;
    show_->start_ticks = kStartTicks - kQuietShowAge;
  }
  void TearDown() override {
    if (!show_) return;
    SDL_GetKeyState(nullptr)[SDLK_ESCAPE] = 0;
    drain_events();
    for (Uint8 type : kServerEventTypes) SDL_EventState(type, SDL_ENABLE);
    demo_clock = saved_clock_;
  }
  static void drain_events() {
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
    }
  }
  static bool queue_empty() {
    SDL_Event e;
    return SDL_PeepEvents(&e, 1, SDL_PEEKEVENT, SDL_ALLEVENTS) == 0;
  }

  static std::optional<intro> show_;
  Clock saved_clock_;
};
std::optional<intro> FrameLoopTest::show_;

TEST_F(FrameLoopTest, EscapeHeldEndsTheRunAfterACompleteFrame) {
  // When the pointer comes into the window (another program's window on the test display went
  // away), SDL reloads its keyboard state from the server's, which knows nothing of the Escape set
  // here. Such a frame takes a focus event; it is tried again.
  constexpr int kAttempts = 5;
  SDL_EventState(SDL_ACTIVEEVENT, SDL_ENABLE);
  for (int attempt = 1; attempt <= kAttempts; ++attempt) {
    manual_clock::now = kStartTicks;
    manual_clock::sleeps.clear();
    show_->start_ticks = kStartTicks - kQuietShowAge;
    running = true;
    event = SDL_Event{};
    Frame_Loop loop;
    SDL_GetKeyState(nullptr)[SDLK_ESCAPE] = 1;
    loop.Frame(*show_);
    if (running && event.type == SDL_ACTIVEEVENT && attempt < kAttempts) continue;
    EXPECT_FALSE(running);
    EXPECT_EQ(pressed_key, SDL_GetKeyState(nullptr));
    // The frame still ran to its end: the limiter slept out the budget and the frame was counted.
    EXPECT_EQ(manual_clock::sleeps, (std::vector<Uint32>{40}));
    EXPECT_EQ(loop.frames, 1);
    break;
  }
}

SDL_Event user_event(int code) {
  SDL_Event e{};
  e.type = SDL_USEREVENT;
  e.user.code = code;
  return e;
}

SDL_Event motion_event(Uint16 x) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.x = x;
  return e;
}

SDL_Event quit_event() {
  SDL_Event e{};
  e.type = SDL_QUIT;
  return e;
}

struct event_case {
  const char* what;
  std::vector<SDL_Event> queued;
  bool ends;
};

std::vector<SDL_Event> user_events(int count) {
  std::vector<SDL_Event> events;
  for (int i = 0; i < count; ++i) events.push_back(user_event(i));
  return events;
}

std::vector<SDL_Event> motion_events(int count) {
  std::vector<SDL_Event> events;
  for (int i = 0; i < count; ++i) events.push_back(motion_event(static_cast<Uint16>(i)));
  return events;
}

std::vector<SDL_Event> then(std::vector<SDL_Event> events, const std::vector<SDL_Event>& more) {
  events.insert(events.end(), more.begin(), more.end());
  return events;
}

bool same_event(const SDL_Event& a, const SDL_Event& b) {
  if (a.type != b.type) return false;
  if (a.type == SDL_USEREVENT) return a.user.code == b.user.code;
  if (a.type == SDL_MOUSEMOTION) return a.motion.x == b.motion.x;
  return true;
}

TEST_F(FrameLoopTest, AQuitEventEndsTheRunInTheFrameThatFindsIt) {
  // The queue holds 127 events; a frame takes all of them, so a quit event is never delayed.
  const event_case cases[] = {
      {"nothing queued", {}, false},
      {"a quit event", {quit_event()}, true},
      {"50 user events, then quit", then(user_events(50), {quit_event()}), true},
      {"120 mouse motions, then quit", then(motion_events(120), {quit_event()}), true},
      {"quit, then 5 user events", then({quit_event()}, user_events(5)), true},
      {"user events only", user_events(5), false},
  };
  const SDL_Event earlier = user_event(9999);  // what an earlier frame took
  for (const event_case& c : cases) {
    SCOPED_TRACE(c.what);
    Frame_Loop loop;
    running = true;
    event = earlier;
    for (SDL_Event e : c.queued) ASSERT_EQ(SDL_PushEvent(&e), 0);
    loop.Frame(*show_);
    EXPECT_EQ(running, !c.ends);
    EXPECT_TRUE(queue_empty());
    // `event` holds the last event taken, or what it held when the queue was empty.
    EXPECT_TRUE(same_event(event, c.queued.empty() ? earlier : c.queued.back()));
    show_->start_ticks = manual_clock::now - kQuietShowAge;
  }
}

TEST_F(FrameLoopTest, WritesAProgressPairAfterEachPeriodLongerThanASecond) {
  // Frames of no work: the limiter makes each last exactly 40 ms on this clock.
  constexpr int kFrames = 52;
  Frame_Loop loop;
  std::vector<std::string> output;
  std::vector<int> counted;
  {
    stdout_capture capture;
    for (int n = 1; n <= kFrames; ++n) {
      loop.Frame(*show_);
      output.push_back(capture.take());
      counted.push_back(loop.frames);
    }
  }
  // Frame 25 ends exactly 1000 ms after the start: not yet. Frame 26 reports the 25 before it and
  // counts itself towards the next pair, which frame 52 writes, 1040 ms later.
  for (int n = 1; n <= kFrames; ++n) {
    std::string expected;
    if (n == 26) expected = "FPS: 25\nSeconds: 101\n";
    if (n == 52) expected = "FPS: 26\nSeconds: 102\n";
    EXPECT_EQ(output[n - 1], expected) << "frame " << n;
  }
  EXPECT_EQ(counted[25], 1);
  EXPECT_EQ(counted[50], 26);
  EXPECT_EQ(counted[51], 1);
}

struct loading_case {
  Uint32 loading_ms;  // from building the loop to the first frame's limiter
  std::string first_output;
  std::vector<Uint32> sleeps;
};

TEST_F(FrameLoopTest, LoadingTimeCountsTowardsTheFirstFrame) {
  const loading_case cases[] = {
      {0, "", {40}},
      {39, "", {1}},
      {1000, "", {}},                        // exactly a second: no pair yet
      {1001, "FPS: 0\nSeconds: 101\n", {}},  // more: the first frame reports none before it
      {2500, "FPS: 0\nSeconds: 102\n", {}},  // seconds count from SDL's start
  };
  for (const loading_case& c : cases) {
    manual_clock::now = kStartTicks;
    manual_clock::sleeps.clear();
    Frame_Loop loop;
    manual_clock::now += c.loading_ms;
    show_->start_ticks = manual_clock::now - kQuietShowAge;
    std::string output;
    {
      stdout_capture capture;
      loop.Frame(*show_);
      output = capture.take();
    }
    EXPECT_EQ(output, c.first_output) << "loading " << c.loading_ms << " ms";
    EXPECT_EQ(manual_clock::sleeps, c.sleeps) << "loading " << c.loading_ms << " ms";
    EXPECT_EQ(loop.frames, 1) << "loading " << c.loading_ms << " ms";
  }
}

struct end_case {
  Uint32 clock;     // the clock's reading when the loop is built
  Uint32 show_age;  // ms since start_ticks when the frame's end test reads the clock
  bool keeps_running;
};

TEST_F(FrameLoopTest, RunEndsOnceMoreThan59SecondsOfShowHavePassed) {
  const end_case cases[] = {
      {kStartTicks, 58999, true},
      {kStartTicks, 59000, true},
      {kStartTicks, 59001, false},
      {kStartTicks, 70000, false},
      {100, 59000, true},  // start_ticks lies before the tick
                           // counter's wrap
      {100, 59001, false},
  };
  for (const end_case& c : cases) {
    manual_clock::now = c.clock;
    Frame_Loop loop;
    // The frame's limiter sleeps 40 ms; the end test reads the clock after it.
    show_->start_ticks = c.clock + 40 - c.show_age;
    running = true;
    loop.Frame(*show_);
    EXPECT_EQ(running, c.keeps_running) << c.show_age << " ms from " << c.clock;
  }
}

}  // namespace
