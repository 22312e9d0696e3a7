// The capture's frame loop: the live program's frame without the limiter and the progress lines,
// on the capture's clock, reading back the frames to keep.
#pragma once

#include <string>

#include "capture/frame_schedule.h"
#include "capture/frame_sink.h"
#include "capture/progress_bar.h"

class intro;

// Draws frames 0 … schedule.frames_to_draw() − 1 of `show`, each at its scheduled time (the show
// must have been built on the capture's clock), and gives the kept ones to `sink`. Returns false
// with a one-line reason when the sink fails or the user closes the window, presses Escape or
// interrupts the program.
bool capture_frames(intro& show, const frame_schedule& schedule, frame_sink& sink,
                    progress_bar& progress, std::string* error);
