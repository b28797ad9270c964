#include "graphics/Graphics_Sprite.h"

#include <cmath>

#include "graphics/Graphics_Main.h"
#include "resources/Background_Main.h"
#include "resources/Room_Class.h"
#include "resources/Sprite_Class.h"

namespace zorvex {

namespace {

constexpr double kDegToRad = 3.14159265358979323846 / 180.0;

}  // namespace

int32_t SpriteFrameTexture(const CSprite& sprite, int64_t frame) {
  const int64_t n = sprite.FrameCount();
  if (n == 0) return -1;
  int64_t f = frame % n;
  if (f < 0) f += n;
  return sprite.TextureOf(static_cast<int32_t>(f));
}

int64_t FrameOfImageIndex(double image_index) {
  const double f = std::floor(image_index);
  // Beyond +-2^62 (or NaN) there is no sensible frame; such indices only come from broken code.
  if (!(f > -4.6e18 && f < 4.6e18)) return 0;
  return static_cast<int64_t>(f);
}

void DrawSprite(CGraphics& g, const CSprite& s, int64_t frame, double x, double y) {
  TextureDraw(g, SpriteFrameTexture(s, frame), x - s.xoffset, y - s.yoffset);
}

void DrawSpriteExt(CGraphics& g, const CSprite& s, int64_t frame, double x, double y, double xscale,
                   double yscale, double angle, int32_t color, double alpha) {
  TextureDrawExt(g, SpriteFrameTexture(s, frame), color, s.xoffset, s.yoffset, x, y, xscale, yscale,
                 angle * kDegToRad, alpha);
}

void DrawSpriteStretched(CGraphics& g, const CSprite& s, int64_t frame, double x, double y,
                         double w, double h, int32_t color, double alpha) {
  if (!(w > 0 && h > 0 && s.width > 0 && s.height > 0)) return;
  TextureDrawExt(g, SpriteFrameTexture(s, frame), color, 0, 0, x, y, w / s.width, h / s.height, 0.0,
                 alpha);
}

void DrawSpritePart(CGraphics& g, const CSprite& s, int64_t frame, double left, double top,
                    double w, double h, double x, double y, double xscale, double yscale,
                    int32_t color, double alpha) {
  TextureDrawPart(g, SpriteFrameTexture(s, frame), color, left, top, w, h, x, y, xscale, yscale,
                  0.0, alpha);
}

void DrawSpriteGeneral(CGraphics& g, const CSprite& s, int64_t frame, double left, double top,
                       double w, double h, double x, double y, double xscale, double yscale,
                       double angle, int32_t c1, int32_t c2, int32_t c3, int32_t c4, double alpha) {
  TextureDrawGeneral(g, SpriteFrameTexture(s, frame), c1, c2, c3, c4, alpha, left, top, w, h, x, y,
                     xscale, yscale, angle * kDegToRad);
}

void DrawSpriteTiled(CGraphics& g, const CSprite& s, int64_t frame, double x, double y,
                     double xscale, double yscale, int32_t color, double alpha) {
  TextureDrawTiled(g, SpriteFrameTexture(s, frame), true, true, s.xoffset, s.yoffset, x, y, xscale,
                   yscale, 0, 0, g.room_width, g.room_height, color, alpha);
}

void DrawBackground(CGraphics& g, const CBackground& b, double x, double y) {
  TextureDraw(g, b.Texture(), x, y);
}

void DrawBackgroundExt(CGraphics& g, const CBackground& b, double x, double y, double xscale,
                       double yscale, double angle, int32_t color, double alpha) {
  TextureDrawExt(g, b.Texture(), color, 0, 0, x, y, xscale, yscale, angle * kDegToRad, alpha);
}

void DrawBackgroundStretched(CGraphics& g, const CBackground& b, double x, double y, double w,
                             double h, int32_t color, double alpha) {
  if (!(w > 0 && h > 0 && b.width > 0 && b.height > 0)) return;
  TextureDrawExt(g, b.Texture(), color, 0, 0, x, y, w / b.width, h / b.height, 0.0, alpha);
}

void DrawBackgroundPart(CGraphics& g, const CBackground& b, double left, double top, double w,
                        double h, double x, double y, double xscale, double yscale, int32_t color,
                        double alpha) {
  TextureDrawPart(g, b.Texture(), color, left, top, w, h, x, y, xscale, yscale, 0.0, alpha);
}

void DrawBackgroundGeneral(CGraphics& g, const CBackground& b, double left, double top, double w,
                           double h, double x, double y, double xscale, double yscale, double angle,
                           int32_t c1, int32_t c2, int32_t c3, int32_t c4, double alpha) {
  TextureDrawGeneral(g, b.Texture(), c1, c2, c3, c4, alpha, left, top, w, h, x, y, xscale, yscale,
                     angle * kDegToRad);
}

void DrawBackgroundTiled(CGraphics& g, const CBackground& b, double x, double y, double xscale,
                         double yscale, int32_t color, double alpha) {
  TextureDrawTiled(g, b.Texture(), true, true, 0, 0, x, y, xscale, yscale, 0, 0, g.room_width,
                   g.room_height, color, alpha);
}

void DrawInstanceSprite(CGraphics& g, const CSprite& s, double image_index, double x, double y,
                        double xscale, double yscale, double angle, int32_t blend, double alpha) {
  const int64_t frame = FrameOfImageIndex(image_index);
  if (xscale == 1.0 && yscale == 1.0 && angle == 0.0 && blend == kColourWhite && alpha == 1.0) {
    DrawSprite(g, s, frame, x, y);
  } else {
    DrawSpriteExt(g, s, frame, x, y, xscale, yscale, angle, blend, alpha);
  }
}

void DrawBackgroundLayer(CGraphics& g, const CBackgroundTable& backgrounds, const CBack& layer,
                         double left, double top, double right, double bottom) {
  const CBackground* b = backgrounds.Get(layer.index);
  if (!b) return;
  TextureDrawTiled(g, b->Texture(), layer.htiled, layer.vtiled, 0, 0, layer.x, layer.y,
                   layer.xscale, layer.yscale, left, top, right - left, bottom - top, layer.blend,
                   layer.alpha);
}

bool DrawTile(CGraphics& g, const CBackgroundTable& backgrounds, const CTile& tile, double left,
              double top, double right, double bottom) {
  if (tile.x > right || tile.y > bottom || left > tile.x + tile.width * tile.xscale ||
      top > tile.y + tile.height * tile.yscale) {
    return false;
  }
  const CBackground* b = backgrounds.Get(tile.background);
  if (!b) return false;
  TextureDrawPart(g, b->Texture(), tile.blend, tile.left, tile.top, tile.width, tile.height, tile.x,
                  tile.y, tile.xscale, tile.yscale, 0.0, tile.alpha);
  return true;
}

}  // namespace zorvex
