// Culling of wholly off-screen panels: clip coordinates of a rectangle's corners, in double
// precision, against the six planes of the view volume.
#include "show/offscreen.h"

#include <SDL/SDL_opengl.h>

#include <cmath>

namespace {

// OpenGL computes the same clip coordinates in single precision, from matrices built in single
// precision: relative errors of about 1e-6. A corner counts as outside a plane only when it is
// beyond it by a thousandth of its coordinates' size (plus a little), which dwarfs those errors
// and amounts to a pixel or two; a panel that near the edge of the view is simply drawn.
constexpr double kRelativeMargin = 1e-3;
constexpr double kAbsoluteMargin = 1e-4;

constexpr int kCorners = 4;
constexpr int kPlanes = 6;  // left, right, bottom, top, near, far

}  // namespace

clip_transform clip_transform::current() {
  std::array<double, 16> projection;
  std::array<double, 16> modelview;
  glGetDoublev(GL_PROJECTION_MATRIX, projection.data());
  glGetDoublev(GL_MODELVIEW_MATRIX, modelview.data());
  clip_transform t;
  for (int col = 0; col < 4; ++col) {
    for (int row = 0; row < 4; ++row) {
      double sum = 0;
      for (int k = 0; k < 4; ++k) sum += projection[k * 4 + row] * modelview[col * 4 + k];
      t.m_[col * 4 + row] = sum;
    }
  }
  return t;
}

bool clip_transform::outside(double x0, double x1, double y0, double y1, double z) const {
  const double corners[kCorners][2] = {{x0, y0}, {x1, y0}, {x0, y1}, {x1, y1}};
  // beyond[p][c]: corner c lies outside plane p by more than the margin.
  bool beyond[kPlanes][kCorners];
  for (int c = 0; c < kCorners; ++c) {
    double clip[4];
    for (int row = 0; row < 4; ++row) {
      clip[row] =
          m_[row] * corners[c][0] + m_[4 + row] * corners[c][1] + m_[8 + row] * z + m_[12 + row];
    }
    const double w = clip[3];
    const double margin = kRelativeMargin * (std::fabs(clip[0]) + std::fabs(clip[1]) +
                                             std::fabs(clip[2]) + std::fabs(w)) +
                          kAbsoluteMargin;
    for (int axis = 0; axis < 3; ++axis) {
      beyond[2 * axis][c] = -clip[axis] - w > margin;     // x < −w, y < −w, z < −w
      beyond[2 * axis + 1][c] = clip[axis] - w > margin;  // x > w, y > w, z > w
    }
  }
  for (int p = 0; p < kPlanes; ++p) {
    bool all = true;
    for (int c = 0; c < kCorners; ++c) all = all && beyond[p][c];
    if (all) return true;
  }
  return false;
}
