// The show's fast path changes no pixel: the show run twice through the same show times from the
// same start, once drawing every wall panel and once on the fast path (panels wholly outside the
// view left out), gives the same frames and leaves the same GL state after each.
#define GL_GLEXT_PROTOTYPES 1  // glBeginQuery, to count the triangles each path sends
#include <SDL/SDL.h>
#include <SDL/SDL_opengl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <vector>

#include "show/fast_path.h"
#include "show/intro.h"
#include "show/offscreen.h"
#include "support/test_display.h"

namespace {

constexpr float kCameraDistance = 1.0f;   // the frame loop stands the camera one unit back
constexpr unsigned kParticleSeed = 4242;  // both runs draw the same particles

// Show times, in the order the show reaches them (state carries from frame to frame).
const std::vector<Sint32> kShowTimes = {
    500,    // first frame: the wall fills the screen, panels cut by all four screen edges
    1500,   //
    2001,   // the dolly's first step
    4271,   // the left and right screen edges cut the outer pairs' outer panels (x = ±23)
    5357,   // the dolly brings panel edges onto the left, right, top and bottom screen edges:
    5358,   // x = ±20, y = ±15 at the wall's distance 15 / tan 22.5° (show time ≈ 5357.4)
    10186,  // y = ±5 on the top and bottom edges
    11876,  // x = ±2 on the left and right edges
    12117,  // y = ±1 on the top and bottom edges
    12578,  // the wall just in front of the near plane ...
    12580,  // ... on it (0.1 units from the eye) ...
    12582,  // ... and just behind it
    12999,  // the dolly's end: the whole wall behind the camera
    13000,  // scene 2
    18999,  //
    19000,  // the turning pair at 0°, 180°, 360°, 633.27°
    21700,  //
    24400,  //
    28499,  //
    28500,  // particles: the first frame with the depth test on ...
    28540,  // ... and later ones
    28580,  //
    46999,  //
    47000,  // scene 4, tinted by the last particle
    58999,  //
    59000,  // nothing drawn
};

// What a frame leaves: the picture and the GL state later drawing depends on.
struct frame_result {
  std::vector<Uint8> pixels;
  std::array<GLfloat, 16> matrix;  // the model-view matrix as the show leaves it, before the pop
  std::array<GLfloat, 3> normal;
  std::array<GLfloat, 4> color;
  std::array<GLfloat, 4> tex_coord;
  std::vector<std::array<GLfloat, 4>> lights;
  std::array<GLboolean, 4> switches;  // lighting, depth test, blending, 2D texturing
};

std::array<GLfloat, 4> current_tex_coord() {
  std::array<GLfloat, 4> t;
  glGetFloatv(GL_CURRENT_TEXTURE_COORDS, t.data());
  return t;
}

frame_result draw_frame(intro& show, Sint32 show_time) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glTranslatef(0, 0, -kCameraDistance);
  glPushMatrix();
  show.run_at(show_time);
  frame_result r;
  r.matrix = modelview_matrix();
  glPopMatrix();
  r.pixels = read_frame();
  r.normal = current_normal();
  r.color = current_color();
  r.tex_coord = current_tex_coord();
  for (GLenum light : {GL_LIGHT1, GL_LIGHT2}) {
    for (GLenum parameter : {GL_POSITION, GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR}) {
      r.lights.push_back(light_vector(light, parameter));
    }
  }
  r.switches = {glIsEnabled(GL_LIGHTING), glIsEnabled(GL_DEPTH_TEST), glIsEnabled(GL_BLEND),
                glIsEnabled(GL_TEXTURE_2D)};
  return r;
}

// The whole sequence of frames with a fresh show, from the GL state found on entry, which is
// put back afterwards so the next run starts from the same state.
std::vector<frame_result> run_show(bool fast) {
  show_fast_path = fast;
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  srand(kParticleSeed);
  std::vector<frame_result> frames;
  {
    intro show;
    for (Sint32 t : kShowTimes) frames.push_back(draw_frame(show, t));
  }
  glPopAttrib();
  glLoadIdentity();
  show_fast_path = true;
  return frames;
}

