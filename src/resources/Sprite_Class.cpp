#include "resources/Sprite_Class.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/Platform_Path.h"
#include "resources/Graphics_Picture.h"
#include "resources/Resource_Read.h"

namespace zorvex {

namespace {

bool HasGifExtension(const std::string& file) {
  if (file.size() < 4) return false;
  std::string ext = file.substr(file.size() - 4);
  for (char& c : ext)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".gif";
}

// Quarter turns get exact values: the rounding noise of sin and cos at those angles would
// otherwise shift a turned mask by a pixel, since the mapping floors its results.
void SinCosDegrees(double degrees, double& s, double& c) {
  double r = std::fmod(degrees, 360.0);
  if (r < 0) r += 360.0;
  if (r == 0.0) {
    s = 0, c = 1;
  } else if (r == 90.0) {
    s = 1, c = 0;
  } else if (r == 180.0) {
    s = 0, c = -1;
  } else if (r == 270.0) {
    s = -1, c = 0;
  } else {
    double t = degrees * std::numbers::pi / 180.0;
    s = std::sin(t);
    c = std::cos(t);
  }
}

}  // namespace

// The shape of a sprite shown with a pose: maps room pixels into the frame. The exact form
// needs no floating point at all, which keeps the common unrotated, unscaled case cheap.
class CSpriteShape {
 public:
  CSpriteShape(const CSprite& s, const CMaskPose& pose, bool force_general)
      : w_(s.width), h_(s.height), xo_(s.xoffset), yo_(s.yoffset), x_(pose.x), y_(pose.y) {
    if (s.masks_built_)
      mask_ = s.masks_.data() + static_cast<size_t>(s.FrameIndex(pose.frame)) *
                                    static_cast<size_t>(w_) * static_cast<size_t>(h_);
    exact_ = !force_general && pose.angle == 0.0 && pose.xscale == 1.0 && pose.yscale == 1.0;
    if (!exact_) SinCosDegrees(-pose.angle, s_, c_);
    sx_ = pose.xscale;
    sy_ = pose.yscale;
  }

  bool Covers(int64_t x, int64_t y) const {
    if (exact_) return Inside(x - x_ + xo_, y - y_ + yo_);
    return CoversReal(static_cast<double>(x), static_cast<double>(y));
  }

  bool CoversReal(double x, double y) const {
    double dx = x - static_cast<double>(x_), dy = y - static_cast<double>(y_);
    double u = std::floor((dx * c_ + dy * s_) / sx_ + xo_);
    double v = std::floor((dy * c_ - dx * s_) / sy_ + yo_);
    if (!(u >= 0 && u < w_ && v >= 0 && v < h_)) return false;
    return Inside(static_cast<int64_t>(u), static_cast<int64_t>(v));
  }

 private:
  bool Inside(int64_t u, int64_t v) const {
    if (u < 0 || v < 0 || u >= w_ || v >= h_) return false;
    return !mask_ ||
           mask_[static_cast<size_t>(u) * static_cast<size_t>(h_) + static_cast<size_t>(v)];
  }

