// The drawing device: the renderer, the back-buffer area, the render settings that the game can
// change (kept here and written again after every reset), and the 2D camera.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/Platform_GL.h"

namespace zorvex {

struct CRenderSettings {
  bool culling = false;
  int32_t blend_src = kGLBlendSrcAlpha;
  int32_t blend_dest = kGLBlendInvSrcAlpha;
  bool lighting = false;
  bool shading = true;  // smooth
  bool hidden = true;   // hidden-surface removal, effective in 3D mode only
  bool fog = false;
  int32_t fog_color = 0;  // script colour
  double fog_start = 0.0;
  double fog_end = 1.0;
  bool interpolation = true;
  bool texture_blending = true;
  bool texture_repeat = false;
};

class CGraphicsDevice {
 public:
  CGraphicsDevice();
  ~CGraphicsDevice();

  // The renderer, or null while there is no device.
  CGLRenderer* gl() const { return gl_.get(); }
  bool Exists() const { return gl_ != nullptr; }

  // Creates the renderer with a back buffer of the display's size. `window` may be null for a
  // hidden window of the renderer's own. Returns false with the message to show.
  bool Create(SDL_Window* window, int width, int height, bool sync, std::string* message);
  void Release();
  // Rebuilds the back buffer for the current display mode and 3D flag and writes the render
  // settings again.
  bool Reset();

  // The display mode as last read.
  const GLDisplayMode& display() const { return display_; }
  bool ReadDisplayMode();

  // Back-buffer area: viewport and projection when nothing else is set, and the source of every
  // present.
  int area_width = 640;
  int area_height = 480;
  bool synchronization = false;
  bool mode3d = false;      // owned by 3D mode
  bool perspective = true;  // owned by 3D mode

  const CRenderSettings& settings() const { return settings_; }
  void WriteRenderSettings();
  void SetCulling(bool on);
  void SetBlendFactors(int32_t src, int32_t dest);
  void SetLighting(bool on);
  void SetShading(bool smooth);
  void SetHidden(bool on);
  void SetFog(bool on, int32_t color, double start, double end);
  void SetInterpolation(bool on);
  void SetTextureBlending(bool on);
  void SetTextureRepeat(bool on);

  void SetDrawArea(int width, int height);
  void SetViewport(int x, int y, int width, int height);
  // The camera that shows the room rectangle (x, y, w, h), rotated by `angle` degrees, in the
  // current viewport.
  void SetView2D(double x, double y, double w, double h, double angle);

 private:
  void ApplyHidden();
  void ApplyFog();

  std::unique_ptr<CGLRenderer> gl_;
  GLDisplayMode display_;
  CRenderSettings settings_;
};

}  // namespace zorvex
