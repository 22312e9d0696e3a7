// glReadPixels of the back buffer, turned top-down.
#include "capture/back_buffer.h"

#include <SDL/SDL_opengl.h>

#include <algorithm>

#include "shell/shell.h"

namespace {

constexpr size_t kBytesPerPixel = 3;  // RGB
constexpr size_t kRowBytes = kScreenWidth * kBytesPerPixel;

}  // namespace

void read_back_buffer(std::vector<Uint8>* rgb) {
  static std::vector<Uint8> bottom_up;
  bottom_up.resize(kRowBytes * kScreenHeight);
  rgb->resize(bottom_up.size());
  // Reading changes only pixel-transfer state, which the show never uses.
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, kScreenWidth, kScreenHeight, GL_RGB, GL_UNSIGNED_BYTE, bottom_up.data());
  for (int y = 0; y < kScreenHeight; ++y) {
    std::copy_n(&bottom_up[(kScreenHeight - 1 - y) * kRowBytes], kRowBytes, &(*rgb)[y * kRowBytes]);
  }
}
