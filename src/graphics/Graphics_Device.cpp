#include "graphics/Graphics_Device.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "graphics/Graphics_Color.h"
#include "graphics/Graphics_Matrix.h"

namespace zorvex {

namespace {
constexpr double kPi = 3.14159265358979323846;
}

CGraphicsDevice::CGraphicsDevice() = default;
CGraphicsDevice::~CGraphicsDevice() = default;

bool CGraphicsDevice::ReadDisplayMode() {
  return CGLRenderer::QueryDisplayMode(display_, nullptr);
}

bool CGraphicsDevice::Create(SDL_Window* window, int width, int height, bool sync,
                             std::string* message) {
  Release();
  synchronization = sync;
  if (!ReadDisplayMode()) {
    if (message) *message = "Failed to retrieve display mode.";
    return false;
  }
  area_width = std::min(width, display_.width);
  area_height = std::min(height, display_.height);
  if (display_.bits_per_pixel != 16 && display_.bits_per_pixel != 32) {
    if (message) {
      *message =
          "This program requires 16-bit (High Color) or 32-bit (Full Color) mode. Please change "
          "this in your display properties and run again.";
    }
    return false;
  }
  auto gl = std::make_unique<CGLRenderer>();
  std::string why;
  if (!gl->Create(window, display_.width, display_.height, mode3d, &why)) {
    if (message) {
      *message =
          "Failed to initialize drawing surfaces. Please check that your graphics card meets the "
          "minimum requirements and that your drivers are up-to-date. If your graphics card has "
          "little memory, try switching your computer to a lower resolution.";
    }
    return false;
  }
  gl_ = std::move(gl);
  gl_->SetSwapInterval(synchronization);
  gl_->Clear(0xFF000000u, true, true);
  SetViewport(0, 0, area_width, area_height);
  SetView2D(0, 0, area_width, area_height, 0);
  WriteRenderSettings();
  return true;
}

void CGraphicsDevice::Release() {
  gl_.reset();
}

bool CGraphicsDevice::Reset() {
  if (!gl_) return false;
  if (!ReadDisplayMode()) return false;
  if (!gl_->ResetBackBuffer(display_.width, display_.height, mode3d)) return false;
  gl_->Clear(0xFF000000u, true, true);
  WriteRenderSettings();
  return true;
}

void CGraphicsDevice::WriteRenderSettings() {
  if (!gl_) return;
  // Alpha blending is always on in the renderer; the rest in the fixed order.
  gl_->SetCulling(settings_.culling);
  gl_->SetBlend(settings_.blend_src, settings_.blend_dest);
  gl_->SetLighting(settings_.lighting);
  gl_->SetFlatShading(!settings_.shading);
  ApplyHidden();
  ApplyFog();
  gl_->SetLinearFilter(settings_.interpolation);
  gl_->SetModulate(settings_.texture_blending);
  gl_->SetWrap(settings_.texture_repeat);
}

void CGraphicsDevice::SetCulling(bool on) {
  settings_.culling = on;
  if (gl_) gl_->SetCulling(on);
}

void CGraphicsDevice::SetBlendFactors(int32_t src, int32_t dest) {
  settings_.blend_src = src;
  settings_.blend_dest = dest;
  if (gl_) gl_->SetBlend(src, dest);
}

void CGraphicsDevice::SetLighting(bool on) {
  settings_.lighting = on;
  if (gl_) gl_->SetLighting(on);
}

void CGraphicsDevice::SetShading(bool smooth) {
  settings_.shading = smooth;
  if (gl_) gl_->SetFlatShading(!smooth);
}

void CGraphicsDevice::SetHidden(bool on) {
  settings_.hidden = on;
  ApplyHidden();
}

void CGraphicsDevice::ApplyHidden() {
  if (!gl_) return;
  bool on = settings_.hidden && mode3d;
  gl_->SetDepthTest(on);
  gl_->SetAlphaTest(on);
}

void CGraphicsDevice::SetFog(bool on, int32_t color, double start, double end) {
  settings_.fog = on;
  settings_.fog_color = color;
  settings_.fog_start = start;
  settings_.fog_end = end;
  ApplyFog();
}

void CGraphicsDevice::ApplyFog() {
  if (!gl_) return;
  // The shader computes fog per pixel on depth or w, as the old table fog did.
  gl_->SetFog(settings_.fog, ColorToDeviceOpaque(settings_.fog_color),
              static_cast<float>(settings_.fog_start), static_cast<float>(settings_.fog_end));
}

void CGraphicsDevice::SetInterpolation(bool on) {
  settings_.interpolation = on;
  if (gl_) gl_->SetLinearFilter(on);
}

void CGraphicsDevice::SetTextureBlending(bool on) {
  settings_.texture_blending = on;
  if (gl_) gl_->SetModulate(on);
}

void CGraphicsDevice::SetTextureRepeat(bool on) {
  settings_.texture_repeat = on;
  if (gl_) gl_->SetWrap(on);
}

void CGraphicsDevice::SetDrawArea(int width, int height) {
  if (display_.width > 0) width = std::min(width, display_.width);
  if (display_.height > 0) height = std::min(height, display_.height);
  if (width == area_width && height == area_height) return;
  area_width = width;
  area_height = height;
  SetViewport(0, 0, width, height);
  SetView2D(0, 0, width, height, 0);
}

void CGraphicsDevice::SetViewport(int x, int y, int width, int height) {
  if (gl_) gl_->SetViewport(x, y, width, height);
}

void CGraphicsDevice::SetView2D(double x, double y, double w, double h, double angle) {
  if (!gl_) return;
  double phi = -angle * kPi / 180.0;
  float up[3] = {static_cast<float>(std::sin(phi)), static_cast<float>(std::cos(phi)), 0.0f};
  float at[3] = {static_cast<float>(x + w / 2), static_cast<float>(y + h / 2), 0.0f};
  CMatrix view, proj;
  if (mode3d && perspective) {
    float eye[3] = {at[0], at[1], static_cast<float>(-w)};
    view = MatrixLookAtLH(eye, at, up);
    proj = MatrixPerspectiveLH(1.0f, static_cast<float>(h / w), 1.0f, 32000.0f);
  } else {
    float eye[3] = {at[0], at[1], -16000.0f};
    view = MatrixLookAtLH(eye, at, up);
    // The negative height makes y grow downward.
    proj = MatrixOrthoLH(static_cast<float>(w), static_cast<float>(-h), 1.0f, 32000.0f);
  }
  gl_->SetView(view.Data());
  gl_->SetProjection(proj.Data());
}

}  // namespace zorvex
