// The four scenes. Each brings the canvas up to date, uploads it into the one texture and draws
// panels. State switched here is never restored: what a scene leaves stays in force for later
// frames and time windows.
#include <GL/glu.h>

#include <cmath>

#include "show/fast_path.h"
#include "show/frame_steps.h"
#include "show/intro.h"
#include "show/offscreen.h"

namespace {

constexpr Sint32 kAngleStepMs = 100;    // the picture's angle changes every 100 ms ...
constexpr double kAngleSteps = 5.0;     // ... by 1/5 radian
constexpr Sint32 kLaserCycleMs = 2000;  // the laser's reveal cycle

constexpr float kPanelPairSpread = 1.0f;  // the two panels of a pair stand one unit left and right
constexpr float kPanelPairDepth = -2.0f;  // ... and two units in
constexpr double kPanelHalfSide = 1.0;    // a panel is the square −1 … 1 of its own frame

constexpr int kWallColumns = 30;  // scene 1: a wall of 30 × 30 panel pairs
constexpr int kWallRows = 30;
constexpr float kWallColumnStep = 4.0f;
constexpr float kWallRowStep = 2.0f;

constexpr Sint32 kPullInStartMs = 13000;  // scenes 2 and 3 pull their pair in from z = −100 ...
constexpr double kPullInRate = 50.0;      // ... at one unit every 50 ms
constexpr double kPullInFrom = -100.0;

constexpr double kLightOrbitRadius = 60.0;  // GL_LIGHT1 circles the wall ...
constexpr double kLightOrbitRate = 400.0;   // ... one radian every 400 ms
constexpr GLfloat kWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};
// GL_LIGHT2 is a positional light (w = 1) like GL_LIGHT1, one unit in front of the point the
// wall's walk ends on.
constexpr GLfloat kLight2Position[4] = {0.0f, 0.0f, 1.0f, 1.0f};
constexpr GLfloat kLight2Diffuse[4] = {0.2f, 0.1f, 0.1f, 1.0f};

}  // namespace

void intro::box() {
  glCallList(grid_list);
}

// Picture, then laser, onto the canvas.
void intro::paint_canvas() {
  const Sint32 q = elapsed / kAngleStepMs;
  rotator(picture, static_cast<float>(q / kAngleSteps));
  phase = elapsed % kLaserCycleMs;
  razer();
  mark_step(frame_step::paint);
}

// Rebuilds the whole mipmap chain from the canvas memory, read as GL_RGBA or GL_RGB texels.
void intro::upload_canvas(GLenum format) {
  gluBuild2DMipmaps(GL_TEXTURE_2D, 4, canvas->w, canvas->h, format, GL_UNSIGNED_BYTE,
                    canvas->pixels);
  mark_step(frame_step::upload);
}

// Two mirrored panels; leaves the matrix as it found it and (0, 0, −1) as the current normal.
void intro::panel_pair() {
  first_panel();
  second_panel();
}

// The right-hand panel of a pair: the panel turned half about z, covering x 0 … 2 of the pair.
void intro::first_panel() {
  glPushMatrix();
  glTranslatef(kPanelPairSpread, 0, kPanelPairDepth);
  glRotatef(180, 0, 0, 1);
  glNormal3f(0, 0, 1);
  box();
  glPopMatrix();
}

// The left-hand panel: turned half about y and half about z, covering x −2 … 0 of the pair.
void intro::second_panel() {
  glPushMatrix();
  glTranslatef(-kPanelPairSpread, 0, kPanelPairDepth);
  glRotatef(180, 0, 1, 0);
  glRotatef(180, 0, 0, 1);
  glNormal3f(0, 0, -1);
  box();
  glPopMatrix();
}

