// Start-up and input.
#include "shell/shell.h"

#include <GL/glu.h>
#include <SDL/SDL_mixer.h>
#include <SDL/SDL_opengl.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "shell/quiet_stderr.h"

bool running;
SDL_Event event;
Uint8* pressed_key;

namespace {

constexpr int kAudioRate = 44100;              // Hz
constexpr Uint16 kAudioFormat = AUDIO_S16LSB;  // signed 16-bit little-endian samples
constexpr int kAudioChannels = 2;              // stereo
constexpr int kAudioChunk = 1024;              // sample frames per audio buffer

// The projection: 45° vertical field of view, a 4:3 aspect and a near plane of 0.1, both taken
// as single-precision values, and a far plane 100 units away.
constexpr double kFieldOfViewDeg = 45.0;
constexpr float kAspect = 4.0f / 3.0f;
constexpr float kNearPlane = 0.1f;
constexpr double kFarPlane = 100.0;

SDL_Surface* OpenDisplay(Uint32 video_flags) {
  SDL_Surface* screen = SDL_SetVideoMode(kScreenWidth, kScreenHeight, kScreenBits, video_flags);
  if (screen == nullptr && (video_flags & SDL_FULLSCREEN) && SDL_WasInit(SDL_INIT_VIDEO)) {
    // The display works but will not take the full-screen mode: show the demo in a window.
    Complain("cannot set a full-screen %dx%d mode (%s); showing it in a window instead",
             kScreenWidth, kScreenHeight, SDL_GetError());
    screen =
        SDL_SetVideoMode(kScreenWidth, kScreenHeight, kScreenBits, video_flags & ~SDL_FULLSCREEN);
  }
  return screen;
}

}  // namespace

void Complain(const char* format, ...) {
  std::fputs("demo: ", stderr);
  va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format, args);
  va_end(args);
  std::fputc('\n', stderr);
  std::fflush(stderr);
}

bool InitStuff(Uint32 video_flags) {
  running = true;
  srand(static_cast<unsigned>(time(nullptr)));  // the particles' only seed
#ifdef __linux__
  // Only SDL's X11 driver draws OpenGL here. Without a display SDL would otherwise fall back to a
  // text-mode driver that takes over the terminal (escape codes on stdout) before failing.
  // A driver the user names still wins.
  setenv("SDL_VIDEODRIVER", "x11", 0);
#endif
  if (SDL_Init(0) < 0) {
    Complain("cannot start SDL: %s", SDL_GetError());
    return false;
  }
  if (OpenDisplay(video_flags) == nullptr) {
    Complain("cannot open a %dx%d OpenGL display: %s", kScreenWidth, kScreenHeight, SDL_GetError());
    return false;
  }
  SDL_ShowCursor(SDL_DISABLE);
  // The demo reads no mouse motion. Queued, a moving mouse can fill SDL's 128 places within one
  // slow frame, and a quit event arriving then is dropped; ignored, motion never enters the queue.
  SDL_EventState(SDL_MOUSEMOTION, SDL_IGNORE);
  int audio;
  {
    const Quiet_Stderr quiet;  // without a sound card ALSA writes a dozen lines of its own
    audio = Mix_OpenAudio(kAudioRate, kAudioFormat, kAudioChannels, kAudioChunk);
  }
  if (audio < 0) {
    Complain("no sound: cannot open the audio device: %s", Mix_GetError());
  }

  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(kFieldOfViewDeg, kAspect, kNearPlane, kFarPlane);
  glMatrixMode(GL_MODELVIEW);  // the current matrix for the rest of the run
  glLoadIdentity();
  glShadeModel(GL_SMOOTH);
  glClearDepth(1.0);
  glDepthFunc(GL_LEQUAL);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);  // additive, weighted by alpha; the only blend function
  glEnable(GL_BLEND);
  glDisable(GL_DEPTH_TEST);
  return true;
}

void Events() {
  // Every pending event is taken: SDL's queue holds 128 and drops new ones when full, so taking
  // one a frame would let mouse motion crowd out the quit event.
  while (SDL_PollEvent(&event)) {
    if (event.type == SDL_QUIT) running = false;
  }
  pressed_key = SDL_GetKeyState(nullptr);
  if (pressed_key[SDLK_ESCAPE]) running = false;
}
