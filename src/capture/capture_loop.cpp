// Running the show frame by frame for the capture.
#include "capture/capture_loop.h"

#include <vector>

#include "capture/back_buffer.h"
#include "capture/capture_clock.h"
#include "shell/frame_loop.h"
#include "shell/shell.h"
#include "show/intro.h"

bool capture_frames(intro& show, const frame_schedule& schedule, frame_sink& sink,
                    progress_bar& progress, std::string* error) {
  std::vector<Uint8> rgb;
  const int frames = schedule.frames_to_draw();
  for (int n = 0; n < frames; ++n) {
    set_capture_ticks(show.start_ticks + static_cast<Uint32>(schedule.offset(n)));
    Draw_Frame(show);
    if (schedule.kept(n)) {
      read_back_buffer(&rgb);
      if (!sink.write_frame(rgb, error)) return false;
    }
    Events();  // SDL turns Ctrl-C into a quit event
    if (!running && n + 1 < frames) {
      *error = "interrupted; nothing was written";
      return false;
    }
    SDL_GL_SwapBuffers();
    progress.update(n + 1);
  }
  return true;
}
