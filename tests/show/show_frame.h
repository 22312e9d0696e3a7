// Frames of the show for the display tests: a fresh show object per test, one frame at an exact
// show time wrapped the way the frame loop wraps `run`, and readers of what the frame left behind
// (canvas memory, texture image, lit areas of the picture on screen).
#pragma once

#include <SDL/SDL.h>
#include <SDL/SDL_opengl.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "show/intro.h"
#include "support/test_display.h"

// The frame loop's camera: one unit back from the show's origin.
constexpr GLfloat kFrameCameraZ = -1.0f;

// A display test with a show built for it alone (the show's particles are all spent, its canvas
// has never been cleared, `last_clear` is 0).
class show_test : public display_test {
 protected:
  void SetUp() override;
  std::unique_ptr<intro> show;
};

// One frame at `show_time` as the frame loop runs it: clear both buffers, load the identity, step
// back by the camera distance, push, run, then `inspect` (with the matrix the show left), pop.
// Fails the test when the frame raised a GL error or left the matrix stack unbalanced.
void run_frame(
    intro& show, Sint32 show_time, const std::function<void()>& inspect = [] {});

// The canvas's pixel memory, row by row (the canvas rows are exactly 4 × 512 bytes long).
std::vector<Uint8> canvas_bytes(const intro& show);
// The canvas word at (column, row).
Uint32 canvas_pixel(const intro& show, int column, int row);
// Level 0 of the show's texture, read back in `format` (GL_RGB or GL_RGBA) as unsigned bytes.
std::vector<Uint8> texture_image(const intro& show, GLenum format);

// A rectangle of screen pixels, columns left to right and rows top to bottom, inclusive.
struct screen_box {
  int left, top, right, bottom;
  long count;  // how many pixels inside it qualified
};

// The bounding box of the pixels of `frame` (as read_frame returns it) whose brightest channel
// exceeds `threshold`, within `area`; count 0 when there is none.
screen_box lit_bounds(const std::vector<Uint8>& frame, int threshold, const screen_box& area);
screen_box lit_bounds(const std::vector<Uint8>& frame, int threshold);
// Where the eye-space point (x, y, z) lands on the screen under the display's projection, as
// (column, row from the top).
std::pair<double, double> screen_point(double x, double y, double z);
