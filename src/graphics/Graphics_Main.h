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
#include "graphics/Graphics_Text.h"
#include "graphics/Graphics_Texture.h"
#include "graphics/Graphics_Timer.h"
#include "graphics/Graphics_Window.h"

namespace zorvex {

struct CInstanceCore;

// A grabbed rectangle: 0xAARRGGBB pixels, top row first.
struct CRegionImage {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
};

class CGraphics {
 public:
  CGraphicsDevice device;
  CTextureTable textures;
  // Sprites, backgrounds and fonts make their textures through this.
  CResourceTextureMaker resource_textures{*this};
  CDrawState draw;
  CTextState text;
  CWindowState window;
  CViewMappingTable views;
  CClock clock;
  int view_current = 0;        // the view being drawn; 0 outside drawing
  bool automatic_draw = true;  // whether the main loop draws each step
  // The size of the room being run, recorded when it starts (FitRegionToRoom); the area that
  // tiled sprites and backgrounds cover.
  int room_width = 640;
  int room_height = 480;
  // The runtime tells drawing an instance's image_index, for frame arguments below 0; without
  // it (or without an instance) such frames are frame 0.
  double (*image_index_of)(const CInstanceCore& instance) = nullptr;
  bool d3dx_loaded = false;
  // The display mode the game asked for (display_set_*): used whenever the window is full
  // screen; -1 keeps the desktop's value.
  int32_t display_width = -1;
  int32_t display_height = -1;
  int32_t display_frequency = -1;

  // Called by ResetDevice before the device is reset: whoever owns render-target textures
  // (surfaces) frees them here.
  std::function<void()> free_surfaces;

  // The support library: the runner does its work itself (matrices, texture sizes, uploads), so
  // there is nothing to load and this always succeeds.
  bool LoadD3DX();

  // Creates the device on `window` (null: a hidden window of the renderer's own), empties the
  // texture table and writes the render settings. On failure `message` is what to show.
  bool GraphicsStart(SDL_Window* sdl_window, int width, int height, bool sync,
                     std::string* message);
  void GraphicsStop();

  // Room start: the region becomes the room size, or the extent of the visible view ports
  // (`ports`, `port_count`) when the room uses views; clamped to the display. A change refits
  // the window and the drawing area.
  // Also records the room's size for tiled drawing.
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
