// The frame loop: one frame of the show, the input check, the swap, the limiter's sleep, the
// progress lines about once a second and the 59-second end.
#pragma once

#include <SDL/SDL.h>

#include "shell/fps_limiter.h"

class intro;

constexpr Uint32 kProgressPeriodMs = 1000;  // a progress pair after each period longer than this
constexpr Uint32 kShowLengthMs = 59000;     // the run ends once show time passes this

class Frame_Loop {
 public:
  FPS_Limiter limiter;
  Uint32 progress_stamp;  // tick count of the last progress pair
  Sint32 frames;          // frames counted since then

  // Takes the limiter's and the progress stamp's time: call it before the show is built.
  Frame_Loop();

  // Runs one whole frame; clears `running` when the show is over or the user leaves.
  void Frame(intro& show);
};

// The drawing half of a frame: clears the buffers, stands the camera back and runs the show once,
// leaving the picture in the back buffer. Frame_Loop::Frame and the capture program share it.
void Draw_Frame(intro& show);
