// Saves RGBA pixels as a PNG file with libpng.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes width*height RGBA pixels (8 bits per channel, rows top to bottom) to `path`.
// Returns false and sets `error` to a short message on failure.
bool write_png_rgba(const std::string& path, int width, int height,
                    const std::vector<std::uint8_t>& rgba, std::string* error);

// Writes width*height RGB pixels (8 bits per channel, rows top to bottom) to `path` with zlib
// compression `level` (0 to 9: low levels are quicker, high ones smaller).
// Returns false and sets `error` to a short message on failure.
bool write_png_rgb(const std::string& path, int width, int height,
                   const std::vector<std::uint8_t>& rgb, int level, std::string* error);
