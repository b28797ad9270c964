#include "graphics/Graphics_Texture.h"

#include <algorithm>
#include <cmath>

#include "code/Code_Round.h"
#include "graphics/Graphics_Color.h"
#include "graphics/Graphics_Main.h"
#include "resources/Graphics_Bitmap32.h"

namespace zorvex {

int TextureSizeRule(int size, int max_size) {
  int s = 1;
  while (s < size) {
    if (s > max_size / 2) return 0;
    s *= 2;
  }
  return s <= max_size ? s : 0;
}

int CTextureTable::Add(const RTexture& t) {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (!items_[i].exists) {
      items_[i] = t;
      items_[i].exists = true;
      return static_cast<int>(i);
    }
  }
  items_.push_back(t);
  items_.back().exists = true;
  return static_cast<int>(items_.size() - 1);
}

void CTextureTable::Remove(int id) {
  if (id >= 0 && static_cast<size_t>(id) < items_.size()) items_[id] = RTexture();
}

int TextureCreate(CGraphics& g, int width, int height, bool render_target) {
  CGLRenderer* gl = g.device.gl();
  if (!gl) return -1;
  int tw = TextureSizeRule(width, gl->MaxTextureSize());
  int th = TextureSizeRule(height, gl->MaxTextureSize());
  if (tw == 0 || th == 0) return -1;
  GLTextureHandle h = gl->CreateTexture(tw, th, render_target);
  if (h == 0) return -1;
  RTexture t;
  t.handle = h;
  t.width = width;
  t.height = height;
  t.texture_width = tw;
  t.texture_height = th;
  t.render_target = render_target;
  return g.textures.Add(t);
}

namespace {
// Loads the image with one duplicated column and row where the texture is larger, so that
// linear filtering at the right and bottom edges never reads texels outside the image.
bool Upload(CGraphics& g, const RTexture& t, int w, int h, const uint32_t* pixels) {
  CGLRenderer* gl = g.device.gl();
  if (w < 1 || h < 1) return true;  // nothing to load into an empty image's texture
  const int W = t.texture_width, H = t.texture_height;
  if (w == W && h == H) return gl->UploadTexture(t.handle, 0, 0, w, h, pixels);
  const int cw = std::min(w + 1, W), ch = std::min(h + 1, H);
  std::vector<uint32_t> buf(static_cast<size_t>(cw) * static_cast<size_t>(ch));
  for (int y = 0; y < ch; ++y) {
    const uint32_t* src = pixels + static_cast<size_t>(std::min(y, h - 1)) * w;
    uint32_t* dst = buf.data() + static_cast<size_t>(y) * cw;
    std::copy(src, src + w, dst);
    if (cw > w) dst[w] = src[w - 1];
  }
  return gl->UploadTexture(t.handle, 0, 0, cw, ch, buf.data());
}
}  // namespace

int TextureFromImage(CGraphics& g, int width, int height, const uint32_t* pixels) {
  if (!pixels && width > 0 && height > 0) return -1;
  int id = TextureCreate(g, width, height, false);
  if (id < 0) return -1;
  if (!Upload(g, *g.textures.Get(id), width, height, pixels)) {
    TextureFree(g, id);
    return -1;
  }
  return id;
}

