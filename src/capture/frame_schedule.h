// When the captured frames happen. The capture runs the show on a steady clock: frame n happens
// at show time 500 + n × 1000 / fps (whole milliseconds), and the frames run as long as they
// would in the live program at that steady rate, whose end test after each frame reads the time
// at which the next frame would start.
#pragma once

#include <SDL/SDL.h>

class frame_schedule {
 public:
  // Keeps the frames whose show time lies in [from, to].
  frame_schedule(int fps, Sint32 from, Sint32 to);

  int fps() const { return fps_; }
  // Milliseconds from the start of the show (the end of construction) to frame n.
  Sint32 offset(int frame) const;
  // The show time at which frame n is drawn.
  Sint32 show_time(int frame) const;
  // How many frames the whole show runs at this rate.
  int show_frames() const { return show_frames_; }

  // The kept frames are first_kept() … first_kept() + kept_frames() − 1; none when kept_frames()
  // is 0. Every frame before them is drawn too, so the kept ones look as in the whole show.
  int first_kept() const { return first_kept_; }
  int kept_frames() const { return kept_frames_; }
  int frames_to_draw() const { return first_kept_ + kept_frames_; }
  bool kept(int frame) const { return frame >= first_kept_ && frame < frames_to_draw(); }

 private:
  int fps_;
  int show_frames_;
  int first_kept_;
  int kept_frames_;
};
