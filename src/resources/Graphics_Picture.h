// Picture files that game code loads as sprites and backgrounds: PNG, JPEG and GIF (with every
// sub-image of an animated GIF, its place, transparency and disposal).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zorvex {

// One decoded picture.
struct CPicture {
  int32_t width = 0;
  int32_t height = 0;
  bool has_alpha = false;        // the file carries transparency of its own
  std::vector<uint32_t> pixels;  // 0xAARRGGBB, top row first; alpha 255 without has_alpha
};

// The sub-images of a GIF file, undecoded into colours so that each can be drawn with its own
// transparency onto the previous state of the canvas.
struct CGifAnimation {
  struct Frame {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> indices;         // width * height colour indices, top row first
    std::array<uint32_t, 256> palette{};  // 0x00RRGGBB per index
    int32_t transparent_index = -1;       // -1: every pixel is drawn
    int32_t disposal = 0;                 // 1: do not dispose (the next frame draws over this one)
  };
  int32_t width = 0;  // logical screen
  int32_t height = 0;
  std::vector<Frame> frames;
};

// Pictures larger than this many pixels (or wider or higher than kMaxPictureSide) are refused
// before anything is allocated for them; an animation may hold kMaxAnimationPixels in all.
inline constexpr int64_t kMaxPictureSide = 16384;
inline constexpr int64_t kMaxPicturePixels = int64_t{1} << 26;
inline constexpr int64_t kMaxAnimationPixels = int64_t{1} << 27;

// Decodes PNG, JPEG or GIF (its first sub-image) by the file's content. False for anything else
// or on corrupt data.
bool DecodePicture(const uint8_t* data, size_t size, CPicture& out);
bool DecodeGifAnimation(const uint8_t* data, size_t size, CGifAnimation& out);

// The same for a file given by its Linux path.
bool LoadPictureFile(const std::string& path, CPicture& out);
bool LoadGifFile(const std::string& path, CGifAnimation& out);

// Reads a whole file; false when it cannot be read.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out);

}  // namespace zorvex
