// The drawing state (colour, alpha, depth, circle precision, the primitive being built) and the
// untextured primitives, blend modes and clearing.
#pragma once

#include <cstdint>

#include "platform/Platform_GL.h"

namespace zorvex {

class CGraphics;

constexpr int kMaxPrimitiveVertices = 1001;

struct CDrawState {
  CDrawState();

  uint32_t color = 0xFF000000u;  // device colour; its alpha byte follows `alpha`
  double alpha = 1.0;
  double depth = 0.0;  // z of every 2D vertex (0 outside 3D mode)
  int circle_precision = 24;
  double circle_cos[65];
  double circle_sin[65];

  int32_t primitive_kind = 0;
  int primitive_texture = -1;
  int primitive_count = 0;
  GLVertex primitive[kMaxPrimitiveVertices];
};

void DrawSetColor(CGraphics& g, int32_t color);
void DrawSetAlpha(CGraphics& g, double alpha);
int32_t DrawGetColor(const CGraphics& g);
// Rounds down to a multiple of 4 within 4..64 and rebuilds the unit-circle table.
void DrawSetCirclePrecision(CGraphics& g, int64_t precision);

// 0 normal, 1 add, 2 max, 3 subtract; anything else is normal.
void DrawSetBlendMode(CGraphics& g, int64_t mode);
void DrawSetBlendModeExt(CGraphics& g, int32_t src, int32_t dest);

// Clears the current viewport.
void DrawClear(CGraphics& g, int32_t color, double alpha);

// Colours below are device colours (0xAARRGGBB).
void DrawPoint(CGraphics& g, double x, double y, uint32_t color);
void DrawLine(CGraphics& g, double x1, double y1, double x2, double y2, uint32_t c1, uint32_t c2);
void DrawLineWidth(CGraphics& g, double x1, double y1, double x2, double y2, double w, uint32_t c1,
                   uint32_t c2);
// Corners top-left, top-right, bottom-right, bottom-left.
void DrawRectangle(CGraphics& g, double x1, double y1, double x2, double y2, uint32_t c1,
                   uint32_t c2, uint32_t c3, uint32_t c4, bool outline);
void DrawTriangle(CGraphics& g, double x1, double y1, double x2, double y2, double x3, double y3,
                  uint32_t c1, uint32_t c2, uint32_t c3, bool outline);
void DrawEllipse(CGraphics& g, double x1, double y1, double x2, double y2, uint32_t centre,
                 uint32_t edge, bool outline);
void DrawRoundRect(CGraphics& g, double x1, double y1, double x2, double y2, double corner_w,
                   double corner_h, uint32_t centre, uint32_t edge, bool outline);
void DrawArrow(CGraphics& g, double x1, double y1, double x2, double y2, double size);
void DrawButton(CGraphics& g, double x1, double y1, double x2, double y2, bool up);
void DrawHealthbar(CGraphics& g, double x1, double y1, double x2, double y2, double amount,
                   int32_t backcol, int32_t mincol, int32_t maxcol, int64_t direction,
                   bool showback, bool showborder);

// Script-built primitives.
void PrimitiveBegin(CGraphics& g, int32_t kind, int texture);
void PrimitiveVertex(CGraphics& g, double x, double y, uint32_t color, double u, double v);
void PrimitiveEnd(CGraphics& g);

}  // namespace zorvex
