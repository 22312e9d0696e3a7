// The whole canvas after the shipped picture and the laser are painted into it, against the
// golden hash (see golden_canvas.h).
#include <SDL/SDL_image.h>
#include <gtest/gtest.h>

#include "canvas/laser.h"
#include "canvas/rotator.h"
#include "golden_canvas.h"

namespace {

TEST(golden_canvas, picture_and_laser_paint_the_known_canvas) {
  // Loaded as the program loads it; an RGBA PNG comes as 4-byte pixels and is used as it is.
  SDL_Surface* picture = IMG_Load("data/Devil-goat.png");
  ASSERT_NE(picture, nullptr) << IMG_GetError();
  ASSERT_EQ(picture->format->BytesPerPixel, 4);
  SDL_Surface* canvas = SDL_CreateRGBSurface(0, 512, 512, 32, 0, 0, 0, 0);
  ASSERT_NE(canvas, nullptr);

  const picture_view source = picture_of(picture);
  const canvas_view target = canvas_of(canvas);
  rotate_picture(source, kGoldenAngle, target, layout_of(canvas->format));
  paint_laser(target, kGoldenPhase);
  EXPECT_EQ(canvas_hash(canvas), kGoldenHash) << std::hex << "0x" << canvas_hash(canvas);

  SDL_FreeSurface(canvas);
  SDL_FreeSurface(picture);
}

}  // namespace
