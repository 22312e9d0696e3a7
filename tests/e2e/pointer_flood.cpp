// Each move warps the pointer (which sends a motion event to the window under it) a few pixels
// along, row after row inside the box; the pace is kept against the clock, not by sleeping.
#include "pointer_flood.h"

#include <chrono>

namespace {

constexpr int kStep = 7;     // pixels between two positions
constexpr int kMargin = 16;  // the path keeps this far from the box's edges

}  // namespace

pointer_flood::pointer_flood(const std::string& display, const window_box& box,
                             int moves_per_second)
    : thread_(&pointer_flood::run, this, display, box, moves_per_second) {}

pointer_flood::~pointer_flood() {
  stop_ = true;
  thread_.join();
}

void pointer_flood::run(std::string display, window_box box, int moves_per_second) {
  x_client client(display);
  const auto period = std::chrono::nanoseconds(1000000000LL / moves_per_second);
  const int left = box.x + kMargin;
  const int width = box.width - 2 * kMargin;
  const int top = box.y + kMargin;
  const int height = box.height - 2 * kMargin;
  auto next = std::chrono::steady_clock::now();
  for (long n = 0; !stop_; ++n) {
    const long along = n * kStep;
    const int x = left + static_cast<int>(along % width);
    const int y = top + static_cast<int>((along / width * kStep * 5) % height);
    client.move_pointer(x, y);
    moves_ = n + 1;
    next += period;
    std::this_thread::sleep_until(next);
  }
}
