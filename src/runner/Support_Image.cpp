#include "runner/Support_Image.h"

#include <bit>

namespace zorvex {

namespace {

uint32_t Le16(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}
uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Extracts one channel given by a bit mask and scales it to 0..255.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;

  explicit Channel(uint32_t m = 0) : mask(m) {
    if (m == 0) return;
    shift = std::countr_zero(m);
    max = m >> shift;
  }
  uint32_t Get(uint32_t v) const {
    if (mask == 0) return 0;
    uint32_t c = (v & mask) >> shift;
    // Masks need not be contiguous; treat whatever the bits give as a fraction of the maximum.
    return max == 0 ? 0 : (c * 255 + max / 2) / max;
  }
};

constexpr uint32_t kBiRgb = 0, kBiBitfields = 3, kBiAlphaBitfields = 6;

}  // namespace

std::unique_ptr<CImage> DecodeBmp(const uint8_t* data, size_t size) {
  if (data == nullptr || size < 14 + 12 || data[0] != 'B' || data[1] != 'M') return nullptr;
  const uint32_t pixel_offset = Le32(data + 10);
  const uint8_t* info = data + 14;
  const uint32_t header_size = Le32(info);
  int64_t width, height;
  uint32_t bpp, compression = kBiRgb, colors_used = 0;
  size_t palette_entry = 4;
  if (header_size == 12) {  // the old OS/2 core header
    width = Le16(info + 4);
    height = static_cast<int16_t>(Le16(info + 6));
    bpp = Le16(info + 10);
    palette_entry = 3;
  } else if (header_size >= 40 && header_size <= 124) {
    if (size < 14 + static_cast<size_t>(header_size)) return nullptr;
    width = static_cast<int32_t>(Le32(info + 4));
    height = static_cast<int32_t>(Le32(info + 8));
    bpp = Le16(info + 14);
    compression = Le32(info + 16);
    colors_used = Le32(info + 32);
  } else {
    return nullptr;
  }
  if (Le16(info + (header_size == 12 ? 8 : 12)) != 1) return nullptr;  // planes
  const bool top_down = height < 0;
  if (top_down) height = -height;
  if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide) return nullptr;

  // Masks for 16 and 32 bits: given in the header (version 2 and up), or after a 40-byte header.
  uint32_t rmask, gmask, bmask, amask = 0;
  size_t after_header = 14 + header_size;
  if (bpp == 16) {
    rmask = 0x7C00, gmask = 0x03E0, bmask = 0x001F;
  } else {
    rmask = 0xFF0000, gmask = 0xFF00, bmask = 0xFF;
  }
  if (compression == kBiBitfields || compression == kBiAlphaBitfields) {
    if (bpp != 16 && bpp != 32) return nullptr;
    const uint8_t* m;
    if (header_size >= 52) {
      m = info + 40;
    } else {
      size_t extra = compression == kBiAlphaBitfields ? 16 : 12;
      if (size < after_header + extra) return nullptr;
      m = data + after_header;
      after_header += extra;
    }
    rmask = Le32(m), gmask = Le32(m + 4), bmask = Le32(m + 8);
    if (compression == kBiAlphaBitfields || header_size >= 56) amask = Le32(m + 12);
  } else if (compression != kBiRgb) {
    return nullptr;  // run-length and embedded JPEG/PNG pictures are not used in game data
  }

  uint32_t palette[256];
  if (bpp == 1 || bpp == 4 || bpp == 8) {
    uint32_t count = colors_used == 0 || colors_used > (1u << bpp) ? (1u << bpp) : colors_used;
    if (size < after_header + count * palette_entry) return nullptr;
    for (uint32_t i = 0; i < 256; ++i)
      palette[i] = 0xFF000000u;
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* e = data + after_header + i * palette_entry;
      palette[i] = 0xFF000000u | uint32_t(e[2]) << 16 | uint32_t(e[1]) << 8 | e[0];
    }
  } else if (bpp != 16 && bpp != 24 && bpp != 32) {
    return nullptr;
  }

  const size_t stride = ((static_cast<size_t>(width) * bpp + 31) / 32) * 4;
  const size_t rows = static_cast<size_t>(height);
  if (pixel_offset > size || (size - pixel_offset) / stride < rows) return nullptr;

  auto image = std::make_unique<CImage>(static_cast<int32_t>(width), static_cast<int32_t>(height));
  const Channel r(rmask), g(gmask), b(bmask), a(amask);
  for (size_t row = 0; row < rows; ++row) {
    const uint8_t* src = data + pixel_offset + row * stride;
    int32_t y = static_cast<int32_t>(top_down ? row : rows - 1 - row);
    uint32_t* dst = image->pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
    for (int64_t x = 0; x < width; ++x) {
      uint32_t argb;
      switch (bpp) {
        case 1:
          argb = palette[(src[x >> 3] >> (7 - (x & 7))) & 1];
          break;
        case 4:
          argb = palette[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15];
          break;
        case 8:
          argb = palette[src[x]];
          break;
        case 24: {
          const uint8_t* p = src + x * 3;
          argb = 0xFF000000u | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
          break;
        }
        default: {  // 16 and 32 bits through the masks
          uint32_t v = bpp == 16 ? Le16(src + x * 2) : Le32(src + x * 4);
          uint32_t alpha = amask != 0 ? a.Get(v) : 255;
          argb = alpha << 24 | r.Get(v) << 16 | g.Get(v) << 8 | b.Get(v);
          break;
        }
      }
      dst[x] = argb;
    }
  }
  return image;
}

