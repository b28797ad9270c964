#include "graphics/Graphics_Main.h"

#include <algorithm>

#include "graphics/Graphics_Color.h"

namespace zorvex {

bool CGraphics::LoadD3DX() {
  d3dx_loaded = true;
  return true;
}

bool CGraphics::GraphicsStart(SDL_Window* sdl_window, int width, int height, bool sync,
                              std::string* message) {
  TextureClearAll(*this);
  if (!device.Create(sdl_window, width, height, sync, message)) return false;
  window.display = {device.display().width, device.display().height};
  return true;
}

void CGraphics::GraphicsStop() {
  d3dx_loaded = false;
  TextureClearAll(*this);
  device.Release();
}

void CGraphics::FitRegionToRoom(bool views_enabled, const CScreenRect* ports, int port_count,
                                int room_w, int room_h) {
  room_width = room_w;
  room_height = room_h;
  int w = room_w, h = room_h;
  if (views_enabled) {
    w = h = 8;
    for (int i = 0; i < port_count; ++i) {
      w = std::max(w, ports[i].x + ports[i].w);
      h = std::max(h, ports[i].y + ports[i].h);
    }
  }
  if (window.display.width > 0) w = std::min(w, window.display.width);
  if (window.display.height > 0) h = std::min(h, window.display.height);
  if (w == window.region_width && h == window.region_height) return;
  window.SetRegionSize(w, h, true);
  window.Default();
  device.SetDrawArea(w, h);
}

bool CGraphics::BeginFrame() {
  return device.Exists();
}

CScreenRect CGraphics::CurrentTargetRectangle() const {
  int cw = 0, ch = 0;
  if (window.form) {
    CScreenRect c = window.form->ClientRect();
    cw = c.w;
    ch = c.h;
  } else if (device.gl()) {
    device.gl()->WindowSize(cw, ch);
  }
  return TargetRectangle(cw, ch, window.region_width, window.region_height, window.region_scale);
}

bool CGraphics::RepaintFrame() {
  CGLRenderer* gl = device.gl();
  if (!gl) return false;
  CScreenRect t = CurrentTargetRectangle();
  // Synchronisation is the swap interval, set with the flag.
  return gl->Present(device.area_width, device.area_height, t.x, t.y, t.w, t.h,
                     ColorToDeviceOpaque(window.color));
}

bool CGraphics::PresentFrame() {
  if (!device.gl()) return false;
  if (!RepaintFrame()) ResetDevice();
  return true;
}

bool CGraphics::ResetDevice() {
  if (!device.Exists()) return false;
  if (free_surfaces) free_surfaces();
  if (!device.Reset()) return false;
  window.display = {device.display().width, device.display().height};
  return true;
}

void CGraphics::WaitVerticalBlank() {
  // The swap interval already waits when synchronisation is on and the driver supports it;
  // this is the explicit wait of screen_wait_vsync and transitions.
  clock.WaitVerticalBlank(device.display().refresh_rate);
}

bool CGraphics::GrabRegion(int x, int y, int w, int h, CRegionImage& out) {
  CGLRenderer* gl = device.gl();
  if (!gl) return false;
  x = std::max(x, 0);
  y = std::max(y, 0);
  w = std::min(w, device.area_width - x);
  h = std::min(h, device.area_height - y);
  w = std::min(w, gl->BackWidth() - x);
  h = std::min(h, gl->BackHeight() - y);
  if (w <= 0 || h <= 0) return false;
  out.width = w;
  out.height = h;
  out.pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0u);
  return gl->ReadPixels(x, y, w, h, out.pixels.data(), false);
}

int32_t CGraphics::GetRegionPixel(int x, int y) {
  CRegionImage img;
  if (!GrabRegion(x, y, 1, 1, img)) return 0;
  return DeviceToColor(img.pixels[0]);
}

CPoint CGraphics::MouseRegion() const {
  if (!window.form) return {0, 0};
  CPoint cursor = window.form->CursorPosition();
  CScreenRect c = window.form->ClientRect();
  return WindowToRegion(static_cast<double>(cursor.x - c.x), static_cast<double>(cursor.y - c.y),
                        c.w, c.h, window.region_width, window.region_height, window.region_scale);
}

CPoint CGraphics::ViewsMouse() const {
  return zorvex::ViewsMouse(views, MouseRegion());
}

bool SaveScreenshotPng(CGraphics& g, const std::string& path) {
  CRegionImage img;
  if (!g.GrabRegion(0, 0, g.window.region_width, g.window.region_height, img)) return false;
  return WritePngRgb(path, img);
}

}  // namespace zorvex
