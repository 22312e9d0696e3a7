// demo_capture run as a program on the test X server: its frames are the show drawn at
// 500 + 40 n ms, the seed decides the particles and nothing else, and its videos have the right
// size, rate and frames, with the music in step.
#include <SDL/SDL.h>
#include <SDL/SDL_opengl.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "capture/capture_options.h"
#include "run_capture.h"
#include "shell/shell.h"
#include "show/intro.h"
#include "support/test_display.h"

namespace {

constexpr size_t kFrameBytes = static_cast<size_t>(kScreenWidth) * kScreenHeight * 3;
constexpr size_t kRowBytes = static_cast<size_t>(kScreenWidth) * 3;

std::string frame_file(const std::string& folder, int n) {
  char name[32];
  std::snprintf(name, sizeof name, "/frame-%05d.png", n);
  return folder + name;
}

// The picture the frame loop leaves in the back buffer for a frame at `show_time`, top row first.
std::vector<Uint8> show_frame_at(intro& show, Sint32 show_time) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glTranslatef(0, 0, -1);
  glPushMatrix();
  show.run_at(show_time);
  glPopMatrix();
  const std::vector<Uint8> bottom_up = read_frame();
  SDL_GL_SwapBuffers();
  std::vector<Uint8> top_down(bottom_up.size());
  for (int y = 0; y < kScreenHeight; ++y) {
    std::copy_n(&bottom_up[(kScreenHeight - 1 - y) * kRowBytes], kRowBytes,
                &top_down[y * kRowBytes]);
  }
  return top_down;
}

size_t differing_bytes(const std::vector<Uint8>& a, const std::vector<Uint8>& b) {
  if (a.size() != b.size()) return std::max(a.size(), b.size());
  size_t count = 0;
  for (size_t i = 0; i < a.size(); ++i) count += a[i] != b[i];
  return count;
}

using capture_program = display_test;

TEST_F(capture_program, FrameNIsTheShowAtFiveHundredPlusFortyN) {
  constexpr int kFrames = 6;  // show times 500 … 700
  scratch_folder scratch;
  const std::string folder = scratch.path() + "/frames";
  const capture_run run = run_capture({"--to", "700", folder + "/"});
  ASSERT_EQ(run.exit_code, 0) << run.errors;
  ASSERT_EQ(folder_entries(folder).size(), static_cast<size_t>(kFrames));

  srand(kDefaultSeed);
  intro show;
  for (int n = 0; n < kFrames; ++n) {
    const std::vector<Uint8> drawn = show_frame_at(show, 500 + 40 * n);
    const std::vector<Uint8> captured = png_rgb(frame_file(folder, n));
    ASSERT_EQ(captured.size(), kFrameBytes) << "frame " << n;
    EXPECT_EQ(differing_bytes(captured, drawn), 0u) << "frame " << n;
    EXPECT_NE(std::count(captured.begin(), captured.end(), 0), static_cast<long>(kFrameBytes))
        << "frame " << n << " is black";
  }
}

// At one frame a second the particle window comes after 28 frames: frame 0 is the rotation
// window (27500), frames 1 and 2 the first two seconds of the fountains (28500, 29500).
TEST(capture_seed, DecidesTheParticlesAndNothingElse) {
  if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no display";
  scratch_folder scratch;
  std::vector<std::string> folders;
  for (const char* seed : {"7", "7", "8"}) {
    folders.push_back(scratch.path() + "/seed" + std::to_string(folders.size()));
    const capture_run run = run_capture(
        {"--fps", "1", "--seed", seed, "--from", "27500", "--to", "29500", folders.back() + "/"});
    ASSERT_EQ(run.exit_code, 0) << run.errors;
  }
  for (int n = 0; n < 3; ++n) {
    const std::string first = file_bytes(frame_file(folders[0], n));
    ASSERT_FALSE(first.empty()) << "frame " << n;
    EXPECT_EQ(file_bytes(frame_file(folders[1], n)), first) << "same seed, frame " << n;
    const bool particles = n > 0;
    EXPECT_EQ(file_bytes(frame_file(folders[2], n)) != first, particles)
        << "other seed, frame " << n;
  }
}

