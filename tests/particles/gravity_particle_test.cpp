// The fountain particle: its respawn at (1.5, 1.5, 0) from eleven draws in a fixed order, the
// growing pull of its gravity, and how long a life lasts for the drawn burn rate and life.
#include <gtest/gtest.h>

#include "particles/gravity_particle.h"
#include "particles/rand_stream.h"
#include "support/test_display.h"

namespace {

constexpr size_t kGravityRespawnDraws = 11;  // six for the speed, five for burn, life and colour
constexpr size_t kBurnDraw = 6;              // where in a respawn's draws the burn rate comes
constexpr size_t kLifeDraw = 7;              // ... and the life
constexpr int kLongestLife = 32;             // runs, counting respawn and the spending run

using GravityParticleTest = display_test;

float speed_from(int sign, int magnitude) {
  return static_cast<float>((sign % 2 == 1 ? 1 : -1) * (magnitude % 400) / 12800.0);
}

// What a respawn takes from the draws starting at `d`, before the respawning run moves it.
struct drawn_start {
  float speed[3], burn_rate, life, color[3];
};

drawn_start start_from(const int* d) {
  drawn_start s;
  for (int i = 0; i < 3; ++i) s.speed[i] = speed_from(d[2 * i], d[2 * i + 1]);
  s.burn_rate = static_cast<float>((d[6] % 400) * 0.00005 + 0.04);
  s.life = static_cast<float>(((d[7] % 400) - 200) / 400.0 + 0.75);
  for (int i = 0; i < 3; ++i) s.color[i] = static_cast<float>((d[8 + i] % 100) / 100.0);
  return s;
}

// The particle after the respawning run of a life that started from `s`.
void expect_first_run_of(const GravityParticle& p, const drawn_start& s) {
  const float pull = static_cast<float>(0 - 0.0005);
  EXPECT_EQ(p.Acc[0], 0.0f);
  EXPECT_EQ(p.Acc[1], pull);
  EXPECT_EQ(p.Acc[2], 0.0f);
  EXPECT_EQ(p.Speed[0], s.speed[0]);
  EXPECT_EQ(p.Speed[1], s.speed[1] + pull);
  EXPECT_EQ(p.Speed[2], s.speed[2]);
  EXPECT_EQ(p.Location[0], 1.5f + s.speed[0]);
  EXPECT_EQ(p.Location[1], 1.5f + (s.speed[1] + pull));
  EXPECT_EQ(p.Location[2], 0.0f + s.speed[2]);
  EXPECT_EQ(p.BurnRate, s.burn_rate);
  EXPECT_EQ(p.Life, s.life - s.burn_rate);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(p.Color[i], s.color[i]) << "colour " << i;
}

TEST_F(GravityParticleTest, RespawnsInRunOrderFromElevenDrawsEach) {
  const std::vector<int> draws = recorded_draws(2 * kGravityRespawnDraws + 1);
  GravityParticle first;
  GravityParticle second = first;
  rewind_to(0);
  first.Run();
  second.Run();
  expect_first_run_of(first, start_from(&draws[0]));
  expect_first_run_of(second, start_from(&draws[kGravityRespawnDraws]));

  // A live particle's run draws nothing.
  if (first.Life > 0) first.Run();
  EXPECT_EQ(rand(), draws[2 * kGravityRespawnDraws]);
}

TEST_F(GravityParticleTest, SpawnPointIsFixedWhateverTheStartLocation) {
  GravityParticle p;
  p.StartLocation[0] = 7;
  p.StartLocation[1] = -7;
  p.StartLocation[2] = 3;
  p.LocationInit();
  EXPECT_EQ(p.Location[0], 1.5f);
  EXPECT_EQ(p.Location[1], 1.5f);
  EXPECT_EQ(p.Location[2], 0.0f);
}

TEST_F(GravityParticleTest, WithoutVelocityFallsStraightDownFasterAndFaster) {
  // A respawn whose three magnitude draws were multiples of 400.
  GravityParticle p;
  p.LocationInit();
  p.AccInit();
  p.Speed[0] = p.Speed[1] = p.Speed[2] = 0;
  p.Life = 1;
  p.BurnRate = 0.04f;
  const double heights[] = {1.4995, 1.498, 1.495, 1.49, 1.4825};
  for (int n = 1; n <= 5; ++n) {
    p.Run();
    EXPECT_NEAR(p.Location[1], heights[n - 1], 1e-6) << "run " << n;
    EXPECT_NEAR(p.Acc[1], -0.0005 * n, 1e-8) << "run " << n;
    EXPECT_EQ(p.Location[0], 1.5f);
    EXPECT_EQ(p.Location[2], 0.0f);
  }
}

struct lifetime_case {
  int burn_draw;  // the burn-rate draw modulo 400
  int life_draw;  // the life draw modulo 400
  float burn_rate;
  float life;
  int runs;  // runs of one life, the respawning one and the spending one included
};

TEST_F(GravityParticleTest, LifeLastsAsLongAsTheDrawnLifeAndBurnRateGive) {
  const lifetime_case cases[] = {
      {0, 0, 0.04f, 0.25f, 7},           {0, 399, 0.04f, 1.2475f, kLongestLife},
      {399, 0, 0.05995f, 0.25f, 5},  // the shortest
      {399, 399, 0.05995f, 1.2475f, 21}, {200, 200, 0.05f, 0.75f, 15},
      {0, 156, 0.04f, 0.64f, 16},
  };
  for (const lifetime_case& c : cases) {
    SCOPED_TRACE(testing::Message() << "draws " << c.burn_draw << ", " << c.life_draw);
    const size_t at = find_position({{kBurnDraw, 400, c.burn_draw}, {kLifeDraw, 400, c.life_draw}});
    ASSERT_LT(at, kSearchLength);
    const std::vector<int> draws = recorded_draws(at + 2 * kGravityRespawnDraws + 1);

    GravityParticle p;
    rewind_to(at);
    p.Run();
    EXPECT_FLOAT_EQ(p.BurnRate, c.burn_rate);
    EXPECT_FLOAT_EQ(p.Life + p.BurnRate, c.life);
    int runs = 1;
    while (p.Life > 0 && runs <= kLongestLife) {
      p.Run();
      ++runs;
    }
    EXPECT_EQ(runs, c.runs);
    // The spending run drew the particle, with its last life as alpha.
    EXPECT_EQ(current_color()[3], p.Life);

    // The next run respawns: eleven more draws, a fresh pull.
    p.Run();
    EXPECT_EQ(p.Acc[1], static_cast<float>(0 - 0.0005));
    EXPECT_EQ(rand(), draws[at + 2 * kGravityRespawnDraws]);
  }
}

TEST_F(GravityParticleTest, ALifeBurntToExactlyZeroIsSpent) {
  // Burn rate 0.04 and life 0.64: sixteen burns leave exactly zero.
  const size_t at = find_position({{kBurnDraw, 400, 0}, {kLifeDraw, 400, 156}});
  ASSERT_LT(at, kSearchLength);
  GravityParticle p;
  rewind_to(at);
  for (int n = 1; n < 16; ++n) {
    p.Run();
    ASSERT_GT(p.Life, 0.0f) << "run " << n;
  }
  p.Run();
  EXPECT_EQ(p.Life, 0.0f);
  EXPECT_EQ(current_color()[3], 0.0f);  // still drawn, with alpha 0
  p.Run();
  EXPECT_EQ(p.Acc[1], static_cast<float>(0 - 0.0005));  // the seventeenth run respawned
  EXPECT_GT(p.Life, 0.0f);
}

}  // namespace
