// What a piece of OpenGL drawing sends down the pipeline, read back through GL feedback mode: the
// polygons it yields, with each vertex's eye-space position, colour and texture coordinates.
#pragma once

#include <SDL/SDL_opengl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <vector>

struct feedback_vertex {
  std::array<float, 3> position;  // eye space: the model-view matrix has been applied
  std::array<float, 4> color;
  std::array<float, 4> tex;  // s, t, r, q after the texture matrix
};
using feedback_polygon = std::vector<feedback_vertex>;

// Half the side of the orthographic box the readback projects through: large enough that nothing
// a test draws is clipped (clipping would split polygons), small enough to keep precision.
constexpr double kFeedbackExtent = 8.0;
// Room for a few thousand triangles.
constexpr int kFeedbackFloats = 1 << 17;

// Runs `draw` in feedback mode under an orthographic projection of the box ±kFeedbackExtent and
// returns the polygons it produced, positions mapped back to eye space. The projection and the
// render mode are restored; the model-view matrix is the caller's.
inline std::vector<feedback_polygon> capture_polygons(const std::function<void()>& draw) {
  constexpr int kVertexFloats = 3 + 4 + 4;  // GL_3D_COLOR_TEXTURE in RGBA mode
  std::vector<GLfloat> buffer(kFeedbackFloats);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  glFeedbackBuffer(kFeedbackFloats, GL_3D_COLOR_TEXTURE, buffer.data());
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(-kFeedbackExtent, kFeedbackExtent, -kFeedbackExtent, kFeedbackExtent, -kFeedbackExtent,
          kFeedbackExtent);
  glMatrixMode(GL_MODELVIEW);
  glRenderMode(GL_FEEDBACK);
  draw();
  const GLint used = glRenderMode(GL_RENDER);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);

  std::vector<feedback_polygon> polygons;
  EXPECT_GE(used, 0) << "feedback buffer overflow";
  // Window coordinates back to the box: x_w = (x / E + 1) · width / 2 + left, and z_w = (1 − z / E)
  // / 2 for the orthographic box (depth range 0 … 1).
  const auto vertex_at = [&](GLint at) {
    feedback_vertex v;
    v.position = {static_cast<float>(((buffer[at] - viewport[0]) * 2.0 / viewport[2] - 1.0) *
                                     kFeedbackExtent),
                  static_cast<float>(((buffer[at + 1] - viewport[1]) * 2.0 / viewport[3] - 1.0) *
                                     kFeedbackExtent),
                  static_cast<float>((1.0 - 2.0 * buffer[at + 2]) * kFeedbackExtent)};
    for (int i = 0; i < 4; ++i) v.color[i] = buffer[at + 3 + i];
    for (int i = 0; i < 4; ++i) v.tex[i] = buffer[at + 7 + i];
    return v;
  };
  for (GLint at = 0; at < used;) {
    const auto token = static_cast<GLint>(buffer[at]);
    if (token != GL_POLYGON_TOKEN) {
      ADD_FAILURE() << "unexpected feedback token " << token;
      break;
    }
    const auto count = static_cast<GLint>(buffer[at + 1]);
    at += 2;
    feedback_polygon polygon;
    for (GLint k = 0; k < count; ++k, at += kVertexFloats) polygon.push_back(vertex_at(at));
    polygons.push_back(polygon);
  }
  return polygons;
}

inline bool same_vertex(const feedback_vertex& a, const feedback_vertex& b, float tolerance) {
  for (int i = 0; i < 3; ++i)
    if (std::fabs(a.position[i] - b.position[i]) > tolerance) return false;
  for (int i = 0; i < 4; ++i)
    if (std::fabs(a.tex[i] - b.tex[i]) > tolerance) return false;
  return true;
}

// The vertex sequence of one triangle strip, rebuilt from the triangles it produced: the first
// triangle gives the first three vertices, and each later triangle must hold the two latest ones
// and adds the third. Empty when the triangles do not chain as one strip.
inline std::vector<feedback_vertex> strip_vertices(const std::vector<feedback_polygon>& triangles,
                                                   float tolerance) {
  if (triangles.empty() || triangles[0].size() != 3) return {};
  std::vector<feedback_vertex> strip(triangles[0].begin(), triangles[0].end());
  for (size_t k = 1; k < triangles.size(); ++k) {
    const feedback_polygon& t = triangles[k];
    if (t.size() != 3) return {};
    const feedback_vertex& older = strip[strip.size() - 2];
    const feedback_vertex& newer = strip[strip.size() - 1];
    int fresh = -1;
    int shared = 0;
    for (int i = 0; i < 3; ++i) {
      if (same_vertex(t[i], older, tolerance) || same_vertex(t[i], newer, tolerance)) {
        ++shared;
      } else {
        fresh = i;
      }
    }
    if (shared != 2 || fresh < 0) return {};
    strip.push_back(t[fresh]);
  }
  return strip;
}

// Twice the signed area of a polygon's first three vertices in the x-y plane: positive when they
// run counter-clockwise seen from +z.
inline float doubled_area(const feedback_polygon& p) {
  return (p[1].position[0] - p[0].position[0]) * (p[2].position[1] - p[0].position[1]) -
         (p[2].position[0] - p[0].position[0]) * (p[1].position[1] - p[0].position[1]);
}