// One pair of the wall, at column `column` and row `row` (from 0) of the frame `wall` that the
// walk starts from; the matrix already stands on the pair. A panel wholly outside the view volume
// is left out: it would add no fragment, and the push, translate, rotate and pop it would make
// leave the matrix as they find it. Its normal matters only to its own vertices. The last pair is
// always drawn, so the normal and texture coordinate its panels leave current stay the same.
void intro::wall_pair(const clip_transform& wall, int column, int row, bool last) {
  if (!show_fast_path || last) {
    panel_pair();
    return;
  }
  const double x = kWallColumnStep * (column + 1);  // the pair's centre in the wall's frame
  const double y = kWallRowStep * (row + 1);
  const double bottom = y - kPanelHalfSide;
  const double top = y + kPanelHalfSide;
  const double right = x + kPanelPairSpread;  // centre of the first panel
  const double left = x - kPanelPairSpread;   // centre of the second
  if (!wall.outside(right - kPanelHalfSide, right + kPanelHalfSide, bottom, top, kPanelPairDepth)) {
    first_panel();
  }
  if (!wall.outside(left - kPanelHalfSide, left + kPanelHalfSide, bottom, top, kPanelPairDepth)) {
    second_panel();
  }
}

// Leaves: blending off, lighting, depth test and texturing on, both lights moved and recoloured
// (they light the next frame's panels).
void intro::create_scene1() {
  glDisable(GL_BLEND);
  glShadeModel(GL_SMOOTH);
  glEnable(GL_LIGHTING);
  glBindTexture(GL_TEXTURE_2D, texture);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_TEXTURE_2D);

  paint_canvas();
  upload_canvas(GL_RGBA);

  glTranslatef(0, 0, -50);
  glTranslatef(-60, 0, 0);
  glTranslatef(0, -30, 0);
  const clip_transform wall = show_fast_path ? clip_transform::current() : clip_transform();
  for (int column = 0; column < kWallColumns; ++column) {
    glTranslatef(kWallColumnStep, 0, 0);
    for (int row = 0; row < kWallRows; ++row) {
      glTranslatef(0, kWallRowStep, 0);
      wall_pair(wall, column, row, column == kWallColumns - 1 && row == kWallRows - 1);
    }
    glTranslatef(0, -kWallRowStep * kWallRows, 0);
  }
  mark_step(frame_step::panels);
  glTranslatef(-15, 0, 0);
  glTranslatef(0, -15, 0);  // net (45, −45, −50) from where the scene started

  const double orbit = elapsed / kLightOrbitRate;
  const GLfloat light1_position[4] = {static_cast<GLfloat>(kLightOrbitRadius * std::sin(orbit)),
                                      static_cast<GLfloat>(kLightOrbitRadius * std::cos(orbit)),
                                      0.0f, 1.0f};
  glLightfv(GL_LIGHT1, GL_POSITION, light1_position);
  glLightfv(GL_LIGHT1, GL_DIFFUSE, kWhite);
  glLightfv(GL_LIGHT2, GL_POSITION, kLight2Position);
  glLightfv(GL_LIGHT2, GL_DIFFUSE, kLight2Diffuse);
}

// Scenes 2 and 3 are the same steps under two names (the rotation window runs both in one frame):
// a canvas update, then one pair, pulled in from the distance until show time 18000; the pull-in
// translation is not undone. They set no state: they draw with what the timeline and earlier
// frames left.
void intro::pulled_in_pair() {
  paint_canvas();
  upload_canvas(GL_RGBA);
  const double z = (elapsed - kPullInStartMs) / kPullInRate + kPullInFrom;
  if (z < 0) glTranslatef(0, 0, static_cast<GLfloat>(z));
  panel_pair();
  mark_step(frame_step::panels);
}

void intro::create_scene2() {
  pulled_in_pair();
}

void intro::create_scene3() {
  pulled_in_pair();
}

// One unlit panel from the canvas read as packed 3-byte texels: its colours shift by a byte from
// texel to texel and its rows run skewed. Leaves lighting off and (0, 0, 1) as the normal; the
// panel is tinted by whatever colour the last particle set.
void intro::create_scene4() {
  glDisable(GL_BLEND);
  glShadeModel(GL_SMOOTH);
  glBindTexture(GL_TEXTURE_2D, texture);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);

  paint_canvas();
  glTranslatef(0, 0, -1);
  upload_canvas(GL_RGB);

  glPushMatrix();
  glRotatef(180, 0, 0, 1);
  glNormal3f(0, 0, 1);
  box();
  glPopMatrix();
  mark_step(frame_step::panels);
}
