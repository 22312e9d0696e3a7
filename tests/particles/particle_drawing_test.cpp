// Drawing a particle: the quad its display list holds, where Draw puts it in the caller's frame,
// and the GL state Draw leaves behind (the colour changes, the matrices do not).
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "particles/gravity_particle.h"
#include "support/gl_feedback.h"
#include "support/test_display.h"

namespace {

constexpr float kPositionTolerance = 1e-5f;
constexpr float kColorTolerance = 1e-6f;
constexpr float kHalfDrawnSide = 0.008f;  // the quad's 0.1 scaled by 0.08

using ParticleDrawingTest = display_test;

GLint modelview_depth() {
  GLint depth = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  return depth;
}

TEST_F(ParticleDrawingTest, QuadIsAStripOfTwoCounterClockwiseTriangles) {
  const GravityParticle p;
  glLoadIdentity();
  const std::vector<feedback_polygon> triangles = capture_polygons([&] { glCallList(p.List); });
  ASSERT_EQ(triangles.size(), 2u);
  const std::vector<feedback_vertex> strip = strip_vertices(triangles, kPositionTolerance);
  ASSERT_EQ(strip.size(), 4u);
  const std::array<std::array<float, 3>, 4> corners = {
      {{0.1f, 0.1f, 0}, {-0.1f, 0.1f, 0}, {0.1f, -0.1f, 0}, {-0.1f, -0.1f, 0}}};
  for (size_t v = 0; v < 4; ++v) {
    for (int i = 0; i < 3; ++i)
      EXPECT_NEAR(strip[v].position[i], corners[v][i], kPositionTolerance) << "vertex " << v;
  }
  for (const feedback_polygon& t : triangles) EXPECT_GT(doubled_area(t), 0.0f);
}

struct placement_case {
  std::array<float, 3> caller_offset;  // the caller's model-view: a translation
  std::array<float, 3> location;
};

TEST_F(ParticleDrawingTest, DrawCentresTheQuadFourUnitsBehindItsLocation) {
  const placement_case cases[] = {
      {{0, 0, 0}, {0, 0, 0}},
      {{0.25f, -0.5f, 0.5f}, {0, 0, 0}},
      {{-1, 0.5f, 0}, {0.3f, 0.2f, -1}},
  };
  GravityParticle p;
  p.Life = 0.5f;
  for (const placement_case& c : cases) {
    glLoadIdentity();
    glTranslatef(c.caller_offset[0], c.caller_offset[1], c.caller_offset[2]);
    for (int i = 0; i < 3; ++i) p.Location[i] = c.location[i];
    const std::vector<feedback_polygon> triangles = capture_polygons([&] { p.Draw(); });
    ASSERT_EQ(triangles.size(), 2u);
    const std::vector<feedback_vertex> strip = strip_vertices(triangles, kPositionTolerance);
    ASSERT_EQ(strip.size(), 4u);
    const float centre[3] = {c.caller_offset[0] + c.location[0], c.caller_offset[1] + c.location[1],
                             c.caller_offset[2] + c.location[2] - 4};
    for (const feedback_vertex& v : strip) {
      EXPECT_NEAR(std::fabs(v.position[0] - centre[0]), kHalfDrawnSide, kPositionTolerance);
      EXPECT_NEAR(std::fabs(v.position[1] - centre[1]), kHalfDrawnSide, kPositionTolerance);
      EXPECT_NEAR(v.position[2], centre[2], kPositionTolerance);
    }
  }
  glLoadIdentity();
}

TEST_F(ParticleDrawingTest, DrawLeavesItsColourWithLifeAsAlphaAndTheMatricesAsTheyWere) {
  const float lives[] = {0.35f, 0.0f, 1.2075f};  // an alpha above 1 is passed on as it is
  GravityParticle p;
  p.Color[0] = 0.5f;
  p.Color[1] = 0.07f;
  p.Color[2] = 0.99f;
  p.Location[0] = 0.3f;
  p.Location[1] = -0.2f;
  p.Location[2] = 1;
  glLoadIdentity();
  glTranslatef(0, 0, -1);
  glRotatef(30, 0, 1, 0);
  const std::array<GLfloat, 16> matrix = modelview_matrix();
  const GLint depth = modelview_depth();
  for (const float life : lives) {
    p.Life = life;
    p.Draw();
    EXPECT_EQ(current_color(), (std::array<GLfloat, 4>{0.5f, 0.07f, 0.99f, life}));
    EXPECT_EQ(modelview_matrix(), matrix);
    EXPECT_EQ(modelview_depth(), depth);
  }
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  glLoadIdentity();
}

TEST_F(ParticleDrawingTest, QuadIsDrawnInTheParticlesColour) {
  GravityParticle p;
  p.Color[0] = 0.5f;
  p.Color[1] = 0.07f;
  p.Color[2] = 0.99f;
  p.Life = 0.35f;
  glLoadIdentity();
  glColor4f(1, 1, 1, 1);  // whatever was current before
  const std::vector<feedback_polygon> triangles = capture_polygons([&] { p.Draw(); });
  ASSERT_EQ(triangles.size(), 2u);
  for (const feedback_polygon& t : triangles) {
    for (const feedback_vertex& v : t) {
      EXPECT_NEAR(v.color[0], 0.5f, kColorTolerance);
      EXPECT_NEAR(v.color[1], 0.07f, kColorTolerance);
      EXPECT_NEAR(v.color[2], 0.99f, kColorTolerance);
      EXPECT_NEAR(v.color[3], 0.35f, kColorTolerance);
    }
  }
}

}  // namespace
