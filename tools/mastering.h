// Final touches on the rendered piece: fades, peak limiting and normalisation.
#pragma once

#include <vector>

// Raised-cosine fade in over `fade_in` frames and fade out to silence over the last `fade_out`.
void apply_fades(std::vector<float>& left, std::vector<float>& right, std::size_t fade_in,
                 std::size_t fade_out);

// Look-ahead peak limiter: levels peaks above `threshold` times the loudest peak down to it
// with smooth gain changes, making the piece denser and louder once normalised.
void limit_peaks(std::vector<float>& left, std::vector<float>& right, double threshold,
                 int sample_rate);

// Scales both channels so the larger peak equals `peak`.
void normalise(std::vector<float>& left, std::vector<float>& right, double peak);
