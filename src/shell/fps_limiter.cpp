// FPS_Limiter: measures each frame from the end of the previous Limit call.
#include "shell/fps_limiter.h"

#include "shell/clock.h"

FPS_Limiter::FPS_Limiter() : LastTicks(static_cast<Sint32>(demo_clock.Ticks())) {}

void FPS_Limiter::Limit() {
  const Sint32 now = static_cast<Sint32>(demo_clock.Ticks());
  // Wrapping 32-bit subtraction read as signed: right across the counter's wrap, and negative
  // when the counter reads behind LastTicks (then the sleep grows to 40 − elapsed).
  const double elapsed =
      static_cast<Sint32>(static_cast<Uint32>(now) - static_cast<Uint32>(LastTicks));
  if (elapsed < kFrameBudgetMs) demo_clock.Delay(static_cast<Uint32>(kFrameBudgetMs - elapsed));
  LastTicks = static_cast<Sint32>(demo_clock.Ticks());
}