int TextureFromAlpha(CGraphics& g, int width, int height, const uint8_t* alpha) {
  if (width < 0 || height < 0) return -1;
  std::vector<uint32_t> px(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (size_t i = 0; i < px.size(); ++i)
    px[i] = static_cast<uint32_t>(alpha[i]) << 24 | 0xFFFFFFu;
  return TextureFromImage(g, width, height, px.data());
}

int32_t CResourceTextureMaker::MakeTexture(const CBitmap32& image, bool /*preload*/) {
  if (!image.exists()) return -1;
  return TextureFromImage(g_, image.width(), image.height(), image.Pixels());
}

int32_t CResourceTextureMaker::MakeAlphaTexture(int32_t width, int32_t height,
                                                const uint8_t* alpha) {
  return TextureFromAlpha(g_, width, height, alpha);
}

void CResourceTextureMaker::FreeTexture(int32_t id) {
  TextureFree(g_, id);
}

void TextureFree(CGraphics& g, int id) {
  const RTexture* t = g.textures.Get(id);
  if (!t) return;
  if (CGLRenderer* gl = g.device.gl()) gl->FreeTexture(t->handle);
  g.textures.Remove(id);
}

void TextureClearAll(CGraphics& g) {
  for (size_t i = 0; i < g.textures.Size(); ++i)
    TextureFree(g, static_cast<int>(i));
  g.textures.Clear();
}

namespace {

struct QuadCorners {
  float x[4], y[4];
};

// Places the local rectangle (left, top)-(right, bottom) at (x, y), rotated by `angle`
// (counter-clockwise on screen for positive angles) about (x, y). Order: top-left, top-right,
// bottom-right, bottom-left.
inline QuadCorners Place(double x, double y, double left, double top, double right, double bottom,
                         double angle) {
  QuadCorners q;
  if (std::fabs(angle) < 0.01) {
    q.x[0] = q.x[3] = static_cast<float>(x + left);
    q.x[1] = q.x[2] = static_cast<float>(x + right);
    q.y[0] = q.y[1] = static_cast<float>(y + top);
    q.y[2] = q.y[3] = static_cast<float>(y + bottom);
    return q;
  }
  const double c = std::cos(angle), s = std::sin(angle);
  const double lx[4] = {left, right, right, left};
  const double ly[4] = {top, top, bottom, bottom};
  for (int i = 0; i < 4; ++i) {
    q.x[i] = static_cast<float>(x + lx[i] * c + ly[i] * s);
    q.y[i] = static_cast<float>(y - lx[i] * s + ly[i] * c);
  }
  return q;
}

inline void Emit(CGraphics& g, const RTexture& t, const QuadCorners& q, const uint32_t colors[4],
                 float ul, float vt, float ur, float vb) {
  CGLRenderer* gl = g.device.gl();
  gl->SetWrap(false);  // textured quads always clamp, whatever the repeat setting says
  const float z = static_cast<float>(g.draw.depth);
  const GLVertex v[4] = {
      {q.x[0], q.y[0], z, 0, 0, 0, colors[0], ul, vt},
      {q.x[1], q.y[1], z, 0, 0, 0, colors[1], ur, vt},
      {q.x[2], q.y[2], z, 0, 0, 0, colors[2], ur, vb},
      {q.x[3], q.y[3], z, 0, 0, 0, colors[3], ul, vb},
  };
  gl->DrawQuad(v, t.handle);
}

inline const RTexture* Drawable(CGraphics& g, int id) {
  return g.device.gl() ? g.textures.Get(id) : nullptr;
}

}  // namespace

void TextureDraw(CGraphics& g, int id, double x, double y) {
  const RTexture* t = Drawable(g, id);
  if (!t) return;
  QuadCorners q = Place(x, y, -0.5, -0.5, t->width - 0.5, t->height - 0.5, 0.0);
  const uint32_t c[4] = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};
  Emit(g, *t, q, c, 0.0f, 0.0f,
       static_cast<float>(static_cast<double>(t->width) / t->texture_width),
       static_cast<float>(static_cast<double>(t->height) / t->texture_height));
}

void TextureDrawExt(CGraphics& g, int id, int32_t color, double xorigin, double yorigin, double x,
                    double y, double xscale, double yscale, double angle, double alpha) {
  const RTexture* t = Drawable(g, id);
  if (!t) return;
  const uint32_t dc = ColorToDevice(color, alpha);
  const double left = -xscale * xorigin - 0.5, top = -yscale * yorigin - 0.5;
  QuadCorners q = Place(x, y, left, top, left + t->width * xscale, top + t->height * yscale, angle);
  const uint32_t c[4] = {dc, dc, dc, dc};
  Emit(g, *t, q, c, 0.0f, 0.0f,
       static_cast<float>(static_cast<double>(t->width) / t->texture_width),
       static_cast<float>(static_cast<double>(t->height) / t->texture_height));
}

