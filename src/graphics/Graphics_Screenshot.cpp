// PNG writing for screenshots: 8-bit RGB, one zlib stream, no filtering.
#include <zlib.h>

#include <cstdio>
#include <memory>

#include "graphics/Graphics_Main.h"

namespace zorvex {

namespace {
void PutU32(std::vector<unsigned char>& out, uint32_t v) {
  out.push_back(static_cast<unsigned char>(v >> 24));
  out.push_back(static_cast<unsigned char>(v >> 16));
  out.push_back(static_cast<unsigned char>(v >> 8));
  out.push_back(static_cast<unsigned char>(v));
}

void PutChunk(std::vector<unsigned char>& out, const char type[5], const unsigned char* data,
              size_t size) {
  PutU32(out, static_cast<uint32_t>(size));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  if (size) out.insert(out.end(), data, data + size);
  uLong crc = crc32(0L, out.data() + start, static_cast<uInt>(size + 4));
  PutU32(out, static_cast<uint32_t>(crc));
}
}  // namespace

bool WritePngRgb(const std::string& path, const CRegionImage& image) {
  if (image.width <= 0 || image.height <= 0 ||
      image.pixels.size() != static_cast<size_t>(image.width) * image.height) {
    return false;
  }
  const size_t row = 1 + static_cast<size_t>(image.width) * 3;
  std::vector<unsigned char> raw(row * static_cast<size_t>(image.height));
  for (int y = 0; y < image.height; ++y) {
    unsigned char* d = raw.data() + row * static_cast<size_t>(y);
    *d++ = 0;  // filter: none
    const uint32_t* s = image.pixels.data() + static_cast<size_t>(y) * image.width;
    for (int x = 0; x < image.width; ++x) {
      *d++ = static_cast<unsigned char>(s[x] >> 16);
      *d++ = static_cast<unsigned char>(s[x] >> 8);
      *d++ = static_cast<unsigned char>(s[x]);
    }
  }
  uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
  std::vector<unsigned char> packed(packed_size);
  if (compress2(packed.data(), &packed_size, raw.data(), static_cast<uLong>(raw.size()), 6) !=
      Z_OK) {
    return false;
  }
  std::vector<unsigned char> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<unsigned char> ihdr;
  PutU32(ihdr, static_cast<uint32_t>(image.width));
  PutU32(ihdr, static_cast<uint32_t>(image.height));
  ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8-bit, RGB, deflate, no filter, no interlace
  PutChunk(out, "IHDR", ihdr.data(), ihdr.size());
  PutChunk(out, "IDAT", packed.data(), packed_size);
  PutChunk(out, "IEND", nullptr, 0);
  std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!f) return false;
  if (std::fwrite(out.data(), 1, out.size(), f.get()) != out.size()) return false;
  return std::fclose(f.release()) == 0;
}

}  // namespace zorvex
