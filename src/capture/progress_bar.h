// The capture's progress on standard error: one line redrawn in place with a bar, the frames done
// out of all, the frames drawn a second and the time left.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

class progress_bar {
 public:
  progress_bar(int total, std::FILE* out);

  // Shows `done` frames of the total, at most a few times a second.
  void update(int done);
  // Shows the final figures and ends the line.
  void finish(int done);
  // Ends the line where it stands, so a message can follow on a line of its own.
  void break_line();

  // The line for `done` frames after `seconds` of work.
  static std::string line(int done, int total, double seconds);

 private:
  void draw(int done);

  using clock = std::chrono::steady_clock;
  int total_;
  std::FILE* out_;
  clock::time_point start_;
  clock::time_point last_draw_;
  bool drawn_ = false;  // the line holds something not yet ended
};
