// Culling of panels that lie wholly outside the view volume. A panel is skipped only when all
// four corners of its square lie outside the same clip plane by a safe margin, so a skipped panel
// could not have produced a single fragment; everything else is drawn as before.
#pragma once

#include <array>

// The current projection times model-view matrix, taken from OpenGL once and applied in double
// precision to points of the current model-view frame.
class clip_transform {
 public:
  // Reads GL_PROJECTION_MATRIX and GL_MODELVIEW_MATRIX.
  static clip_transform current();

  // True when the rectangle x0 … x1 × y0 … y1 in the plane z of the frame read lies wholly
  // outside one plane of the view volume, with room to spare for OpenGL's single-precision
  // arithmetic.
  bool outside(double x0, double x1, double y0, double y1, double z) const;

 private:
  std::array<double, 16> m_{};  // column-major, as OpenGL keeps it
};
