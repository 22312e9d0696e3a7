// Frames of the show for the display tests.
#include "show_frame.h"

#include <GL/glu.h>

#include <algorithm>
#include <cstring>

#include "shell/shell.h"

void show_test::SetUp() {
  display_test::SetUp();
  if (IsSkipped()) return;
  show = std::make_unique<intro>();
}

void run_frame(intro& show, Sint32 show_time, const std::function<void()>& inspect) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glTranslatef(0, 0, kFrameCameraZ);
  glPushMatrix();
  show.run_at(show_time);
  inspect();
  glPopMatrix();

  GLint depth = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, 1) << "show time " << show_time;
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "show time " << show_time;
}

std::vector<Uint8> canvas_bytes(const intro& show) {
  const SDL_Surface* c = show.canvas;
  const Uint8* first = static_cast<const Uint8*>(c->pixels);
  return std::vector<Uint8>(first, first + static_cast<size_t>(c->pitch) * c->h);
}

Uint32 canvas_pixel(const intro& show, int column, int row) {
  Uint32 word;
  std::memcpy(&word,
              static_cast<const Uint8*>(show.canvas->pixels) +
                  static_cast<size_t>(row) * show.canvas->pitch + 4 * static_cast<size_t>(column),
              sizeof word);
  return word;
}

std::vector<Uint8> texture_image(const intro& show, GLenum format) {
  const size_t channels = format == GL_RGB ? 3 : 4;
  std::vector<Uint8> texels(channels * kCanvasSize * kCanvasSize);
  glBindTexture(GL_TEXTURE_2D, show.texture);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, texels.data());
  return texels;
}

screen_box lit_bounds(const std::vector<Uint8>& frame, int threshold, const screen_box& area) {
  screen_box found{kScreenWidth, kScreenHeight, -1, -1, 0};
  for (int top = area.top; top <= area.bottom; ++top) {
    const Uint8* row =
        frame.data() + static_cast<size_t>(kScreenHeight - 1 - top) * kScreenWidth * 3;
    for (int x = area.left; x <= area.right; ++x) {
      const Uint8* p = row + 3 * x;
      if (std::max({p[0], p[1], p[2]}) <= threshold) continue;
      found.left = std::min(found.left, x);
      found.right = std::max(found.right, x);
      found.top = std::min(found.top, top);
      found.bottom = std::max(found.bottom, top);
      ++found.count;
    }
  }
  return found;
}

screen_box lit_bounds(const std::vector<Uint8>& frame, int threshold) {
  return lit_bounds(frame, threshold, {0, 0, kScreenWidth - 1, kScreenHeight - 1, 0});
}

std::pair<double, double> screen_point(double x, double y, double z) {
  GLdouble projection[16];
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  const GLdouble identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  GLdouble wx, wy, wz;
  gluProject(x, y, z, identity, projection, viewport, &wx, &wy, &wz);
  return {wx, kScreenHeight - wy};
}