// A video of the kept frames: its sound must be the music from where it stands at the first kept
// frame (it starts with frame 0, at show time 500), at the show's level.
struct video_case {
  const char* file;
  std::vector<std::string> args;  // before the output
  int music_start_ms;
  const char* probe;  // what ffprobe says of the video stream
};

void PrintTo(const video_case& c, std::ostream* out) {
  *out << c.file;
}

constexpr int kAudioRate = 44100;
constexpr double kMusicGain = static_cast<double>(kMusicVolume) / MIX_MAX_VOLUME;

// Mono 16-bit samples of an audio stream at 44.1 kHz, decoded by ffmpeg.
std::vector<Sint16> decoded_sound(const std::string& input_options) {
  const std::string bytes =
      command_output("ffmpeg -v error " + input_options + " -map 0:a -ac 1 -ar 44100 -f s16le -");
  std::vector<Sint16> samples(bytes.size() / 2);
  std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
  return samples;
}

struct sound_match {
  int lag;            // samples by which the sound trails the music where it fits best
  double difference;  // summed sample difference there
  double loudness;    // summed sample size of the sound
};

// Where `sound` fits best onto the music scaled to the show's level, searched around `start`.
sound_match match_sound(const std::vector<Sint16>& sound, const std::vector<Sint16>& music,
                        int start) {
  constexpr int kSkip = 2048;  // past the encoder's start-up
  constexpr int kCompared = 4000;
  constexpr int kSearch = 1500;  // samples either way
  sound_match best{0, -1, 0};
  if (sound.size() < static_cast<size_t>(kSkip + kCompared) ||
      music.size() < static_cast<size_t>(start + kSkip + kCompared + kSearch)) {
    ADD_FAILURE() << "too little sound: " << sound.size() << " and " << music.size() << " samples";
    return best;
  }
  for (int i = kSkip; i < kSkip + kCompared; ++i) best.loudness += std::abs(sound[i]);
  for (int lag = -kSearch; lag <= kSearch; ++lag) {
    double difference = 0;
    for (int i = kSkip; i < kSkip + kCompared; ++i) {
      difference += std::abs(sound[i] - kMusicGain * music[start + lag + i]);
    }
    if (best.difference < 0 || difference < best.difference) {
      best.difference = difference;
      best.lag = lag;
    }
  }
  return best;
}

class capture_video : public ::testing::TestWithParam<video_case> {};

TEST_P(capture_video, HasTheShowsSizeRateAndSoundInStep) {
  if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no display";
  const video_case& c = GetParam();
  scratch_folder scratch;
  const std::string video = scratch.path() + "/" + c.file;
  std::vector<std::string> args = c.args;
  args.push_back(video);
  const capture_run run = run_capture(args);
  ASSERT_EQ(run.exit_code, 0) << run.errors;
  EXPECT_EQ(folder_entries(scratch.path()), std::vector<std::string>{c.file});

  const std::string probe = "ffprobe -v error -of default=noprint_wrappers=1 ";
  EXPECT_EQ(command_output(probe + "-count_packets -select_streams v -show_entries " +
                           "stream=codec_name,width,height,r_frame_rate,nb_read_packets " + video),
            c.probe);
  EXPECT_EQ(command_output(probe + "-select_streams a -show_entries stream=codec_name " + video),
            "codec_name=aac\n");

  const std::vector<Sint16> music = decoded_sound("-i data/organ.ogg -t 2");
  const std::vector<Sint16> sound = decoded_sound("-i " + video);
  const sound_match match = match_sound(sound, music, c.music_start_ms * kAudioRate / 1000);
  EXPECT_EQ(match.lag, 0) << "the sound is " << match.lag << " samples off";
  EXPECT_LT(match.difference, 0.05 * match.loudness) << "the sound is not the music at its level";
}

INSTANTIATE_TEST_SUITE_P(
    containers, capture_video,
    ::testing::Values(
        video_case{
            "show.mp4",
            {"--to", "700"},  // 6 frames from the start
            0,
            "codec_name=h264\nwidth=1024\nheight=768\nr_frame_rate=25/1\nnb_read_packets=6\n"},
        video_case{
            "show.mkv",
            {"--fps", "5", "--from", "1500", "--to", "1700"},  // 7 frames drawn, 2 kept
            1000,
            "codec_name=h264\nwidth=1024\nheight=768\nr_frame_rate=5/1\nnb_read_packets=2\n"}));

}  // namespace
