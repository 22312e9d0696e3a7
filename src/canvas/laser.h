// The laser: a glowing polyline of five segments, revealed from the left, then mirrored from the
// right, within every two-second cycle.
#pragma once

#include "canvas/pixels.h"

// A point of the laser polyline: column x and row y + kLaserRowOffset on the canvas.
struct laser_point {
  Sint16 x;
  Sint16 y;
};

constexpr int kLaserPoints = 6;
extern const laser_point viiva[kLaserPoints];

constexpr int kLaserRowOffset = 100;            // the polyline's rows are given relative to row 100
constexpr int kLaserMirrorColumn = 512;         // mirrored points stand at column 512 − x
constexpr int kLaserMirrorQ = 400;              // past this phase / 3 the mirrored laser is drawn
constexpr int kGlowReach = 18;                  // glow copies lie 1 to 18 rows above and below
constexpr Uint32 kLaserCentreColor = 0x1F1FFF;  // the bright centre line

// Colour of the glow copy `distance` rows (1 to 18) away from the centre line.
Uint32 glow_color(int distance);

// Calls line(color, x1, y1, x2, y2) for the 185 lines of one laser painting, in drawing order:
// for each segment its 36 glow copies (offsets −18 … −1, 1 … 18), then its centre line.
template <typename Line>
void for_each_laser_line(int phase, Line&& line) {
  const bool mirrored = phase / 3 > kLaserMirrorQ;
  for (int k = 0; k + 1 < kLaserPoints; ++k) {
    const laser_point& p = viiva[k];
    const laser_point& n = viiva[k + 1];
    int sx = p.x, sy = p.y + kLaserRowOffset, ex = n.x, ey = n.y + kLaserRowOffset;
    if (mirrored) {  // mirrored, and given with the later point first
      sx = kLaserMirrorColumn - n.x;
      sy = n.y + kLaserRowOffset;
      ex = kLaserMirrorColumn - p.x;
      ey = p.y + kLaserRowOffset;
    }
    for (int o = -kGlowReach; o <= kGlowReach; ++o) {
      if (o == 0) continue;
      line(glow_color(o < 0 ? -o : o), sx, sy + o, ex, ey + o);
    }
    line(kLaserCentreColor, sx, sy, ex, ey);
  }
}

// Paints the whole laser for `phase` into the canvas.
void paint_laser(const canvas_view& canvas, int phase);
