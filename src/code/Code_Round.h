// The language's conversion of reals to integers and its truth test.
#pragma once

#include <cmath>
#include <cstdint>

namespace zorvex {

// Nearest integer, halves to the even neighbour, as a 64-bit integer. NaN and values outside
// the 64-bit range give the most negative integer, as the processor's own conversion does.
inline int64_t RoundToInt64(double x) {
  // Most values are whole numbers already (indices, counts, ids): no rounding call for those.
  if (x > -9.0e18 && x < 9.0e18) {
    int64_t i = static_cast<int64_t>(x);
    if (static_cast<double>(i) == x) return i;
  }
  double r = std::nearbyint(x);  // the default rounding mode rounds ties to even
  if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0)) return INT64_MIN;
  return static_cast<int64_t>(r);
}

// Where a 32-bit integer is needed the low 32 bits of the 64-bit result are used.
inline int32_t RoundToInt32(double x) {
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(RoundToInt64(x))));
}

// A real is true when it is 0.5 or more.
inline bool IsTrue(double x) {
  return x >= 0.5;
}

}  // namespace zorvex
