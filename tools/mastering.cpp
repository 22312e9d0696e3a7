// Fades, a look-ahead limiter and peak normalisation for a stereo pair of channels.
#include "mastering.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kLookAheadSeconds = 0.003;  // gain starts falling this long before a peak
constexpr double kReleaseSeconds = 0.12;     // slow recovery avoids audible pumping

double peak_of(const std::vector<float>& left, const std::vector<float>& right) {
  float peak = 0.0f;
  for (float v : left) peak = std::max(peak, std::abs(v));
  for (float v : right) peak = std::max(peak, std::abs(v));
  return peak;
}

// Minimum of `values` over [i - radius, i + radius] for every i.
std::vector<double> sliding_min(const std::vector<double>& values, std::size_t radius) {
  const std::size_t n = values.size();
  std::vector<double> out(n);
  std::deque<std::size_t> window;  // indices with increasing values
  std::size_t next = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t end = std::min(n, i + radius + 1);
    for (; next < end; ++next) {
      while (!window.empty() && values[window.back()] >= values[next]) window.pop_back();
      window.push_back(next);
    }
    while (window.front() + radius < i) window.pop_front();
    out[i] = values[window.front()];
  }
  return out;
}

// Mean of `values` over [i - radius, i + radius], clipped at the ends.
std::vector<double> sliding_mean(const std::vector<double>& values, std::size_t radius) {
  const std::size_t n = values.size();
  std::vector<double> prefix(n + 1, 0.0);
  for (std::size_t i = 0; i < n; ++i) prefix[i + 1] = prefix[i] + values[i];
  std::vector<double> out(n);
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t lo = i > radius ? i - radius : 0;
    const std::size_t hi = std::min(n, i + radius + 1);
    out[i] = (prefix[hi] - prefix[lo]) / static_cast<double>(hi - lo);
  }
  return out;
}

}  // namespace

void apply_fades(std::vector<float>& left, std::vector<float>& right, std::size_t fade_in,
                 std::size_t fade_out) {
  const std::size_t frames = std::min(left.size(), right.size());
  for (std::size_t i = 0; i < frames; ++i) {
    double gain = 1.0;
    if (i < fade_in) gain *= 0.5 - 0.5 * std::cos(kPi * i / fade_in);
    const std::size_t remaining = frames - 1 - i;
    if (remaining < fade_out) gain *= 0.5 - 0.5 * std::cos(kPi * remaining / fade_out);
    left[i] = static_cast<float>(left[i] * gain);
    right[i] = static_cast<float>(right[i] * gain);
  }
}

void limit_peaks(std::vector<float>& left, std::vector<float>& right, double threshold,
                 int sample_rate) {
  const std::size_t frames = std::min(left.size(), right.size());
  const double ceiling = threshold * peak_of(left, right);
  if (frames == 0 || ceiling <= 0.0) return;
  // Gain each frame needs on its own, then widened and smoothed so that the gain at every
  // frame is never above what any frame within the look-ahead needs.
  std::vector<double> needed(frames);
  for (std::size_t i = 0; i < frames; ++i) {
    const double level = std::max(std::abs(left[i]), std::abs(right[i]));
    needed[i] = level > ceiling ? ceiling / level : 1.0;
  }
  const auto radius = static_cast<std::size_t>(kLookAheadSeconds * sample_rate);
  const std::vector<double> gain = sliding_mean(sliding_min(needed, 2 * radius), radius);
  const double release = 1.0 - std::exp(-1.0 / (kReleaseSeconds * sample_rate));
  double current = 1.0;
  for (std::size_t i = 0; i < frames; ++i) {
    current = std::min(gain[i], current + (gain[i] - current) * release);
    left[i] = static_cast<float>(left[i] * current);
    right[i] = static_cast<float>(right[i] * current);
  }
}

void normalise(std::vector<float>& left, std::vector<float>& right, double peak) {
  const double current = peak_of(left, right);
  if (current <= 0.0) return;
  const double gain = peak / current;
  for (float& v : left) v = static_cast<float>(v * gain);
  for (float& v : right) v = static_cast<float>(v * gain);
}
