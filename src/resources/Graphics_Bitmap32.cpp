#include "resources/Graphics_Bitmap32.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "resources/Graphics_Picture.h"
#include "resources/Resource_Read.h"

namespace zorvex {

static_assert(std::endian::native == std::endian::little,
              "pixel blocks are copied as little-endian words");

CBitmap32::CBitmap32(int32_t width, int32_t height, uint32_t fill)
    : exists_(true), width_(std::max(0, width)), height_(std::max(0, height)) {
  pixels_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), fill);
}

bool CBitmap32::ReadFrom(CStream& s) {
  *this = CBitmap32();
  if (s.ReadInt() != kRecordVersion) return true;
  if (!s.ReadBool()) return true;
  int32_t w = s.ReadInt();
  int32_t h = s.ReadInt();
  if (w < 0 || h < 0) return false;
  size_t count = static_cast<size_t>(w) * static_cast<size_t>(h);
  std::vector<uint8_t> bytes;
  if (!ReadCompressedBlockExact(s, count * 4, bytes)) return false;
  exists_ = true;
  width_ = w;
  height_ = h;
  pixels_.resize(count);
  if (count) std::memcpy(pixels_.data(), bytes.data(), count * 4);
  return true;
}

void CBitmap32::WriteTo(CStream& s) const {
  s.WriteInt(kRecordVersion);
  s.WriteBool(exists_);
  if (!exists_) return;
  s.WriteInt(width_);
  s.WriteInt(height_);
  s.WriteCompressedBlock(reinterpret_cast<const uint8_t*>(pixels_.data()), pixels_.size() * 4);
}

CBitmap32 CBitmap32::Crop(const CBitmap32& src, int32_t x, int32_t y, int32_t w, int32_t h) {
  if (!src.exists_ || x < 0 || y < 0 || w < 0 || h < 0) return CBitmap32();
  if (int64_t{x} + w > src.width_ || int64_t{y} + h > src.height_) return CBitmap32();
  CBitmap32 out(w, h);
  for (int32_t row = 0; row < h; ++row)
    std::copy_n(src.pixels_.data() + static_cast<size_t>(y + row) * src.width_ + x, w,
                out.pixels_.data() + static_cast<size_t>(row) * w);
  return out;
}

CBitmap32 CBitmap32::Solid(int32_t w, int32_t h, int32_t colour) {
  return CBitmap32(std::max(1, w), std::max(1, h), OpaquePixel(colour));
}

namespace {

// The 24-bit picture a gradient is painted on: colours as 0x00RRGGBB.
struct Canvas {
  int32_t w, h;
  std::vector<uint32_t> px;
  void FillRect(int32_t l, int32_t t, int32_t r, int32_t b, uint32_t c) {
    l = std::max(l, 0);
    t = std::max(t, 0);
    r = std::min(r, w);
    b = std::min(b, h);
    for (int32_t y = t; y < b; ++y)
      for (int32_t x = l; x < r; ++x)
        px[static_cast<size_t>(y) * w + x] = c;
  }
  // A filled ellipse in the box [l, r) x [t, b): the pixels whose centres lie inside it.
  void FillEllipse(int32_t l, int32_t t, int32_t r, int32_t b, uint32_t c) {
    if (r <= l || b <= t) return;
    double cx = (l + r) / 2.0, cy = (t + b) / 2.0;
    double rx = (r - l) / 2.0, ry = (b - t) / 2.0;
    for (int32_t y = std::max(t, 0); y < std::min(b, h); ++y)
      for (int32_t x = std::max(l, 0); x < std::min(r, w); ++x) {
        double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
        if (dx * dx + dy * dy <= 1.0) px[static_cast<size_t>(y) * w + x] = c;
      }
  }
};

// The colour between colour0 (t = 0) and colour1 (t = 1), as 0x00RRGGBB.
uint32_t Mix(int32_t colour0, int32_t colour1, double t) {
  uint32_t c0 = static_cast<uint32_t>(colour0), c1 = static_cast<uint32_t>(colour1);
  auto channel = [&](int shift) {
    double a = (c0 >> shift) & 0xFF, b = (c1 >> shift) & 0xFF;
    double v = std::nearbyint((1.0 - t) * a + t * b);
    return static_cast<uint32_t>(std::clamp(v, 0.0, 255.0));
  };
  uint32_t r = channel(0), g = channel(8), b = channel(16);
  return r << 16 | g << 8 | b;
}

// g / n, with a single step (n = 0) taken as the start colour.
double Fraction(int32_t g, int32_t n) {
  return n == 0 ? 0.0 : static_cast<double>(g) / n;
}

}  // namespace

