// Compares two 8-bit PNG pictures per colour channel within a tolerance:
//   zorvex-compare-png ACTUAL EXPECTED TOLERANCE
// Exit status 0 when they match, 1 when they differ (the first differing pixels are listed),
// 2 when either cannot be read.
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool ReadPng(const char* path, std::vector<uint32_t>& pixels, unsigned& w, unsigned& h) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path)) return false;
  image.format = PNG_FORMAT_BGRA;
  w = image.width;
  h = image.height;
  pixels.assign(static_cast<size_t>(w) * h, 0u);
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: zorvex-compare-png ACTUAL EXPECTED TOLERANCE\n");
    return 2;
  }
  std::vector<uint32_t> a, e;
  unsigned aw = 0, ah = 0, ew = 0, eh = 0;
  if (!ReadPng(argv[1], a, aw, ah)) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 2;
  }
  if (!ReadPng(argv[2], e, ew, eh)) {
    std::fprintf(stderr, "cannot read %s\n", argv[2]);
    return 2;
  }
  if (aw != ew || ah != eh) {
    std::printf("size %ux%u, reference %ux%u\n", aw, ah, ew, eh);
    return 1;
  }
  const int tolerance = std::atoi(argv[3]);
  long bad = 0;
  for (unsigned y = 0; y < ah; ++y) {
    for (unsigned x = 0; x < aw; ++x) {
      const uint32_t pa = a[static_cast<size_t>(y) * aw + x],
                     pe = e[static_cast<size_t>(y) * aw + x];
      for (int shift = 0; shift <= 16; shift += 8) {
        const int ca = static_cast<int>((pa >> shift) & 0xFF);
        const int ce = static_cast<int>((pe >> shift) & 0xFF);
        if (std::abs(ca - ce) > tolerance) {
          if (bad++ < 8)
            std::printf("pixel (%u, %u) is #%06X, reference #%06X\n", x, y, pa & 0xFFFFFFu,
                        pe & 0xFFFFFFu);
          break;
        }
      }
    }
  }
  if (bad > 0) {
    std::printf("%ld pixels differ\n", bad);
    return 1;
  }
  return 0;
}
