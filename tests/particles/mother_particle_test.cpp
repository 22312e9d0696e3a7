// The base particle: construction, its respawn from the random generator, the arithmetic of its
// velocity and colour draws, its fixed 15-run life, and copies.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "particles/mother_particle.h"
#include "particles/rand_stream.h"
#include "support/test_display.h"

namespace {

constexpr size_t kMotherRespawnDraws = 9;  // six for the speed, three for the colour
constexpr int kMotherLifeRuns = 15;        // 0.75 burnt by 0.05 per run

using MotherParticleTest = display_test;

// A speed component as the draws (sign, magnitude) give it: magnitude % 400 over ±12800.
float speed_from(int sign, int magnitude) {
  return static_cast<float>((sign % 2 == 1 ? 1 : -1) * (magnitude % 400) / 12800.0);
}

float color_from(int draw) {
  return static_cast<float>((draw % 100) / 100.0);
}

TEST_F(MotherParticleTest, StartsSpentWithItsQuadCompiled) {
  const MotherParticle p;
  EXPECT_EQ(p.Life, 0.0f);
  EXPECT_EQ(p.BurnRate, 0.0f);
  EXPECT_EQ(p.StartLocation[0], -1.5f);
  EXPECT_EQ(p.StartLocation[1], -1.5f);
  EXPECT_EQ(p.StartLocation[2], 0.0f);
  EXPECT_TRUE(glIsList(p.List));
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(MotherParticleTest, FirstRunRespawnsFromNineDraws) {
  const std::vector<int> draws = recorded_draws(kMotherRespawnDraws + 1);
  MotherParticle p;
  rewind_to(0);
  p.Run();
  // Exactly nine draws were taken: the next one is the tenth of the sequence.
  EXPECT_EQ(rand(), draws[kMotherRespawnDraws]);

  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(p.Speed[i], speed_from(draws[2 * i], draws[2 * i + 1])) << "component " << i;
    EXPECT_EQ(p.Acc[i], 0.0f);
    EXPECT_EQ(p.Location[i], p.StartLocation[i] + p.Speed[i]);
    EXPECT_EQ(p.Color[i], color_from(draws[6 + i])) << "colour " << i;
  }
  EXPECT_EQ(p.Life, 0.70f);
  EXPECT_EQ(p.BurnRate, 0.05f);
}

struct speed_case {
  int sign_parity;        // the sign draw modulo 2
  int magnitude_residue;  // the magnitude draw modulo 400
  float expected;
};

TEST_F(MotherParticleTest, SpeedIsMagnitudeOver12800SignedByParity) {
  const speed_case cases[] = {
      {1, 128, 0.01f},                              // odd sign draw: non-negative
      {0, 128, -0.01f},                             // even sign draw: non-positive
      {1, 399, static_cast<float>(399 / 12800.0)},  // the largest magnitude
      {0, 399, static_cast<float>(399 / -12800.0)},
      {1, 0, 0.0f},  // a multiple of 400 gives zero whatever the sign
      {0, 0, 0.0f},
  };
  for (const speed_case& c : cases) {
    const size_t at = find_position({{0, 2, c.sign_parity}, {1, 400, c.magnitude_residue}});
    ASSERT_LT(at, kSearchLength);
    MotherParticle p;
    rewind_to(at);
    p.SpeedInit();
    EXPECT_EQ(p.Speed[0], c.expected)
        << "sign parity " << c.sign_parity << ", magnitude " << c.magnitude_residue;
  }
}

TEST_F(MotherParticleTest, ColourIsHundredthsWithAFixedLife) {
  const size_t at = find_position({{0, 100, 50}, {1, 100, 7}, {2, 100, 99}});
  ASSERT_LT(at, kSearchLength);
  MotherParticle p;
  rewind_to(at);
  p.ColorBurnInit();
  EXPECT_EQ(p.Color[0], 0.5f);
  EXPECT_EQ(p.Color[1], 0.07f);
  EXPECT_EQ(p.Color[2], 0.99f);
  EXPECT_EQ(p.Life, 0.75f);
  EXPECT_EQ(p.BurnRate, 0.05f);
}

TEST_F(MotherParticleTest, LivesFifteenRunsThenRespawns) {
  const std::vector<int> draws = recorded_draws(2 * kMotherRespawnDraws + 1);
  MotherParticle p;
  rewind_to(0);
  for (int n = 1; n <= kMotherLifeRuns; ++n) {
    p.Run();
    // Each run draws the particle with its life after the burn as alpha.
    EXPECT_EQ(current_color()[3], p.Life) << "run " << n;
    EXPECT_NEAR(p.Life, 0.75 - 0.05 * n, 1e-6) << "run " << n;
    if (n < kMotherLifeRuns) {
      EXPECT_GT(p.Life, 0.0f) << "run " << n;
    }
  }
  EXPECT_LT(p.Life, 0.0f);  // just below zero after the fifteenth burn
  EXPECT_GT(p.Life, -1e-6f);

  p.Run();
  EXPECT_EQ(p.Life, 0.70f);
  EXPECT_EQ(rand(), draws[2 * kMotherRespawnDraws]);  // the sixteenth run respawned
}

TEST_F(MotherParticleTest, CopiesShareTheQuadAndDrawTheirOwnStarts) {
  const MotherParticle prototype;
  GLuint next_name = glGenLists(1);  // copies must not take list names of their own
  MotherParticle first = prototype;
  MotherParticle second(prototype);
  EXPECT_EQ(glGenLists(1), next_name + 1);
  for (const MotherParticle* copy : {&first, &second}) {
    EXPECT_EQ(std::memcmp(copy, &prototype, sizeof prototype), 0);
    EXPECT_EQ(copy->List, prototype.List);
  }
  EXPECT_TRUE(glIsList(prototype.List));

  // Run in order, each respawns from the next nine draws.
  const std::vector<int> draws = recorded_draws(2 * kMotherRespawnDraws);
  rewind_to(0);
  first.Run();
  second.Run();
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(first.Speed[i], speed_from(draws[2 * i], draws[2 * i + 1]));
    EXPECT_EQ(second.Speed[i], speed_from(draws[kMotherRespawnDraws + 2 * i],
                                          draws[kMotherRespawnDraws + 2 * i + 1]));
  }
  EXPECT_EQ(second.List, prototype.List);
}

}  // namespace
