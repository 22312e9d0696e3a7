// The capture's clock: it stands still while a frame is drawn and moves only when the capture
// moves it, so every frame happens at exactly its scheduled time however long it takes to draw.
#pragma once

#include <SDL/SDL.h>

// Puts the capture's clock into demo_clock, reading 0 until it is moved.
void use_capture_clock();

// Moves the capture's clock to `ticks` milliseconds.
void set_capture_ticks(Uint32 ticks);
