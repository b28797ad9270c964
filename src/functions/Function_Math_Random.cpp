#include "functions/Function_Math_Random.h"

#include <chrono>

namespace zorvex {

void CRandom::SeedFromClock() {
  if (fixed_) {
    seed_ = fixed_seed_;
    return;
  }
  // The counter ticks at 10 MHz, as the high-resolution counter games were written against.
  auto ticks = std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
                   .count() /
               100;
  seed_ = static_cast<uint32_t>(static_cast<uint64_t>(ticks));
}

}  // namespace zorvex
