// The texture table (ids are indices; a free slot is reused before the table grows) and the
// routines that draw a texture, or a rectangle of it, as one quad.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Platform_GL.h"
#include "resources/Resource_Texture.h"

namespace zorvex {

class CGraphics;

struct RTexture {
  GLTextureHandle handle = 0;
  int width = 0, height = 0;                  // the image it was made for
  int texture_width = 0, texture_height = 0;  // what the device gave
  bool exists = false;
  bool render_target = false;
};

// The texture size for an image side: the smallest power of two that holds it (1 for sizes
// below 1), or 0 when that exceeds `max_size`.
int TextureSizeRule(int size, int max_size);

class CTextureTable {
 public:
  const RTexture* Get(int id) const {
    return id >= 0 && static_cast<size_t>(id) < items_.size() && items_[id].exists ? &items_[id]
                                                                                   : nullptr;
  }
  int Add(const RTexture& t);
  void Remove(int id);
  void Clear() { items_.clear(); }
  size_t Size() const { return items_.size(); }

 private:
  std::vector<RTexture> items_;
};

// Texture operations; without a device every one fails (-1) or does nothing.
int TextureCreate(CGraphics& g, int width, int height, bool render_target);
// Pixels 0xAARRGGBB, top row first, width x height of them.
int TextureFromImage(CGraphics& g, int width, int height, const uint32_t* pixels);
// White with the given alpha per pixel (font glyph sheets).
int TextureFromAlpha(CGraphics& g, int width, int height, const uint8_t* alpha);
void TextureFree(CGraphics& g, int id);
// Frees every texture and empties the table (device creation).
void TextureClearAll(CGraphics& g);

// Sprites, backgrounds and fonts make their textures through this (PrepareGraphics attaches
// their tables to it). Preloading has nothing to do under GL: every texture is resident.
class CResourceTextureMaker final : public ITextureMaker {
 public:
  explicit CResourceTextureMaker(CGraphics& g) : g_(g) {}
  int32_t MakeTexture(const CBitmap32& image, bool preload) override;
  int32_t MakeAlphaTexture(int32_t width, int32_t height, const uint8_t* alpha) override;
  void FreeTexture(int32_t id) override;

 private:
  CGraphics& g_;
};

// Drawing routines. Angles in radians; colours are script colours.
void TextureDraw(CGraphics& g, int id, double x, double y);
void TextureDrawExt(CGraphics& g, int id, int32_t color, double xorigin, double yorigin, double x,
                    double y, double xscale, double yscale, double angle, double alpha);
void TextureDrawPart(CGraphics& g, int id, int32_t color, double left, double top, double width,
                     double height, double x, double y, double xscale, double yscale, double angle,
                     double alpha);
void TextureDrawGeneral(CGraphics& g, int id, int32_t c1, int32_t c2, int32_t c3, int32_t c4,
                        double alpha, double left, double top, double width, double height,
                        double x, double y, double xscale, double yscale, double angle);
void TextureDrawTiled(CGraphics& g, int id, bool htiled, bool vtiled, double xorigin,
                      double yorigin, double x, double y, double xscale, double yscale,
                      double area_left, double area_top, double area_width, double area_height,
                      int32_t color, double alpha);

}  // namespace zorvex
