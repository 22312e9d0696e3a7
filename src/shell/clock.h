// The demo's clock: every reading of time and every sleep goes through here, so a test or an
// offline renderer can run the program on a clock of its own.
#pragma once

#include <SDL/SDL.h>

struct Clock {
  Uint32 (*Ticks)();         // milliseconds since SDL was initialised
  void (*Delay)(Uint32 ms);  // sleep
};

// SDL_GetTicks and SDL_Delay unless a test or a renderer replaces them.
extern Clock demo_clock;
