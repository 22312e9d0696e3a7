// The music as it leaves the program: SDL's disk audio driver writes the mixed output to a file in
// place of a sound card, and the test compares it, sample by sample, with the track decoded on its
// own by oggdec and scaled to the quarter volume the show plays it at.
//
// The file has no header, so the format shows in the match itself: the track is 44.1 kHz stereo
// with 16-bit samples, and had the device been opened any other way (another rate, one channel,
// 8 bits, other byte order) the mixer would have converted the track and no sample would match.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <thread>

#include "demo_programs.h"
#include "demo_run.h"
#include "x_server.h"

namespace {

constexpr char kScreen[] = "1024x768x24";
constexpr int kChannels = 2;
constexpr int kRate = 44100;       // sample frames a second
constexpr int kVolumeDivisor = 4;  // volume 32 of the mixer's 128: a quarter
constexpr int kRoundingSpan = 3;   // |4·played − track| < 4: truncated or floored quarter
// The disk driver sleeps this long per 1024-frame buffer (23.2 ms of sound): a little faster
// than real time, so the file keeps up with the show without running far ahead of it.
constexpr char kDiskDelayMs[] = "20";
constexpr auto kListenFor = 5s;            // of show, after the first progress pair
constexpr int kMinimumFrames = 2 * kRate;  // at least two seconds of music must be compared
constexpr int kSearchFrames = 4096;        // the offset is searched this far around the first sound
constexpr int kWindowFrames = 16384;       // frames compared per candidate offset
constexpr int kLoudTrack = 4;              // a track sample this large is still heard at a quarter
constexpr int kAudibleLevel = 500;         // the played peak must reach this (of 32767)

std::vector<int16_t> samples_in(const std::string& path) {
  const std::string bytes = read_file(path);
  std::vector<int16_t> samples(bytes.size() / sizeof(int16_t));
  std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(int16_t));
  return samples;
}

// The first frame with a sample whose magnitude reaches `level`, or -1.
long first_frame_reaching(const std::vector<int16_t>& s, int level) {
  for (size_t i = 0; i < s.size(); ++i)
    if (std::abs(s[i]) >= level) return static_cast<long>(i / kChannels);
  return -1;
}

bool matches(int16_t played, int16_t track) {
  return std::abs(played * kVolumeDivisor - track) <= kRoundingSpan;
}

// Samples that do not match when track frame f is played at frame f + offset, over `frames`
// frames from `first` (frames outside either recording are left out).
long mismatches(const std::vector<int16_t>& played, const std::vector<int16_t>& track, long offset,
                long first, long frames, long* compared) {
  long bad = 0;
  *compared = 0;
  for (long f = first; f < first + frames; ++f) {
    const long p = f + offset;
    if (f < 0 || p < 0) continue;
    if ((f + 1) * kChannels > static_cast<long>(track.size()) ||
        (p + 1) * kChannels > static_cast<long>(played.size()))
      break;
    for (int c = 0; c < kChannels; ++c)
      bad += !matches(played[p * kChannels + c], track[f * kChannels + c]);
    ++*compared;
  }
  return bad;
}

TEST(Sound, TheTrackIsPlayedAtAQuarterVolumeSampleForSample) {
  x_server server(kScreen);
  work_folder folder;
  const std::string played_path = folder.path() + "/played.raw";
  const std::string track_path = folder.path() + "/track.raw";
  demo_run run(kWindowProgram, server.display(), folder,
               {{"SDL_AUDIODRIVER", "disk"},
                {"SDL_DISKAUDIOFILE", played_path},
                {"SDL_DISKAUDIODELAY", kDiskDelayMs}});
  ASSERT_TRUE(run.wait_until_running()) << run.process().error_text();
  std::this_thread::sleep_for(kListenFor);
  ASSERT_TRUE(run.leave_with_escape());
  EXPECT_EQ(run.process().exit_status(), 0);
  EXPECT_EQ(run.process().error_text(), "");

  launch_options decode;
  decode.program = "oggdec";
  decode.arguments = {"--quiet",  "--raw",    "--bits=16", "--endianness=0",
                      "--sign=1", "--output", track_path,  folder.data_file(kMusicName)};
  ASSERT_EQ(run_to_end(decode, 60s), 0) << "oggdec could not decode the track";
  const std::vector<int16_t> played = samples_in(played_path);
  const std::vector<int16_t> track = samples_in(track_path);
  ASSERT_EQ(read_file(played_path).size() % (kChannels * sizeof(int16_t)), 0u);

  // Line the two up: around where the first sound comes out, the offset with the fewest
  // mismatches over a stretch of music.
  const long first_played = first_frame_reaching(played, 1);
  const long first_loud = first_frame_reaching(track, kLoudTrack);
  ASSERT_GE(first_played, 0) << "nothing but silence was played";
  ASSERT_GE(first_loud, 0);
  long best_offset = 0;
  long best_bad = -1;
  for (long o = first_played - first_loud - kSearchFrames;
       o <= first_played - first_loud + kSearchFrames; ++o) {
    long compared = 0;
    const long bad = mismatches(played, track, o, first_loud, kWindowFrames, &compared);
    if (compared > 0 && (best_bad < 0 || bad < best_bad)) best_bad = bad, best_offset = o;
  }

  long compared = 0;
  const long bad = mismatches(played, track, best_offset, 0,
                              static_cast<long>(track.size() / kChannels), &compared);
  EXPECT_GE(compared, kMinimumFrames) << "too little music was played to compare";
  EXPECT_EQ(bad, 0) << "samples off by more than the rounding, offset " << best_offset;

  int peak = 0;
  double energy = 0;
  const long first = std::max(best_offset, 0L);
  for (long p = first; p < first + compared; ++p)
    for (int c = 0; c < kChannels; ++c) {
      const int s = played[p * kChannels + c];
      peak = std::max(peak, std::abs(s));
      energy += static_cast<double>(s) * s;
    }
  EXPECT_GE(peak, kAudibleLevel) << "the music is (nearly) silent";
  std::printf(
      "[figures] sound: %ld frames (%.2f s) compared, %ld off, music from %.3f s into "
      "the output, peak %d, rms %.0f\n",
      compared, static_cast<double>(compared) / kRate, bad,
      static_cast<double>(best_offset) / kRate, peak,
      std::sqrt(energy / std::max(1L, compared * kChannels)));
}

}  // namespace
