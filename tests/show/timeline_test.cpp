// The timeline on the real GL context: when the canvas is cleared, the camera motion each time
// window leaves in the model-view matrix, the OpenGL state each window leaves for the next, and
// the particle window's order of particle steps, light colours and depth test.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "shell/shell.h"
#include "show_frame.h"

namespace {

// Each test starts from a show of its own.
class timeline_test : public show_test {};

constexpr double kPi = 3.14159265358979323846;

// ---- canvas clear --------------------------------------------------------------------------

// The canvas word at column 0, row 0 is never painted: the laser draws from column 1 and the
// rotator puts the 256 × 256 picture no further left than column 300 − 128. A marker there
// survives a frame unless the frame clears the canvas.
constexpr Uint32 kMarker = 0xA5C3E1F7u;

struct clear_case {
  Sint32 last_clear;
  Sint32 show_time;
  bool clears;
};

TEST_F(timeline_test, ClearsTheCanvasOnlyMoreThanASecondAfterTheLastClear) {
  const clear_case cases[] = {
      {0, 500, false},        // the first frame of the show
      {0, 1000, false},       // exactly a second after the start: not yet
      {0, 1001, true},        // the first clear
      {47000, 48000, false},  // exactly a second after a clear
      {47000, 48001, true},   // just over a second
      {47000, 52000, true},   // a long frame: cleared all the same
  };
  for (const clear_case& c : cases) {
    SCOPED_TRACE(c.show_time);
    show->last_clear = c.last_clear;
    SDL_FillRect(show->canvas, nullptr, kMarker);
    run_frame(*show, c.show_time);
    EXPECT_EQ(canvas_pixel(*show, 0, 0), c.clears ? 0u : kMarker);
    EXPECT_EQ(show->last_clear, c.clears ? c.show_time : c.last_clear);
    EXPECT_EQ(show->elapsed, c.show_time);
  }
}

// ---- camera motion -------------------------------------------------------------------------

// The model-view matrix a frame leaves before the frame loop's pop: a turn about the y axis and a
// translation, both relative to the eye (the frame loop's camera step included).
struct motion_case {
  Sint32 show_time;
  double turn_degrees;  // modulo 360
  std::array<double, 3> translation;
};

TEST_F(timeline_test, EachWindowLeavesItsCameraMotionInTheMatrix) {
  const motion_case cases[] = {
      // Scene 1 walks to (45, −45, −50); the dolly adds (t − 2000) / 200 after show time 2000.
      {2000, 0, {45, -45, -51}},
      {2001, 0, {45, -45, -51 + 0.005}},
      {12999, 0, {45, -45, -51 + 54.995}},
      // Scene 2 pulls its pair in from z = −100 at one unit per 50 ms until 18000; no dolly.
      {13000, 0, {0, 0, -1 - 100}},
      {17999, 0, {0, 0, -1 - 0.02}},
      {18000, 0, {0, 0, -1}},
      {18999, 0, {0, 0, -1}},
      // The turn, (t − 19000) / 15 degrees, then scene 3's pair one unit along the turned x axis
      // and half a turn further.
      {19000, 180, {1, 0, -1}},
      {21700, 0, {-1, 0, -1}},                         // 180°: half a turn
      {28499, 93.266667, {0.0569832, 0, -0.0016249}},  // 633.27°: cos and −1 − sin of it
      // The fountains stand half a unit up; their per-particle steps cancel out.
      {28500, 0, {0, 0.5, -1}},
      {46999, 0, {0, 0.5, -1}},
      // Scene 4 steps one unit further in; after it nothing moves.
      {47000, 0, {0, 0, -2}},
      {58999, 0, {0, 0, -2}},
      {59000, 0, {0, 0, -1}},
  };
  for (const motion_case& c : cases) {
    SCOPED_TRACE(c.show_time);
    std::array<GLfloat, 16> m{};
    run_frame(*show, c.show_time, [&] { m = modelview_matrix(); });

    // A pure turn about y: the y axis stays put.
    EXPECT_NEAR(m[1], 0, 1e-5);
    EXPECT_NEAR(m[4], 0, 1e-5);
    EXPECT_NEAR(m[5], 1, 1e-5);
    EXPECT_NEAR(m[6], 0, 1e-5);
    EXPECT_NEAR(m[9], 0, 1e-5);
    const double turn = std::atan2(m[8], m[0]) * 180 / kPi;
    EXPECT_NEAR(std::remainder(turn - c.turn_degrees, 360.0), 0, 0.005);

    EXPECT_NEAR(m[12], c.translation[0], 1e-4);
    EXPECT_NEAR(m[13], c.translation[1], 1e-4);
    EXPECT_NEAR(m[14], c.translation[2], 1e-4);
  }
}

// ---- state left by each window -------------------------------------------------------------

enum class texture_source { canvas_rgba, canvas_shifted_rgb, unchanged };

struct window_case {
  Sint32 show_time;
  bool blend, lighting, depth_test, texture_2d;
  std::array<GLfloat, 3> normal;
  texture_source texture;
};

bool enabled(GLenum capability) {
  return glIsEnabled(capability) == GL_TRUE;
}

// The texture holds the canvas as 4-byte texels (bytes 4n … 4n+3 make texel n) or as 3-byte
// texels (bytes 3n … 3n+2), the latter from the first three quarters of the canvas memory.
void expect_texture_from_canvas(const intro& show, texture_source source) {
  const std::vector<Uint8> canvas = canvas_bytes(show);
  ASSERT_EQ(canvas.size(), size_t{4} * kCanvasSize * kCanvasSize);  // rows without padding
  ASSERT_NE(std::count(canvas.begin(), canvas.end(), 0), static_cast<long>(canvas.size()))
      << "nothing painted: the comparison would prove nothing";
  if (source == texture_source::canvas_rgba) {
    EXPECT_TRUE(texture_image(show, GL_RGBA) == canvas);
  } else {
    const std::vector<Uint8> shifted(canvas.begin(), canvas.begin() + canvas.size() / 4 * 3);
    EXPECT_TRUE(texture_image(show, GL_RGB) == shifted);
  }
}

TEST_F(timeline_test, EachWindowLeavesItsStateForTheNext) {
  // The state the program starts the show with.
  glEnable(GL_BLEND);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glNormal3f(0, 0, 1);

  const window_case cases[] = {
      // show time, blending, lighting, depth test, 2D texturing, normal, texture image
      {12000, false, true, true, true, {0, 0, -1}, texture_source::canvas_rgba},   // scene 1
      {15000, false, true, true, true, {0, 0, -1}, texture_source::canvas_rgba},   // scene 2
      {24000, false, true, true, true, {0, 0, -1}, texture_source::canvas_rgba},   // the turn
      {28500, true, true, false, false, {0, 0, -1}, texture_source::canvas_rgba},  // fountains
      {28540, true, true, false, false, {0, 0, -1}, texture_source::canvas_rgba},
      {47000, false, false, true, true, {0, 0, 1}, texture_source::canvas_shifted_rgb},  // scene 4
      {58999, false, false, true, true, {0, 0, 1}, texture_source::canvas_shifted_rgb},
      {59000, false, false, true, true, {0, 0, 1}, texture_source::unchanged},  // nothing drawn
  };
  std::vector<Uint8> last_texture;
  for (const window_case& c : cases) {
    SCOPED_TRACE(c.show_time);
    run_frame(*show, c.show_time);
    EXPECT_EQ(enabled(GL_BLEND), c.blend);
    EXPECT_EQ(enabled(GL_LIGHTING), c.lighting);
    EXPECT_EQ(enabled(GL_DEPTH_TEST), c.depth_test);
    EXPECT_EQ(enabled(GL_TEXTURE_2D), c.texture_2d);
    EXPECT_EQ(current_normal(), c.normal);
    if (c.texture == texture_source::unchanged) {
      EXPECT_TRUE(texture_image(*show, GL_RGBA) == last_texture);
    } else {
      expect_texture_from_canvas(*show, c.texture);
    }
    last_texture = texture_image(*show, GL_RGBA);
  }
}

// ---- the particle window -------------------------------------------------------------------

constexpr unsigned kSeed = 4242;      // any seed: the test replays the same sequence
constexpr int kDrawsPerRespawn = 11;  // six for the speed, five for burn rate, life and colour
constexpr int kSpeedDraws = 6;

// What a fountain particle takes from its respawn's draws after the speed's six: burn rate
// 0.04 + k · 0.00005 and life 0.75 + (k − 200) / 400 for k from 0 to 399, colours k / 100.
struct respawn {
  float burn_rate;
  float life;
  float color[3];
};

respawn replay_respawn() {
  for (int i = 0; i < kSpeedDraws; ++i) rand();
  respawn r;
  r.burn_rate = static_cast<float>((rand() % 400) * 0.00005 + 0.04);
  r.life = static_cast<float>(((rand() % 400) - 200) / 400.0 + 0.75);
  for (float& c : r.color) c = static_cast<float>((rand() % 100) / 100.0);
  return r;
}

TEST_F(timeline_test, ParticleWindowRunsEachParticleOnceIndexByIndex) {
  // Every particle of a new show is spent, so the window's first frame respawns all 6000 of them,
  // each drawing its random numbers when its turn comes.
  srand(kSeed);
  run_frame(*show, 28500);
  const int next_draw_after_frame = rand();

  std::vector<GravityParticle>* pools[] = {&show->particles1, &show->particles2, &show->particles3,
                                           &show->particles4};
  srand(kSeed);
  for (int i = 0; i < kPoolSize; ++i) {
    for (int k = 0; k < 4; ++k) {
      const respawn r = replay_respawn();
      const GravityParticle& p = (*pools[k])[i];
      SCOPED_TRACE(::testing::Message() << "pool " << k + 1 << " index " << i);
      ASSERT_EQ(p.BurnRate, r.burn_rate);
      ASSERT_EQ(p.Life, r.life - r.burn_rate);  // burnt exactly once
      ASSERT_EQ(p.Color[0], r.color[0]);
      ASSERT_EQ(p.Color[1], r.color[1]);
      ASSERT_EQ(p.Color[2], r.color[2]);
    }
  }
  EXPECT_EQ(next_draw_after_frame, rand()) << "not exactly 6000 × " << kDrawsPerRespawn << " draws";

  // The last particle drawn leaves its colour, with its life as alpha, as the current colour.
  const GravityParticle& last = show->particles4[kPoolSize - 1];
  const std::array<GLfloat, 4> last_color{last.Color[0], last.Color[1], last.Color[2], last.Life};
  EXPECT_EQ(current_color(), last_color);
}

TEST_F(timeline_test, ParticleWindowRecoloursBothLightsAndLeavesThemInPlace) {
  const GLfloat position1[4] = {7, 8, 9, 1};
  const GLfloat position2[4] = {-3, 2, -6, 1};
  glLoadIdentity();  // positions given in eye coordinates
  glLightfv(GL_LIGHT1, GL_POSITION, position1);
  glLightfv(GL_LIGHT2, GL_POSITION, position2);

  run_frame(*show, 28500);

  const std::array<GLfloat, 4> ambient{0.5f, 0.3f, 0.3f, 1.0f};
  const std::array<GLfloat, 4> diffuse{1.0f, 0.8f, 0.8f, 1.0f};
  for (GLenum light : {GL_LIGHT1, GL_LIGHT2}) {
    EXPECT_EQ(light_vector(light, GL_AMBIENT), ambient);
    EXPECT_EQ(light_vector(light, GL_DIFFUSE), diffuse);
  }
  EXPECT_EQ(light_vector(GL_LIGHT1, GL_POSITION), (std::array<GLfloat, 4>{7, 8, 9, 1}));
  EXPECT_EQ(light_vector(GL_LIGHT2, GL_POSITION), (std::array<GLfloat, 4>{-3, 2, -6, 1}));
}

TEST_F(timeline_test, SceneThreeDrawsWithoutDepthTestFromTheParticleWindowsSecondFrame) {
  // With the depth buffer cleared to the near plane, a depth-tested panel leaves no pixel. The
  // rows between the fountains' spawn points and the bottom show only scene 3's panels (in the
  // first frames the particles are still near their spawn points, high on the screen).
  const screen_box panel_rows{0, 200, kScreenWidth - 1, kScreenHeight - 1, 0};
  glEnable(GL_DEPTH_TEST);  // as scene 1 leaves it for the turn and the fountains
  glClearDepth(0.0);

  run_frame(*show, 28500);
  const screen_box first = lit_bounds(read_frame(), 0, panel_rows);
  run_frame(*show, 28540);
  const screen_box second = lit_bounds(read_frame(), 0, panel_rows);
  glClearDepth(1.0);

  EXPECT_EQ(first.count, 0) << "scene 3 is depth tested in the window's first frame";
  EXPECT_GT(second.count, 20000) << "... and not from then on";
}

}  // namespace
