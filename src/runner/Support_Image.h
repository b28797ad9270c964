// A plain 32-bit picture (0xAARRGGBB, rows top first) and our own BMP reader and writer, used for
// the pictures stored in game data and for the BMP files the runner writes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace zorvex {

struct CImage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;  // width * height, row y at y * width

  CImage() = default;
  CImage(int32_t w, int32_t h, uint32_t fill = 0xFF000000u)
      : width(w), height(h), pixels(static_cast<size_t>(w) * static_cast<size_t>(h), fill) {}
  uint32_t At(int32_t x, int32_t y) const {
    return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
  }
  void Set(int32_t x, int32_t y, uint32_t argb) {
    pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] = argb;
  }
};

// Pictures larger than this in either direction are refused (no real game stores one; a corrupt
// header must not make us allocate gigabytes).
constexpr int32_t kMaxImageSide = 16384;

// Decodes a whole BMP file (file header included): 1, 4 and 8 bits with a palette, 16, 24 and 32
// bits (plain or with bit-field masks), bottom-up or top-down. Without an alpha mask every pixel
// is opaque. Anything else, or data that is cut short, gives nullptr.
std::unique_ptr<CImage> DecodeBmp(const uint8_t* data, size_t size);

// Writes a BMP file: 24 bits without alpha, or 32 bits with an alpha mask (version 4 header),
// bottom-up as most readers expect.
std::vector<uint8_t> EncodeBmp(const CImage& image, bool with_alpha);

}  // namespace zorvex
