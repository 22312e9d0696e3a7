// Picture rotator.
//
// Each picture pixel (x, y) goes, source to destination, to column x + c·(y − h/2) + 300 and row
// y − c·(x − w/2), where c = cos(angle). About the picture's centre that is a rotation by atan(c)
// together with an enlargement by sqrt(1 + c²): as the angle grows the picture tilts up to 45°
// each way and swells to 1.41 times its size. The pixel is added, never stored, so the picture
// piles up on the canvas frame after frame and its colours wrap around.
//
// The arithmetic is exact to the bit: c is rounded to single precision, then widened again so the
// products and sums are formed in double precision, and the results are truncated toward zero.
#include "canvas/rotator.h"

#include <cmath>

namespace {

constexpr int kBytesPerPicturePixel = 4;  // each picture pixel is read as one 32-bit word

// The truncated value of `d` lies in [0, limit) exactly when -1 < d < limit; testing the double
// first keeps huge values away from the integer conversion.
inline bool lands_inside(double d, int limit) {
  return d > -1.0 && d < static_cast<double>(limit);
}

}  // namespace

void rotate_picture(const picture_view& picture, float angle, const canvas_view& canvas,
                    const rgb_layout& canvas_layout) {
  const int w = picture.width;
  const int h = picture.height;
  if (picture.pixels == nullptr || canvas.pixels == nullptr) return;
  if (picture.bytes_per_pixel != kBytesPerPicturePixel || w <= 0 || h <= 0) return;
  if (picture.pitch < kBytesPerPicturePixel * w) return;

  const float c = static_cast<float>(std::cos(static_cast<double>(angle)));
  const double cd = c;  // widened before it multiplies: a float product would move pixels
  const int hw = w / 2;
  const int hh = h / 2;
  const int columns = canvas.width < 512 ? canvas.width : 512;  // the canvas is 512 × 512
  const int rows = canvas.height < 512 ? canvas.height : 512;

  for (int y = 0; y < h; ++y) {
    // Rows start on a 32-bit word: the row offset is taken down to a multiple of 4 bytes.
    const size_t row_offset = (static_cast<size_t>(picture.pitch) * y) & ~size_t{3};
    const Uint8* row = picture.pixels + row_offset;
    const double column_base = (y - hh) * cd;
    for (int x = 0; x < w; ++x) {
      const double column = x + column_base + static_cast<double>(kRotatorShiftColumns);
      const double destination_row = y - (x - hw) * cd;
      if (!lands_inside(column, columns) || !lands_inside(destination_row, rows)) continue;

      Uint32 pixel;
      std::memcpy(&pixel, row + kBytesPerPicturePixel * static_cast<size_t>(x), sizeof pixel);
      const Uint8 r = decode_channel(pixel, picture.layout.red);
      const Uint8 g = decode_channel(pixel, picture.layout.green);
      const Uint8 b = decode_channel(pixel, picture.layout.blue);
      add_to_canvas(canvas, static_cast<int>(column), static_cast<int>(destination_row),
                    encode_rgb(canvas_layout, r, g, b));
    }
  }
}
