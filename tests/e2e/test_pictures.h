// Pictures for the show written as PNG files in the layouts a user might supply: 32-bit RGBA as
// the build's own, 24-bit RGB, 8-bit grey and 8-bit palette, of any size. Every picture is white,
// so what the show paints from it stands out on screen as bright, colourless pixels.
#pragma once

#include <string>

enum class png_layout { rgba, rgb, grey, palette };

// Writes a white `width` × `height` picture in `layout` to `path`; throws std::runtime_error when
// the file cannot be written.
void write_white_png(const std::string& path, png_layout layout, int width, int height);
