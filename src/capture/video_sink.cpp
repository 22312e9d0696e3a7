// Encoding the captured frames with ffmpeg.
#include "capture/video_sink.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "capture/partial_output.h"
#include "shell/data_path.h"
#include "shell/shell.h"
#include "show/intro.h"

namespace {

constexpr char kFfmpeg[] = "ffmpeg";
constexpr char kVideoQuality[] = "18";     // x264 constant rate factor: visually lossless
constexpr char kVideoPreset[] = "medium";  // x264's default speed/size trade-off
constexpr char kAudioBitRate[] = "192k";
constexpr int kAudioRate = 44100;  // Hz, the rate the show's mixer plays at
// ffmpeg's AAC encoder puts this many samples of priming before the sound. MP4 files say so (an
// edit list) and players skip them; the Matroska files of ffmpeg 5 do not, so there the music is
// cut that much later to start on time.
constexpr double kAacPrimingSamples = 1024;
// The show plays its music at kMusicVolume of the mixer's full MIX_MAX_VOLUME: the video's sound
// has that level too.
constexpr double kMusicGain = static_cast<double>(kMusicVolume) / MIX_MAX_VOLUME;

std::string seconds(double ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6f", ms / 1000.0);
  return text;
}

std::vector<std::string> ffmpeg_arguments(const video_settings& s, const std::string& output) {
  std::vector<std::string> args = {
      kFfmpeg, "-hide_banner", "-nostats", "-loglevel", "error", "-y",
      // Input 0: the raw frames on standard input.
      "-f", "rawvideo", "-pix_fmt", "rgb24", "-video_size",
      std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight), "-framerate",
      std::to_string(s.fps), "-i", "pipe:0"};
  const bool sound = !s.music_path.empty();
  if (sound) {
    // Input 1: the stretch of music that plays while the kept frames are shown.
    const double length_ms = 1000.0 * s.frames / s.fps;
    const double priming_ms = s.matroska ? 1000.0 * kAacPrimingSamples / kAudioRate : 0.0;
    args.insert(args.end(), {"-ss", seconds(s.music_start + priming_ms), "-t", seconds(length_ms),
                             "-i", s.music_path, "-map", "0:v:0", "-map", "1:a:0", "-filter:a",
                             "volume=" + std::to_string(kMusicGain), "-c:a", "aac", "-ar",
                             std::to_string(kAudioRate), "-b:a", kAudioBitRate});
  }
  args.insert(args.end(), {"-c:v", "libx264", "-preset", kVideoPreset, "-crf", kVideoQuality,
                           "-pix_fmt", "yuv420p"});
  if (s.matroska) {
    args.insert(args.end(), {"-f", "matroska"});
  } else {
    args.insert(args.end(), {"-movflags", "+faststart", "-f", "mp4"});
  }
  args.push_back(output);
  return args;
}

}  // namespace

std::string show_music_path() {
  const std::string picture = first_existing(data_file_candidates(kPictureFile));
  if (picture.empty()) return "";
  const std::string music =
      picture.substr(0, picture.size() - std::string(kPictureFile).size()) + kMusicFile;
  return first_existing({music});
}

video_sink::~video_sink() {
  abandon();
}

bool video_sink::open(const video_settings& settings, std::string* error) {
  final_ = settings.path;
  const std::string partial = partial_name(final_);
  const int fd = ::open(partial.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    *error = "cannot write " + final_ + ": " + std::strerror(errno);
    return false;
  }
  close(fd);
  partial_ = partial;

  std::string reason;
  int errno_value = 0;
  if (!ffmpeg_.start(ffmpeg_arguments(settings, partial_), &reason, &errno_value)) {
    *error = errno_value == ENOENT
                 ? std::string(
                       "cannot find ffmpeg on PATH; install it (Debian: apt-get install "
                       "ffmpeg) or write PNG frames to a folder instead")
                 : "cannot start ffmpeg: " + reason;
    abandon();
    return false;
  }
  return true;
}

bool video_sink::write_frame(const std::vector<Uint8>& rgb, std::string* error) {
  if (ffmpeg_.write(rgb.data(), rgb.size())) return true;
  *error = failure_message(ffmpeg_.finish());  // it has stopped reading: it has ended or will
  abandon();
  return false;
}

bool video_sink::finish(std::string* error) {
  const int status = ffmpeg_.finish();
  // ffmpeg 5 can report a failed write (of the file's index, on a full disk) and still exit with
  // 0; at its "error" log level whatever it says is an error, so any message counts as a failure.
  if (status != 0 || !ffmpeg_.first_error_line().empty()) {
    *error = failure_message(status);
    abandon();
    return false;
  }
  if (rename(partial_.c_str(), final_.c_str()) != 0) {
    *error = "cannot rename " + partial_ + " to " + final_ + ": " + std::strerror(errno);
    abandon();
    return false;
  }
  partial_.clear();
  return true;
}

void video_sink::abandon() {
  ffmpeg_.stop();
  if (partial_.empty()) return;
  remove_output(partial_);
  partial_.clear();
}

std::string video_sink::failure_message(int status) {
  std::string message = "ffmpeg failed to make " + final_;
  if (status > 0) message += " (exit status " + std::to_string(status) + ")";
  std::string said = ffmpeg_.first_error_line();
  // ffmpeg names the partial file; the user knows the output by its final name.
  for (size_t at; !partial_.empty() && (at = said.find(partial_)) != std::string::npos;) {
    said.replace(at, partial_.size(), final_);
  }
  if (!said.empty()) message += ": " + said;
  return message;
}
