// The demo shell: start-up of SDL, the audio device and the fixed OpenGL state, and the per-frame
// input check.
#pragma once

#include <SDL/SDL.h>

extern bool running;        // frames are run while true; once false it stays false
extern SDL_Event event;     // the last event taken from SDL's queue
extern Uint8* pressed_key;  // SDL's keyboard state, refreshed by every Events call

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
constexpr int kScreenBits = 32;

// Brings up the video mode with `video_flags` (SDL_OPENGL, possibly with SDL_FULLSCREEN), hides
// the cursor, opens the audio device and sets the OpenGL state that never changes. Returns false,
// after one line on standard error, when there is no display to draw on. A full-screen mode that
// cannot be set falls back to a window, and a missing audio device to silence, each with a warning.
bool InitStuff(Uint32 video_flags);

// Takes every pending event; a quit event or Escape held down ends the run after this frame.
void Events();

// Writes one line on standard error, prefixed with the program's name.
void Complain(const char* format, ...) __attribute__((format(printf, 1, 2)));