namespace {
void DrawPart(CGraphics& g, const RTexture& t, const uint32_t c[4], double left, double top,
              double width, double height, double x, double y, double xscale, double yscale,
              double angle) {
  QuadCorners q = Place(x, y, -0.5, -0.5, width * xscale - 0.5, height * yscale - 0.5, angle);
  const double W = t.texture_width, H = t.texture_height;
  Emit(g, t, q, c, static_cast<float>(left / W), static_cast<float>(top / H),
       static_cast<float>((left + width) / W), static_cast<float>((top + height) / H));
}
}  // namespace

void TextureDrawPart(CGraphics& g, int id, int32_t color, double left, double top, double width,
                     double height, double x, double y, double xscale, double yscale, double angle,
                     double alpha) {
  const RTexture* t = Drawable(g, id);
  if (!t) return;
  const uint32_t dc = ColorToDevice(color, alpha);
  const uint32_t c[4] = {dc, dc, dc, dc};
  DrawPart(g, *t, c, left, top, width, height, x, y, xscale, yscale, angle);
}

void TextureDrawGeneral(CGraphics& g, int id, int32_t c1, int32_t c2, int32_t c3, int32_t c4,
                        double alpha, double left, double top, double width, double height,
                        double x, double y, double xscale, double yscale, double angle) {
  const RTexture* t = Drawable(g, id);
  if (!t) return;
  const uint32_t c[4] = {ColorToDevice(c1, alpha), ColorToDevice(c2, alpha),
                         ColorToDevice(c3, alpha), ColorToDevice(c4, alpha)};
  DrawPart(g, *t, c, left, top, width, height, x, y, xscale, yscale, angle);
}

void TextureDrawTiled(CGraphics& g, int id, bool htiled, bool vtiled, double xorigin,
                      double yorigin, double x, double y, double xscale, double yscale,
                      double area_left, double area_top, double area_width, double area_height,
                      int32_t color, double alpha) {
  const RTexture* t = Drawable(g, id);
  if (!t) return;
  const int64_t tw = RoundToInt64(t->width * xscale), th = RoundToInt64(t->height * yscale);
  if (tw < 1 || th < 1) return;
  const double left = -xscale * xorigin - 0.5, right = xscale * t->width + left;
  const double top = -yscale * yorigin - 0.5, bottom = yscale * t->height + top;
  const uint32_t dc = ColorToDevice(color, alpha);
  const uint32_t c[4] = {dc, dc, dc, dc};
  const float ur = static_cast<float>(static_cast<double>(t->width) / t->texture_width);
  const float vb = static_cast<float>(static_cast<double>(t->height) / t->texture_height);
  auto start = [](int64_t pos, int64_t step, double area_start) {
    int64_t s = pos % step;  // remainder with the sign of pos
    if (s > 0) s -= step;
    while (static_cast<double>(s + step) < area_start)
      s += step;
    return s;
  };
  const int64_t rx = RoundToInt64(x), ry = RoundToInt64(y);
  const int64_t sx = htiled ? start(rx, tw, area_left) : rx;
  const int64_t sy = vtiled ? start(ry, th, area_top) : ry;
  for (int64_t X = sx; static_cast<double>(X) < area_left + area_width; X += tw) {
    for (int64_t Y = sy; static_cast<double>(Y) < area_top + area_height; Y += th) {
      const double fx = static_cast<double>(X), fy = static_cast<double>(Y);
      QuadCorners q = Place(fx, fy, left, top, right, bottom, 0.0);
      Emit(g, *t, q, c, 0.0f, 0.0f, ur, vb);
      if (!vtiled) break;
    }
    if (!htiled) break;
  }
}

}  // namespace zorvex
