// The piece, in D minor at 100 bpm: three phrases over a chord progression, then a held
// D major chord (a Picardy third) that fades out. The tune is written as text, one bar per
// '|', each note as NAME+OCTAVE:EIGHTHS; the accompaniment is derived from the chords.
#include "score.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <stdexcept>
#include <string>

namespace {

constexpr int kEighthsPerBar = 8;    // 4/4 counted in eighth notes
constexpr double kMelodyGap = 0.08;  // beats of silence after each tune note, so repeats speak
constexpr double kChordGap = 0.04;   // chords are nearly legato
constexpr double kTenorGap = 0.06;   // running eighths, lightly detached
constexpr double kPedalGap = 0.10;   // the pedal is articulated most, like a played bass
constexpr int kChordLow = 55;        // chord tones go in G3..F#4, near each other bar to bar
constexpr int kTenorLow = 48;        // running tenor in C3..B3
constexpr int kPedalLow = 38;        // pedal roots in D2..C#3 (sounding an octave lower, 16')
constexpr int kAnswerBar = 8;        // second phrase: the tenor starts running
constexpr int kClimaxBar = 16;       // third phrase: octave pedal, tune doubled an octave lower
constexpr int kFinalBar = 22;        // zero-based bar where the last chord starts

// Three phrases: a calm statement, a running answer and a climbing climax that cadences on A7.
const char* const kMelody =
    "D5:2 A4:1 D5:1 F5:3 E5:1 | D5:2 G5:2 F5:1 E5:1 D5:2 | E5:3 C5:1 G4:2 C5:2 |"
    "A4:2 C5:1 F5:1 A5:3 G5:1 | F5:2 D5:2 Bb4:2 D5:1 F5:1 | G5:2 F5:1 E5:1 D5:2 Bb4:2 |"
    "A4:2 C#5:2 E5:2 G5:2 | E5:2 C#5:2 A4:4 |"
    "D5:1 E5:1 F5:1 D5:1 A5:2 F5:2 | F5:1 G5:1 F5:1 D5:1 Bb4:2 D5:2 |"
    "G5:1 A5:1 Bb5:1 G5:1 D5:2 Bb4:2 | C#5:1 D5:1 E5:1 C#5:1 A4:4 |"
    "A5:3 G5:1 F5:2 D5:2 | G5:3 F5:1 E5:2 C5:2 | F5:3 E5:1 D5:2 Bb4:2 | C#5:2 E5:2 A5:4 |"
    "Bb5:4 A5:2 G5:2 | A5:3 F5:1 D5:2 F5:2 | F5:2 D5:1 F5:1 Bb5:2 A5:1 G5:1 |"
    "G5:2 D5:2 Bb4:2 G5:2 | E5:2 A5:2 G5:1 F5:1 E5:2 | A5:2 G5:2 E5:2 C#5:2";

// One chord per bar, matching the tune above.
const char* const kChords =
    "Dm Gm C F Bb Gm A A7 "
    "Dm Bb Gm A Dm C Bb A7 "
    "Gm Dm Bb Gm A A7";

// Alberti-like order of the tenor's chord tones over one bar of eighths.
constexpr int kTenorPattern[kEighthsPerBar] = {0, 2, 1, 2, 3, 2, 1, 2};

struct Chord {
  int root;                // pitch class, 0 = C
  std::vector<int> tones;  // pitch classes
};

int pitch_class(char letter) {
  switch (letter) {
    case 'C':
      return 0;
    case 'D':
      return 2;
    case 'E':
      return 4;
    case 'F':
      return 5;
    case 'G':
      return 7;
    case 'A':
      return 9;
    case 'B':
      return 11;
    default:
      throw std::logic_error(std::string("bad note letter ") + letter);
  }
}

// Reads a letter and an optional sharp or flat from `text` at `pos`.
int read_pitch_class(const std::string& text, std::size_t* pos) {
  int pc = pitch_class(text.at(*pos));
  ++*pos;
  if (*pos < text.size() && text[*pos] == '#') {
    ++pc;
    ++*pos;
  } else if (*pos < text.size() && text[*pos] == 'b') {
    --pc;
    ++*pos;
  }
  return (pc + 12) % 12;
}

Chord parse_chord(const std::string& name) {
  std::size_t pos = 0;
  Chord chord;
  chord.root = read_pitch_class(name, &pos);
  const std::string kind = name.substr(pos);
  std::vector<int> intervals;
  if (kind.empty()) {
    intervals = {0, 4, 7};
  } else if (kind == "m") {
    intervals = {0, 3, 7};
  } else if (kind == "7") {
    intervals = {0, 4, 7, 10};
  } else {
    throw std::logic_error("unknown chord " + name);
  }
  for (int interval : intervals) chord.tones.push_back((chord.root + interval) % 12);
  return chord;
}

std::vector<Chord> parse_chords(const char* text) {
  std::istringstream in(text);
  std::vector<Chord> chords;
  std::string name;
  while (in >> name) chords.push_back(parse_chord(name));
  return chords;
}

// Places each chord tone in the octave starting at `low`, lowest first.
std::vector<int> voice_chord(const Chord& chord, int low) {
  std::vector<int> notes;
  for (int pc : chord.tones) notes.push_back(low + (pc - low % 12 + 12) % 12);
  std::sort(notes.begin(), notes.end());
  return notes;
}

void add_melody(const char* text, std::vector<Note>* notes) {
  std::istringstream bars(text);
  std::string bar;
  int bar_index = 0;
  while (std::getline(bars, bar, '|')) {
    std::istringstream tokens(bar);
    std::string token;
    int eighths = 0;
    while (tokens >> token) {
      std::size_t pos = 0;
      const int pc = read_pitch_class(token, &pos);
      if (pos + 2 >= token.size() || !std::isdigit(static_cast<unsigned char>(token[pos])) ||
          token[pos + 1] != ':') {
        throw std::logic_error("bad tune note " + token);
      }
      const int octave = token[pos] - '0';
      const int length = std::stoi(token.substr(pos + 2));
      const double start = bar_index * kBeatsPerBar + eighths * 0.5;
      const int midi = 12 * (octave + 1) + pc;
      const double beats = length * 0.5 - kMelodyGap;
      notes->push_back({start, beats, midi, Voice::kSoprano});
      if (bar_index >= kClimaxBar) {
        notes->push_back({start, beats, midi - 12, Voice::kSopranoOctaveDown});
      }
      eighths += length;
    }
    if (eighths != kEighthsPerBar) {
      throw std::logic_error("tune bar " + std::to_string(bar_index + 1) + " is not 4 beats");
    }
    ++bar_index;
  }
  if (bar_index != kFinalBar) throw std::logic_error("tune and final chord do not meet");
}

void add_pedal_bar(const Chord& chord, int bar, std::vector<Note>* notes) {
  const int root = kPedalLow + (chord.root - kPedalLow % 12 + 12) % 12;
  const double start = bar * kBeatsPerBar;
  auto play = [&](double beat, double length, int midi) {
    notes->push_back({start + beat, length - kPedalGap, midi, Voice::kPedal});
  };
  if (bar < kAnswerBar) {  // calm: long root, a fifth below, root again
    play(0.0, 2.0, root);
    play(2.0, 1.0, root - 5);
    play(3.0, 1.0, root);
  } else if (bar < kClimaxBar) {  // walking quarters: root, octave, fifth, octave
    play(0.0, 1.0, root);
    play(1.0, 1.0, root + 12);
    play(2.0, 1.0, root + 7);
    play(3.0, 1.0, root + 12);
  } else {  // climax: driving octaves in eighths
    for (int i = 0; i < kEighthsPerBar; ++i) play(i * 0.5, 0.5, i % 2 == 0 ? root : root + 12);
  }
}

void add_accompaniment(const std::vector<Chord>& chords, std::vector<Note>* notes) {
  for (int bar = 0; bar < static_cast<int>(chords.size()); ++bar) {
    const Chord& chord = chords[bar];
    const double start = bar * kBeatsPerBar;
    for (int midi : voice_chord(chord, kChordLow)) {
      notes->push_back({start, kBeatsPerBar - kChordGap, midi, Voice::kChords});
    }
    if (bar >= kAnswerBar) {
      Chord triad = chord;  // the tenor leaves any seventh to the chords
      triad.tones.resize(3);
      std::vector<int> tenor = voice_chord(triad, kTenorLow);
      tenor.push_back(tenor[0] + 12);
      for (int i = 0; i < kEighthsPerBar; ++i) {
        notes->push_back(
            {start + i * 0.5, 0.5 - kTenorGap, tenor[kTenorPattern[i]], Voice::kTenor});
      }
    }
    add_pedal_bar(chord, bar, notes);
  }
}

// D major with the tune on the tonic, held to the end of the piece.
void add_final_chord(std::vector<Note>* notes) {
  const double start = kFinalBar * kBeatsPerBar;
  const double length = kPieceBeats - start;
  notes->push_back({start, length, 74, Voice::kSoprano});
  notes->push_back({start, length, 62, Voice::kSopranoOctaveDown});
  for (int midi : {57, 62, 66, 69}) notes->push_back({start, length, midi, Voice::kChords});
  notes->push_back({start, length, 50, Voice::kTenor});
  notes->push_back({start, length, 38, Voice::kPedal});
}

}  // namespace

std::vector<Note> compose_score() {
  std::vector<Note> notes;
  add_melody(kMelody, &notes);
  const std::vector<Chord> chords = parse_chords(kChords);
  if (static_cast<int>(chords.size()) != kFinalBar) {
    throw std::logic_error("chord list and tune differ in length");
  }
  add_accompaniment(chords, &notes);
  add_final_chord(&notes);
  return notes;
}
