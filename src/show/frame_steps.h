// Marks between the steps of a show frame, so that a benchmark can time them. The programs install
// nothing: a mark then costs one test of a null pointer and makes no OpenGL call.
#pragma once

// The steps of a frame, each marked when it has finished.
enum class frame_step {
  paint,      // the canvas painted in software (picture, then laser)
  upload,     // the canvas uploaded as the mipmapped texture
  panels,     // a scene's panels drawn
  particles,  // the four fountains run and drawn
};

// Called after each step with the step just finished; null unless a benchmark installs a timer.
inline void (*frame_step_done)(frame_step finished) = nullptr;

inline void mark_step(frame_step finished) {
  if (frame_step_done != nullptr) frame_step_done(finished);
}
