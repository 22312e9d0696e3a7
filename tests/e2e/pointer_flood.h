// Mouse motion without end: a thread of its own moves the X pointer to and fro across a box at a
// steady rate, as a hand on the mouse would, until the flood is stopped.
#pragma once

#include <atomic>
#include <string>
#include <thread>

#include "x_client.h"

class pointer_flood {
 public:
  // Starts moving the pointer of `display` across `box`, `moves_per_second` times a second.
  pointer_flood(const std::string& display, const window_box& box, int moves_per_second);
  ~pointer_flood();  // stops
  pointer_flood(const pointer_flood&) = delete;
  pointer_flood& operator=(const pointer_flood&) = delete;

  long moves() const { return moves_; }

 private:
  void run(std::string display, window_box box, int moves_per_second);

  std::atomic<bool> stop_{false};
  std::atomic<long> moves_{0};
  std::thread thread_;
};
