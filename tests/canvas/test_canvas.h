// A 512 × 512 canvas in plain heap memory for the painter tests, fenced by guard words so that a
// write just outside it shows, plus a listing of the pixels a painter changed.
#pragma once

#include <SDL/SDL.h>

#include <algorithm>
#include <cstring>
#include <ostream>
#include <tuple>
#include <vector>

#include "canvas/pixels.h"

constexpr int kTestCanvasSide = 512;        // the program's canvas size
constexpr size_t kGuardWords = 2 * 512;     // two rows' worth of guard words on either side
constexpr Uint32 kGuardValue = 0xDEADBEEF;  // what the guard words hold

// One canvas word: its place and value.
struct pixel {
  int column;
  int row;
  Uint32 value;
  bool operator==(const pixel& o) const {
    return column == o.column && row == o.row && value == o.value;
  }
  bool operator<(const pixel& o) const {
    return std::tie(row, column, value) < std::tie(o.row, o.column, o.value);
  }
};

inline std::ostream& operator<<(std::ostream& out, const pixel& p) {
  return out << "(" << p.column << "," << p.row << ")=0x" << std::hex << p.value << std::dec;
}

class guarded_canvas {
 public:
  guarded_canvas() : words_(2 * kGuardWords + kWords, 0) {
    std::fill(words_.begin(), words_.begin() + kGuardWords, kGuardValue);
    std::fill(words_.end() - kGuardWords, words_.end(), kGuardValue);
  }

  canvas_view view() {
    return {reinterpret_cast<Uint8*>(first()), kTestCanvasSide * 4, kTestCanvasSide,
            kTestCanvasSide};
  }
  Uint32 at(int column, int row) const { return first()[row * kTestCanvasSide + column]; }
  void set(int column, int row, Uint32 value) { first()[row * kTestCanvasSide + column] = value; }
  void add(int column, int row, Uint32 value) { first()[row * kTestCanvasSide + column] += value; }

  // The pixels that are not 0, row by row.
  std::vector<pixel> changed() const {
    std::vector<pixel> out;
    for (int row = 0; row < kTestCanvasSide; ++row)
      for (int column = 0; column < kTestCanvasSide; ++column)
        if (at(column, row) != 0) out.push_back({column, row, at(column, row)});
    return out;
  }

  bool guards_intact() const {
    return std::all_of(words_.begin(), words_.begin() + kGuardWords,
                       [](Uint32 w) { return w == kGuardValue; }) &&
           std::all_of(words_.end() - kGuardWords, words_.end(),
                       [](Uint32 w) { return w == kGuardValue; });
  }

  bool operator==(const guarded_canvas& o) const { return words_ == o.words_; }

 private:
  static constexpr size_t kWords = size_t{kTestCanvasSide} * kTestCanvasSide;
  Uint32* first() { return words_.data() + kGuardWords; }
  const Uint32* first() const { return words_.data() + kGuardWords; }
  std::vector<Uint32> words_;
};

// A real SDL pixel format with these bits and masks (all masks 0: SDL's default), kept alive by a
// 1 × 1 surface.
class sdl_format {
 public:
  sdl_format(int bits, Uint32 red, Uint32 green, Uint32 blue, Uint32 alpha)
      : surface_(SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, bits, red, green, blue, alpha)) {}
  ~sdl_format() { SDL_FreeSurface(surface_); }
  sdl_format(const sdl_format&) = delete;
  sdl_format& operator=(const sdl_format&) = delete;
  const SDL_PixelFormat* format() const { return surface_->format; }
  rgb_layout layout() const { return layout_of(surface_->format); }

 private:
  SDL_Surface* surface_;
};

// The canvas's format as the program creates it (0x00RRGGBB), and the one IMG_Load gives an RGBA
// PNG on a little-endian machine (red in the low byte, alpha in the top byte).
inline const sdl_format& canvas_format() {
  static const sdl_format f(32, 0, 0, 0, 0);
  return f;
}
inline const sdl_format& png_rgba_format() {
  static const sdl_format f(32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000);
  return f;
}

// Sorted copy, for comparing pixel lists.
inline std::vector<pixel> sorted(std::vector<pixel> pixels) {
  std::sort(pixels.begin(), pixels.end());
  return pixels;
}
