// Renders the organ piece to stereo samples.
#pragma once

#include <vector>

constexpr int kSampleRate = 44100;      // CD rate the demo's mixer opens at
constexpr double kPieceSeconds = 60.0;  // length of the piece, final fade included

struct StereoAudio {
  std::vector<float> left;
  std::vector<float> right;
};

// Synthesises the whole piece: organ voices, reverb, fades, peak normalised to about -1 dBFS.
StereoAudio render_organ_piece();
