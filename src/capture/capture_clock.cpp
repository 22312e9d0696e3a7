// A clock that only the capture moves.
#include "capture/capture_clock.h"

#include "shell/clock.h"

namespace {

Uint32 capture_ticks = 0;

Uint32 read_ticks() {
  return capture_ticks;
}

// A sleep passes no real time: it only moves the clock on.
void skip_ahead(Uint32 ms) {
  capture_ticks += ms;
}

}  // namespace

void use_capture_clock() {
  capture_ticks = 0;
  demo_clock = Clock{read_ticks, skip_ahead};
}

void set_capture_ticks(Uint32 ticks) {
  capture_ticks = ticks;
}
