// The timeline: a fixed script over show time. Each frame clears the canvas about once a second,
// applies the camera motion of the current window and draws that window's scenes.
//
//      0 – 12999  scene 1, the panel wall; from 2001 the camera flies into it
//  13000 – 18999  scene 2, a panel pair pulled in from the distance
//  19000 – 28499  scenes 2 and 3 back to back, turning about the vertical axis
//  28500 – 46999  scene 3 under recoloured lights, then four particle fountains
//  47000 – 58999  scene 4, the skewed last panel
//  59000 –        nothing
#include "show/intro.h"

#include <cstdint>

#include "shell/clock.h"
#include "show/frame_steps.h"

namespace {

constexpr Sint32 kClearIntervalMs = 1000;  // the canvas is cleared after more than this

constexpr Sint32 kDollyStartMs = 2000;  // the camera moves in after this ...
constexpr double kDollyRate = 200.0;    // ... one unit every 200 ms

constexpr Sint32 kWallEndMs = 12999;
constexpr Sint32 kPullInEndMs = 18999;
constexpr Sint32 kTurnStartMs = 19000;
constexpr double kTurnRate = 15.0;  // one degree every 15 ms
constexpr Sint32 kTurnEndMs = 28499;
constexpr Sint32 kFountainEndMs = 46999;
constexpr Sint32 kLastPanelEndMs = 58999;

// The particle window's light colours.
constexpr GLfloat kFountainAmbient[4] = {0.5f, 0.3f, 0.3f, 1.0f};
constexpr GLfloat kFountainDiffuse[4] = {1.0f, 0.8f, 0.8f, 1.0f};
constexpr float kFountainLift = 0.5f;     // the fountains stand half a unit up ...
constexpr float kFountainSpacing = 1.0f;  // ... one unit apart

}  // namespace

void intro::run() {
  run_at(static_cast<Sint32>(demo_clock.Ticks() - start_ticks + kShowTimeLeadMs));
}

void intro::run_at(Sint32 show_time) {
  elapsed = show_time;
  if (int64_t{elapsed} - last_clear > kClearIntervalMs) {
    SDL_FillRect(canvas, nullptr, 0);
    last_clear = elapsed;
  }
  if (elapsed > kDollyStartMs && elapsed <= kWallEndMs) {
    glTranslatef(0, 0, static_cast<GLfloat>((elapsed - kDollyStartMs) / kDollyRate));
  }

  if (elapsed <= kWallEndMs) {
    create_scene1();
  } else if (elapsed <= kPullInEndMs) {
    create_scene2();
  } else if (elapsed <= kTurnEndMs) {
    glRotatef(static_cast<GLfloat>((elapsed - kTurnStartMs) / kTurnRate), 0, 1, 0);
    create_scene2();
    glTranslatef(1, 0, 0);
    glRotatef(180, 0, 1, 0);
    create_scene3();
  } else if (elapsed <= kFountainEndMs) {
    run_particle_window();
  } else if (elapsed <= kLastPanelEndMs) {
    create_scene4();
  }
}

// Scene 3 under recoloured lights, then the four fountains, index by index. The particles are
// drawn lit (lighting stays on, normal (0, 0, −1) from scene 3's last panel) and blended
// additively; the depth test stays off, so scene 3 draws without it from the next frame on. The
// last particle's colour stays current and tints scene 4.
void intro::run_particle_window() {
  glLightfv(GL_LIGHT1, GL_AMBIENT, kFountainAmbient);
  glLightfv(GL_LIGHT1, GL_DIFFUSE, kFountainDiffuse);
  glLightfv(GL_LIGHT2, GL_AMBIENT, kFountainAmbient);
  glLightfv(GL_LIGHT2, GL_DIFFUSE, kFountainDiffuse);
  glDisable(GL_BLEND);
  glEnable(GL_TEXTURE_2D);
  create_scene3();

  glDisable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  glTranslatef(0, kFountainLift, 0);
  for (int i = 0; i < kPoolSize; ++i) {
    glTranslatef(-3 * kFountainSpacing, 0, 0);
    particles1[i].Run();
    glTranslatef(kFountainSpacing, 0, 0);
    particles2[i].Run();
    glTranslatef(kFountainSpacing, 0, 0);
    particles3[i].Run();
    glTranslatef(kFountainSpacing, 0, 0);
    particles4[i].Run();
  }
  mark_step(frame_step::particles);
}
