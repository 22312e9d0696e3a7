// The frame limiter on a clock the test drives: how long it sleeps after frames of various
// lengths, across the tick counter's wrap and when the counter reads behind.
#include <gtest/gtest.h>

#include <vector>

#include "shell/clock.h"
#include "shell/fps_limiter.h"

namespace {

// A scripted clock: Ticks returns the next scripted reading (the last one repeats); Delay records
// the sleep and advances time by it.
struct scripted_clock {
  static std::vector<Uint32> readings;
  static size_t next;
  static std::vector<Uint32> sleeps;
  static Uint32 Ticks() {
    const Uint32 now = readings[next < readings.size() ? next : readings.size() - 1];
    ++next;
    return now;
  }
  static void Delay(Uint32 ms) { sleeps.push_back(ms); }
};
std::vector<Uint32> scripted_clock::readings;
size_t scripted_clock::next;
std::vector<Uint32> scripted_clock::sleeps;

class LimiterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = demo_clock;
    demo_clock = {scripted_clock::Ticks, scripted_clock::Delay};
    Reset();
  }
  static void Reset() {
    scripted_clock::readings.clear();
    scripted_clock::next = 0;
    scripted_clock::sleeps.clear();
  }
  void TearDown() override { demo_clock = saved_; }
  Clock saved_;
};

struct limiter_case {
  Uint32 constructed;  // tick count when the limiter is built
  Uint32 now;          // tick count when Limit is called
  std::vector<Uint32> expected_sleeps;
};

TEST_F(LimiterTest, SleepsOutTheRestOfFortyMilliseconds) {
  const limiter_case cases[] = {
      {1000, 1000, {40}},                // a frame of 0 ms sleeps the whole budget
      {1000, 1039, {1}},                 // 39 ms leaves 1 ms
      {1000, 1040, {}},                  // 40 ms or more: no sleep
      {1000, 1100, {}},                  // a slow frame is not slowed down further
      {0xFFFFFFF0u, 0x00000004u, {20}},  // the counter wraps: elapsed is 20 ms
      {1000, 995, {45}},                 // the counter reads 5 ms behind: sleep 45
  };
  for (const limiter_case& c : cases) {
    Reset();
    scripted_clock::readings = {c.constructed, c.now, c.now + 50};
    FPS_Limiter limiter;
    EXPECT_EQ(limiter.LastTicks, static_cast<Sint32>(c.constructed));
    limiter.Limit();
    EXPECT_EQ(scripted_clock::sleeps, c.expected_sleeps)
        << "from " << c.constructed << " to " << c.now;
    // The stamp is a fresh reading after the sleep, not the one the frame was measured with.
    EXPECT_EQ(limiter.LastTicks, static_cast<Sint32>(c.now + 50));
  }
}

TEST_F(LimiterTest, SlowFrameIsFollowedByANormalBudget) {
  // Built at 0; a 100 ms frame; then a 10 ms frame measured from the end of the slow one.
  scripted_clock::readings = {0, 100, 100, 110, 140};
  FPS_Limiter limiter;
  limiter.Limit();
  limiter.Limit();
  EXPECT_EQ(scripted_clock::sleeps, (std::vector<Uint32>{30}));
  EXPECT_EQ(limiter.LastTicks, 140);
}

}  // namespace
