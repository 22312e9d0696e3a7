// A small stereo room reverb: damped comb filters in parallel, then allpass filters in series.
#pragma once

#include <vector>

struct ReverbSettings {
  double feedback;  // comb feedback, sets how long the tail rings (0..1)
  double damping;   // how quickly high frequencies die in the tail (0..1)
  double wet;       // level of the reverberated sound added to the dry sound
};

// Adds reverberation to both channels in place.
void add_reverb(std::vector<float>& left, std::vector<float>& right,
                const ReverbSettings& settings);
