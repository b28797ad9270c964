#include "graphics/Graphics_Window.h"

#include <algorithm>

#include "code/Code_Round.h"

namespace zorvex {

namespace {
int Scaled(int size, double scale) {
  return static_cast<int>(RoundToInt64(size * scale));
}
}  // namespace

CScreenRect CWindowState::Client() const {
  return form ? form->ClientRect() : stored;
}

void CWindowState::StoreGeometry() {
  if (full_screen || applying) return;
  if (form) stored = form->ClientRect();
}

void CWindowState::Apply() {
  applying = true;
  if (form) {
    if (full_screen) {
      form->SetBorder(WindowBorder::kNone, false);
      form->SetFullScreen(true);
    } else {
      form->SetFullScreen(false);
      WindowBorder border = !show_border ? WindowBorder::kNone
                            : sizeable   ? WindowBorder::kSizeable
                                         : WindowBorder::kSingle;
      form->SetBorder(border, show_border && show_icons);
      form->SetClientRect(stored);
    }
  }
  applying = false;
}

void CWindowState::SetFullScreen(bool on) {
  if (on == full_screen) return;
  StoreGeometry();
  full_screen = on;
  Apply();
}

void CWindowState::SetShowBorder(bool on) {
  StoreGeometry();
  show_border = on;
  Apply();
}

void CWindowState::SetShowIcons(bool on) {
  StoreGeometry();
  show_icons = on;
  Apply();
}

void CWindowState::SetSizeable(bool on) {
  StoreGeometry();
  sizeable = on;
  Apply();
}

void CWindowState::SetPosition(int x, int y) {
  StoreGeometry();
  stored.x = x;
  stored.y = y;
  Apply();
}

void CWindowState::SetSize(int w, int h) {
  StoreGeometry();
  stored.w = w;
  stored.h = h;
  if (region_scale > 0) {
    stored.w = std::max(stored.w, Scaled(region_width, region_scale));
    stored.h = std::max(stored.h, Scaled(region_height, region_scale));
  }
  Apply();
}

void CWindowState::SetRectangle(int x, int y, int w, int h) {
  StoreGeometry();
  stored.x = x;
  stored.y = y;
  stored.w = w;
  stored.h = h;
  if (region_scale > 0) {
    stored.w = std::max(stored.w, Scaled(region_width, region_scale));
    stored.h = std::max(stored.h, Scaled(region_height, region_scale));
  }
  Apply();
}

void CWindowState::Center() {
  CScreenRect c = Client();
  SetPosition((display.width - c.w) / 2, (display.height - c.h) / 2);
}

void CWindowState::Default() {
  int w = region_width, h = region_height;
  if (region_scale > 0) {
    w = Scaled(region_width, region_scale);
    h = Scaled(region_height, region_scale);
  }
  StoreGeometry();
  stored = {(display.width - w) / 2, (display.height - h) / 2, w, h};
  Apply();
}

void CWindowState::ApplyRegionRule(bool adapt) {
  if (region_scale > 0) {
    const int w = Scaled(region_width, region_scale), h = Scaled(region_height, region_scale);
    CScreenRect c = Client();
    if (adapt) {
      SetSize(w, h);
    } else if (c.w < w || c.h < h) {
      SetSize(std::max(w, c.w), std::max(h, c.h));
    }
  }
  UpdateMinimum();
  if (form) form->Invalidate();
}

void CWindowState::SetRegionSize(int w, int h, bool adapt) {
  if (w > 0) region_width = w;
  if (h > 0) region_height = h;
  ApplyRegionRule(adapt);
}

void CWindowState::SetRegionScale(double scale, bool adapt) {
  region_scale = scale;
  ApplyRegionRule(adapt);
}

void CWindowState::SetVisible(bool visible) {
  StoreGeometry();
  if (form) form->SetVisible(visible);
}

CDisplaySize CWindowState::MinimumClientSize() const {
  if (region_scale <= 0) return {0, 0};
  return {Scaled(region_width, region_scale), Scaled(region_height, region_scale)};
}

void CWindowState::UpdateMinimum() {
  if (!form) return;
  CDisplaySize m = MinimumClientSize();
  form->SetMinimumClientSize(m.width, m.height);
}

}  // namespace zorvex
