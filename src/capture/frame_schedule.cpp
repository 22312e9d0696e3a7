// The capture's frame times.
#include "capture/frame_schedule.h"

#include <cstdint>

#include "shell/frame_loop.h"
#include "show/intro.h"

namespace {

constexpr int64_t kMsPerSecond = 1000;

}  // namespace

frame_schedule::frame_schedule(int fps, Sint32 from, Sint32 to)
    : fps_(fps), show_frames_(0), first_kept_(0), kept_frames_(0) {
  // The live loop runs frame n + 1 only while the time since the show started, read after frame
  // n at the start of frame n + 1, does not exceed the show's length; frame 0 always runs.
  show_frames_ = 1;
  while (static_cast<Uint32>(offset(show_frames_)) <= kShowLengthMs) ++show_frames_;

  first_kept_ = show_frames_;
  for (int n = 0; n < show_frames_; ++n) {
    if (show_time(n) < from || show_time(n) > to) continue;
    if (kept_frames_ == 0) first_kept_ = n;
    ++kept_frames_;
  }
  if (kept_frames_ == 0) first_kept_ = 0;
}

Sint32 frame_schedule::offset(int frame) const {
  return static_cast<Sint32>(frame * kMsPerSecond / fps_);
}

Sint32 frame_schedule::show_time(int frame) const {
  return kShowTimeLeadMs + offset(frame);
}
