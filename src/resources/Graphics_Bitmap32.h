// The 32-bit image that holds every pixel of the resource system (sprite frames, backgrounds),
// with the stored image record and the pixel operations that making sprites relies on.
#pragma once

#include <cstdint>
#include <vector>

#include "runner/Support_Stream.h"

namespace zorvex {

struct CPicture;

// Inclusive on all four edges.
struct CRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  bool operator==(const CRect&) const = default;
};

// A bitmap as a drawing library hands it over: 24 bits deep (colours only) or 32 bits deep
// (with alpha). Any depth other than 32 is taken as 24.
struct CRawBitmap {
  int32_t width = 0;
  int32_t height = 0;
  int32_t depth = 24;
  std::vector<uint32_t> pixels;  // 0xAARRGGBB, top row first; alpha unused at depth 24
};

// 0x00BBGGRR (game colours) to an opaque 0xFFRRGGBB pixel.
inline uint32_t OpaquePixel(int32_t colour) {
  uint32_t c = static_cast<uint32_t>(colour);
  return 0xFF000000u | (c & 0xFFu) << 16 | (c & 0xFF00u) | (c >> 16 & 0xFFu);
}

// The colour a new bitmap has before anything is drawn on it.
inline constexpr uint32_t kNewBitmapColour = 0xFFFFFF;
// Transparent areas of loaded pictures are painted in this colour (red 64, green 128, blue 0)
// before the bottom-left pixel chooses the transparent colour.
inline constexpr uint32_t kPictureKeyColour = 0x408000;

class CBitmap32 {
 public:
  static constexpr int32_t kRecordVersion = 540;

  CBitmap32() = default;  // an image without pixels
  // An image with pixels, every pixel set to fill. Negative sizes count as 0.
  CBitmap32(int32_t width, int32_t height, uint32_t fill = 0);

  bool exists() const { return exists_; }
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  const uint32_t* Pixels() const { return pixels_.data(); }
  uint32_t* Pixels() { return pixels_.data(); }
  uint32_t Pixel(int32_t x, int32_t y) const {
    return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
  }
  void SetPixel(int32_t x, int32_t y, uint32_t v) {
    pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] = v;
  }
  static uint8_t Alpha(uint32_t p) { return static_cast<uint8_t>(p >> 24); }

  // The stored image record. A version other than 540 gives an image without pixels and reads
  // nothing further (true). False when the stored size and pixel data disagree.
  bool ReadFrom(CStream& s);
  void WriteTo(CStream& s) const;

  // The w x h pixels at (x, y); no pixels unless all of them lie inside a source with pixels.
  static CBitmap32 Crop(const CBitmap32& src, int32_t x, int32_t y, int32_t w, int32_t h);
  // max(1, w) x max(1, h), opaque, in the game colour (0x00BBGGRR).
  static CBitmap32 Solid(int32_t w, int32_t h, int32_t colour);
  // Kinds 0 horizontal, 1 vertical, 2 rectangle, 3 ellipse, 4 double horizontal, 5 double
  // vertical; from colour0 at the outside (or left, top) to colour1. Other kinds leave the new
  // bitmap as created.
  static CBitmap32 Gradient(int32_t w, int32_t h, int32_t colour0, int32_t colour1, int32_t kind);
  // A decoded picture drawn into a new bitmap (32 bits when use_alpha) and made into an image.
  static CBitmap32 FromPicture(const CPicture& picture, bool use_alpha, bool smooth,
                               bool transparent);
  // From a 24-bit bitmap (alpha 255) or a 32-bit one (alpha kept); then MakeTransparent when
  // transparent and SmoothEdges when smooth and transparent.
  static CBitmap32 FromBitmap(const CRawBitmap& bitmap, bool smooth, bool transparent);

  void MakeTransparent();
  void BleedTransparentColors();
  void SmoothEdges();
  void AlphaFromBrightness(const CBitmap32& other);
  void ResizeNearest(int32_t w, int32_t h);
  CRect OpaqueBounds() const;
  CRawBitmap ToBitmap24() const;

  bool operator==(const CBitmap32&) const = default;

 private:
  bool exists_ = false;
  int32_t width_ = 0;
  int32_t height_ = 0;
  std::vector<uint32_t> pixels_;
};

}  // namespace zorvex
