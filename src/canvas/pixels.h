// Plain-memory views of the canvas and the picture, and the colour conversions between them.
//
// The painters never see a window or a surface: they get a pixel pointer, a pitch and a size,
// so they can be tested and timed on ordinary buffers. The conversions reproduce SDL's
// SDL_GetRGB and SDL_MapRGB for formats without a palette, which are the only ones painted.
#pragma once

#include <SDL/SDL.h>

#include <cstring>

// A 32-bit canvas: `pixels` points at row 0 and rows lie `pitch` bytes apart.
struct canvas_view {
  Uint8* pixels;
  int pitch;
  int width;
  int height;
};

// How one colour channel sits in a packed pixel (mask, shift and precision loss as SDL keeps them).
struct channel_layout {
  Uint32 mask;
  Uint8 shift;
  Uint8 loss;
};

// The red, green and blue channels of a packed pixel format, plus the alpha bits it always sets.
struct rgb_layout {
  channel_layout red, green, blue;
  Uint32 alpha_mask;
};

// The layout of an SDL format; `format` must have no palette.
rgb_layout layout_of(const SDL_PixelFormat* format);

// SDL_GetRGB for one channel: the channel's bits widened to 8, with the high bits repeated below.
inline Uint8 decode_channel(Uint32 pixel, const channel_layout& ch) {
  const unsigned v = (pixel & ch.mask) >> ch.shift;
  const int refill = 8 - (ch.loss << 1);  // how far the high bits are shifted back in
  const unsigned low = (refill >= 0 && refill < 32) ? (v >> refill) : 0;
  return static_cast<Uint8>((v << ch.loss) + low);
}

// SDL_MapRGB for a format without a palette.
inline Uint32 encode_rgb(const rgb_layout& f, Uint8 r, Uint8 g, Uint8 b) {
  return (Uint32(r >> f.red.loss) << f.red.shift) | (Uint32(g >> f.green.loss) << f.green.shift) |
         (Uint32(b >> f.blue.loss) << f.blue.shift) | f.alpha_mask;
}

// A picture of 4-byte pixels: `pixels` points at row 0 and rows lie `pitch` bytes apart.
struct picture_view {
  const Uint8* pixels;
  int width;
  int height;
  int pitch;
  int bytes_per_pixel;
  rgb_layout layout;
};

// The views of an SDL surface's pixel memory (the surface must not be locked by RLE).
inline canvas_view canvas_of(SDL_Surface* surface) {
  return {static_cast<Uint8*>(surface->pixels), surface->pitch, surface->w, surface->h};
}
inline picture_view picture_of(const SDL_Surface* surface) {
  return {static_cast<const Uint8*>(surface->pixels),
          surface->w,
          surface->h,
          surface->pitch,
          surface->format->BytesPerPixel,
          layout_of(surface->format)};
}

// Adds `value` to the canvas word at (column, row), modulo 2^32: channels carry into each other
// and nothing saturates. The caller keeps (column, row) inside the canvas.
inline void add_to_canvas(const canvas_view& canvas, int column, int row, Uint32 value) {
  Uint8* at =
      canvas.pixels + static_cast<size_t>(row) * canvas.pitch + 4 * static_cast<size_t>(column);
  Uint32 word;
  std::memcpy(&word, at, sizeof word);
  word += value;
  std::memcpy(at, &word, sizeof word);
}

// The canvas word at (column, row).
inline Uint32 canvas_word(const canvas_view& canvas, int column, int row) {
  Uint32 word;
  std::memcpy(
      &word,
      canvas.pixels + static_cast<size_t>(row) * canvas.pitch + 4 * static_cast<size_t>(column),
      sizeof word);
  return word;
}
