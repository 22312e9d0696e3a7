// demo_capture: renders the show frame by frame on a steady clock, exactly as the live program
// would show it at a steady frame rate, into numbered PNG frames or a video file with the music.
#include <SDL/SDL.h>
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <new>
#include <optional>

#include "capture/capture_clock.h"
#include "capture/capture_loop.h"
#include "capture/capture_options.h"
#include "capture/frame_schedule.h"
#include "capture/png_folder_sink.h"
#include "capture/progress_bar.h"
#include "capture/video_sink.h"
#include "shell/shell.h"
#include "show/intro.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

void say(const std::string& message) {
  std::fprintf(stderr, "demo_capture: %s\n", message.c_str());
}

// The output named on the command line, ready for frames, or null after `error` is set.
std::unique_ptr<frame_sink> open_output(const capture_options& options,
                                        const frame_schedule& schedule, std::string* error) {
  if (options.kind == output_kind::png_folder) {
    auto folder = std::make_unique<png_folder_sink>();
    if (!folder->open(options.output, error)) return nullptr;
    return folder;
  }
  video_settings settings;
  settings.path = options.output;
  settings.matroska = options.kind == output_kind::mkv;
  settings.fps = schedule.fps();
  settings.frames = schedule.kept_frames();
  // The music starts with frame 0, at the end of the show's construction.
  settings.music_start = schedule.offset(schedule.first_kept());
  settings.music_path = show_music_path();
  if (settings.music_path.empty()) say("no music found beside the picture: the video is silent");
  auto video = std::make_unique<video_sink>();
  if (!video->open(settings, error)) return nullptr;
  return video;
}

bool wants_help(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0) return true;
  }
  return false;
}

// Builds the show on the capture's clock and runs the capture; false after one line on error.
bool capture(const capture_options& options, const frame_schedule& schedule, frame_sink& sink) {
  srand(options.seed);  // after InitStuff's seeding from the time: the particles' only seed
  use_capture_clock();
  std::optional<intro> show;
  try {
    show.emplace();
  } catch (const std::bad_alloc&) {
    say("out of memory while building the show");
    return false;
  } catch (const std::exception& e) {
    say(e.what());
    return false;
  }
  progress_bar progress(schedule.frames_to_draw(), stderr);
  std::string error;
  if (!capture_frames(*show, schedule, sink, progress, &error)) {
    progress.break_line();
    say(error);
    return false;
  }
  progress.finish(schedule.frames_to_draw());
  if (!sink.finish(&error)) {
    say(error);
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (wants_help(argc, argv)) {
    std::printf("%s\n", kCaptureUsage);
    return 0;
  }
  capture_options options;
  std::string error;
  if (!parse_capture_options(argc - 1, argv + 1, &options, &error)) {
    say(error);
    std::fprintf(stderr, "%s\n", kCaptureUsage);
    return kExitUsage;
  }
  const frame_schedule schedule(options.fps, options.from, options.to);
  if (schedule.kept_frames() == 0) {
    const std::string fps = std::to_string(options.fps);
    say("no frame falls between --from and --to: at " + fps + " fps frame n falls at 500 + n * " +
        "1000 / " + fps + " ms, the last at " +
        std::to_string(schedule.show_time(schedule.show_frames() - 1)) + " ms");
    std::fprintf(stderr, "%s\n", kCaptureUsage);
    return kExitUsage;
  }

  // A file-size limit then shows as a failed write (here and in ffmpeg), not a crash.
  signal(SIGXFSZ, SIG_IGN);
  std::unique_ptr<frame_sink> sink = open_output(options, schedule, &error);
  if (!sink) {
    say(error);
    return kExitFailure;
  }
  setenv("SDL_AUDIODRIVER", "dummy", 0);  // the capture never plays sound aloud
  bool done = InitStuff(SDL_OPENGL) && capture(options, schedule, *sink);
  if (!done) sink->abandon();
  SDL_Quit();
  if (done) {
    const int frames = schedule.kept_frames();
    say("wrote " + std::to_string(frames) + (frames == 1 ? " frame to " : " frames to ") +
        options.output);
  }
  return done ? 0 : kExitFailure;
}
