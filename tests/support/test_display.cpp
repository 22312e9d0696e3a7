// The tests' display: the real InitStuff on the X server the test script started.
#include "support/test_display.h"

#include <cstdlib>

#include "shell/shell.h"

namespace {

bool opened = false;

}  // namespace

void open_test_display() {
  if (opened) return;
  setenv("SDL_AUDIODRIVER", "dummy", 0);  // tests never play sound aloud
  opened = InitStuff(SDL_OPENGL);
  ASSERT_TRUE(opened) << "cannot open the test display (is DISPLAY set?)";
  std::atexit(SDL_Quit);
}

bool display_test::display_open() {
  return opened;
}

std::array<GLfloat, 16> modelview_matrix() {
  std::array<GLfloat, 16> m;
  glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
  return m;
}

std::array<GLfloat, 4> current_color() {
  std::array<GLfloat, 4> c;
  glGetFloatv(GL_CURRENT_COLOR, c.data());
  return c;
}

std::array<GLfloat, 3> current_normal() {
  std::array<GLfloat, 3> n;
  glGetFloatv(GL_CURRENT_NORMAL, n.data());
  return n;
}

std::array<GLfloat, 4> light_vector(GLenum light, GLenum parameter) {
  std::array<GLfloat, 4> v{};
  glGetLightfv(light, parameter, v.data());
  return v;
}

std::vector<Uint8> read_frame() {
  std::vector<Uint8> pixels(static_cast<size_t>(kScreenWidth) * kScreenHeight * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glFinish();
  glReadPixels(0, 0, kScreenWidth, kScreenHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}