// The number of pixels in which two frames differ.
size_t differing_pixels(const std::vector<Uint8>& a, const std::vector<Uint8>& b) {
  size_t n = 0;
  for (size_t i = 0; i + 2 < a.size() && i + 2 < b.size(); i += 3) {
    if (a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2]) ++n;
  }
  return n;
}

// Triangles the show sends in one frame at `show_time` (the frame's other work included).
GLuint triangles_sent(intro& show, Sint32 show_time) {
  GLuint query;
  glGenQueries(1, &query);
  glBeginQuery(GL_PRIMITIVES_GENERATED, query);
  draw_frame(show, show_time);
  glEndQuery(GL_PRIMITIVES_GENERATED);
  GLuint count = 0;
  glGetQueryObjectuiv(query, GL_QUERY_RESULT, &count);
  glDeleteQueries(1, &query);
  return count;
}

class fast_path_test : public display_test {};

// Rectangles in the plane z of the eye frame, under the program's projection (45° high, 4:3): at
// z = −10 the screen spans x = ±5.52 and y = ±4.14.
struct rectangle_case {
  const char* what;
  double x0, x1, y0, y1, z;
  bool outside;
};
const rectangle_case kRectangles[] = {
    {"right of the screen", 6, 7, -1, 1, -10, true},
    {"left of the screen", -7, -6, -1, 1, -10, true},
    {"above the screen", -1, 1, 4.2, 5, -10, true},
    {"below the screen", -1, 1, -5, -4.2, -10, true},
    {"behind the eye", -1, 1, -1, 1, 1, true},
    {"between the eye and the near plane", -0.01, 0.01, -0.01, 0.01, -0.05, true},
    {"across the right edge", 5.5, 7, -1, 1, -10, false},
    {"less than a pixel above the top edge", -1, 1, 4.15, 5, -10, false},
    {"in the middle", -1, 1, -1, 1, -10, false},
    {"wider than the screen, its corners off both sides", -9, 9, -1, 1, -10, false},
    {"across the near plane", -1, 1, -1, 1, -0.1, false},
};

TEST_F(fast_path_test, a_rectangle_is_off_screen_only_when_wholly_beyond_one_plane) {
  glLoadIdentity();
  const clip_transform eye = clip_transform::current();
  for (const rectangle_case& c : kRectangles) {
    EXPECT_EQ(eye.outside(c.x0, c.x1, c.y0, c.y1, c.z), c.outside) << c.what;
  }
}

TEST_F(fast_path_test, every_frame_and_the_state_it_leaves_match_drawing_every_panel) {
  const std::vector<frame_result> straightforward = run_show(false);
  const std::vector<frame_result> fast = run_show(true);
  ASSERT_EQ(fast.size(), kShowTimes.size());
  for (size_t i = 0; i < kShowTimes.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "show time " << kShowTimes[i]);
    const frame_result& a = straightforward[i];
    const frame_result& b = fast[i];
    EXPECT_EQ(differing_pixels(a.pixels, b.pixels), 0u);
    EXPECT_EQ(a.pixels.size(), b.pixels.size());
    EXPECT_EQ(a.matrix, b.matrix);
    EXPECT_EQ(a.normal, b.normal);
    EXPECT_EQ(a.color, b.color);
    EXPECT_EQ(a.tex_coord, b.tex_coord);
    EXPECT_EQ(a.lights, b.lights);
    EXPECT_EQ(a.switches, b.switches);
  }
}

// The comparison above means something only if panels are really left out: at the start most of
// the wall is off screen, and at the dolly's end all of it but the last pair, which is always
// drawn.
TEST_F(fast_path_test, leaves_out_the_panels_off_screen) {
  constexpr GLuint kPanelTriangles = 198;  // one strip of 200 vertices
  constexpr GLuint kWallPanels = 1800;
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  {
    intro show;
    show_fast_path = false;
    EXPECT_EQ(triangles_sent(show, 500), kWallPanels * kPanelTriangles);
    show_fast_path = true;
    const GLuint at_start = triangles_sent(show, 501);
    EXPECT_LT(at_start, kWallPanels * kPanelTriangles / 2);
    EXPECT_GT(at_start, kWallPanels * kPanelTriangles / 4);
    EXPECT_EQ(triangles_sent(show, 12999), 2 * kPanelTriangles);
  }
  glPopAttrib();
  glLoadIdentity();
}

}  // namespace
