// Where captured frames go: a folder of PNG files or a video file. Either is written under a
// temporary name and put in place by finish, so nothing half-written ever carries the final name.
#pragma once

#include <SDL/SDL.h>

#include <string>
#include <vector>

class frame_sink {
 public:
  virtual ~frame_sink() = default;

  // Takes the next frame: kScreenWidth × kScreenHeight RGB bytes, top row first. Returns false
  // with a one-line reason when it cannot be written (a full disk, a failed encoder).
  virtual bool write_frame(const std::vector<Uint8>& rgb, std::string* error) = 0;

  // Completes the output and gives it its final name. Returns false with a one-line reason, after
  // removing what was written, when that fails.
  virtual bool finish(std::string* error) = 0;

  // Removes everything written so far.
  virtual void abandon() = 0;
};
