// A video file made by ffmpeg: raw RGB frames go down a pipe and come out as H.264 (yuv420p) with
// the show's music as AAC, in an MP4 or Matroska file. ffmpeg writes to "NAME.partial-PID" beside
// the output, which is renamed to NAME once ffmpeg has finished without error.
#pragma once

#include <SDL/SDL.h>

#include <string>

#include "capture/child_process.h"
#include "capture/frame_sink.h"

struct video_settings {
  std::string path;        // the video file to make
  bool matroska = false;   // .mkv rather than .mp4
  int fps = 25;            // frames a second of the video
  int frames = 0;          // how many frames will come, for the length of the sound
  Sint32 music_start = 0;  // ms into the music at the first frame
  std::string music_path;  // the music; "" makes a silent video
};

class video_sink : public frame_sink {
 public:
  ~video_sink() override;

  // Makes sure the output's folder can be written and starts ffmpeg. Returns false with a
  // one-line reason (ffmpeg missing, the folder not writable) when it cannot.
  bool open(const video_settings& settings, std::string* error);

  bool write_frame(const std::vector<Uint8>& rgb, std::string* error) override;
  bool finish(std::string* error) override;
  void abandon() override;

 private:
  // One line on why ffmpeg failed: its exit status and its last message.
  std::string failure_message(int status);

  std::string final_;
  std::string partial_;  // "" once there is nothing to clean up
  child_process ffmpeg_;
};

// The music file the show plays: organ.ogg beside the picture the show finds, or "" when
// there is none.
std::string show_music_path();
