// Organ synthesis. Each stop is a single-cycle wavetable summed from drawbar-like harmonics;
// notes get short attack and release ramps, a tiny fixed detune so chords shimmer, a gentle
// tremulant on the solo stop and a slow rotating-speaker sway of the upper stops between
// the speakers. The mix then goes through the reverb, fades, a peak limiter and normalisation.
#include "organ.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "mastering.h"
#include "reverb.h"
#include "score.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kTableSize = 4096;      // samples per wavetable cycle; smooth with interpolation
constexpr int kHarmonics = 8;         // up to the 1' drawbar of an 8' stop
constexpr double kTremulantHz = 5.3;  // solo stop's gentle pitch wobble
constexpr double kTremulantDepth = 0.0022;  // about 4 cents
constexpr double kLeslieHz = 0.8;           // slow "chorale" rotor speed
constexpr double kLeslieDepth = 0.18;       // how far the upper stops sway left and right
constexpr double kDetuneCents = 1.5;        // largest per-note detune
constexpr double kFadeInSeconds = 0.25;     // softens the first attack
constexpr double kFadeOutSeconds = 5.0;     // the final chord dies away over this time
constexpr double kPeakTarget = 0.84;  // -1.5 dBFS: Vorbis overshoot puts the decoded peak near -1
constexpr double kLimiterThreshold = 0.5;           // peaks above -6 dB of the loudest get levelled
constexpr ReverbSettings kRoom{0.86, 0.30, 0.6};    // stone room: ~1.5 s tail, 10 dB under dry
constexpr std::uint32_t kDetuneSeed = 0x0BADC0DEu;  // fixed seed: the same piece every run

// Timbre, level and placement of one organ stop.
struct Stop {
  std::array<double, kHarmonics> drawbars;  // amplitude of harmonics 1..8
  double level;
  double pan;        // -1 left .. +1 right
  double attack;     // seconds
  double release;    // seconds
  int octave_shift;  // 16' stops sound an octave below the written note
  bool tremulant;
  bool leslie;
};

// Indexed by Voice.
const Stop kStops[kVoiceCount] = {
    // Soprano: bright principal chorus, 8' 4' 2 2/3' 2' and a little mixture.
    {{1.0, 0.55, 0.35, 0.30, 0.10, 0.14, 0.0, 0.10}, 0.30, 0.20, 0.030, 0.09, 0, true, true},
    // Soprano an octave down: round flute doubling the climax.
    {{1.0, 0.30, 0.10, 0.08, 0.0, 0.0, 0.0, 0.0}, 0.16, 0.05, 0.030, 0.09, 0, true, true},
    // Chords: soft 8' and 4' flutes.
    {{1.0, 0.45, 0.12, 0.15, 0.0, 0.04, 0.0, 0.0}, 0.10, -0.35, 0.050, 0.15, 0, false, true},
    // Running tenor: reedy 8' with 4' and quint.
    {{0.8, 0.60, 0.28, 0.30, 0.08, 0.10, 0.0, 0.0}, 0.12, 0.35, 0.020, 0.06, 0, false, true},
    // Pedal: 16' bourdon with 8', 5 1/3' and 4'.
    {{1.0, 0.80, 0.25, 0.35, 0.0, 0.08, 0.0, 0.0}, 0.32, 0.0, 0.040, 0.12, -1, false, false},
};

// Our own tiny generator (xorshift32) so the detune pattern never changes.
class Xorshift {
 public:
  explicit Xorshift(std::uint32_t seed) : state_(seed) {}
  // Uniform in -1..1.
  double next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_ / 2147483647.5 - 1.0;
  }

 private:
  std::uint32_t state_;
};

using Table = std::vector<float>;

// One cycle of the stop's waveform, scaled to a peak of 1.
Table make_table(const Stop& stop) {
  Table table(kTableSize + 1);
  double peak = 0.0;
  for (int i = 0; i < kTableSize; ++i) {
    const double phase = 2.0 * kPi * i / kTableSize;
    double v = 0.0;
    for (int h = 0; h < kHarmonics; ++h) v += stop.drawbars[h] * std::sin((h + 1) * phase);
    table[i] = static_cast<float>(v);
    peak = std::max(peak, std::abs(v));
  }
  for (int i = 0; i < kTableSize; ++i) table[i] = static_cast<float>(table[i] / peak);
  table[kTableSize] = table[0];  // guard sample for interpolation
  return table;
}

