// The standard generator's sequence as the particles will see it: a seed, the draws it yields,
// and places in that sequence where the draws have chosen remainders. A test rewinds the
// generator to such a place, runs a particle, and knows exactly which values it drew.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <vector>

constexpr unsigned kStreamSeed = 12345;  // any seed; the tests read its draws, never assume them
// How far a search walks the sequence: about 25 times the wait for two chosen remainders
// modulo 400, so a search practically never comes back empty.
constexpr size_t kSearchLength = 4000000;

// The first `count` draws after srand(kStreamSeed).
inline std::vector<int> recorded_draws(size_t count) {
  srand(kStreamSeed);
  std::vector<int> draws(count);
  for (int& d : draws) d = rand();
  return draws;
}

// Seeds the generator again and skips `position` draws, so the next draw is draws[position].
inline void rewind_to(size_t position) {
  srand(kStreamSeed);
  for (size_t i = 0; i < position; ++i) rand();
}

// One condition on the draw `offset` places after a position: its remainder modulo `modulus`.
struct draw_condition {
  size_t offset;
  int modulus;
  int remainder;
};

// The first position in the seeded sequence where every condition holds, or kSearchLength when
// none was found.
inline size_t find_position(const std::vector<draw_condition>& conditions) {
  static const std::vector<int> draws = recorded_draws(kSearchLength);
  size_t reach = 0;
  for (const draw_condition& c : conditions) reach = c.offset + 1 > reach ? c.offset + 1 : reach;
  for (size_t p = 0; p + reach <= draws.size(); ++p) {
    bool all = true;
    for (const draw_condition& c : conditions) {
      if (draws[p + c.offset] % c.modulus != c.remainder) {
        all = false;
        break;
      }
    }
    if (all) return p;
  }
  return kSearchLength;
}
