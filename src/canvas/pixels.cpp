// Reading an SDL pixel format into the plain layout the painters use.
#include "canvas/pixels.h"

namespace {

channel_layout channel_of(Uint32 mask, Uint8 shift, Uint8 loss) {
  return {mask, shift, loss};
}

}  // namespace

rgb_layout layout_of(const SDL_PixelFormat* format) {
  return {channel_of(format->Rmask, format->Rshift, format->Rloss),
          channel_of(format->Gmask, format->Gshift, format->Gloss),
          channel_of(format->Bmask, format->Bshift, format->Bloss), format->Amask};
}
