// Everything the graphics subsystem keeps for one running game: the device, the textures, the
// drawing state, the window state, the view mapping and the clock; and the frame operations
// that tie them together.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "graphics/Graphics_Device.h"
#include "graphics/Graphics_Draw.h"
#include "graphics/Graphics_Mapping.h"
#include "graphics/Graphics_Texture.h"
#include "graphics/Graphics_Timer.h"
#include "graphics/Graphics_Window.h"

namespace zorvex {

// A grabbed rectangle: 0xAARRGGBB pixels, top row first.
struct CRegionImage {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
};

class CGraphics {
 public:
  CGraphicsDevice device;
  CTextureTable textures;
  CDrawState draw;
  CWindowState window;
  CViewMappingTable views;
  CClock clock;
  int view_current = 0;        // the view being drawn; 0 outside drawing
  bool automatic_draw = true;  // whether the main loop draws each step

  // Called by ResetDevice before the device is reset: whoever owns render-target textures
  // (surfaces) frees them here.
  std::function<void()> free_surfaces;

  // Creates the device on `window` (null: a hidden window of the renderer's own), empties the
  // texture table and writes the render settings. On failure `message` is what to show.
  bool GraphicsStart(SDL_Window* sdl_window, int width, int height, bool sync,
                     std::string* message);
  void GraphicsStop();

  // Room start: the region becomes the room size, or the extent of the visible view ports
  // (`ports`, `port_count`) when the room uses views; clamped to the display. A change refits
  // the window and the drawing area.
  void FitRegionToRoom(bool views_enabled, const CScreenRect* ports, int port_count, int room_width,
                       int room_height);

  bool BeginFrame();
  // Presents the back-buffer area into the target rectangle; a failed present resets.
  bool PresentFrame();
  // Presents again without ending the frame (the window's paint handler).
  bool RepaintFrame();
  bool ResetDevice();
  void WaitVerticalBlank();

  // The target rectangle in the current client area.
  CScreenRect CurrentTargetRectangle() const;

  // Reads a rectangle of the back buffer, cut to the back-buffer area; false when nothing is
  // left or there is no device.
  bool GrabRegion(int x, int y, int w, int h, CRegionImage& out);
  // The pixel as a script colour (red in the low byte); 0 when it cannot be read.
  int32_t GetRegionPixel(int x, int y);

  // The cursor in region pixels and, through the views, in room coordinates.
  CPoint MouseRegion() const;
  CPoint ViewsMouse() const;
};

// Writes an 8-bit RGB PNG file; false when the file cannot be written.
bool WritePngRgb(const std::string& path, const CRegionImage& image);
// The region as the player sees it (region size, cut to the back-buffer area) as a PNG file.
bool SaveScreenshotPng(CGraphics& g, const std::string& path);

}  // namespace zorvex
