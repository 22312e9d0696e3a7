// libpng's simplified write API: one call per picture, no setjmp. A palette picture is written
// from indices into a colour map of two entries (black and white) and uses the white one.
#include "test_pictures.h"

#include <png.h>

#include <stdexcept>
#include <vector>

namespace {

constexpr png_byte kWhite = 0xFF;
constexpr png_byte kWhiteIndex = 1;  // colour map entry 1 is white
constexpr png_uint_32 kColourMapEntries = 2;

struct layout_info {
  png_uint_32 format;
  int channels;
  png_byte sample;  // every sample of a white pixel
};

layout_info info_of(png_layout layout) {
  switch (layout) {
    case png_layout::rgba:
      return {PNG_FORMAT_RGBA, 4, kWhite};
    case png_layout::rgb:
      return {PNG_FORMAT_RGB, 3, kWhite};
    case png_layout::grey:
      return {PNG_FORMAT_GRAY, 1, kWhite};
    case png_layout::palette:
      return {PNG_FORMAT_RGB_COLORMAP, 1, kWhiteIndex};
  }
  throw std::logic_error("unknown layout");
}

}  // namespace

void write_white_png(const std::string& path, png_layout layout, int width, int height) {
  const layout_info l = info_of(layout);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = l.format;
  const png_byte colour_map[kColourMapEntries * 3] = {0, 0, 0, kWhite, kWhite, kWhite};
  if (layout == png_layout::palette) image.colormap_entries = kColourMapEntries;
  const std::vector<png_byte> pixels(static_cast<size_t>(width) * height * l.channels, l.sample);
  if (png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0,
                              layout == png_layout::palette ? colour_map : nullptr) == 0)
    throw std::runtime_error("cannot write " + path + ": " + image.message);
}
