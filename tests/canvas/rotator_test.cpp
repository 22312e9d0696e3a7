// The picture rotator: where small pictures land pixel by pixel, how the paint adds and carries,
// which parts of a picture hanging off the canvas are painted, that pictures it cannot read paint
// nothing, and that big or tightly allocated pictures are read and written only inside bounds.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <random>
#include <vector>

#include "canvas/rotator.h"
#include "test_canvas.h"

namespace {

constexpr float kPi = 3.14159265f;  // as a float: cos of it rounds to exactly -1
constexpr int kPixelBytes = 4;

// A picture of 32-bit pixels in a heap buffer of exactly pitch × height bytes, so that
// AddressSanitizer sees any read past its end.
class test_picture {
 public:
  test_picture(int width, int height, int pitch)
      : width_(width), height_(height), pitch_(pitch), bytes_(size_t(pitch) * height) {}
  test_picture(int width, int height) : test_picture(width, height, kPixelBytes * width) {}

  // Rows start at pitch · y taken down to a whole word, as the rotator reads them.
  size_t offset(int x, int y) const { return (size_t(pitch_) * y & ~size_t{3}) + kPixelBytes * x; }
  void set(int x, int y, Uint32 value) { std::memcpy(&bytes_[offset(x, y)], &value, 4); }
  Uint32 get(int x, int y) const {
    Uint32 value;
    std::memcpy(&value, &bytes_[offset(x, y)], 4);
    return value;
  }
  void fill(Uint32 value) {
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) set(x, y, value);
  }
  picture_view view(const sdl_format& format) const {
    return {bytes_.data(), width_, height_, pitch_, kPixelBytes, format.layout()};
  }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  int width_, height_, pitch_;
  std::vector<Uint8> bytes_;
};

// A distinct canvas-format value for every source pixel of a small picture.
Uint32 tag(int x, int y) {
  return 0x010000u * (x + 1) + 0x000100u * (y + 1) + 0x07u;
}

void rotate(const test_picture& picture, float angle, guarded_canvas& canvas,
            const sdl_format& picture_format = canvas_format()) {
  rotate_picture(picture.view(picture_format), angle, canvas.view(), canvas_format().layout());
}

// The rotator as the program defines it, with nothing left out: every source pixel mapped,
// truncated, tested against the canvas, converted with SDL's own functions and added.
void reference_rotation(const test_picture& picture, float angle, const sdl_format& picture_format,
                        guarded_canvas& canvas) {
  const double c = static_cast<float>(std::cos(static_cast<double>(angle)));
  const int hw = picture.width() / 2, hh = picture.height() / 2;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const double column = std::trunc(x + (y - hh) * c + 300.0);
      const double row = std::trunc(y - (x - hw) * c);
      if (column < 0 || column > 511 || row < 0 || row > 511) continue;
      Uint8 r, g, b;
      SDL_GetRGB(picture.get(x, y), const_cast<SDL_PixelFormat*>(picture_format.format()), &r, &g,
                 &b);
      canvas.add(int(column), int(row),
                 SDL_MapRGB(const_cast<SDL_PixelFormat*>(canvas_format().format()), r, g, b));
    }
  }
}

struct landing {
  int x, y;         // source pixel
  int column, row;  // where it lands; off the canvas it is dropped
};

struct example_case {
  const char* name;
  int width, height;
  float angle;
  std::vector<landing> landings;  // one for every source pixel
};
void PrintTo(const example_case& e, std::ostream* out) {
  *out << e.name;
}

