// One frame of the demo, from the buffer clear to the end test.
#include "shell/frame_loop.h"

#include <SDL/SDL_opengl.h>

#include <cstdio>
#include <iostream>

#include "shell/clock.h"
#include "shell/shell.h"
#include "show/intro.h"

namespace {

constexpr float kCameraDistance = 1.0f;  // the camera stands one unit back

}  // namespace

Frame_Loop::Frame_Loop() : limiter(), progress_stamp(demo_clock.Ticks()), frames(0) {}

void Draw_Frame(intro& show) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glTranslatef(0, 0, -kCameraDistance);
  glPushMatrix();
  show.run();
  glPopMatrix();
}

void Frame_Loop::Frame(intro& show) {
  Draw_Frame(show);
  Events();
  SDL_GL_SwapBuffers();
  limiter.Limit();

  if (demo_clock.Ticks() - progress_stamp > kProgressPeriodMs) {
    std::cout << "FPS: " << frames << "\n";
    frames = 0;
    progress_stamp = demo_clock.Ticks();
    std::printf("Seconds: %d\n", static_cast<int>(demo_clock.Ticks() / 1000));
    std::fflush(stdout);  // a pipe sees each pair at once
  }
  ++frames;

  if (demo_clock.Ticks() - show.start_ticks > kShowLengthMs) running = false;
}
