// The frame limiter: at the end of every frame it sleeps out what is left of a 40 ms budget.
// Slow frames are not slowed down further, and their overrun is not made up afterwards.
#pragma once

#include <SDL/SDL.h>

constexpr double kFrameBudgetMs = 40.0;  // 25 frames a second

class FPS_Limiter {
 public:
  Sint32 LastTicks;  // tick count at construction and at the end of each Limit

  FPS_Limiter();
  void Limit();
};