const example_case kExamples[] = {
    {"angle_0_4x2",
     4,
     2,
     0.0f,
     {{0, 0, 299, 2},
      {1, 0, 300, 1},
      {2, 0, 301, 0},
      {3, 0, 302, -1},
      {0, 1, 300, 3},
      {1, 1, 301, 2},
      {2, 1, 302, 1},
      {3, 1, 303, 0}}},
    {"angle_1_2x2", 2, 2, 1.0f, {{0, 0, 299, 0}, {1, 0, 300, 0}, {0, 1, 300, 1}, {1, 1, 301, 1}}},
    // c = -0.416: row trunc(-0.416) = 0 is painted, not dropped.
    {"angle_2_3x1", 3, 1, 2.0f, {{0, 0, 300, 0}, {1, 0, 301, 0}, {2, 0, 302, 0}}},
    {"angle_pi_2x2", 2, 2, kPi, {{0, 0, 301, -1}, {1, 0, 302, 0}, {0, 1, 300, 0}, {1, 1, 301, 1}}},
    // c = -4.4e-8: truncation sends (0,0) and (0,1) to the same canvas pixel, which gets both.
    {"angle_half_pi_2x3",
     2,
     3,
     kPi / 2,
     {{0, 0, 300, 0},
      {0, 1, 300, 0},
      {0, 2, 299, 1},
      {1, 0, 301, 0},
      {1, 1, 301, 1},
      {1, 2, 300, 2}}},
};

class rotator_example : public ::testing::TestWithParam<example_case> {};

TEST_P(rotator_example, paints_exactly_the_mapped_pixels) {
  const example_case& e = GetParam();
  ASSERT_EQ(e.landings.size(), size_t(e.width * e.height));
  test_picture picture(e.width, e.height);
  std::map<std::pair<int, int>, Uint32> expected;  // (row, column) → sum of what lands there
  for (const landing& l : e.landings) {
    picture.set(l.x, l.y, tag(l.x, l.y));
    if (l.column >= 0 && l.column <= 511 && l.row >= 0 && l.row <= 511)
      expected[{l.row, l.column}] += tag(l.x, l.y);
  }
  std::vector<pixel> expected_pixels;
  for (const auto& [place, value] : expected)
    expected_pixels.push_back({place.second, place.first, value});

  guarded_canvas canvas;
  rotate(picture, e.angle, canvas);
  EXPECT_EQ(canvas.changed(), sorted(expected_pixels));
  EXPECT_TRUE(canvas.guards_intact());
}

INSTANTIATE_TEST_SUITE_P(examples, rotator_example, ::testing::ValuesIn(kExamples),
                         [](const auto& info) { return std::string(info.param.name); });

// A 1 × 1 picture lands on (300, 0) at angle 0; its colour is converted to the canvas's layout.
struct conversion_case {
  const char* name;
  const sdl_format& format;
  Uint32 picture_pixel;
  Uint32 canvas_word;
};

