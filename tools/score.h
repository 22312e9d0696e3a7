// The organ piece as a list of notes: a minor-key chorale with a running tenor and a pedal bass.
#pragma once

#include <vector>

constexpr double kTempoBpm = 100.0;  // 0.6 s per beat, so 25 bars fill exactly one minute
constexpr int kBeatsPerBar = 4;
constexpr double kPieceBeats = 100.0;  // 25 bars of 4/4, the final chord included

// Which organ stop (timbre and place in the stereo field) plays a note.
enum class Voice { kSoprano, kSopranoOctaveDown, kChords, kTenor, kPedal };
constexpr int kVoiceCount = 5;

struct Note {
  double start_beat;
  double length_beats;  // sounding length, articulation gaps already taken off
  int midi;             // MIDI note number; 69 is A4 at 440 Hz
  Voice voice;
};

// Builds the whole piece. Throws std::logic_error if the written score is inconsistent.
std::vector<Note> compose_score();
