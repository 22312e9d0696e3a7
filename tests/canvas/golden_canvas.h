// The golden canvas: the shipped picture painted by the rotator at one angle, then the laser at
// one phase, on a black canvas, exactly as a scene paints its first frame after a clear at show
// time 5 s. The whole canvas is summed up by one FNV-1a hash.
//
// The hash was derived once by painting the same canvas with a separate, plain program written
// straight from the painters' rules (every picture pixel mapped, truncated and converted with
// SDL_GetRGB / SDL_MapRGB; every laser line walked step by step over its whole length) and checked
// to agree with these painters. The data generator is deterministic, so the picture, and with it
// the hash, is fixed. It guards the painting as a whole: a change means a pixel of the picture or
// the laser moved or changed colour (another rounding of the tilt, a lost carry, a glow copy off by
// a row, the picture's format read another way, the intro loading the picture differently), or
// that the picture generator itself changed, in which case the hash must be derived again.
#pragma once

#include <SDL/SDL.h>

constexpr float kGoldenAngle = 10.0f;  // the scenes' angle at 5000 ms: (5000 / 100) / 5 radians
constexpr int kGoldenPhase = 1000;     // and the laser phase: 5000 % 2000
constexpr Uint64 kGoldenHash = 0xbc6cd92456c9633cull;

// FNV-1a (64 bits) over the canvas words row by row, each word's bytes from the lowest up.
inline Uint64 canvas_hash(const SDL_Surface* canvas) {
  constexpr Uint64 kOffsetBasis = 0xcbf29ce484222325ull;
  constexpr Uint64 kPrime = 0x100000001b3ull;
  Uint64 hash = kOffsetBasis;
  for (int row = 0; row < canvas->h; ++row) {
    const Uint32* words = reinterpret_cast<const Uint32*>(
        static_cast<const Uint8*>(canvas->pixels) + row * canvas->pitch);
    for (int column = 0; column < canvas->w; ++column) {
      for (int shift = 0; shift < 32; shift += 8) {
        hash ^= (words[column] >> shift) & 0xFF;
        hash *= kPrime;
      }
    }
  }
  return hash;
}
