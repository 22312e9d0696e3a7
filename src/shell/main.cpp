// The program: start-up, the show object, frames until the show ends or the user leaves, and
// shutdown. Built twice, once for a window and once for the full screen.
#include <SDL/SDL.h>

#include <exception>
#include <new>
#include <optional>

#include "shell/frame_loop.h"
#include "shell/shell.h"
#include "show/intro.h"

#if DEMO_FULLSCREEN
constexpr Uint32 kVideoFlags = SDL_OPENGL | SDL_FULLSCREEN;
#else
constexpr Uint32 kVideoFlags = SDL_OPENGL;
#endif

extern "C" int SDL_main(int, char**) {
  if (!InitStuff(kVideoFlags)) {
    SDL_Quit();
    return 1;
  }
  Frame_Loop loop;
  std::optional<intro> show;
  try {
    show.emplace();
  } catch (const std::bad_alloc&) {
    Complain("out of memory while building the show");
  } catch (const std::exception& e) {
    Complain("%s", e.what());
  }
  if (!show) {
    SDL_Quit();
    return 1;
  }

  while (running) loop.Frame(*show);

  SDL_Quit();    // closes the display and the audio device; the music stops
  show.reset();  // the show frees only its particle pools
  return 0;
}

// On Linux SDL brings no start-up code of its own: SDL_main is the process's main function.
int main(int argc, char** argv) {
  return SDL_main(argc, argv);
}
