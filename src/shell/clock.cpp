// The real clock: SDL's millisecond tick counter and its sleep.
#include "shell/clock.h"

Clock demo_clock = {SDL_GetTicks, SDL_Delay};
