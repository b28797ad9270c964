// Drawing sprites and backgrounds through their textures: the forms game code calls (whole,
// transformed, stretched, a part, with four corner colours, tiled) and what room drawing calls
// (an instance's sprite with its image fields, a background layer, a tile).
//
// Frames are any integer, taken modulo the frame count and made non-negative. Angles are in
// degrees, counter-clockwise on screen; colours are script colours (0x00BBGGRR). A sprite frame
// or background without a texture draws nothing.
#pragma once

#include <cstdint>

namespace zorvex {

class CGraphics;
class CSprite;
class CBackground;
class CBackgroundTable;
struct CBack;
struct CTile;

// The texture of a frame; -1 when the sprite has no frames or the frame no texture.
int32_t SpriteFrameTexture(const CSprite& sprite, int64_t frame);
// floor(image_index) as a frame number; 0 for values no frame number can hold.
int64_t FrameOfImageIndex(double image_index);

// At (x, y) minus the origin, white and opaque.
void DrawSprite(CGraphics& g, const CSprite& s, int64_t frame, double x, double y);
// Scaled and turned about the origin, which lands on (x, y).
void DrawSpriteExt(CGraphics& g, const CSprite& s, int64_t frame, double x, double y, double xscale,
                   double yscale, double angle, int32_t color, double alpha);
// The frame filling w x h from (x, y); nothing unless w, h and the sprite's size are above 0.
void DrawSpriteStretched(CGraphics& g, const CSprite& s, int64_t frame, double x, double y,
                         double w, double h, int32_t color, double alpha);
// The w x h rectangle of the frame at (left, top), its top-left corner at (x, y).
void DrawSpritePart(CGraphics& g, const CSprite& s, int64_t frame, double left, double top,
                    double w, double h, double x, double y, double xscale, double yscale,
                    int32_t color, double alpha);
// As a part, turned about (x, y), with colours top-left, top-right, bottom-right, bottom-left.
void DrawSpriteGeneral(CGraphics& g, const CSprite& s, int64_t frame, double left, double top,
                       double w, double h, double x, double y, double xscale, double yscale,
                       double angle, int32_t c1, int32_t c2, int32_t c3, int32_t c4, double alpha);
// Repeated both ways over the room, one copy with its origin at (x, y).
void DrawSpriteTiled(CGraphics& g, const CSprite& s, int64_t frame, double x, double y,
                     double xscale, double yscale, int32_t color, double alpha);

// The same for backgrounds, whose origin is their top-left corner.
void DrawBackground(CGraphics& g, const CBackground& b, double x, double y);
void DrawBackgroundExt(CGraphics& g, const CBackground& b, double x, double y, double xscale,
                       double yscale, double angle, int32_t color, double alpha);
// Nothing unless w, h and the background's stored size are above 0.
void DrawBackgroundStretched(CGraphics& g, const CBackground& b, double x, double y, double w,
                             double h, int32_t color, double alpha);
void DrawBackgroundPart(CGraphics& g, const CBackground& b, double left, double top, double w,
                        double h, double x, double y, double xscale, double yscale, int32_t color,
                        double alpha);
void DrawBackgroundGeneral(CGraphics& g, const CBackground& b, double left, double top, double w,
                           double h, double x, double y, double xscale, double yscale, double angle,
                           int32_t c1, int32_t c2, int32_t c3, int32_t c4, double alpha);
void DrawBackgroundTiled(CGraphics& g, const CBackground& b, double x, double y, double xscale,
                         double yscale, int32_t color, double alpha);

// Room drawing: an instance without a draw event shows frame floor(image_index) of its sprite at
// its position, the plain way when its image fields are exactly at their defaults (scales 1,
// angle 0, white, alpha 1), transformed otherwise.
void DrawInstanceSprite(CGraphics& g, const CSprite& s, double image_index, double x, double y,
                        double xscale, double yscale, double angle, int32_t blend, double alpha);
// Room drawing: one background layer over the room rectangle (left, top)-(right, bottom), tiled
// as the layer says. Nothing when its background does not exist. Visibility and the foreground
// flag are the caller's choice of pass.
void DrawBackgroundLayer(CGraphics& g, const CBackgroundTable& backgrounds, const CBack& layer,
                         double left, double top, double right, double bottom);
// Room drawing: one tile, unless it lies wholly outside the rectangle or its background does not
// exist; true when it was sent. A tile partly inside is drawn whole. Visibility and the drawing
// depth are the caller's business.
bool DrawTile(CGraphics& g, const CBackgroundTable& backgrounds, const CTile& tile, double left,
              double top, double right, double bottom);

}  // namespace zorvex
