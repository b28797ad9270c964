#include "resources/Background_Class.h"

#include "platform/Platform_Path.h"
#include "resources/Graphics_Picture.h"

namespace zorvex {

void CBackground::Clear() {
  *this = CBackground();
}

void CBackground::SetImage(CBitmap32 img) {
  image = std::move(img);
  has_image = true;
  MakeTexture();
}

void CBackground::MakeTexture() {
  textures.Free();
  if (has_image && image.exists()) textures.AddImage(image, preload);
}

void CBackground::AttachTextures(ITextureMaker* maker) {
  if (maker == textures.maker()) return;
  textures.SetMaker(maker);
  MakeTexture();
}

bool CBackground::ReadFrom(CStream& s) {
  Clear();
  if (s.ReadInt() != kRecordVersion) return false;
  width = s.ReadInt();
  height = s.ReadInt();
  transparent = s.ReadBool();
  smooth = s.ReadBool();
  preload = s.ReadBool();
  has_image = s.ReadBool();
  if (has_image && !image.ReadFrom(s)) return false;
  return true;
}

void CBackground::WriteTo(CStream& s) const {
  s.WriteInt(kRecordVersion);
  s.WriteInt(width);
  s.WriteInt(height);
  s.WriteBool(transparent);
  s.WriteBool(smooth);
  s.WriteBool(preload);
  s.WriteBool(has_image);
  if (has_image) image.WriteTo(s);
}

bool CBackground::LoadFromFile(const std::string& file, bool transparent_, bool smooth_,
                               bool preload_, bool use_alpha) {
  CPicture pic;
  if (!LoadPictureFile(TranslatePath(file), pic)) return false;
  Clear();
  transparent = transparent_;
  smooth = smooth_;
  preload = preload_;
  width = pic.width;
  height = pic.height;
  SetImage(use_alpha ? CBitmap32::FromPicture(pic, true, false, false)
                     : CBitmap32::FromPicture(pic, false, smooth, transparent));
  return true;
}

void CBackground::SetFromBitmap(const CRawBitmap& bitmap, bool transparent_, bool smooth_,
                                bool preload_, bool use_alpha) {
  Clear();
  transparent = transparent_;
  smooth = smooth_;
  preload = preload_;
  width = bitmap.width;
  height = bitmap.height;
  CRawBitmap b = bitmap;
  b.depth = use_alpha ? 32 : 24;
  SetImage(CBitmap32::FromBitmap(b, smooth, transparent));
}

void CBackground::MakeSolid(int32_t w, int32_t h, int32_t colour, bool preload_) {
  Clear();
  preload = preload_;
  width = w;
  height = h;
  SetImage(CBitmap32::Solid(w, h, colour));
}

void CBackground::MakeGradient(int32_t w, int32_t h, int32_t colour1, int32_t colour2, int32_t kind,
                               bool preload_) {
  Clear();
  preload = preload_;
  width = w;
  height = h;
  SetImage(CBitmap32::Gradient(w, h, colour1, colour2, kind));
}

void CBackground::AlphaFromBackground(const CBackground& other) {
  CBitmap32 source = other.image;  // other may be this background
  image.AlphaFromBrightness(source);
  MakeTexture();
}

void CBackground::Assign(const CBackground& other) {
  if (&other == this) return;
  *this = other;  // keeps this background's maker, frees its texture
  MakeTexture();
}

bool CBackground::ImageBitmap(CRawBitmap& out) const {
  if (!has_image || !image.exists()) return false;
  out = image.ToBitmap24();
  return true;
}

}  // namespace zorvex
