// A sprite: equally sized frames, an origin, a bounding box and, for precise collisions, one
// pixel mask per frame, with the mask queries every precise collision test rests on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "resources/Graphics_Bitmap32.h"
#include "resources/Resource_Texture.h"
#include "runner/Support_Stream.h"

namespace zorvex {

// Where and how an instance shows a sprite: the frame (any integer; taken modulo the frame
// count), the rounded position, scales and angle in degrees.
struct CMaskPose {
  int32_t frame = 0;
  int32_t x = 0;
  int32_t y = 0;
  double xscale = 1.0;
  double yscale = 1.0;
  double angle = 0.0;
};

class CSprite {
 public:
  static constexpr int32_t kRecordVersion = 542;

  int32_t bbox_mode = 0;  // 0 automatic, 1 full image, 2 manual
  int32_t bbox_left = 0;
  int32_t bbox_top = 0;
  int32_t bbox_right = 0;
  int32_t bbox_bottom = 0;
  std::vector<CBitmap32> frames;
  int32_t width = 1;
  int32_t height = 1;
  int32_t xoffset = 0;
  int32_t yoffset = 0;
  bool precise = true;
  bool transparent = true;
  bool smooth = false;
  bool preload = true;
  // One texture id per frame (-1 where none), made through the maker the sprite is attached to
  // whenever the frames change; all -1 while it is attached to none.
  CTextureIds textures;

  int32_t FrameCount() const { return static_cast<int32_t>(frames.size()); }
  bool masks_built() const { return masks_built_; }
  // The mask bit of frame f at (x, y); false outside or without masks.
  bool MaskAt(int32_t f, int32_t x, int32_t y) const;

  void Clear();
  // Clear, then the stored record; builds the masks. False on a wrong version or stored values
  // that cannot be right (negative sizes, frames of another size than the sprite's).
  bool ReadFrom(CStream& s);
  void WriteTo(CStream& s) const;

  // A picture file given by its game path. A ".gif" file gives one frame per sub-image;
  // any other picture is cut into frame_count frames side by side. False (sprite unchanged)
  // when the file does not exist or does not decode.
  bool LoadFromFile(const std::string& file, int32_t frame_count, bool precise, bool transparent,
                    bool smooth, bool preload, int32_t xoffset, int32_t yoffset, bool use_alpha);
  void SetFromBitmap(const CRawBitmap& bitmap, bool precise, bool transparent, bool smooth,
                     bool preload, int32_t xoffset, int32_t yoffset, bool use_alpha);
  void AddFrameFromBitmap(const CRawBitmap& bitmap, bool use_alpha);
  void Merge(const CSprite& other);
  void AlphaFromSprite(const CSprite& other);
  void Assign(const CSprite& other);
  void SetBBoxMode(int32_t mode);
  void SetBBox(int32_t left, int32_t top, int32_t right, int32_t bottom);
  void SetPrecise(bool flag);
  void ComputeBBox();
  void BuildMasks();
  // Frees the old textures and makes one per frame (preloaded when `preload` is set).
  void MakeTextures();
  // From now on textures are made through `maker` (null: none); makes them when it changes.
  void AttachTextures(ITextureMaker* maker);

  int32_t TextureOf(int32_t frame) const;
  // The colours of frame i; false when i is out of range.
  bool FrameBitmap(int32_t i, CRawBitmap& out) const;
  CRect FrameBounds(int32_t i) const;

  // Mask queries. Without frames they answer false; without masks (not precise or not
  // transparent) true. `box` is the instance's bounding box in room pixels.
  bool MaskHitsPoint(const CMaskPose& pose, int32_t x, int32_t y) const;
  bool MaskHitsRect(const CMaskPose& pose, const CRect& box, const CRect& r) const;
  bool MaskHitsEllipse(const CMaskPose& pose, const CRect& box, const CRect& r) const;
  // The segment must have x1 <= x2.
  bool MaskHitsLine(const CMaskPose& pose, const CRect& box, int32_t x1, int32_t y1, int32_t x2,
                    int32_t y2) const;
  // Whether some pixel of box_a and box_b belongs to both shapes (a sprite without masks covers
  // its whole frame rectangle). False when either sprite has no frames.
  static bool MasksOverlap(const CSprite& a, const CMaskPose& pose_a, const CRect& box_a,
                           const CSprite& b, const CMaskPose& pose_b, const CRect& box_b);

 private:
  friend class CSpriteShape;
  int32_t FrameIndex(int32_t frame) const;

  // Column-major per frame (index f * width * height + x * height + y): the scans walk y inside x.
  std::vector<uint8_t> masks_;
  bool masks_built_ = false;
};

}  // namespace zorvex
