// Schroeder-style reverb laid out like the public-domain Freeverb: eight low-pass
// feedback combs in parallel feed four allpasses, per channel. The right channel's delay
// lines are a little longer, which decorrelates the two sides into a wide stereo tail.
#include "reverb.h"

#include <algorithm>
#include <cstddef>

namespace {

// Delay lengths in frames at 44.1 kHz, mutually prime-ish so the echoes do not line up.
constexpr int kCombLengths[] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
constexpr int kAllpassLengths[] = {556, 441, 341, 225};
constexpr int kStereoSpread = 23;     // extra frames on the right channel's delays
constexpr double kInputGain = 0.015;  // keeps eight summed combs from growing too loud
constexpr double kAllpassFeedback = 0.5;

class Comb {
 public:
  Comb(int length, double feedback, double damping)
      : buffer_(length, 0.0), feedback_(feedback), damping_(damping) {}

  double process(double input) {
    const double out = buffer_[index_];
    filtered_ = out * (1.0 - damping_) + filtered_ * damping_;
    buffer_[index_] = input + filtered_ * feedback_;
    index_ = (index_ + 1) % buffer_.size();
    return out;
  }

 private:
  std::vector<double> buffer_;
  std::size_t index_ = 0;
  double filtered_ = 0.0;
  double feedback_;
  double damping_;
};

class Allpass {
 public:
  explicit Allpass(int length) : buffer_(length, 0.0) {}

  double process(double input) {
    const double delayed = buffer_[index_];
    buffer_[index_] = input + delayed * kAllpassFeedback;
    index_ = (index_ + 1) % buffer_.size();
    return delayed - input;
  }

 private:
  std::vector<double> buffer_;
  std::size_t index_ = 0;
};

// One channel's network of combs and allpasses.
class Tank {
 public:
  Tank(int spread, const ReverbSettings& settings) {
    for (int length : kCombLengths)
      combs_.emplace_back(length + spread, settings.feedback, settings.damping);
    for (int length : kAllpassLengths) allpasses_.emplace_back(length + spread);
  }

  double process(double input) {
    double sum = 0.0;
    for (Comb& comb : combs_) sum += comb.process(input);
    for (Allpass& allpass : allpasses_) sum = allpass.process(sum);
    return sum;
  }

 private:
  std::vector<Comb> combs_;
  std::vector<Allpass> allpasses_;
};

}  // namespace

void add_reverb(std::vector<float>& left, std::vector<float>& right,
                const ReverbSettings& settings) {
  Tank left_tank(0, settings);
  Tank right_tank(kStereoSpread, settings);
  const std::size_t frames = std::min(left.size(), right.size());
  for (std::size_t i = 0; i < frames; ++i) {
    const double input = (static_cast<double>(left[i]) + right[i]) * kInputGain;
    left[i] += static_cast<float>(settings.wet * left_tank.process(input));
    right[i] += static_cast<float>(settings.wet * right_tank.process(input));
  }
}
