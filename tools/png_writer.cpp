// PNG output through libpng. Only the image data is written (no time stamp chunk),
// so equal pixels always give an identical file.
#include "png_writer.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kBitDepth = 8;      // 8 bits per channel: what SDL_image loads into RGBA surfaces
constexpr int kRgbaChannels = 4;  // bytes per pixel of the two pixel layouts
constexpr int kRgbChannels = 3;
constexpr int kCompressionLevel = 9;  // smallest file; the picture is tiny so speed does not matter

// Keeps libpng's message and returns to the setjmp point in write_png.
void on_png_error(png_structp png, png_const_charp message) {
  auto* error = static_cast<std::string*>(png_get_error_ptr(png));
  if (error != nullptr) *error = message;
  png_longjmp(png, 1);
}

void on_png_warning(png_structp, png_const_charp) {}

// Writes `channels`-byte pixels of PNG colour type `color_type` with zlib level `level`.
bool write_png(const std::string& path, int width, int height, int channels, int color_type,
               const std::vector<std::uint8_t>& pixels, int level, std::string* error) {
  if (width <= 0 || height <= 0 ||
      pixels.size() !=
          static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * channels) {
    *error = "picture size does not match its pixel data";
    return false;
  }
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    *error = std::strerror(errno);
    return false;
  }
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, error, on_png_error, on_png_warning);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (png == nullptr || info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    std::fclose(file);
    *error = "out of memory";
    return false;
  }
  // Rows are built before setjmp so nothing with a destructor is created after it.
  std::vector<png_bytep> rows(height);
  for (int y = 0; y < height; ++y) {
    rows[y] = const_cast<png_bytep>(&pixels[static_cast<std::size_t>(y) * width * channels]);
  }
  if (setjmp(png_jmpbuf(png))) {
    if (std::ferror(file) != 0) *error = std::strerror(errno);  // "No space left on device"
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return false;
  }
  png_init_io(png, file);
  png_set_compression_level(png, level);
  png_set_IHDR(png, info, width, height, kBitDepth, color_type, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  if (std::fflush(file) != 0 || std::ferror(file) != 0) {
    *error = std::strerror(errno);
    std::fclose(file);
    return false;
  }
  if (std::fclose(file) != 0) {
    *error = std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace

bool write_png_rgba(const std::string& path, int width, int height,
                    const std::vector<std::uint8_t>& rgba, std::string* error) {
  return write_png(path, width, height, kRgbaChannels, PNG_COLOR_TYPE_RGB_ALPHA, rgba,
                   kCompressionLevel, error);
}

bool write_png_rgb(const std::string& path, int width, int height,
                   const std::vector<std::uint8_t>& rgb, int level, std::string* error) {
  return write_png(path, width, height, kRgbChannels, PNG_COLOR_TYPE_RGB, rgb, level, error);
}
