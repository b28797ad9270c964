// The one random generator of a run. Functions, actions, particles, motion and data-structure
// shuffling all draw from this sequence, so a fixed start seed replays a whole game.
#pragma once

#include <cstdint>

namespace zorvex {

class CRandom {
 public:
  // Program start seeds from the clock, like every later clock reseed.
  CRandom() { SeedFromClock(); }

  // Advances the seed (seed * 134775813 + 1 modulo 2^32) and returns the new seed.
  uint32_t Next() {
    seed_ = seed_ * 134775813u + 1u;
    return seed_;
  }
  // A draw in [0, 1): the new seed times 2^-32.
  double NextReal() { return static_cast<double>(Next()) * (1.0 / 4294967296.0); }
  // A draw in 0 .. n-1 (0 when n is 0): the high half of the 64-bit product of n and the seed.
  uint32_t NextBelow(uint32_t n) {
    return static_cast<uint32_t>((static_cast<uint64_t>(n) * Next()) >> 32);
  }

  uint32_t seed() const { return seed_; }
  void SetSeed(uint32_t seed) { seed_ = seed; }

  // Program start, game start and randomize: the low 32 bits of the performance counter, or
  // the fixed start seed when one was given (--seed), so that a run replays exactly.
  void SeedFromClock();
  void FixStartSeed(uint32_t seed) {
    fixed_ = true;
    fixed_seed_ = seed;
    seed_ = seed;
  }
  bool has_fixed_start_seed() const { return fixed_; }

 private:
  uint32_t seed_ = 0;
  bool fixed_ = false;
  uint32_t fixed_seed_ = 0;
};

}  // namespace zorvex
