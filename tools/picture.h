// Draws the horned goat's head emblem shown by the demo.
#pragma once

#include <cstdint>
#include <vector>

constexpr int kPictureSize = 256;  // square texture edge, a power of two for OpenGL 1.x

// Returns size*size RGBA pixels (8 bits per channel, rows top to bottom, opaque).
std::vector<std::uint8_t> draw_goat_emblem(int size);
