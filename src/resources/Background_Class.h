// A background: one image used for room layers, tiles and drawing by scripts.
#pragma once

#include <cstdint>
#include <string>

#include "resources/Graphics_Bitmap32.h"
#include "resources/Resource_Texture.h"
#include "runner/Support_Stream.h"

namespace zorvex {

class CBackground {
 public:
  static constexpr int32_t kRecordVersion = 543;

  int32_t width = 0;
  int32_t height = 0;
  bool has_image = false;
  CBitmap32 image;
  bool transparent = false;
  bool smooth = false;
  bool preload = false;
  // The texture of the image, made through the maker the background is attached to whenever the
  // image changes; none while it is attached to none or has no image.
  CTextureIds textures;

  int32_t Texture() const { return textures.At(0); }

  void Clear();
  // Clear, then the stored record. False on a wrong version or a corrupt image.
  bool ReadFrom(CStream& s);
  void WriteTo(CStream& s) const;

  // A picture file given by its game path; false (unchanged) when it is missing or does not decode.
  bool LoadFromFile(const std::string& file, bool transparent, bool smooth, bool preload,
                    bool use_alpha);
  void SetFromBitmap(const CRawBitmap& bitmap, bool transparent, bool smooth, bool preload,
                     bool use_alpha);
  void MakeSolid(int32_t w, int32_t h, int32_t colour, bool preload);
  void MakeGradient(int32_t w, int32_t h, int32_t colour1, int32_t colour2, int32_t kind,
                    bool preload);
  void AlphaFromBackground(const CBackground& other);
  void Assign(const CBackground& other);
  // The colours of the image; false without an image.
  bool ImageBitmap(CRawBitmap& out) const;
  // Frees the old texture and makes one of the image (preloaded when `preload` is set).
  void MakeTexture();
  // From now on the texture is made through `maker` (null: none); made when it changes.
  void AttachTextures(ITextureMaker* maker);

 private:
  void SetImage(CBitmap32 img);
};

}  // namespace zorvex
