// Times of the canvas painters on plain memory, with Google Benchmark: one canvas update as a
// scene performs it every frame (the shipped picture through the rotator, then the laser) at
// several show times across the laser's two-second cycle, and each painter on its own. The
// figures are nanoseconds per update; one update should stay well under 1 ms.
//
//   canvas_bench [Google Benchmark options]
//
// Needs no display. Reads the picture from data/ in the working directory or in the build folder.
#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "canvas/laser.h"
#include "canvas/rotator.h"

namespace {

constexpr int kCanvasSide = 512;        // the program's canvas
constexpr double kAngleStepMs = 100.0;  // the scenes turn the picture every 100 ms ...
constexpr double kAngleSteps = 5.0;     // ... by 1/5 radian
constexpr int kLaserCycleMs = 2000;     // and run the laser on a two-second cycle

// The picture and the canvas, as the program has them.
struct painting {
  SDL_Surface* picture;
  SDL_Surface* canvas;
  picture_view source;
  canvas_view target;
  rgb_layout canvas_layout;
};

SDL_Surface* load_picture() {
  for (const char* path : {"data/Devil-goat.png", DEMO_DATA_DIR "/Devil-goat.png"}) {
    if (SDL_Surface* picture = IMG_Load(path)) return picture;
  }
  std::fprintf(stderr, "canvas_bench: cannot load Devil-goat.png: %s\n", IMG_GetError());
  std::exit(EXIT_FAILURE);
}

const painting& shared_painting() {
  static const painting p = [] {
    SDL_Surface* picture = load_picture();
    if (picture->format->BytesPerPixel != 4) {
      std::fprintf(stderr, "canvas_bench: the picture is not 4 bytes per pixel\n");
      std::exit(EXIT_FAILURE);
    }
    SDL_Surface* canvas = SDL_CreateRGBSurface(0, kCanvasSide, kCanvasSide, 32, 0, 0, 0, 0);
    return painting{picture,
                    canvas,
                    {static_cast<const Uint8*>(picture->pixels), picture->w, picture->h,
                     picture->pitch, picture->format->BytesPerPixel, layout_of(picture->format)},
                    {static_cast<Uint8*>(canvas->pixels), canvas->pitch, canvas->w, canvas->h},
                    layout_of(canvas->format)};
  }();
  return p;
}

// The picture's angle at a show time, as the scenes derive it.
float angle_at(int show_time) {
  return static_cast<float>(static_cast<int>(show_time / kAngleStepMs) / kAngleSteps);
}

// One canvas update at show time state.range(0): the picture, then the laser.
void canvas_update(benchmark::State& state) {
  const painting& p = shared_painting();
  const int show_time = static_cast<int>(state.range(0));
  const float angle = angle_at(show_time);
  const int phase = show_time % kLaserCycleMs;
  for (auto _ : state) {
    rotate_picture(p.source, angle, p.target, p.canvas_layout);
    paint_laser(p.target, phase);
    benchmark::DoNotOptimize(p.target.pixels);
    benchmark::ClobberMemory();
  }
}

void rotator_only(benchmark::State& state) {
  const painting& p = shared_painting();
  const float angle = angle_at(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    rotate_picture(p.source, angle, p.target, p.canvas_layout);
    benchmark::ClobberMemory();
  }
}

void laser_only(benchmark::State& state) {
  const painting& p = shared_painting();
  const int phase = static_cast<int>(state.range(0)) % kLaserCycleMs;
  for (auto _ : state) {
    paint_laser(p.target, phase);
    benchmark::ClobberMemory();
  }
}

// Show times whose laser phases are 0, 600, 1202 (widest from the left), 1500 and 1999 (widest
// from the right); the angles differ too, so the picture is tilted and enlarged in various ways.
#define SHOW_TIMES ->Arg(0)->Arg(600)->Arg(1202)->Arg(1500)->Arg(1999)->Arg(4800)
BENCHMARK(canvas_update) SHOW_TIMES;
BENCHMARK(rotator_only) SHOW_TIMES;
BENCHMARK(laser_only) SHOW_TIMES;

}  // namespace

BENCHMARK_MAIN();
