#include "resources/Resource_Read.h"

#include <zlib.h>

#include <cmath>
#include <limits>

namespace zorvex {

bool ReadCount(CStream& s, size_t min_bytes_each, int32_t& count) {
  count = s.ReadInt();
  if (count < 0) return false;
  if (min_bytes_each == 0) return true;
  return static_cast<size_t>(count) <= s.Remaining() / min_bytes_each;
}

bool ReadCompressedBlockExact(CStream& s, size_t expected, std::vector<uint8_t>& out) {
  int32_t n = s.ReadInt();
  if (n < 0 || static_cast<size_t>(n) > s.Remaining()) throw StreamReadError("block past the end");
  const uint8_t* data = s.Data() + s.Position();
  s.Skip(static_cast<size_t>(n));
  // zlib cannot expand by more than about 1032 to 1; a record claiming more is lying, and we
  // refuse it before allocating anything.
  if (expected > kMaxExactBlock || expected > static_cast<size_t>(n) * 1032 + 64) return false;

  out.assign(expected, 0);
  z_stream zs{};
  if (inflateInit(&zs) != Z_OK) throw StreamReadError("inflate could not start");
  zs.next_in = const_cast<Bytef*>(data);
  zs.avail_in = static_cast<uInt>(n);
  // One spare byte of room shows whether the block holds more than expected.
  uint8_t spare = 0;
  size_t produced = 0;
  int rc = Z_OK;
  while (rc == Z_OK) {
    if (produced < expected) {
      size_t room = std::min<size_t>(expected - produced, std::numeric_limits<uInt>::max());
      zs.next_out = out.data() + produced;
      zs.avail_out = static_cast<uInt>(room);
      rc = inflate(&zs, Z_NO_FLUSH);
      produced += room - zs.avail_out;
    } else {
      zs.next_out = &spare;
      zs.avail_out = 1;
      rc = inflate(&zs, Z_NO_FLUSH);
      if (zs.avail_out == 0) {
        inflateEnd(&zs);
        return false;  // more bytes than the record says
      }
    }
    if (rc == Z_BUF_ERROR && zs.avail_in == 0) break;  // input ran out before the end
  }
  inflateEnd(&zs);
  if (rc != Z_STREAM_END) throw StreamReadError("corrupt compressed block");
  return produced == expected;
}

int32_t StoredInt(double v) {
  if (!(v == v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(std::nearbyint(v));
}

}  // namespace zorvex