CBitmap32 CBitmap32::Gradient(int32_t w, int32_t h, int32_t colour0, int32_t colour1,
                              int32_t kind) {
  w = std::max(1, w);
  h = std::max(1, h);
  Canvas cv{w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h, kNewBitmapColour)};
  switch (kind) {
    case 0:
      for (int32_t x = 0; x < w; ++x)
        cv.FillRect(x, 0, x + 1, h, Mix(colour0, colour1, static_cast<double>(x) / w));
      break;
    case 1:
      for (int32_t y = 0; y < h; ++y)
        cv.FillRect(0, y, w, y + 1, Mix(colour0, colour1, static_cast<double>(y) / h));
      break;
    case 2: {
      int32_t n = std::min(w, h) / 2;
      for (int32_t g = 0; g <= n; ++g)
        cv.FillRect(g, g, w - g, h - g, Mix(colour0, colour1, Fraction(g, n)));
      break;
    }
    case 3: {
      cv.FillRect(0, 0, w, h, Mix(colour0, colour1, 0.0));
      int32_t n = std::min(w, h) / 2;
      for (int32_t g = 0; g <= n; ++g)
        cv.FillEllipse(g, g, w - g, h - g, Mix(colour0, colour1, Fraction(g, n)));
      break;
    }
    case 4: {
      int32_t n = w / 2;
      for (int32_t x = 0; x <= n; ++x) {
        uint32_t c = Mix(colour0, colour1, Fraction(x, n));
        cv.FillRect(x, 0, x + 1, h, c);
        cv.FillRect(w - x, 0, w - x + 1, h, c);
      }
      break;
    }
    case 5: {
      int32_t n = h / 2;
      for (int32_t y = 0; y <= n; ++y) {
        uint32_t c = Mix(colour0, colour1, Fraction(y, n));
        cv.FillRect(0, y, w, y + 1, c);
        cv.FillRect(0, h - y, w, h - y + 1, c);
      }
      break;
    }
    default:
      break;
  }
  CRawBitmap raw{w, h, 24, std::move(cv.px)};
  return FromBitmap(raw, false, false);
}

CBitmap32 CBitmap32::FromPicture(const CPicture& picture, bool use_alpha, bool smooth,
                                 bool transparent) {
  CRawBitmap raw;
  raw.width = std::max(1, picture.width);
  raw.height = std::max(1, picture.height);
  raw.depth = use_alpha ? 32 : 24;
  uint32_t fill = transparent ? kPictureKeyColour : kNewBitmapColour;
  raw.pixels.assign(static_cast<size_t>(raw.width) * raw.height, 0xFF000000u | fill);
  bool sized = picture.pixels.size() ==
               static_cast<size_t>(std::max(0, picture.width)) * std::max(0, picture.height);
  for (int32_t y = 0; sized && y < picture.height; ++y)
    for (int32_t x = 0; x < picture.width; ++x) {
      uint32_t src = picture.pixels[static_cast<size_t>(y) * picture.width + x];
      uint32_t& dst = raw.pixels[static_cast<size_t>(y) * raw.width + x];
      uint32_t a = src >> 24;
      if (use_alpha || a == 255) {
        dst = use_alpha ? src : (src | 0xFF000000u);
        continue;
      }
      // A picture with alpha drawn onto a bitmap without it blends over what is there.
      uint32_t out = 0xFF000000u;
      for (int shift = 0; shift <= 16; shift += 8) {
        uint32_t s = (src >> shift) & 0xFF, d = (dst >> shift) & 0xFF;
        out |= ((s * a + d * (255 - a) + 127) / 255) << shift;
      }
      dst = out;
    }
  return FromBitmap(raw, smooth, transparent);
}

CBitmap32 CBitmap32::FromBitmap(const CRawBitmap& bitmap, bool smooth, bool transparent) {
  CBitmap32 out(bitmap.width, bitmap.height);
  size_t n = std::min(out.pixels_.size(), bitmap.pixels.size());
  if (bitmap.depth == 32)
    std::copy_n(bitmap.pixels.begin(), n, out.pixels_.begin());
  else
    for (size_t i = 0; i < n; ++i)
      out.pixels_[i] = bitmap.pixels[i] | 0xFF000000u;
  if (transparent) {
    out.MakeTransparent();
    if (smooth) out.SmoothEdges();
  }
  return out;
}

