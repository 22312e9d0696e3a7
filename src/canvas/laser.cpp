// Laser lines: the polyline table, the glow colours and the whole painting.
#include "canvas/laser.h"

#include "canvas/line.h"

const laser_point viiva[kLaserPoints] = {{0, 0},    {50, -100}, {100, -50},
                                         {200, 10}, {300, 70},  {400, -30}};

Uint32 glow_color(int distance) {
  // Blue falls off as 381 / d and green as 93 / d (which carries into green at d = 1); red is a
  // constant 2. Formed in single precision from these constants, the inner part truncated first.
  const float share = 3.0f / static_cast<float>(distance);
  const int green = static_cast<int>(share * 31.0f);
  return static_cast<Uint32>(
      static_cast<int>(share * 127.0f + static_cast<float>(256 * green) + 131072.0f));
}

void paint_laser(const canvas_view& canvas, int phase) {
  for_each_laser_line(phase, [&](Uint32 color, int x1, int y1, int x2, int y2) {
    draw_line_pixels(canvas, phase, color, x1, y1, x2, y2);
  });
}