double midi_to_hz(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }

// Attack and release gain for a note `t` seconds in, lasting `length` seconds before release.
double envelope(const Stop& stop, double t, double length) {
  double gain = 1.0;
  if (t < stop.attack) gain = 0.5 - 0.5 * std::cos(kPi * t / stop.attack);
  if (t > length) {
    const double x = (t - length) / stop.release;
    gain *= x >= 1.0 ? 0.0 : (1.0 - x) * std::exp(-4.0 * x);
  }
  return gain;
}

// Slowly varying per-frame modulation shared by all notes.
struct Modulation {
  std::vector<float> tremulant;     // pitch factor
  std::vector<float> leslie_left;   // gain
  std::vector<float> leslie_right;  // gain
};

Modulation make_modulation(std::size_t frames) {
  Modulation m;
  m.tremulant.resize(frames);
  m.leslie_left.resize(frames);
  m.leslie_right.resize(frames);
  for (std::size_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    m.tremulant[i] =
        static_cast<float>(1.0 + kTremulantDepth * std::sin(2.0 * kPi * kTremulantHz * t));
    const double sway = kLeslieDepth * std::sin(2.0 * kPi * kLeslieHz * t);
    m.leslie_left[i] = static_cast<float>(1.0 + sway);
    m.leslie_right[i] = static_cast<float>(1.0 - sway);
  }
  return m;
}

void render_note(const Note& note, const Table& table, const Stop& stop, double detune,
                 double start_phase, const Modulation& mod, StereoAudio* out) {
  const double seconds_per_beat = 60.0 / kTempoBpm;
  const double length = note.length_beats * seconds_per_beat;
  const std::size_t first =
      static_cast<std::size_t>(std::lround(note.start_beat * seconds_per_beat * kSampleRate));
  const std::size_t frames = static_cast<std::size_t>((length + stop.release) * kSampleRate);
  const std::size_t last = std::min(out->left.size(), first + frames);
  const double hz = midi_to_hz(note.midi + 12.0 * stop.octave_shift + detune);
  const double step = hz * kTableSize / kSampleRate;
  // Constant-power pan.
  const double angle = (stop.pan + 1.0) * 0.25 * kPi;
  const double pan_left = std::cos(angle) * stop.level;
  const double pan_right = std::sin(angle) * stop.level;
  double phase = start_phase * kTableSize;
  if (phase >= kTableSize) phase -= kTableSize;
  for (std::size_t i = first; i < last; ++i) {
    const double t = static_cast<double>(i - first) / kSampleRate;
    const int index = static_cast<int>(phase);
    const double frac = phase - index;
    const double v =
        (table[index] + (table[index + 1] - table[index]) * frac) * envelope(stop, t, length);
    const double left = stop.leslie ? mod.leslie_left[i] : 1.0;
    const double right = stop.leslie ? mod.leslie_right[i] : 1.0;
    out->left[i] += static_cast<float>(v * pan_left * left);
    out->right[i] += static_cast<float>(v * pan_right * right);
    phase += stop.tremulant ? step * mod.tremulant[i] : step;
    if (phase >= kTableSize) phase -= kTableSize;
  }
}

}  // namespace

StereoAudio render_organ_piece() {
  const std::size_t frames = static_cast<std::size_t>(std::lround(kPieceSeconds * kSampleRate));
  StereoAudio audio;
  audio.left.assign(frames, 0.0f);
  audio.right.assign(frames, 0.0f);

  std::vector<Table> tables;
  for (const Stop& stop : kStops) tables.push_back(make_table(stop));
  const Modulation mod = make_modulation(frames);

  Xorshift random(kDetuneSeed);
  for (const Note& note : compose_score()) {
    const int voice = static_cast<int>(note.voice);
    const double detune = kDetuneCents / 100.0 * random.next();
    const double start_phase = 0.5 + 0.5 * random.next();
    render_note(note, tables[voice], kStops[voice], detune, start_phase, mod, &audio);
  }

  add_reverb(audio.left, audio.right, kRoom);
  apply_fades(audio.left, audio.right, static_cast<std::size_t>(kFadeInSeconds * kSampleRate),
              static_cast<std::size_t>(kFadeOutSeconds * kSampleRate));
  limit_peaks(audio.left, audio.right, kLimiterThreshold, kSampleRate);
  normalise(audio.left, audio.right, kPeakTarget);
  return audio;
}
