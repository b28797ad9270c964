#include "graphics/Graphics_Draw.h"

#include <algorithm>
#include <cmath>

#include "graphics/Graphics_Color.h"
#include "graphics/Graphics_Main.h"

namespace zorvex {

namespace {
constexpr double kPi = 3.14159265358979323846;

void BuildCircleTable(CDrawState& d) {
  const int p = d.circle_precision;
  for (int i = 0; i <= 64; ++i) {
    d.circle_cos[i] = i <= p ? std::cos(2.0 * kPi * i / p) : 0.0;
    d.circle_sin[i] = i <= p ? std::sin(2.0 * kPi * i / p) : 0.0;
  }
}

inline GLVertex V(const CGraphics& g, double x, double y, uint32_t c) {
  return {static_cast<float>(x),
          static_cast<float>(y),
          static_cast<float>(g.draw.depth),
          0,
          0,
          0,
          c,
          0,
          0};
}

inline void Send(CGraphics& g, int32_t kind, const GLVertex* v, int n) {
  if (CGLRenderer* gl = g.device.gl()) gl->Draw(kind, v, n, 0);
}

// Rectangle edges ordered, with an exact-integer right or bottom edge moved by 0.01 so that the
// last column and row are covered.
void Normalize(double& x1, double& y1, double& x2, double& y2) {
  double l = std::min(x1, x2), r = std::max(x1, x2), t = std::min(y1, y2), b = std::max(y1, y2);
  if (r == std::floor(r)) r += 0.01;
  if (b == std::floor(b)) b += 0.01;
  x1 = l, x2 = r, y1 = t, y2 = b;
}
}  // namespace

CDrawState::CDrawState() {
  BuildCircleTable(*this);
}

void DrawSetColor(CGraphics& g, int32_t color) {
  g.draw.color = ColorToDevice(color, g.draw.alpha);
}

void DrawSetAlpha(CGraphics& g, double alpha) {
  g.draw.alpha = std::clamp(alpha, 0.0, 1.0);
  if (std::isnan(alpha)) g.draw.alpha = 0.0;
  g.draw.color = (g.draw.color & 0xFFFFFFu) | AlphaByte(g.draw.alpha) << 24;
}

int32_t DrawGetColor(const CGraphics& g) {
  return DeviceToColor(g.draw.color);
}

void DrawSetCirclePrecision(CGraphics& g, int64_t precision) {
  int64_t p = std::min<int64_t>(64, std::max<int64_t>(4, precision));
  g.draw.circle_precision = static_cast<int>(p / 4 * 4);
  BuildCircleTable(g.draw);
}

void DrawSetBlendMode(CGraphics& g, int64_t mode) {
  switch (mode) {
    case 1:
      g.device.SetBlendFactors(kGLBlendSrcAlpha, kGLBlendOne);
      break;
    case 2:
      g.device.SetBlendFactors(kGLBlendSrcAlpha, kGLBlendInvSrcColor);
      break;
    case 3:
      g.device.SetBlendFactors(kGLBlendZero, kGLBlendInvSrcColor);
      break;
    default:
      g.device.SetBlendFactors(kGLBlendSrcAlpha, kGLBlendInvSrcAlpha);
      break;
  }
}

void DrawSetBlendModeExt(CGraphics& g, int32_t src, int32_t dest) {
  g.device.SetBlendFactors(src, dest);
}

void DrawClear(CGraphics& g, int32_t color, double alpha) {
  if (CGLRenderer* gl = g.device.gl()) gl->Clear(ColorToDevice(color, alpha), true, false);
}

void DrawPoint(CGraphics& g, double x, double y, uint32_t color) {
  GLVertex v = V(g, x, y, color);
  Send(g, kGLPointList, &v, 1);
}

void DrawLine(CGraphics& g, double x1, double y1, double x2, double y2, uint32_t c1, uint32_t c2) {
  GLVertex v[2] = {V(g, x1, y1, c1), V(g, x2, y2, c2)};
  Send(g, kGLLineList, v, 2);
}

void DrawLineWidth(CGraphics& g, double x1, double y1, double x2, double y2, double w, uint32_t c1,
                   uint32_t c2) {
  double len = std::sqrt((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1));
  if (len == 0.0) return;
  double ox = (y2 - y1) * (w / 2) / len, oy = (x2 - x1) * (w / 2) / len;
  GLVertex v[4] = {V(g, x1 - ox, y1 + oy, c1), V(g, x2 - ox, y2 + oy, c2),
                   V(g, x2 + ox, y2 - oy, c2), V(g, x1 + ox, y1 - oy, c1)};
  Send(g, kGLTriangleFan, v, 4);
}

void DrawRectangle(CGraphics& g, double x1, double y1, double x2, double y2, uint32_t c1,
                   uint32_t c2, uint32_t c3, uint32_t c4, bool outline) {
  Normalize(x1, y1, x2, y2);
  GLVertex v[5] = {V(g, x1, y1, c1), V(g, x2, y1, c2), V(g, x2, y2, c3), V(g, x1, y2, c4),
                   V(g, x1, y1, c1)};
  if (outline) {
    Send(g, kGLLineStrip, v, 5);
  } else {
    Send(g, kGLTriangleFan, v, 4);
  }
}

void DrawTriangle(CGraphics& g, double x1, double y1, double x2, double y2, double x3, double y3,
                  uint32_t c1, uint32_t c2, uint32_t c3, bool outline) {
  GLVertex v[4] = {V(g, x1, y1, c1), V(g, x2, y2, c2), V(g, x3, y3, c3), V(g, x1, y1, c1)};
  if (outline) {
    Send(g, kGLLineStrip, v, 4);
  } else {
    Send(g, kGLTriangleList, v, 3);
  }
}

void DrawEllipse(CGraphics& g, double x1, double y1, double x2, double y2, uint32_t centre,
                 uint32_t edge, bool outline) {
  const CDrawState& d = g.draw;
  const int p = d.circle_precision;
  const double cx = (x1 + x2) / 2, cy = (y1 + y2) / 2;
  const double rx = std::fabs(x2 - x1) / 2, ry = std::fabs(y2 - y1) / 2;
  GLVertex v[66];
  v[0] = V(g, cx, cy, centre);
  for (int i = 0; i <= p; ++i) {
    v[i + 1] = V(g, cx + rx * d.circle_cos[i], cy + ry * d.circle_sin[i], edge);
  }
  if (outline) {
    v[0] = v[p];
    Send(g, kGLLineStrip, v, p + 1);
  } else {
    Send(g, kGLTriangleFan, v, p + 2);
  }
}

void DrawRoundRect(CGraphics& g, double x1, double y1, double x2, double y2, double corner_w,
                   double corner_h, uint32_t centre, uint32_t edge, bool outline) {
  Normalize(x1, y1, x2, y2);
  const CDrawState& d = g.draw;
  const int p = d.circle_precision, q = p / 4;
  const double bw = x2 - x1, bh = y2 - y1;
  const double cw = std::min(corner_w, bw), ch = std::min(corner_h, bh);
  const double cx = (x1 + x2) / 2, cy = (y1 + y2) / 2;
  const double ox = bw / 2 - cw / 2, oy = bh / 2 - ch / 2;
  // Corner centres: bottom-right, bottom-left, top-left, top-right (y grows downward).
  const double ccx[4] = {cx + ox, cx - ox, cx - ox, cx + ox};
  const double ccy[4] = {cy + oy, cy + oy, cy - oy, cy - oy};
  GLVertex v[2 + 4 * 17 + 1];
  int n = 0;
  v[n++] = V(g, cx, cy, centre);
  for (int k = 0; k < 4; ++k) {
    for (int i = k * q; i <= (k + 1) * q; ++i) {
      v[n++] = V(g, ccx[k] + cw / 2 * d.circle_cos[i], ccy[k] + ch / 2 * d.circle_sin[i], edge);
    }
  }
  v[n++] = v[1];
  if (outline) {
    v[0] = v[n - 1];
    Send(g, kGLLineStrip, v, n);
  } else {
    Send(g, kGLTriangleFan, v, n);
  }
}

void DrawArrow(CGraphics& g, double x1, double y1, double x2, double y2, double size) {
  const uint32_t c = g.draw.color;
  DrawLine(g, x1, y1, x2, y2, c, c);
  double len = std::sqrt((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1));
  if (len == 0.0) return;
  size = std::min(size, len);
  double dx = (x2 - x1) * size / len, dy = (y2 - y1) * size / len;
  DrawTriangle(g, x2 - dx - dy / 3, y2 - dy + dx / 3, x2, y2, x2 - dx + dy / 3, y2 - dy - dx / 3, c,
               c, c, false);
}

void DrawButton(CGraphics& g, double x1, double y1, double x2, double y2, bool up) {
  const uint32_t white = ColorToDevice(16777215, g.draw.alpha);
  const uint32_t grey = ColorToDevice(8421504, g.draw.alpha);
  const uint32_t light = up ? white : grey, dark = up ? grey : white;
  DrawTriangle(g, x1, y1, x2, y1, x1, y2, light, light, light, false);
  DrawTriangle(g, x1, y2, x2, y1, x2, y2, dark, dark, dark, false);
  const uint32_t c = g.draw.color;
  DrawRectangle(g, x1 + 2, y1 + 2, x2 - 2, y2 - 2, c, c, c, c, false);
}

void DrawHealthbar(CGraphics& g, double x1, double y1, double x2, double y2, double amount,
                   int32_t backcol, int32_t mincol, int32_t maxcol, int64_t direction,
                   bool showback, bool showborder) {
  const double a = g.draw.alpha;
  const uint32_t black = ColorToDevice(0, a);
  if (showback) {
    uint32_t b = ColorToDevice(backcol, a);
    DrawRectangle(g, x1, y1, x2, y2, b, b, b, b, false);
    if (showborder) DrawRectangle(g, x1, y1, x2, y2, black, black, black, black, true);
  }
  amount = std::clamp(amount, 0.0, 100.0);
  double bx1 = x1, by1 = y1, bx2 = x2, by2 = y2;
  switch (direction) {
    case 1:
      bx1 = x2 - (x2 - x1) * amount / 100;
      break;
    case 2:
      by2 = y1 + (y2 - y1) * amount / 100;
      break;
    case 3:
      by1 = y2 - (y2 - y1) * amount / 100;
      break;
    default:
      bx2 = x1 + (x2 - x1) * amount / 100;
      break;
  }
  const int32_t mid = MergeColor(mincol, maxcol, 0.5);
  const int32_t col = amount > 50 ? MergeColor(mid, maxcol, (amount - 50) / 50)
                                  : MergeColor(mincol, mid, amount / 50);
  const uint32_t c = ColorToDevice(col, a);
  DrawRectangle(g, bx1, by1, bx2, by2, c, c, c, c, false);
  if (showborder) DrawRectangle(g, bx1, by1, bx2, by2, black, black, black, black, true);
}

void PrimitiveBegin(CGraphics& g, int32_t kind, int texture) {
  g.draw.primitive_kind = kind;
  g.draw.primitive_texture = texture;
  g.draw.primitive_count = 0;
}

void PrimitiveVertex(CGraphics& g, double x, double y, uint32_t color, double u, double v) {
  CDrawState& d = g.draw;
  if (d.primitive_count >= kMaxPrimitiveVertices) return;
  d.primitive[d.primitive_count++] = {
      static_cast<float>(x), static_cast<float>(y), static_cast<float>(d.depth), 0, 0, 0, color,
      static_cast<float>(u), static_cast<float>(v)};
}

void PrimitiveEnd(CGraphics& g) {
  CDrawState& d = g.draw;
  const int n = d.primitive_count;
  int count = 0;
  switch (d.primitive_kind) {
    case kGLPointList:
      count = n;
      break;
    case kGLLineList:
      count = n / 2;
      break;
    case kGLLineStrip:
      count = n - 1;
      break;
    case kGLTriangleList:
      count = n / 3;
      break;
    case kGLTriangleStrip:
    case kGLTriangleFan:
      count = n - 2;
      break;
    default:
      return;
  }
  if (count < 1) return;
  CGLRenderer* gl = g.device.gl();
  if (!gl) return;
  const RTexture* t = g.textures.Get(d.primitive_texture);
  gl->Draw(d.primitive_kind, d.primitive, n, t ? t->handle : 0);
}

}  // namespace zorvex
