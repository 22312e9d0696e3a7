// The line rasteriser: one straight segment added into the canvas, revealed column by column.
#pragma once

#include "canvas/pixels.h"

// Columns and rows 1 to 511 can be drawn; column 0 and row 0 never are.
constexpr int kFirstDrawable = 1;
constexpr int kLastDrawable = 511;

// The reveal window: which canvas columns a line may draw at a given laser phase.
struct column_range {
  int first;  // empty when first > last
  int last;
};
column_range reveal_window(int phase);

// Adds `color` to every pixel of the segment from (x1, y1) to (x2, y2) that lies in the drawable
// area and the reveal window of `phase`. Any coordinates are accepted; only the part of the walk
// that can reach the canvas is stepped through.
void draw_line_pixels(const canvas_view& canvas, int phase, Uint32 color, int x1, int y1, int x2,
                      int y2);
