// The painters' colour conversions against SDL itself: decode_channel must give what SDL_GetRGB
// gives and encode_rgb what SDL_MapRGB gives, for real SDL formats, including one that loses bits.
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "canvas/pixels.h"

namespace {

struct format_case {
  const char* name;
  int bits;
  Uint32 red, green, blue, alpha;  // masks; all 0 lets SDL choose
};
void PrintTo(const format_case& f, std::ostream* out) {
  *out << f.name;
}

const format_case kFormats[] = {
    {"argb8888", 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000},
    {"abgr8888", 32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000},  // IMG_Load's RGBA PNG
    {"canvas_default", 32, 0, 0, 0, 0},  // the canvas: SDL_CreateRGBSurface(0, 512, 512, 32, 0...)
    {"rgb565", 16, 0xF800, 0x07E0, 0x001F, 0},  // red and blue lose 3 bits, green 2
};

class conversion_test : public ::testing::TestWithParam<format_case> {
 protected:
  void SetUp() override {
    const format_case& f = GetParam();
    surface_ = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, f.bits, f.red, f.green, f.blue, f.alpha);
    ASSERT_NE(surface_, nullptr) << SDL_GetError();
    layout_ = layout_of(surface_->format);
  }
  void TearDown() override { SDL_FreeSurface(surface_); }

  SDL_Surface* surface_ = nullptr;
  rgb_layout layout_{};
};

TEST_P(conversion_test, decode_equals_sdl_get_rgb) {
  std::vector<Uint32> samples = {0, 0xFFFFFFFF, 0x00FFFFFF, 0xFF000000, 0x80808080, 0x01020304};
  if (surface_->format->BitsPerPixel == 16) {
    for (Uint32 p = 0; p <= 0xFFFF; ++p) samples.push_back(p);  // every 16-bit pixel
  } else {
    std::mt19937 random(20240501);  // fixed seed: the same samples every run
    for (int i = 0; i < 100000; ++i) samples.push_back(random());
  }
  for (Uint32 p : samples) {
    Uint8 r, g, b;
    SDL_GetRGB(p, surface_->format, &r, &g, &b);
    ASSERT_EQ(decode_channel(p, layout_.red), r) << std::hex << "pixel 0x" << p;
    ASSERT_EQ(decode_channel(p, layout_.green), g) << std::hex << "pixel 0x" << p;
    ASSERT_EQ(decode_channel(p, layout_.blue), b) << std::hex << "pixel 0x" << p;
  }
}

TEST_P(conversion_test, encode_equals_sdl_map_rgb) {
  constexpr int kStep = 15;  // a 18 × 18 × 18 cube of colours, 0 and 255 included
  for (int r = 0; r <= 255; r += kStep)
    for (int g = 0; g <= 255; g += kStep)
      for (int b = 0; b <= 255; b += kStep)
        ASSERT_EQ(encode_rgb(layout_, r, g, b), SDL_MapRGB(surface_->format, r, g, b))
            << r << "," << g << "," << b;
  for (int v = 0; v <= 255; ++v) {  // every value of every channel, for the bits a loss drops
    const Uint8 other = static_cast<Uint8>(v ^ 0x5A);
    ASSERT_EQ(encode_rgb(layout_, v, other, 255 - v),
              SDL_MapRGB(surface_->format, v, other, 255 - v))
        << v;
  }
}

INSTANTIATE_TEST_SUITE_P(formats, conversion_test, ::testing::ValuesIn(kFormats),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(canvas_format, encodes_as_0x00rrggbb) {
  SDL_Surface* canvas = SDL_CreateRGBSurface(0, 512, 512, 32, 0, 0, 0, 0);
  ASSERT_NE(canvas, nullptr);
  EXPECT_EQ(encode_rgb(layout_of(canvas->format), 0x12, 0x34, 0x56), 0x00123456u);
  EXPECT_EQ(encode_rgb(layout_of(canvas->format), 255, 255, 255), 0x00FFFFFFu);
  SDL_FreeSurface(canvas);
}

}  // namespace
