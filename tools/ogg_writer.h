// Encodes stereo float samples into an Ogg Vorbis file with libvorbisenc.
#pragma once

#include <string>
#include <vector>

struct OggSettings {
  int sample_rate;  // frames per second
  float quality;    // Vorbis VBR quality, -0.1 .. 1.0
  int serial;       // Ogg stream serial number; fixed so the output never changes
  std::string title;
};

// Writes `left` and `right` (same length, -1..1) to `path`.
// Returns false and sets `error` to a short message on failure.
bool write_ogg_vorbis(const std::string& path, const std::vector<float>& left,
                      const std::vector<float>& right, const OggSettings& settings,
                      std::string* error);
