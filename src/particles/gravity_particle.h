// The fountain particle: born at (1.5, 1.5, 0) with a random life, burn rate and colour, and
// pulled down by a gravity that grows with every frame of its life.
#pragma once

#include "particles/mother_particle.h"

class GravityParticle : public MotherParticle {
 public:
  GravityParticle() = default;  // the base constructor, nothing more

  void LocationInit();
  void ColorBurnInit();  // five rand() draws: burn rate, life, red, green, blue
  void AddGrav();
  void Run();  // one frame: respawn if spent, gravity, burn, move, draw
};

// Where every fountain particle is born, in its fountain's frame.
constexpr float kFountainSpawn[3] = {1.5f, 1.5f, 0.0f};
