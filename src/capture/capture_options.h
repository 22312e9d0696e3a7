// The capture program's command line: frame rate, particle seed, the show-time window to keep and
// where the frames go.
#pragma once

#include <SDL/SDL.h>

#include <cstdint>
#include <string>

constexpr int kDefaultFps = 25;              // the live programs' limiter runs 25 frames a second
constexpr int kMaxFps = 1000;                // show time counts whole milliseconds
constexpr unsigned kDefaultSeed = 1;         // fixed, so two captures are identical byte for byte
constexpr Sint32 kEarliestTime = INT32_MIN;  // --from and --to default to the whole show
constexpr Sint32 kLatestTime = INT32_MAX;

enum class output_kind { png_folder, mp4, mkv };

struct capture_options {
  int fps = kDefaultFps;
  unsigned seed = kDefaultSeed;
  Sint32 from = kEarliestTime;  // keep the frames whose show time lies in [from, to] (ms)
  Sint32 to = kLatestTime;
  std::string output;  // a folder ending in "/", or a file ending in .mp4 or .mkv
  output_kind kind = output_kind::png_folder;
};

// The one-line usage message.
extern const char kCaptureUsage[];

// Reads the arguments after the program name. Returns false with a short reason in `error` when
// they do not make a capture.
bool parse_capture_options(int argc, const char* const* argv, capture_options* options,
                           std::string* error);