TEST(rotator, converts_the_colour_and_ignores_alpha) {
  const sdl_format argb(32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
  const conversion_case cases[] = {
      {"png_rgba", png_rgba_format(), 0x80112233, 0x00332211},
      {"argb", argb, 0xFF123456, 0x00123456},
      {"canvas_layout", canvas_format(), 0xAB123456, 0x00123456},  // top byte is no channel
  };
  for (const conversion_case& c : cases) {
    SCOPED_TRACE(c.name);
    test_picture picture(1, 1);
    picture.set(0, 0, c.picture_pixel);
    guarded_canvas canvas;
    rotate(picture, 0.0f, canvas, c.format);
    EXPECT_EQ(canvas.changed(), (std::vector<pixel>{{300, 0, c.canvas_word}}));
  }
}

TEST(rotator, adds_modulo_2_32_with_carries) {
  struct {
    Uint32 before;
    int calls;
    Uint32 after;
  } const cases[] = {
      {0x00FFFFFF, 1, 0x01FFFFFE},  // the carry reaches the top byte
      {0x00000000, 2, 0x01FFFFFE},  // two calls add the picture twice
      {0xFF000001, 1, 0x00000000},  // a carry out of the top byte is lost
  };
  for (const auto& c : cases) {
    test_picture picture(1, 1);
    picture.set(0, 0, 0xFFFFFFFF);  // white with alpha set: encoded 0x00FFFFFF
    guarded_canvas canvas;
    canvas.set(300, 0, c.before);
    for (int i = 0; i < c.calls; ++i) rotate(picture, 0.0f, canvas, png_rgba_format());
    EXPECT_EQ(canvas.at(300, 0), c.after) << std::hex << c.before << " × " << c.calls;
  }
}

// White one-pixel-wide pictures that hang off the canvas: the part inside is a straight run of
// pixels from (column, row) in steps of (dc, dr).
TEST(rotator, paints_only_the_part_inside_the_canvas) {
  struct {
    const char* name;
    int width, height;
    float angle;
    int column, row, dc, dr, count;
  } const cases[] = {
      {"past_right_and_top", 600, 1, 0.0f, 300, 300, 1, -1, 212},  // (x+300, 300−x), x ≤ 211
      {"before_left_past_bottom", 1, 800, 0.0f, 0, 100, 1, 1, 412},  // (y−100, y), 100 ≤ y ≤ 511
      {"all_outside", 800, 1, kPi, 0, 0, 0, 0, 0},  // (x+300, x−400): never both inside
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test_picture picture(c.width, c.height);
    picture.fill(0x00FFFFFF);
    guarded_canvas canvas;
    rotate(picture, c.angle, canvas);
    std::vector<pixel> expected;
    for (int i = 0; i < c.count; ++i)
      expected.push_back({c.column + i * c.dc, c.row + i * c.dr, 0x00FFFFFF});
    EXPECT_EQ(canvas.changed(), sorted(expected));
    EXPECT_TRUE(canvas.guards_intact());
  }
}

TEST(rotator, paints_nothing_from_a_picture_it_cannot_read) {
  test_picture picture(8, 8);
  picture.fill(0x00FFFFFF);
  const picture_view good = picture.view(canvas_format());
  struct {
    const char* name;
    picture_view view;
  } cases[] = {{"no_pixels", good},         {"3_bytes_per_pixel", good},
               {"2_bytes_per_pixel", good}, {"pitch_short_by_one", good},
               {"pitch_0", good},           {"empty", good}};
  cases[0].view.pixels = nullptr;
  cases[1].view.bytes_per_pixel = 3;
  cases[2].view.bytes_per_pixel = 2;
  cases[3].view.pitch = 4 * 8 - 1;
  cases[4].view.pitch = 0;
  cases[5].view.width = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    guarded_canvas canvas;
    rotate_picture(c.view, 0.0f, canvas.view(), canvas_format().layout());
    EXPECT_TRUE(canvas.changed().empty());
    EXPECT_TRUE(canvas.guards_intact());
  }
}

// Pictures of random pixels against the reference: tight and padded rows, a pitch that is not a
// whole number of words, and a picture far bigger than the canvas. The buffers are exactly
// pitch × height bytes, so AddressSanitizer catches any read past them; the guards catch writes.
TEST(rotator, matches_the_reference_pixel_for_pixel) {
  struct {
    int width, height, pitch;
    float angle;
  } const cases[] = {
      {37, 23, 4 * 37, 0.7f},   {37, 23, 4 * 37 + 4, 2.9f}, {5, 7, 4 * 5 + 2, 1.3f},
      {256, 256, 1024, 2.6f},   {2000, 1500, 8000, 0.0f},   {2000, 1500, 8000, 1.0f},
      {2000, 1500, 8000, 2.6f}, {2000, 1500, 8000, kPi},
  };
  std::mt19937 random(7);  // fixed seed: the same pictures every run
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.width << "x" << c.height << " pitch " << c.pitch << " angle " << c.angle);
    test_picture picture(c.width, c.height, c.pitch);
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x) picture.set(x, y, random());
    guarded_canvas painted, expected;
    rotate(picture, c.angle, painted, png_rgba_format());
    reference_rotation(picture, c.angle, png_rgba_format(), expected);
    EXPECT_TRUE(painted == expected);
    EXPECT_TRUE(painted.guards_intact());
  }
}

}  // namespace
