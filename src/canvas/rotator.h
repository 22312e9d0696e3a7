// The picture rotator: carries every picture pixel to a new place on the canvas and adds it there.
#pragma once

#include "canvas/pixels.h"

// Horizontal displacement of the picture's centre on the canvas, in columns.
constexpr float kRotatorShiftColumns = 300.0f;

// Adds `picture`, tilted by `angle` radians, into `canvas` (whose colours are laid out as
// `canvas_layout`). Paints nothing when the picture has no pixels, is not 4 bytes per pixel or its
// rows are shorter than its width; never reads outside the picture nor writes outside the canvas.
void rotate_picture(const picture_view& picture, float angle, const canvas_view& canvas,
                    const rgb_layout& canvas_layout);
