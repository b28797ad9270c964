// The game window as the graphics code sees it: a small interface that the window code
// implements, and the state logic around it (full screen, border, sizeable, stored geometry,
// region size and scale).
#pragma once

#include <cstdint>
#include <string>

#include "graphics/Graphics_Mapping.h"

namespace zorvex {

enum class WindowBorder { kNone, kSingle, kSizeable };

// What the graphics code needs of the game window. Rectangles are the client area in screen
// pixels.
class IGraphicsWindow {
 public:
  virtual ~IGraphicsWindow() = default;

  virtual CScreenRect ClientRect() const = 0;
  // Moves and sizes the window so that its client area is exactly `client`.
  virtual void SetClientRect(const CScreenRect& client) = 0;
  // Borderless and covering the display, or back to a normal window.
  virtual void SetFullScreen(bool on) = 0;
  // Border kind and whether the caption buttons show.
  virtual void SetBorder(WindowBorder border, bool icons) = 0;
  // The user cannot drag the client area below this size (0 x 0: no limit).
  virtual void SetMinimumClientSize(int width, int height) = 0;
  // Asks for a repaint.
  virtual void Invalidate() = 0;

  virtual bool Visible() const = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual bool StayOnTop() const = 0;
  virtual void SetStayOnTop(bool on) = 0;
  virtual std::string Caption() const = 0;
  virtual void SetCaption(const std::string& caption) = 0;  // game bytes (Windows-1252)
  virtual int32_t Cursor() const = 0;
  virtual void SetCursor(int32_t cursor) = 0;

  // The mouse cursor in screen pixels.
  virtual CPoint CursorPosition() const = 0;
  virtual void SetCursorPosition(int64_t x, int64_t y) = 0;
};

struct CDisplaySize {
  int width = 0, height = 0;
};

class CWindowState {
 public:
  // The window; null until the window code attaches one (then only the state changes).
  IGraphicsWindow* form = nullptr;

  bool full_screen = false;
  bool show_border = true;
  bool show_icons = true;
  bool sizeable = true;
  CScreenRect stored{100, 100, 640, 480};  // client rectangle when not full screen
  bool applying = false;
  int region_width = 640;
  int region_height = 480;
  double region_scale = 1.0;
  int32_t color = 0;  // painted around the target rectangle (script colour)
  CDisplaySize display;

  // The client rectangle: the form's, or the stored one without a form.
  CScreenRect Client() const;

  void StoreGeometry();
  void Apply();
  void SetFullScreen(bool on);
  void SetShowBorder(bool on);
  void SetShowIcons(bool on);
  void SetSizeable(bool on);
  void SetPosition(int x, int y);
  void SetSize(int w, int h);
  void SetRectangle(int x, int y, int w, int h);
  void Center();
  void Default();
  void SetRegionSize(int w, int h, bool adapt);
  void SetRegionScale(double scale, bool adapt);
  void SetVisible(bool visible);
  // The window's resize handler.
  void OnResize() { StoreGeometry(); }
  // The least client size the user may drag to: round(scale x region) when scale > 0.
  CDisplaySize MinimumClientSize() const;

 private:
  void ApplyRegionRule(bool adapt);
  void UpdateMinimum();
};

}  // namespace zorvex
