// Small guards shared by the resource readers: stored counts and sizes are checked against what
// the rest of the stream can actually hold before anything is allocated for them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "runner/Support_Stream.h"

namespace zorvex {

// Reads an int32 count of elements that take at least min_bytes_each bytes each. False when the
// count is negative or larger than the rest of the stream could hold.
bool ReadCount(CStream& s, size_t min_bytes_each, int32_t& count);

// The largest block of pixels or glyph sheet we take (an 8192 x 8192 image).
inline constexpr size_t kMaxExactBlock = size_t{1} << 28;

// Reads a compressed block that must inflate to exactly `expected` bytes (at most
// kMaxExactBlock). Inflation stops as soon
// as more output appears, so a crafted block cannot make us allocate more than `expected`.
// False on a size mismatch; a block that is not valid zlib data throws StreamReadError like any
// other corrupt block.
bool ReadCompressedBlockExact(CStream& s, size_t expected, std::vector<uint8_t>& out);

// Stored forms keep positions and speeds as int32 where the running values are reals.
int32_t StoredInt(double v);

}  // namespace zorvex