void CBitmap32::MakeTransparent() {
  if (!exists_ || width_ == 0 || height_ == 0) return;
  uint32_t key = Pixel(0, height_ - 1) & 0xFFFFFF;
  for (uint32_t& p : pixels_)
    if ((p & 0xFFFFFF) == key) p &= 0xFFFFFF;
  BleedTransparentColors();
}

void CBitmap32::BleedTransparentColors() {
  if (!exists_) return;
  for (int32_t y = 0; y < height_; ++y)
    for (int32_t x = 0; x < width_; ++x) {
      uint32_t p = Pixel(x, y);
      if (Alpha(p) != 0) continue;
      // Neighbours with alpha are never changed here, so the order of the scan does not matter.
      const int32_t nx[4] = {x - 1, x + 1, x, x};
      const int32_t ny[4] = {y, y, y - 1, y + 1};
      for (int k = 0; k < 4; ++k) {
        if (nx[k] < 0 || ny[k] < 0 || nx[k] >= width_ || ny[k] >= height_) continue;
        uint32_t q = Pixel(nx[k], ny[k]);
        if (Alpha(q) == 0) continue;
        SetPixel(x, y, (p & 0xFF000000u) | (q & 0xFFFFFF));
        break;
      }
    }
}

void CBitmap32::SmoothEdges() {
  if (!exists_) return;
  for (int32_t y = 0; y < height_; ++y)
    for (int32_t x = 0; x < width_; ++x) {
      if (Alpha(Pixel(x, y)) != 0) continue;
      for (int32_t yy = std::max(0, y - 1); yy <= std::min(height_ - 1, y + 1); ++yy)
        for (int32_t xx = std::max(0, x - 1); xx <= std::min(width_ - 1, x + 1); ++xx) {
          uint32_t q = Pixel(xx, yy);
          if (Alpha(q) >= 32) SetPixel(xx, yy, q - (32u << 24));
        }
    }
}

void CBitmap32::AlphaFromBrightness(const CBitmap32& other) {
  if (!exists_ || !other.exists_) return;
  int32_t w = std::min(width_, other.width_), h = std::min(height_, other.height_);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      uint32_t o = other.Pixel(x, y);
      uint32_t bright = (((o >> 16) & 0xFF) + ((o >> 8) & 0xFF) + (o & 0xFF)) / 3;
      uint32_t p = Pixel(x, y);
      uint32_t a = std::min<uint32_t>(p >> 24, bright);
      SetPixel(x, y, (p & 0xFFFFFF) | a << 24);
    }
}

void CBitmap32::ResizeNearest(int32_t w, int32_t h) {
  if (!exists_) return;
  w = std::max(0, w);
  h = std::max(0, h);
  if (w == width_ && h == height_) return;
  std::vector<uint32_t> out(static_cast<size_t>(w) * h);
  for (int32_t y = 0; y < h; ++y) {
    int32_t sy = static_cast<int32_t>(int64_t{y} * height_ / h);
    for (int32_t x = 0; x < w; ++x) {
      int32_t sx = static_cast<int32_t>(int64_t{x} * width_ / w);
      out[static_cast<size_t>(y) * w + x] = Pixel(sx, sy);
    }
  }
  pixels_ = std::move(out);
  width_ = w;
  height_ = h;
}

CRect CBitmap32::OpaqueBounds() const {
  if (!exists_ || width_ == 0 || height_ == 0) return CRect{};
  CRect r{width_ - 1, height_ - 1, 0, 0};
  for (int32_t y = 0; y < height_; ++y)
    for (int32_t x = 0; x < width_; ++x) {
      if (Alpha(Pixel(x, y)) == 0) continue;
      r.left = std::min(r.left, x);
      r.top = std::min(r.top, y);
      r.right = std::max(r.right, x);
      r.bottom = std::max(r.bottom, y);
    }
  return r;
}

CRawBitmap CBitmap32::ToBitmap24() const {
  CRawBitmap out{width_, height_, 24, pixels_};
  for (uint32_t& p : out.pixels)
    p &= 0xFFFFFF;
  return out;
}

}  // namespace zorvex