std::vector<uint8_t> EncodeBmp(const CImage& image, bool with_alpha) {
  const uint32_t header_size = with_alpha ? 108 : 40;
  const uint32_t bpp = with_alpha ? 32 : 24;
  const size_t w = static_cast<size_t>(image.width), h = static_cast<size_t>(image.height);
  const size_t stride = ((w * bpp + 31) / 32) * 4;
  const uint32_t offset = 14 + header_size;
  std::vector<uint8_t> out(offset + stride * h, 0);
  auto put16 = [&](size_t at, uint32_t v) {
    out[at] = uint8_t(v);
    out[at + 1] = uint8_t(v >> 8);
  };
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
      out[at + static_cast<size_t>(i)] = uint8_t(v >> (8 * i));
  };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, static_cast<uint32_t>(out.size()));
  put32(10, offset);
  put32(14, header_size);
  put32(18, static_cast<uint32_t>(image.width));
  put32(22, static_cast<uint32_t>(image.height));
  put16(26, 1);
  put16(28, bpp);
  put32(30, with_alpha ? kBiBitfields : kBiRgb);
  put32(34, static_cast<uint32_t>(stride * h));
  put32(38, 2835);  // 72 dots per inch
  put32(42, 2835);
  if (with_alpha) {
    put32(54, 0x00FF0000);
    put32(58, 0x0000FF00);
    put32(62, 0x000000FF);
    put32(66, 0xFF000000);
    put32(70, 0x73524742);  // "sRGB"
  }
  for (size_t y = 0; y < h; ++y) {
    uint8_t* dst = out.data() + offset + (h - 1 - y) * stride;
    const uint32_t* src = image.pixels.data() + y * w;
    for (size_t x = 0; x < w; ++x) {
      uint32_t p = src[x];
      if (with_alpha) {
        dst[x * 4] = uint8_t(p);
        dst[x * 4 + 1] = uint8_t(p >> 8);
        dst[x * 4 + 2] = uint8_t(p >> 16);
        dst[x * 4 + 3] = uint8_t(p >> 24);
      } else {
        dst[x * 3] = uint8_t(p);
        dst[x * 3 + 1] = uint8_t(p >> 8);
        dst[x * 3 + 2] = uint8_t(p >> 16);
      }
    }
  }
  return out;
}

}  // namespace zorvex
