// Small pictures in the formats a picture file may come in besides 32-bit colour: a colour palette,
// grey levels (a palette of greys) and 24-bit colour. They are written as BMP files; the image
// library recognises a format by the file's content, so the file may bear a .png name.
#pragma once

#include <SDL/SDL.h>

#include <string>

enum class picture_kind { palette, grey, rgb24 };

constexpr int kTestPictureWidth = 64;
constexpr int kTestPictureHeight = 48;

// The palette index of the indexed test pictures at column x, row y.
inline Uint8 test_picture_index(int x, int y) {
  return static_cast<Uint8>((x * 7 + y * 3) & 0xFF);
}

// Entry `index` of the indexed test pictures' palette, as 0xRRGGBB.
inline Uint32 test_palette_color(picture_kind kind, Uint32 index) {
  if (kind == picture_kind::grey) return index * 0x010101u;
  return index << 16 | (0xFF - index) << 8 | ((index * 5) & 0xFF);
}

// The colour, as 0xRRGGBB, of the test picture of `kind` at column x, row y.
inline Uint32 test_picture_color(picture_kind kind, int x, int y) {
  if (kind != picture_kind::rgb24) return test_palette_color(kind, test_picture_index(x, y));
  return static_cast<Uint32>(x * 4 & 0xFF) << 16 | static_cast<Uint32>(y * 5 & 0xFF) << 8 |
         static_cast<Uint32>((x + y) * 3 & 0xFF);
}

// Writes the test picture of `kind` to `path`; false when SDL could not.
inline bool write_test_picture(const std::string& path, picture_kind kind) {
  const bool indexed = kind != picture_kind::rgb24;
  SDL_Surface* s = indexed
                       ? SDL_CreateRGBSurface(SDL_SWSURFACE, kTestPictureWidth, kTestPictureHeight,
                                              8, 0, 0, 0, 0)
                       : SDL_CreateRGBSurface(SDL_SWSURFACE, kTestPictureWidth, kTestPictureHeight,
                                              24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
  if (s == nullptr) return false;
  if (indexed) {
    SDL_Color colors[256];
    for (Uint32 i = 0; i < 256; ++i) {
      const Uint32 c = test_palette_color(kind, i);
      colors[i] = {static_cast<Uint8>(c >> 16), static_cast<Uint8>(c >> 8), static_cast<Uint8>(c),
                   0};
    }
    SDL_SetColors(s, colors, 0, 256);
  }
  auto* row = static_cast<Uint8*>(s->pixels);
  for (int y = 0; y < kTestPictureHeight; ++y, row += s->pitch) {
    for (int x = 0; x < kTestPictureWidth; ++x) {
      if (indexed) {
        row[x] = test_picture_index(x, y);
      } else {
        const Uint32 c = test_picture_color(kind, x, y);
        Uint8* p = row + 3 * x;  // little-endian 24-bit: blue, green, red
        p[0] = static_cast<Uint8>(c);
        p[1] = static_cast<Uint8>(c >> 8);
        p[2] = static_cast<Uint8>(c >> 16);
      }
    }
  }
  const bool saved = SDL_SaveBMP(s, path.c_str()) == 0;
  SDL_FreeSurface(s);
  return saved;
}
