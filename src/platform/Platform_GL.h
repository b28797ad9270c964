// The OpenGL renderer behind the graphics device: a GL 3.3 core context, one shader that
// reproduces the fixed-function stages games rely on, a streaming vertex buffer that batches
// consecutive draws, textures, render targets and the back buffer as framebuffer objects stored
// top row first, read-back and present.
//
// Matrices are Direct3D-style row-vector matrices (16 floats, row-major, left-handed, depth
// 0..1); the renderer adds the correction to GL's clip space itself. Colours are 0xAARRGGBB.
// No GL or SDL type appears here, so the rest of the runner never includes their headers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct SDL_Window;

namespace zorvex {

// One vertex as the game sends it. 2D drawing leaves the normal at 0.
struct GLVertex {
  float x, y, z;
  float nx, ny, nz;
  uint32_t color;  // 0xAARRGGBB
  float u, v;
};

// The six primitive kinds, numbered as the game numbers them.
enum GLPrimitiveKind : int32_t {
  kGLPointList = 1,
  kGLLineList = 2,
  kGLLineStrip = 3,
  kGLTriangleList = 4,
  kGLTriangleStrip = 5,
  kGLTriangleFan = 6,
};

// Blend factors, numbered as the game numbers them (1 zero ... 11 source alpha saturated).
enum GLBlendFactor : int32_t {
  kGLBlendZero = 1,
  kGLBlendOne = 2,
  kGLBlendSrcColor = 3,
  kGLBlendInvSrcColor = 4,
  kGLBlendSrcAlpha = 5,
  kGLBlendInvSrcAlpha = 6,
  kGLBlendDestAlpha = 7,
  kGLBlendInvDestAlpha = 8,
  kGLBlendDestColor = 9,
  kGLBlendInvDestColor = 10,
  kGLBlendSrcAlphaSat = 11,
};

// A light as the fixed-function pipeline knows it; unused fields stay 0.
struct GLLight {
  bool point = false;                  // false: directional
  float r = 0, g = 0, b = 0;           // diffuse colour 0..1
  float x = 0, y = 0, z = 0;           // position (point lights)
  float dx = 0, dy = 0, dz = 0;        // direction, pointing away from the light
  float range = 0;                     // point lights stop here
  float att0 = 1, att1 = 0, att2 = 0;  // 1 / (att0 + att1 d + att2 d^2)
};

// Counters of the current frame (since the last present or ResetStats).
struct GLStats {
  int64_t draw_calls = 0;
  int64_t vertices = 0;
  int64_t state_flushes = 0;
};

struct GLDisplayMode {
  int width = 0;
  int height = 0;
  int bits_per_pixel = 32;  // bytes per pixel x 8, so a 24-bit desktop reports 32
  int refresh_rate = 0;     // 0 when the system does not know
};

// Texture handles are GL texture names; 0 is no texture.
using GLTextureHandle = uint32_t;

class CGLRenderer {
 public:
  CGLRenderer();
  ~CGLRenderer();
  CGLRenderer(const CGLRenderer&) = delete;
  CGLRenderer& operator=(const CGLRenderer&) = delete;

  // The current mode of the first display. Initialises SDL's video subsystem if needed.
  static bool QueryDisplayMode(GLDisplayMode& mode, std::string* error);

  // Creates a GL 3.3 core context on `window`, or on a hidden window of its own when `window`
  // is null (tests and headless runs; SDL_VIDEODRIVER=offscreen gives EGL without X). The back
  // buffer is an RGB8 framebuffer object of the given size, with a 16-bit depth buffer when
  // `depth` is set. Returns false with a reason in `error`.
  bool Create(SDL_Window* window, int back_width, int back_height, bool depth, std::string* error);
  void Destroy();
  bool Created() const;

  // Recreates the back buffer (contents lost) and every render target's depth detachment;
  // textures survive.
  bool ResetBackBuffer(int back_width, int back_height, bool depth);
  int BackWidth() const;
  int BackHeight() const;
  bool HasDepth() const;

  // Swap interval 1 when set; ignored where the driver refuses.
  void SetSwapInterval(bool sync);

  // Textures: one level, stored top row first, pixels 0xAARRGGBB. A render-target texture also
  // gets a framebuffer object so that it can be drawn into.
  GLTextureHandle CreateTexture(int width, int height, bool render_target);
  void FreeTexture(GLTextureHandle texture);
  // Loads a rectangle of pixels (row pitch = width) into the texture.
  bool UploadTexture(GLTextureHandle texture, int x, int y, int width, int height,
                     const uint32_t* pixels);
  int MaxTextureSize() const;

  // Drawing goes to the back buffer (0) or to a render-target texture. Render targets never get
  // a depth buffer.
  bool SetRenderTarget(GLTextureHandle target);
  GLTextureHandle RenderTarget() const;

  // State. Each setter flushes the pending batch only when the value really changes.
  void SetViewport(int x, int y, int width, int height);
  void SetWorld(const float m[16]);
  void SetView(const float m[16]);
  void SetProjection(const float m[16]);
  void SetBlend(int32_t src, int32_t dest);
  void SetCulling(bool cull_ccw);
  void SetLighting(bool on);
  void SetLight(int index, const GLLight& light);
  void EnableLight(int index, bool on);
  void SetFlatShading(bool flat);
  void SetDepthTest(bool on);  // z test LESSEQUAL with writes
  void SetAlphaTest(bool on);  // keeps fragments with alpha > 0
  void SetFog(bool on, uint32_t color, float start, float end);
  void SetLinearFilter(bool linear);
  void SetWrap(bool wrap);
  void SetModulate(bool modulate);  // texture x diffuse, or texture alone

  // Clears the current viewport of the current target (a scissor keeps the rest).
  void Clear(uint32_t color, bool target, bool depth);

  // Sends vertices. `texture` 0 draws untextured (the texture reads as opaque white).
  void Draw(int32_t kind, const GLVertex* vertices, int count, GLTextureHandle texture);
  // A quad given top-left, top-right, bottom-right, bottom-left, as a fan of two triangles.
  void DrawQuad(const GLVertex vertices[4], GLTextureHandle texture);
  // Issues the pending batch.
  void Flush();

  // Reads a rectangle of the back buffer (or of the current render target when
  // `from_target`) into 0xAARRGGBB pixels, top row first. The rectangle must lie inside.
  bool ReadPixels(int x, int y, int width, int height, uint32_t* out, bool from_target);
  // Reads a rectangle of a render-target texture.
  bool ReadTexturePixels(GLTextureHandle texture, int x, int y, int width, int height,
                         uint32_t* out);
  // Copies a rectangle between two render-target textures.
  bool CopyTextureRect(GLTextureHandle dest, int dx, int dy, GLTextureHandle src, int sx, int sy,
                       int width, int height);

  // Paints the window: colour everywhere, then the (0, 0, src_w, src_h) rectangle of the back
  // buffer stretched into the target rectangle (window pixels, top-left origin), then swaps.
  bool Present(int src_width, int src_height, int dest_x, int dest_y, int dest_width,
               int dest_height, uint32_t window_color);
  // Drawable size of the window in pixels.
  void WindowSize(int& width, int& height) const;

  const GLStats& Stats() const;
  void ResetStats();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace zorvex
