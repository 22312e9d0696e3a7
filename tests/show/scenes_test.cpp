// The scenes on the real GL context: what each paints on the canvas, the lights scene 1 moves and
// recolours, and that scenes 2 and 3 draw with whatever state they find.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "canvas/laser.h"
#include "canvas/rotator.h"
#include "show_frame.h"

namespace {

// Each test starts from a show of its own.
class scenes_test : public show_test {};

// ---- canvas update -------------------------------------------------------------------------

struct paint_case {
  Sint32 show_time;
  float angle;  // the picture's tilt: it steps by 0.2 every 100 ms
  int phase;    // the laser's place in its two-second cycle
  int paints;   // how many scenes paint the canvas in the frame
};

// The canvas after `paints` paintings, from empty, of the picture at `angle` and the laser at
// `phase`, made with the painters directly.
std::vector<Uint8> painted_canvas(const intro& show, float angle, int phase, int paints) {
  std::vector<Uint8> once(size_t{4} * kCanvasSize * kCanvasSize, 0);
  const canvas_view view{once.data(), 4 * kCanvasSize, kCanvasSize, kCanvasSize};
  rotate_picture(picture_of(show.picture), angle, view, layout_of(show.canvas->format));
  paint_laser(view, phase);

  std::vector<Uint8> result(once.size(), 0);
  const canvas_view out{result.data(), 4 * kCanvasSize, kCanvasSize, kCanvasSize};
  for (int row = 0; row < kCanvasSize; ++row) {
    for (int column = 0; column < kCanvasSize; ++column) {
      for (int i = 0; i < paints; ++i)
        add_to_canvas(out, column, row, canvas_word(view, column, row));
    }
  }
  return result;
}

TEST_F(scenes_test, EachSceneAddsThePictureAtItsStepAngleAndTheLaserAtItsPhase) {
  const paint_case cases[] = {
      {12345, 24.6f, 345, 1},   // scene 1
      {15345, 30.6f, 1345, 1},  // scene 2, the laser mirrored
      {15399, 30.6f, 1399, 1},  // the angle holds within its 100 ms
      {15400, 30.8f, 1400, 1},
      {24321, 48.6f, 321, 2},   // the turn: scenes 2 and 3 both paint the same
      {33333, 66.6f, 1333, 1},  // scene 3 before the fountains
      {50000, 100.0f, 0, 1},    // scene 4
  };
  for (const paint_case& c : cases) {
    SCOPED_TRACE(c.show_time);
    show->last_clear = c.show_time - 1001;  // the frame starts from a cleared canvas
    run_frame(*show, c.show_time);
    EXPECT_EQ(show->phase, c.phase);
    EXPECT_TRUE(canvas_bytes(*show) == painted_canvas(*show, c.angle, c.phase, c.paints));
  }
}

// ---- scene 1's lights ----------------------------------------------------------------------

struct light_case {
  Sint32 show_time;
  double dolly;  // how far the timeline has moved the camera in
};

TEST_F(scenes_test, SceneOneCirclesLightOneAboutTheWallsEndPoint) {
  // The lights are placed after the wall, from the point its walk ends on, (45, −45, −50) beyond
  // the camera step and the dolly; OpenGL keeps them in eye coordinates.
  const light_case cases[] = {{500, 0}, {7000, 25}};
  for (const light_case& c : cases) {
    SCOPED_TRACE(c.show_time);
    run_frame(*show, c.show_time);
    const double orbit = c.show_time / 400.0;  // one radian every 400 ms, radius 60
    const double z = -1 + c.dolly - 50;
    const std::array<GLfloat, 4> light1 = light_vector(GL_LIGHT1, GL_POSITION);
    EXPECT_NEAR(light1[0], 45 + 60 * std::sin(orbit), 1e-4);
    EXPECT_NEAR(light1[1], -45 + 60 * std::cos(orbit), 1e-4);
    EXPECT_NEAR(light1[2], z, 1e-4);
    EXPECT_EQ(light1[3], 1.0f);
    const std::array<GLfloat, 4> light2 = light_vector(GL_LIGHT2, GL_POSITION);
    EXPECT_NEAR(light2[0], 45, 1e-4);
    EXPECT_NEAR(light2[1], -45, 1e-4);
    EXPECT_NEAR(light2[2], z + 1, 1e-4);
    EXPECT_EQ(light2[3], 1.0f);  // positional, like light 1
    EXPECT_EQ(light_vector(GL_LIGHT1, GL_DIFFUSE), (std::array<GLfloat, 4>{1, 1, 1, 1}));
    EXPECT_EQ(light_vector(GL_LIGHT2, GL_DIFFUSE), (std::array<GLfloat, 4>{0.2f, 0.1f, 0.1f, 1}));
  }
}

// ---- scenes 2 and 3 --------------------------------------------------------------------------

struct found_state {
  bool blend, lighting, depth_test, texture_2d;
};

TEST_F(scenes_test, ScenesTwoAndThreeDrawWithTheStateTheyFind) {
  const found_state states[] = {
      {true, true, true, true}, {false, false, false, false}, {true, false, true, false}};
  const GLenum capabilities[] = {GL_BLEND, GL_LIGHTING, GL_DEPTH_TEST, GL_TEXTURE_2D};
  for (Sint32 show_time : {15000, 24000}) {  // scene 2; scenes 2 and 3 in the turn
    for (const found_state& s : states) {
      SCOPED_TRACE(::testing::Message() << show_time << " blend " << s.blend);
      const bool wanted[] = {s.blend, s.lighting, s.depth_test, s.texture_2d};
      for (int i = 0; i < 4; ++i)
        wanted[i] ? glEnable(capabilities[i]) : glDisable(capabilities[i]);
      run_frame(*show, show_time);
      for (int i = 0; i < 4; ++i) EXPECT_EQ(glIsEnabled(capabilities[i]) == GL_TRUE, wanted[i]);
    }
  }
}

}  // namespace