  const uint8_t* mask_ = nullptr;
  int64_t w_, h_, xo_, yo_, x_, y_;
  bool exact_ = true;
  double c_ = 1, s_ = 0, sx_ = 1, sy_ = 1;
};

void CSprite::Clear() {
  *this = CSprite();
}

void CSprite::MakeTextures() {
  textures.Free();
  for (const CBitmap32& f : frames)
    textures.AddImage(f, preload);
}

void CSprite::AttachTextures(ITextureMaker* maker) {
  if (maker == textures.maker()) return;
  textures.SetMaker(maker);
  MakeTextures();
}

int32_t CSprite::FrameIndex(int32_t frame) const {
  int32_t n = FrameCount();
  if (n == 0) return 0;
  int32_t f = frame % n;
  return f < 0 ? f + n : f;
}

bool CSprite::MaskAt(int32_t f, int32_t x, int32_t y) const {
  if (!masks_built_ || f < 0 || f >= FrameCount() || x < 0 || y < 0 || x >= width || y >= height)
    return false;
  return masks_[(static_cast<size_t>(f) * width + x) * height + y] != 0;
}

bool CSprite::ReadFrom(CStream& s) {
  Clear();
  if (s.ReadInt() != kRecordVersion) return false;
  width = s.ReadInt();
  height = s.ReadInt();
  bbox_left = s.ReadInt();
  bbox_right = s.ReadInt();
  bbox_bottom = s.ReadInt();
  bbox_top = s.ReadInt();
  transparent = s.ReadBool();
  smooth = s.ReadBool();
  preload = s.ReadBool();
  bbox_mode = s.ReadInt();
  precise = s.ReadBool();
  xoffset = s.ReadInt();
  yoffset = s.ReadInt();
  int32_t count;
  if (width < 0 || height < 0 || !ReadCount(s, 8, count)) return false;
  for (int32_t i = 0; i < count; ++i) {
    CBitmap32 frame;
    if (!frame.ReadFrom(s)) return false;
    // Masks and drawing take the sprite's size for every frame.
    if (!frame.exists() || frame.width() != width || frame.height() != height) return false;
    frames.push_back(std::move(frame));
  }
  MakeTextures();
  BuildMasks();
  return true;
}

void CSprite::WriteTo(CStream& s) const {
  s.WriteInt(kRecordVersion);
  s.WriteInt(width);
  s.WriteInt(height);
  s.WriteInt(bbox_left);
  s.WriteInt(bbox_right);
  s.WriteInt(bbox_bottom);
  s.WriteInt(bbox_top);
  s.WriteBool(transparent);
  s.WriteBool(smooth);
  s.WriteBool(preload);
  s.WriteInt(bbox_mode);
  s.WriteBool(precise);
  s.WriteInt(xoffset);
  s.WriteInt(yoffset);
  s.WriteInt(FrameCount());
  for (const CBitmap32& f : frames)
    f.WriteTo(s);
}

bool CSprite::LoadFromFile(const std::string& file, int32_t frame_count, bool precise_,
                           bool transparent_, bool smooth_, bool preload_, int32_t xoffset_,
                           int32_t yoffset_, bool use_alpha) {
  std::string path = TranslatePath(file);
  if (HasGifExtension(file)) {
    CGifAnimation anim;
    if (!LoadGifFile(path, anim)) return false;
    Clear();
    width = anim.width;
    height = anim.height;
    CRawBitmap canvas{
        width, height, 24,
        std::vector<uint32_t>(static_cast<size_t>(width) * height, kPictureKeyColour)};
    for (const CGifAnimation::Frame& f : anim.frames) {
      for (int32_t y = 0; y < f.height; ++y)
        for (int32_t x = 0; x < f.width; ++x) {
          int64_t cx = int64_t{f.left} + x, cy = int64_t{f.top} + y;
          if (cx >= width || cy >= height) continue;
          uint8_t idx = f.indices[static_cast<size_t>(y) * f.width + x];
          if (idx == f.transparent_index) continue;
          canvas.pixels[static_cast<size_t>(cy) * width + static_cast<size_t>(cx)] = f.palette[idx];
        }
      frames.push_back(CBitmap32::FromBitmap(canvas, smooth_, transparent_));
      if (f.disposal != 1) std::fill(canvas.pixels.begin(), canvas.pixels.end(), kPictureKeyColour);
    }
  } else {
    CPicture pic;
    if (!LoadPictureFile(path, pic)) return false;
    Clear();
    CBitmap32 image = use_alpha ? CBitmap32::FromPicture(pic, true, false, false)
                                : CBitmap32::FromPicture(pic, false, smooth_, transparent_);
    // More frames than columns would only give frames without width.
    frame_count = std::clamp(frame_count, 1, image.width());
    width = image.width() / frame_count;
    height = image.height();
    frames.reserve(static_cast<size_t>(frame_count));
    for (int32_t i = 0; i < frame_count; ++i)
      frames.push_back(CBitmap32::Crop(image, i * width, 0, width, height));
  }
  bbox_mode = 0;
  transparent = transparent_;
  smooth = smooth_;
  preload = preload_;
  precise = precise_;
  xoffset = xoffset_;
  yoffset = yoffset_;
  MakeTextures();
  ComputeBBox();
  BuildMasks();
  return true;
}

namespace {

CBitmap32 FrameFromBitmap(const CRawBitmap& bitmap, bool use_alpha, bool smooth, bool transparent) {
  CRawBitmap b = bitmap;
  b.depth = use_alpha ? 32 : 24;
  return CBitmap32::FromBitmap(b, smooth, transparent);
}

}  // namespace

void CSprite::SetFromBitmap(const CRawBitmap& bitmap, bool precise_, bool transparent_,
                            bool smooth_, bool preload_, int32_t xoffset_, int32_t yoffset_,
                            bool use_alpha) {
  Clear();
  precise = precise_;
  transparent = transparent_;
  smooth = smooth_;
  preload = preload_;
  xoffset = xoffset_;
  yoffset = yoffset_;
  bbox_mode = 0;
  frames.push_back(FrameFromBitmap(bitmap, use_alpha, smooth, transparent));
  width = frames[0].width();
  height = frames[0].height();
  MakeTextures();
  ComputeBBox();
  BuildMasks();
}

void CSprite::AddFrameFromBitmap(const CRawBitmap& bitmap, bool use_alpha) {
  CBitmap32 frame = FrameFromBitmap(bitmap, use_alpha, smooth, transparent);
  if (frames.empty()) {
    width = frame.width();
    height = frame.height();
  }
  frame.ResizeNearest(width, height);
  frames.push_back(std::move(frame));
  MakeTextures();
  ComputeBBox();
  BuildMasks();
}

void CSprite::Merge(const CSprite& other) {
  if (&other == this) {
    CSprite copy = other;
    Merge(copy);
    return;
  }
  if (frames.empty()) {
    width = other.width;
    height = other.height;
  }
  for (const CBitmap32& f : other.frames) {
    CBitmap32 copy = f;
    copy.ResizeNearest(width, height);
    frames.push_back(std::move(copy));
  }
  MakeTextures();
  ComputeBBox();
  BuildMasks();
}

void CSprite::AlphaFromSprite(const CSprite& other) {
  if (other.frames.empty()) return;
  size_t n = other.frames.size();
  std::vector<CBitmap32> source = other.frames;  // other may be this sprite
  for (size_t i = 0; i < frames.size(); ++i)
    frames[i].AlphaFromBrightness(source[i % n]);
  MakeTextures();
}

void CSprite::Assign(const CSprite& other) {
  if (&other == this) return;
  *this = other;
  MakeTextures();
  BuildMasks();
}

void CSprite::SetBBoxMode(int32_t mode) {
  if (mode < 0 || mode > 2 || mode == bbox_mode) return;
  bbox_mode = mode;
  ComputeBBox();
}

void CSprite::SetBBox(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (bbox_mode != 2) return;
  bbox_left = left;
  bbox_top = top;
  bbox_right = right;
  bbox_bottom = bottom;
}

void CSprite::SetPrecise(bool flag) {
  if (flag == precise) return;
  precise = flag;
  BuildMasks();
}

void CSprite::ComputeBBox() {
  if (bbox_mode == 2) return;
  if (bbox_mode == 0 && transparent) {
    if (frames.empty()) {
      bbox_left = bbox_top = bbox_right = bbox_bottom = 0;
      return;
    }
    CRect box{width - 1, height - 1, 0, 0};
    for (const CBitmap32& f : frames) {
      CRect r = f.OpaqueBounds();
      box.left = std::min(box.left, r.left);
      box.top = std::min(box.top, r.top);
      box.right = std::max(box.right, r.right);
      box.bottom = std::max(box.bottom, r.bottom);
    }
    bbox_left = box.left;
    bbox_top = box.top;
    bbox_right = box.right;
    bbox_bottom = box.bottom;
    return;
  }
  bbox_left = 0;
  bbox_top = 0;
  bbox_right = width - 1;
  bbox_bottom = height - 1;
}

void CSprite::BuildMasks() {
  masks_.clear();
  masks_.shrink_to_fit();
  masks_built_ = false;
  if (!precise || !transparent || frames.empty() || width < 0 || height < 0) return;
  size_t w = static_cast<size_t>(width), h = static_cast<size_t>(height);
  masks_.assign(frames.size() * w * h, 0);
  for (size_t f = 0; f < frames.size(); ++f) {
    const CBitmap32& img = frames[f];
    // Frames of another size (never stored that way) only fill what they cover.
    int32_t fw = std::min(width, img.width()), fh = std::min(height, img.height());
    uint8_t* m = masks_.data() + f * w * h;
    for (int32_t x = 0; x < fw; ++x)
      for (int32_t y = 0; y < fh; ++y)
        m[static_cast<size_t>(x) * h + static_cast<size_t>(y)] = img.Pixel(x, y) >> 24 != 0;
  }
  masks_built_ = true;
}

int32_t CSprite::TextureOf(int32_t frame) const {
  if (frames.empty()) return -1;
  size_t i = static_cast<size_t>(FrameIndex(frame));
  return textures.At(i);
}

bool CSprite::FrameBitmap(int32_t i, CRawBitmap& out) const {
  if (i < 0 || i >= FrameCount()) return false;
  out = frames[static_cast<size_t>(i)].ToBitmap24();
  return true;
}

CRect CSprite::FrameBounds(int32_t i) const {
  if (i < 0 || i >= FrameCount()) return CRect{};
  return frames[static_cast<size_t>(i)].OpaqueBounds();
}

bool CSprite::MaskHitsPoint(const CMaskPose& pose, int32_t x, int32_t y) const {
  if (frames.empty()) return false;
  if (!masks_built_) return true;
  return CSpriteShape(*this, pose, false).Covers(x, y);
}

bool CSprite::MaskHitsRect(const CMaskPose& pose, const CRect& box, const CRect& r) const {
  if (frames.empty()) return false;
  if (!masks_built_) return true;
  CSpriteShape shape(*this, pose, false);
  int64_t l = std::max(box.left, r.left), rt = std::min(box.right, r.right);
  int64_t t = std::max(box.top, r.top), b = std::min(box.bottom, r.bottom);
  for (int64_t x = l; x <= rt; ++x)
    for (int64_t y = t; y <= b; ++y)
      if (shape.Covers(x, y)) return true;
  return false;
}

bool CSprite::MaskHitsEllipse(const CMaskPose& pose, const CRect& box, const CRect& r) const {
  if (frames.empty()) return false;
  if (!masks_built_) return true;
  CSpriteShape shape(*this, pose, false);
  const double left = r.left, right = r.right, top = r.top, bottom = r.bottom;
  double cx = (left + right) / 2.0, rx = (right - left) / 2.0;
  double cy = (top + bottom) / 2.0, ry = (bottom - top) / 2.0;
  int64_t l = std::max(box.left, r.left), rt = std::min(box.right, r.right);
  int64_t t = std::max(box.top, r.top), b = std::min(box.bottom, r.bottom);
  for (int64_t x = l; x <= rt; ++x)
    for (int64_t y = t; y <= b; ++y) {
      double ex = (static_cast<double>(x) - cx) / rx, ey = (static_cast<double>(y) - cy) / ry;
      if (ex * ex + ey * ey > 1.0) continue;
      if (shape.Covers(x, y)) return true;
    }
  return false;
}

bool CSprite::MaskHitsLine(const CMaskPose& pose, const CRect& box, int32_t x1, int32_t y1,
                           int32_t x2, int32_t y2) const {
  if (frames.empty()) return false;
  if (!masks_built_) return true;
  if (x1 == x2 || y1 == y2)
    return MaskHitsRect(pose, box, CRect{x1, std::min(y1, y2), x2, std::max(y1, y2)});
  CSpriteShape shape(*this, pose, true);
  double dx = static_cast<double>(x2) - x1, dy = static_cast<double>(y2) - y1;
  if (std::abs(dy) > std::abs(dx)) {
    int64_t from = std::max(box.top, std::min(y1, y2)), to = std::min(box.bottom, std::max(y1, y2));
    for (int64_t y = from; y <= to; ++y) {
      double x = x1 + (static_cast<double>(y) - y1) * dx / dy;
      if (shape.CoversReal(x, static_cast<double>(y))) return true;
    }
  } else {
    int64_t from = std::max(box.left, x1), to = std::min(box.right, x2);
    for (int64_t x = from; x <= to; ++x) {
      double y = y1 + (static_cast<double>(x) - x1) * dy / dx;
      if (shape.CoversReal(static_cast<double>(x), y)) return true;
    }
  }
  return false;
}

bool CSprite::MasksOverlap(const CSprite& a, const CMaskPose& pose_a, const CRect& box_a,
                           const CSprite& b, const CMaskPose& pose_b, const CRect& box_b) {
  if (a.frames.empty() || b.frames.empty()) return false;
  CSpriteShape sa(a, pose_a, false), sb(b, pose_b, false);
  int64_t l = std::max(box_a.left, box_b.left), r = std::min(box_a.right, box_b.right);
  int64_t t = std::max(box_a.top, box_b.top), btm = std::min(box_a.bottom, box_b.bottom);
  for (int64_t x = l; x <= r; ++x)
    for (int64_t y = t; y <= btm; ++y)
      if (sa.Covers(x, y) && sb.Covers(x, y)) return true;
  return false;
}

}  // namespace zorvex
