// The show's canvas painters: thin members that hand the canvas and picture memory to the plain
// painters in canvas/.
#include <cstdlib>

#include "canvas/laser.h"
#include "canvas/line.h"
#include "canvas/rotator.h"
#include "show/intro.h"

void intro::rotator(SDL_Surface* source, float angle) {
  if (source == nullptr || canvas == nullptr) return;  // a missing picture paints nothing
  rotate_picture(picture_of(source), angle, canvas_of(canvas), layout_of(canvas->format));
}

void intro::razer() {
  for_each_laser_line(phase, [this](Uint32 color, int x1, int y1, int x2, int y2) {
    line_color = color;
    draw_line(x1, y1, x2, y2);
  });
}

void intro::draw_line(int x1, int y1, int x2, int y2) {
  SDL_LockSurface(canvas);
  draw_line_pixels(canvas_of(canvas), phase, line_color, x1, y1, x2, y2);
  SDL_UnlockSurface(canvas);
}
