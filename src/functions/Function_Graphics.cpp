// The graphics family of built-in functions: each converts its real arguments and calls one
// graphics operation. Registered in the family's fixed order; functions whose subsystem is not
// there yet (paths, surfaces) are absent.
#include "functions/Function_Graphics.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <climits>

#include "code/Code_Function.h"
#include "code/Code_Round.h"
#include "functions/Function_Math_Format.h"
#include "game/Game.h"
#include "game/Game_Draw.h"
#include "graphics/Graphics_Color.h"
#include "graphics/Graphics_Sprite.h"
#include "graphics/Graphics_Text.h"
#include "platform/Platform_Display.h"

namespace zorvex {

namespace {

#define ZV_HANDLER(name)                                                        \
  void name([[maybe_unused]] CGame& game, [[maybe_unused]] CInstanceCore* self, \
            [[maybe_unused]] CInstanceCore* other, [[maybe_unused]] int argc,   \
            [[maybe_unused]] RValue* args, [[maybe_unused]] RValue& result)

inline double D(const RValue* a, int i) {
  return a[i].real;
}
inline int32_t I(const RValue* a, int i) {
  return RoundToInt32(a[i].real);
}
inline int64_t L(const RValue* a, int i) {
  return RoundToInt64(a[i].real);
}
inline bool B(const RValue* a, int i) {
  return IsTrue(a[i].real);
}
inline CGraphics& G(CGame& game) {
  return game.graphics;
}
inline uint32_t WithAlpha(CGame& game, int32_t color) {
  return ColorToDevice(color, game.graphics.draw.alpha);
}

// A value shown as text: strings as they are, integral reals as integers, others with two
// decimals.
std::string AsText(const RValue& v) {
  if (v.IsString()) return v.str;
  char buf[64];
  if (v.real == std::floor(v.real) && std::fabs(v.real) < 1e15) {
    std::snprintf(buf, sizeof buf, "%.0f", v.real);
  } else {
    std::snprintf(buf, sizeof buf, "%.2f", v.real);
  }
  return buf;
}

// ---- display ----

ZV_HANDLER(F_display_get_width) {
  G(game).device.ReadDisplayMode();
  result = G(game).device.display().width;
}
ZV_HANDLER(F_display_get_height) {
  G(game).device.ReadDisplayMode();
  result = G(game).device.display().height;
}
ZV_HANDLER(F_display_get_colordepth) {
  G(game).device.ReadDisplayMode();
  result = G(game).device.display().bits_per_pixel;
}
ZV_HANDLER(F_display_get_frequency) {
  G(game).device.ReadDisplayMode();
  result = G(game).device.display().refresh_rate;
}
ZV_HANDLER(F_display_mouse_get_x) {
  if (auto* f = G(game).window.form) result = static_cast<double>(f->CursorPosition().x);
}
ZV_HANDLER(F_display_mouse_get_y) {
  if (auto* f = G(game).window.form) result = static_cast<double>(f->CursorPosition().y);
}
ZV_HANDLER(F_display_mouse_set) {
  if (auto* f = G(game).window.form) f->SetCursorPosition(L(args, 0), L(args, 1));
}

// Display modes: a mode the display offers is kept and used whenever the window is full screen
// (the desktop of a windowed game is never changed); the depth is the desktop's. A value <= 0
// keeps that part. The device is reset either way.
bool SetDisplayMode(CGame& game, int64_t w, int64_t h, int64_t f, int64_t d) {
  CGraphics& g = G(game);
  auto part = [](int64_t v, int32_t kept) {
    return v > 0 ? static_cast<int32_t>(std::min<int64_t>(v, INT32_MAX)) : kept;
  };
  const int32_t width = part(w, g.display_width), height = part(h, g.display_height);
  const int32_t frequency = part(f, g.display_frequency), depth = part(d, -1);
  const bool ok = DisplayModeAvailable(width, height, frequency, depth);
  if (ok) {
    g.display_width = width;
    g.display_height = height;
    g.display_frequency = frequency;
    game.window.SetDisplayMode(width, height, frequency);
  }
  g.ResetDevice();
  return ok;
}
ZV_HANDLER(F_display_set_size) {
  result = SetDisplayMode(game, L(args, 0), L(args, 1), 0, 0) ? 1.0 : 0.0;
}
ZV_HANDLER(F_display_set_colordepth) {
  result = SetDisplayMode(game, 0, 0, 0, L(args, 0)) ? 1.0 : 0.0;
}
ZV_HANDLER(F_display_set_frequency) {
  result = SetDisplayMode(game, 0, 0, L(args, 0), 0) ? 1.0 : 0.0;
}
ZV_HANDLER(F_display_set_all) {
  result = SetDisplayMode(game, L(args, 0), L(args, 1), L(args, 2), L(args, 3)) ? 1.0 : 0.0;
}
ZV_HANDLER(F_display_test_all) {
  auto part = [](int64_t v) {
    return v > 0 ? static_cast<int32_t>(std::min<int64_t>(v, INT32_MAX)) : -1;
  };
  result =
      DisplayModeAvailable(part(L(args, 0)), part(L(args, 1)), part(L(args, 2)), part(L(args, 3)))
          ? 1.0
          : 0.0;
}
ZV_HANDLER(F_display_reset) {
  CGraphics& g = G(game);
  g.display_width = g.display_height = g.display_frequency = -1;
  game.window.SetDisplayMode(-1, -1, -1);
  g.ResetDevice();
}

// ---- window ----

ZV_HANDLER(F_window_set_visible) {
  G(game).window.SetVisible(B(args, 0));
}
ZV_HANDLER(F_window_get_visible) {
  auto* f = G(game).window.form;
  result = f && f->Visible() ? 1.0 : 0.0;
}
ZV_HANDLER(F_window_set_fullscreen) {
  G(game).window.SetFullScreen(B(args, 0));
}
ZV_HANDLER(F_window_get_fullscreen) {
  result = G(game).window.full_screen ? 1.0 : 0.0;
}
ZV_HANDLER(F_window_set_showborder) {
  G(game).window.SetShowBorder(B(args, 0));
}
ZV_HANDLER(F_window_get_showborder) {
  result = G(game).window.show_border ? 1.0 : 0.0;
}
ZV_HANDLER(F_window_set_showicons) {
  G(game).window.SetShowIcons(B(args, 0));
}
ZV_HANDLER(F_window_get_showicons) {
  result = G(game).window.show_icons ? 1.0 : 0.0;
}
ZV_HANDLER(F_window_set_stayontop) {
  if (auto* f = G(game).window.form) f->SetStayOnTop(B(args, 0));
}
ZV_HANDLER(F_window_get_stayontop) {
  auto* f = G(game).window.form;
  result = f && f->StayOnTop() ? 1.0 : 0.0;
}
ZV_HANDLER(F_window_set_sizeable) {
  G(game).window.SetSizeable(B(args, 0));
}
ZV_HANDLER(F_window_get_sizeable) {
  result = G(game).window.sizeable ? 1.0 : 0.0;
}
ZV_HANDLER(F_window_set_caption) {
  if (auto* f = G(game).window.form) f->SetCaption(AsText(args[0]));
}
ZV_HANDLER(F_window_get_caption) {
  auto* f = G(game).window.form;
  result = RValue(f ? f->Caption() : std::string());
}
ZV_HANDLER(F_window_set_cursor) {
  const int32_t cursor = I(args, 0);
  if (auto* f = G(game).window.form) f->SetCursor(cursor);
  game.settings.show_cursor = cursor != -1;
}
ZV_HANDLER(F_window_get_cursor) {
  if (auto* f = G(game).window.form) result = f->Cursor();
}
ZV_HANDLER(F_window_set_color) {
  G(game).window.color = I(args, 0);
  if (auto* f = G(game).window.form) f->Invalidate();
}
ZV_HANDLER(F_window_get_color) {
  result = G(game).window.color;
}
ZV_HANDLER(F_window_set_position) {
  G(game).window.SetPosition(I(args, 0), I(args, 1));
}
ZV_HANDLER(F_window_set_size) {
  G(game).window.SetSize(I(args, 0), I(args, 1));
}
ZV_HANDLER(F_window_set_rectangle) {
  G(game).window.SetRectangle(I(args, 0), I(args, 1), I(args, 2), I(args, 3));
}
ZV_HANDLER(F_window_center) {
  G(game).window.Center();
}
ZV_HANDLER(F_window_default) {
  G(game).window.Default();
}
ZV_HANDLER(F_window_get_x) {
  result = G(game).window.Client().x;
}
ZV_HANDLER(F_window_get_y) {
  result = G(game).window.Client().y;
}
ZV_HANDLER(F_window_get_width) {
  result = G(game).window.Client().w;
}
ZV_HANDLER(F_window_get_height) {
  result = G(game).window.Client().h;
}
ZV_HANDLER(F_window_set_region_size) {
  G(game).window.SetRegionSize(I(args, 0), I(args, 1), B(args, 2));
}
ZV_HANDLER(F_window_get_region_width) {
  result = G(game).window.region_width;
}
ZV_HANDLER(F_window_get_region_height) {
  result = G(game).window.region_height;
}
ZV_HANDLER(F_window_set_region_scale) {
  G(game).window.SetRegionScale(D(args, 0), B(args, 1));
}
ZV_HANDLER(F_window_get_region_scale) {
  result = G(game).window.region_scale;
}
ZV_HANDLER(F_window_mouse_get_x) {
  if (auto* f = G(game).window.form) {
    result = static_cast<double>(f->CursorPosition().x - f->ClientRect().x);
  }
}
ZV_HANDLER(F_window_mouse_get_y) {
  if (auto* f = G(game).window.form) {
    result = static_cast<double>(f->CursorPosition().y - f->ClientRect().y);
  }
}
ZV_HANDLER(F_window_mouse_set) {
  if (auto* f = G(game).window.form) {
    CScreenRect c = f->ClientRect();
    f->SetCursorPosition(c.x + L(args, 0), c.y + L(args, 1));
  }
}

CPoint ViewMouse(CGame& game, int view) {
  CPoint region = G(game).MouseRegion();
  return RegionToRoom(G(game).views, view, static_cast<double>(region.x),
                      static_cast<double>(region.y));
}

// Moves the cursor to the screen point showing region point p.
void MoveCursorToRegion(CGame& game, CPoint p) {
  CWindowState& w = G(game).window;
  if (!w.form) return;
  CScreenRect c = w.form->ClientRect();
  CPoint s = RegionToScreen(static_cast<double>(p.x), static_cast<double>(p.y), c.x, c.y, c.w, c.h,
                            w.region_width, w.region_height, w.region_scale);
  w.form->SetCursorPosition(s.x, s.y);
}

ZV_HANDLER(F_window_view_mouse_get_x) {
  result = static_cast<double>(ViewMouse(game, I(args, 0)).x);
}
ZV_HANDLER(F_window_view_mouse_get_y) {
  result = static_cast<double>(ViewMouse(game, I(args, 0)).y);
}
ZV_HANDLER(F_window_view_mouse_set) {
  MoveCursorToRegion(game, RoomToRegion(G(game).views, I(args, 0), D(args, 1), D(args, 2)));
}
ZV_HANDLER(F_window_views_mouse_get_x) {
  result = static_cast<double>(G(game).ViewsMouse().x);
}
ZV_HANDLER(F_window_views_mouse_get_y) {
  result = static_cast<double>(G(game).ViewsMouse().y);
}
ZV_HANDLER(F_window_views_mouse_set) {
  const CViewMappingTable& views = G(game).views;
  int lowest = -1;
  for (int i = 0; i < kViewMappingEntries && lowest < 0; ++i) {
    if (views.entries[i].active) lowest = i;
  }
  MoveCursorToRegion(game, RoomToRegion(views, lowest, D(args, 0), D(args, 1)));
}

// ---- screen and timing ----

ZV_HANDLER(F_set_synchronization) {
  CGraphicsDevice& d = G(game).device;
  d.synchronization = B(args, 0);
  if (d.gl()) d.gl()->SetSwapInterval(d.synchronization);
}
ZV_HANDLER(F_set_automatic_draw) {
  G(game).automatic_draw = B(args, 0);
}
ZV_HANDLER(F_screen_redraw) {
  RedrawScreen(game);
  G(game).PresentFrame();
  G(game).BeginFrame();
}
// Writes the rectangle of the drawing area as a BMP file; failures to write are silent.
void SaveScreen(CGame& game, const RValue& name, int x, int y, int w, int h) {
  const std::string file = AsText(name);
  if (file.empty()) {
    game.errors.ReportInContext("Trying to save screen to empty image file name.", false);
    return;
  }
  SaveScreenBmp(game, file, x, y, w, h);
}
ZV_HANDLER(F_screen_save) {
  const CGraphicsDevice& d = G(game).device;
  SaveScreen(game, args[0], 0, 0, d.area_width, d.area_height);
}
ZV_HANDLER(F_screen_save_part) {
  SaveScreen(game, args[0], I(args, 1), I(args, 2), I(args, 3), I(args, 4));
}
ZV_HANDLER(F_screen_refresh) {
  G(game).RepaintFrame();
}
ZV_HANDLER(F_screen_wait_vsync) {
  G(game).WaitVerticalBlank();
}
ZV_HANDLER(F_draw_getpixel) {
  CGraphics& g = G(game);
  CPoint p = RoomToRegion(g.views, g.view_current, D(args, 0), D(args, 1));
  if (p.x < INT32_MIN || p.x > INT32_MAX || p.y < INT32_MIN || p.y > INT32_MAX) return;
  result = g.GetRegionPixel(static_cast<int>(p.x), static_cast<int>(p.y));
}

// ---- colours and drawing state ----

ZV_HANDLER(F_draw_set_color) {
  DrawSetColor(G(game), I(args, 0));
}
ZV_HANDLER(F_draw_set_alpha) {
  DrawSetAlpha(G(game), D(args, 0));
}
ZV_HANDLER(F_draw_get_color) {
  result = DrawGetColor(G(game));
}
ZV_HANDLER(F_draw_get_alpha) {
  result = G(game).draw.alpha;
}
ZV_HANDLER(F_make_color) {
  result = static_cast<double>(MakeColorRgb(L(args, 0), L(args, 1), L(args, 2)));
}
ZV_HANDLER(F_make_color_hsv) {
  result = MakeColorHsv(I(args, 0) & 0xFF, I(args, 1) & 0xFF, I(args, 2) & 0xFF);
}
ZV_HANDLER(F_color_get_red) {
  result = static_cast<double>(L(args, 0) % 256);
}
ZV_HANDLER(F_color_get_green) {
  result = static_cast<double>((L(args, 0) / 256) % 256);
}
ZV_HANDLER(F_color_get_blue) {
  result = static_cast<double>((L(args, 0) / 65536) % 256);
}
ZV_HANDLER(F_color_get_hue) {
  result = ColorHue(I(args, 0));
}
ZV_HANDLER(F_color_get_saturation) {
  result = ColorSaturation(I(args, 0));
}
ZV_HANDLER(F_color_get_value) {
  result = ColorValue(I(args, 0));
}
ZV_HANDLER(F_merge_color) {
  result = MergeColor(I(args, 0), I(args, 1), D(args, 2));
}
ZV_HANDLER(F_draw_set_blend_mode) {
  DrawSetBlendMode(G(game), L(args, 0));
}
ZV_HANDLER(F_draw_set_blend_mode_ext) {
  DrawSetBlendModeExt(G(game), I(args, 0), I(args, 1));
}
ZV_HANDLER(F_draw_clear) {
  DrawClear(G(game), I(args, 0), 1.0);
}
ZV_HANDLER(F_draw_clear_alpha) {
  DrawClear(G(game), I(args, 0), D(args, 1));
}

// ---- primitives ----

ZV_HANDLER(F_draw_point) {
  DrawPoint(G(game), D(args, 0), D(args, 1), G(game).draw.color);
}
ZV_HANDLER(F_draw_point_color) {
  DrawPoint(G(game), D(args, 0), D(args, 1), WithAlpha(game, I(args, 2)));
}
ZV_HANDLER(F_draw_line) {
  uint32_t c = G(game).draw.color;
  DrawLine(G(game), D(args, 0), D(args, 1), D(args, 2), D(args, 3), c, c);
}
ZV_HANDLER(F_draw_line_color) {
  DrawLine(G(game), D(args, 0), D(args, 1), D(args, 2), D(args, 3), WithAlpha(game, I(args, 4)),
           WithAlpha(game, I(args, 5)));
}
ZV_HANDLER(F_draw_line_width) {
  uint32_t c = G(game).draw.color;
  DrawLineWidth(G(game), D(args, 0), D(args, 1), D(args, 2), D(args, 3), D(args, 4), c, c);
}
ZV_HANDLER(F_draw_line_width_color) {
  DrawLineWidth(G(game), D(args, 0), D(args, 1), D(args, 2), D(args, 3), D(args, 4),
                WithAlpha(game, I(args, 5)), WithAlpha(game, I(args, 6)));
}
ZV_HANDLER(F_draw_rectangle) {
  uint32_t c = G(game).draw.color;
  DrawRectangle(G(game), D(args, 0), D(args, 1), D(args, 2), D(args, 3), c, c, c, c, B(args, 4));
}
ZV_HANDLER(F_draw_rectangle_color) {
  DrawRectangle(G(game), D(args, 0), D(args, 1), D(args, 2), D(args, 3),
                WithAlpha(game, I(args, 4)), WithAlpha(game, I(args, 5)),
                WithAlpha(game, I(args, 6)), WithAlpha(game, I(args, 7)), B(args, 8));
}
ZV_HANDLER(F_draw_roundrect) {
  uint32_t c = G(game).draw.color;
  DrawRoundRect(G(game), D(args, 0), D(args, 1), D(args, 2), D(args, 3), 10, 10, c, c, B(args, 4));
}
ZV_HANDLER(F_draw_roundrect_color) {
  DrawRoundRect(G(game), D(args, 0), D(args, 1), D(args, 2), D(args, 3), 10, 10,
                WithAlpha(game, I(args, 4)), WithAlpha(game, I(args, 5)), B(args, 6));
}
ZV_HANDLER(F_draw_triangle) {
  uint32_t c = G(game).draw.color;
  DrawTriangle(G(game), D(args, 0), D(args, 1), D(args, 2), D(args, 3), D(args, 4), D(args, 5), c,
               c, c, B(args, 6));
}
ZV_HANDLER(F_draw_triangle_color) {
  DrawTriangle(G(game), D(args, 0), D(args, 1), D(args, 2), D(args, 3), D(args, 4), D(args, 5),
               WithAlpha(game, I(args, 6)), WithAlpha(game, I(args, 7)),
               WithAlpha(game, I(args, 8)), B(args, 9));
}
ZV_HANDLER(F_draw_circle) {
  uint32_t c = G(game).draw.color;
  double x = D(args, 0), y = D(args, 1), r = D(args, 2);
  DrawEllipse(G(game), x - r, y - r, x + r, y + r, c, c, B(args, 3));
}
ZV_HANDLER(F_draw_circle_color) {
  double x = D(args, 0), y = D(args, 1), r = D(args, 2);
  DrawEllipse(G(game), x - r, y - r, x + r, y + r, WithAlpha(game, I(args, 3)),
              WithAlpha(game, I(args, 4)), B(args, 5));
}
ZV_HANDLER(F_draw_ellipse) {
  uint32_t c = G(game).draw.color;
  DrawEllipse(G(game), D(args, 0), D(args, 1), D(args, 2), D(args, 3), c, c, B(args, 4));
}
ZV_HANDLER(F_draw_ellipse_color) {
  DrawEllipse(G(game), D(args, 0), D(args, 1), D(args, 2), D(args, 3), WithAlpha(game, I(args, 4)),
              WithAlpha(game, I(args, 5)), B(args, 6));
}
ZV_HANDLER(F_draw_arrow) {
  DrawArrow(G(game), D(args, 0), D(args, 1), D(args, 2), D(args, 3), D(args, 4));
}
ZV_HANDLER(F_draw_button) {
  DrawButton(G(game), D(args, 0), D(args, 1), D(args, 2), D(args, 3), B(args, 4));
}
ZV_HANDLER(F_draw_healthbar) {
  DrawHealthbar(G(game), D(args, 0), D(args, 1), D(args, 2), D(args, 3), D(args, 4), I(args, 5),
                I(args, 6), I(args, 7), L(args, 8), B(args, 9), B(args, 10));
}
ZV_HANDLER(F_draw_set_circle_precision) {
  DrawSetCirclePrecision(G(game), L(args, 0));
}
ZV_HANDLER(F_draw_primitive_begin) {
  PrimitiveBegin(G(game), I(args, 0), -1);
}
ZV_HANDLER(F_draw_primitive_begin_texture) {
  PrimitiveBegin(G(game), I(args, 0), I(args, 1));
}
ZV_HANDLER(F_draw_vertex) {
  PrimitiveVertex(G(game), D(args, 0), D(args, 1), G(game).draw.color, 0, 0);
}
ZV_HANDLER(F_draw_vertex_color) {
  PrimitiveVertex(G(game), D(args, 0), D(args, 1), ColorToDevice(I(args, 2), D(args, 3)), 0, 0);
}
ZV_HANDLER(F_draw_vertex_texture) {
  PrimitiveVertex(G(game), D(args, 0), D(args, 1), G(game).draw.color, D(args, 2), D(args, 3));
}
ZV_HANDLER(F_draw_vertex_texture_color) {
  PrimitiveVertex(G(game), D(args, 0), D(args, 1), ColorToDevice(I(args, 4), D(args, 5)),
                  D(args, 2), D(args, 3));
}
ZV_HANDLER(F_draw_primitive_end) {
  PrimitiveEnd(G(game));
}

// ---- resources named by arguments ----

// A resource index argument; -1 (no resource) when it does not fit an id at all.
int32_t IndexArg(const RValue* a, int i) {
  const int64_t v = L(a, i);
  return v >= INT32_MIN && v <= INT32_MAX ? static_cast<int32_t>(v) : -1;
}

// A frame argument: below 0 the calling instance's image_index, rounded down.
int64_t FrameArg(CGame& game, CInstanceCore* self, const RValue* a, int i) {
  const int64_t subimg = L(a, i);
  if (subimg >= 0) return subimg;
  auto image_index_of = G(game).image_index_of;
  return self && image_index_of ? FrameOfImageIndex(image_index_of(*self)) : 0;
}

const CSprite* SpriteArg(CGame& game, const RValue* a, int i, const char* message) {
  const CSprite* s = game.resources.sprites.Get(IndexArg(a, i));
  if (!s) game.errors.ReportInContext(message, false);
  return s;
}

const CBackground* BackgroundArg(CGame& game, const RValue* a, int i, const char* message) {
  const CBackground* b = game.resources.backgrounds.Get(IndexArg(a, i));
  if (!b) game.errors.ReportInContext(message, false);
  return b;
}

constexpr const char* kNoSpriteToDraw = "Trying to draw non-existing sprite.";
constexpr const char* kNoBackgroundToDraw = "Trying to draw non-existing background.";

// ---- textures ----

ZV_HANDLER(F_sprite_get_texture) {
  result = -1.0;
  if (const CSprite* s =
          SpriteArg(game, args, 0, "Trying to get texture from non-existing sprite.")) {
    result = SpriteFrameTexture(*s, FrameArg(game, self, args, 1));
  }
}
ZV_HANDLER(F_background_get_texture) {
  result = -1.0;
  if (const CBackground* b =
          BackgroundArg(game, args, 0, "Trying to get texture from non-existing background.")) {
    result = b->Texture();
  }
}
ZV_HANDLER(F_texture_exists) {
  result = G(game).textures.Get(I(args, 0)) ? 1.0 : 0.0;
}
ZV_HANDLER(F_texture_get_width) {
  const RTexture* t = G(game).textures.Get(I(args, 0));
  result = t ? static_cast<double>(t->width) / t->texture_width : 1.0;
}
ZV_HANDLER(F_texture_get_height) {
  const RTexture* t = G(game).textures.Get(I(args, 0));
  result = t ? static_cast<double>(t->height) / t->texture_height : 1.0;
}
// GL keeps every texture resident and manages its memory itself: preloading and priorities
// have nothing left to do.
ZV_HANDLER(F_texture_preload) {}
ZV_HANDLER(F_texture_set_priority) {}
ZV_HANDLER(F_texture_set_interpolation) {
  G(game).device.SetInterpolation(B(args, 0));
}
ZV_HANDLER(F_texture_set_blending) {
  G(game).device.SetTextureBlending(B(args, 0));
}
ZV_HANDLER(F_texture_set_repeat) {
  G(game).device.SetTextureRepeat(B(args, 0));
}

// ---- text ----

// A text argument: strings as they are, reals as string() shows them.
std::string_view TextArg(const RValue& v, std::string& scratch) {
  if (v.IsString()) return v.str;
  scratch = RealToString(v.real);
  return scratch;
}

void Text(CGame& game, double x, double y, const RValue& text, int32_t sep, int32_t w,
          const CTextStyle& style) {
  std::string scratch;
  DrawText(G(game), game.resources.fonts, game.resources.sprites, x, y, TextArg(text, scratch), sep,
           w, style);
}

CTextStyle Transformed(double xscale, double yscale, double angle) {
  CTextStyle st;
  st.transformed = true;
  st.xscale = xscale;
  st.yscale = yscale;
  st.angle = angle;
  return st;
}

void Colored(CTextStyle& st, const RValue* a, int first) {
  st.colored = true;
  st.c1 = I(a, first);
  st.c2 = I(a, first + 1);
  st.c3 = I(a, first + 2);
  st.c4 = I(a, first + 3);
  st.alpha = D(a, first + 4);
}

ZV_HANDLER(F_draw_set_font) {
  DrawSetFont(G(game), game.resources.fonts, L(args, 0));
}
ZV_HANDLER(F_draw_set_halign) {
  DrawSetHalign(G(game), L(args, 0));
}
ZV_HANDLER(F_draw_set_valign) {
  DrawSetValign(G(game), L(args, 0));
}
ZV_HANDLER(F_string_width) {
  std::string scratch;
  result = StringWidth(G(game), game.resources.fonts, TextArg(args[0], scratch), -1, -1);
}
ZV_HANDLER(F_string_height) {
  std::string scratch;
  result = StringHeight(G(game), game.resources.fonts, TextArg(args[0], scratch), -1, -1);
}
ZV_HANDLER(F_string_width_ext) {
  std::string scratch;
  result =
      StringWidth(G(game), game.resources.fonts, TextArg(args[0], scratch), I(args, 1), I(args, 2));
}
ZV_HANDLER(F_string_height_ext) {
  std::string scratch;
  result = StringHeight(G(game), game.resources.fonts, TextArg(args[0], scratch), I(args, 1),
                        I(args, 2));
}
ZV_HANDLER(F_draw_text) {
  Text(game, D(args, 0), D(args, 1), args[2], -1, -1, CTextStyle());
}
ZV_HANDLER(F_draw_text_ext) {
  Text(game, D(args, 0), D(args, 1), args[2], I(args, 3), I(args, 4), CTextStyle());
}
ZV_HANDLER(F_draw_text_transformed) {
  Text(game, D(args, 0), D(args, 1), args[2], -1, -1,
       Transformed(D(args, 3), D(args, 4), D(args, 5)));
}
ZV_HANDLER(F_draw_text_ext_transformed) {
  Text(game, D(args, 0), D(args, 1), args[2], I(args, 3), I(args, 4),
       Transformed(D(args, 5), D(args, 6), D(args, 7)));
}
ZV_HANDLER(F_draw_text_color) {
  CTextStyle st;
  Colored(st, args, 3);
  Text(game, D(args, 0), D(args, 1), args[2], -1, -1, st);
}
ZV_HANDLER(F_draw_text_transformed_color) {
  CTextStyle st = Transformed(D(args, 3), D(args, 4), D(args, 5));
  Colored(st, args, 6);
  Text(game, D(args, 0), D(args, 1), args[2], -1, -1, st);
}
ZV_HANDLER(F_draw_text_ext_color) {
  CTextStyle st;
  Colored(st, args, 5);
  Text(game, D(args, 0), D(args, 1), args[2], I(args, 3), I(args, 4), st);
}
ZV_HANDLER(F_draw_text_ext_transformed_color) {
  CTextStyle st = Transformed(D(args, 5), D(args, 6), D(args, 7));
  Colored(st, args, 8);
  Text(game, D(args, 0), D(args, 1), args[2], I(args, 3), I(args, 4), st);
}

// ---- sprites and backgrounds ----

#define ZV_SPRITE(name, ...)                                      \
  ZV_HANDLER(name) {                                              \
    const CSprite* s = SpriteArg(game, args, 0, kNoSpriteToDraw); \
    if (!s) return;                                               \
    const int64_t frame = FrameArg(game, self, args, 1);          \
    __VA_ARGS__;                                                  \
  }
#define ZV_BACKGROUND(name, ...)                                              \
  ZV_HANDLER(name) {                                                          \
    const CBackground* b = BackgroundArg(game, args, 0, kNoBackgroundToDraw); \
    if (!b) return;                                                           \
    __VA_ARGS__;                                                              \
  }

ZV_SPRITE(F_draw_sprite, DrawSprite(G(game), *s, frame, D(args, 2), D(args, 3)))
ZV_SPRITE(F_draw_sprite_ext, DrawSpriteExt(G(game), *s, frame, D(args, 2), D(args, 3), D(args, 4),
                                           D(args, 5), D(args, 6), I(args, 7), D(args, 8)))
ZV_SPRITE(F_draw_sprite_stretched, DrawSpriteStretched(G(game), *s, frame, D(args, 2), D(args, 3),
                                                       D(args, 4), D(args, 5), kColourWhite, 1.0))
ZV_SPRITE(F_draw_sprite_stretched_ext,
          DrawSpriteStretched(G(game), *s, frame, D(args, 2), D(args, 3), D(args, 4), D(args, 5),
                              I(args, 6), D(args, 7)))
ZV_SPRITE(F_draw_sprite_part,
          DrawSpritePart(G(game), *s, frame, D(args, 2), D(args, 3), D(args, 4), D(args, 5),
                         D(args, 6), D(args, 7), 1.0, 1.0, kColourWhite, 1.0))
ZV_SPRITE(F_draw_sprite_part_ext,
          DrawSpritePart(G(game), *s, frame, D(args, 2), D(args, 3), D(args, 4), D(args, 5),
                         D(args, 6), D(args, 7), D(args, 8), D(args, 9), I(args, 10), D(args, 11)))
ZV_SPRITE(F_draw_sprite_general,
          DrawSpriteGeneral(G(game), *s, frame, D(args, 2), D(args, 3), D(args, 4), D(args, 5),
                            D(args, 6), D(args, 7), D(args, 8), D(args, 9), D(args, 10),
                            I(args, 11), I(args, 12), I(args, 13), I(args, 14), D(args, 15)))
ZV_SPRITE(F_draw_sprite_tiled,
          DrawSpriteTiled(G(game), *s, frame, D(args, 2), D(args, 3), 1.0, 1.0, kColourWhite, 1.0))
ZV_SPRITE(F_draw_sprite_tiled_ext, DrawSpriteTiled(G(game), *s, frame, D(args, 2), D(args, 3),
                                                   D(args, 4), D(args, 5), I(args, 6), D(args, 7)))

ZV_BACKGROUND(F_draw_background, DrawBackground(G(game), *b, D(args, 1), D(args, 2)))
ZV_BACKGROUND(F_draw_background_ext,
              DrawBackgroundExt(G(game), *b, D(args, 1), D(args, 2), D(args, 3), D(args, 4),
                                D(args, 5), I(args, 6), D(args, 7)))
ZV_BACKGROUND(F_draw_background_stretched,
              DrawBackgroundStretched(G(game), *b, D(args, 1), D(args, 2), D(args, 3), D(args, 4),
                                      kColourWhite, 1.0))
ZV_BACKGROUND(F_draw_background_stretched_ext,
              DrawBackgroundStretched(G(game), *b, D(args, 1), D(args, 2), D(args, 3), D(args, 4),
                                      I(args, 5), D(args, 6)))
ZV_BACKGROUND(F_draw_background_part,
              DrawBackgroundPart(G(game), *b, D(args, 1), D(args, 2), D(args, 3), D(args, 4),
                                 D(args, 5), D(args, 6), 1.0, 1.0, kColourWhite, 1.0))
ZV_BACKGROUND(F_draw_background_part_ext,
              DrawBackgroundPart(G(game), *b, D(args, 1), D(args, 2), D(args, 3), D(args, 4),
                                 D(args, 5), D(args, 6), D(args, 7), D(args, 8), I(args, 9),
                                 D(args, 10)))
ZV_BACKGROUND(F_draw_background_general,
              DrawBackgroundGeneral(G(game), *b, D(args, 1), D(args, 2), D(args, 3), D(args, 4),
                                    D(args, 5), D(args, 6), D(args, 7), D(args, 8), D(args, 9),
                                    I(args, 10), I(args, 11), I(args, 12), I(args, 13),
                                    D(args, 14)))
ZV_BACKGROUND(F_draw_background_tiled,
              DrawBackgroundTiled(G(game), *b, D(args, 1), D(args, 2), 1.0, 1.0, kColourWhite, 1.0))
ZV_BACKGROUND(F_draw_background_tiled_ext,
              DrawBackgroundTiled(G(game), *b, D(args, 1), D(args, 2), D(args, 3), D(args, 4),
                                  I(args, 5), D(args, 6)))

#undef ZV_SPRITE
#undef ZV_BACKGROUND
#undef ZV_HANDLER

struct Entry {
  const char* name;
  BuiltinHandler handler;
  int32_t argc;
};

const Entry kGraphicsFunctions[] = {
    // display
    {"display_get_width", F_display_get_width, 0},
    {"display_get_height", F_display_get_height, 0},
    {"display_get_colordepth", F_display_get_colordepth, 0},
    {"display_get_frequency", F_display_get_frequency, 0},
    {"display_set_size", F_display_set_size, 2},
    {"display_set_colordepth", F_display_set_colordepth, 1},
    {"display_set_frequency", F_display_set_frequency, 1},
    {"display_set_all", F_display_set_all, 4},
    {"display_test_all", F_display_test_all, 4},
    {"display_reset", F_display_reset, 0},
    {"display_mouse_get_x", F_display_mouse_get_x, 0},
    {"display_mouse_get_y", F_display_mouse_get_y, 0},
    {"display_mouse_set", F_display_mouse_set, 2},
    // window
    {"window_set_visible", F_window_set_visible, 1},
    {"window_get_visible", F_window_get_visible, 0},
    {"window_set_fullscreen", F_window_set_fullscreen, 1},
    {"window_get_fullscreen", F_window_get_fullscreen, 0},
    {"window_set_showborder", F_window_set_showborder, 1},
    {"window_get_showborder", F_window_get_showborder, 0},
    {"window_set_showicons", F_window_set_showicons, 1},
    {"window_get_showicons", F_window_get_showicons, 0},
    {"window_set_stayontop", F_window_set_stayontop, 1},
    {"window_get_stayontop", F_window_get_stayontop, 0},
    {"window_set_sizeable", F_window_set_sizeable, 1},
    {"window_get_sizeable", F_window_get_sizeable, 0},
    {"window_set_caption", F_window_set_caption, 1},
    {"window_get_caption", F_window_get_caption, 0},
    {"window_set_cursor", F_window_set_cursor, 1},
    {"window_get_cursor", F_window_get_cursor, 0},
    {"window_set_color", F_window_set_color, 1},
    {"window_get_color", F_window_get_color, 0},
    {"window_set_position", F_window_set_position, 2},
    {"window_set_size", F_window_set_size, 2},
    {"window_set_rectangle", F_window_set_rectangle, 4},
    {"window_center", F_window_center, 0},
    {"window_default", F_window_default, 0},
    {"window_get_x", F_window_get_x, 0},
    {"window_get_y", F_window_get_y, 0},
    {"window_get_width", F_window_get_width, 0},
    {"window_get_height", F_window_get_height, 0},
    {"window_set_region_size", F_window_set_region_size, 3},
    {"window_get_region_width", F_window_get_region_width, 0},
    {"window_get_region_height", F_window_get_region_height, 0},
    {"window_set_region_scale", F_window_set_region_scale, 2},
    {"window_get_region_scale", F_window_get_region_scale, 0},
    {"window_mouse_get_x", F_window_mouse_get_x, 0},
    {"window_mouse_get_y", F_window_mouse_get_y, 0},
    {"window_mouse_set", F_window_mouse_set, 2},
    {"window_view_mouse_get_x", F_window_view_mouse_get_x, 1},
    {"window_view_mouse_get_y", F_window_view_mouse_get_y, 1},
    {"window_view_mouse_set", F_window_view_mouse_set, 3},
    {"window_views_mouse_get_x", F_window_views_mouse_get_x, 0},
    {"window_views_mouse_get_y", F_window_views_mouse_get_y, 0},
    {"window_views_mouse_set", F_window_views_mouse_set, 2},
    // screen and timing
    {"set_synchronization", F_set_synchronization, 1},
    {"set_automatic_draw", F_set_automatic_draw, 1},
    {"screen_redraw", F_screen_redraw, 0},
    {"screen_refresh", F_screen_refresh, 0},
    {"screen_wait_vsync", F_screen_wait_vsync, 0},
    {"screen_save", F_screen_save, 1},
    {"screen_save_part", F_screen_save_part, 5},
    {"draw_getpixel", F_draw_getpixel, 2},
    // colours and drawing state
    {"draw_set_color", F_draw_set_color, 1},
    {"draw_set_alpha", F_draw_set_alpha, 1},
    {"draw_get_color", F_draw_get_color, 0},
    {"draw_get_alpha", F_draw_get_alpha, 0},
    {"make_color", F_make_color, 3},
    {"make_color_rgb", F_make_color, 3},
    {"make_color_hsv", F_make_color_hsv, 3},
    {"color_get_red", F_color_get_red, 1},
    {"color_get_green", F_color_get_green, 1},
    {"color_get_blue", F_color_get_blue, 1},
    {"color_get_hue", F_color_get_hue, 1},
    {"color_get_saturation", F_color_get_saturation, 1},
    {"color_get_value", F_color_get_value, 1},
    {"merge_color", F_merge_color, 3},
    {"draw_set_blend_mode", F_draw_set_blend_mode, 1},
    {"draw_set_blend_mode_ext", F_draw_set_blend_mode_ext, 2},
    {"draw_clear", F_draw_clear, 1},
    {"draw_clear_alpha", F_draw_clear_alpha, 2},
    // primitives
    {"draw_point", F_draw_point, 2},
    {"draw_point_color", F_draw_point_color, 3},
    {"draw_line", F_draw_line, 4},
    {"draw_line_color", F_draw_line_color, 6},
    {"draw_line_width", F_draw_line_width, 5},
    {"draw_line_width_color", F_draw_line_width_color, 7},
    {"draw_rectangle", F_draw_rectangle, 5},
    {"draw_rectangle_color", F_draw_rectangle_color, 9},
    {"draw_roundrect", F_draw_roundrect, 5},
    {"draw_roundrect_color", F_draw_roundrect_color, 7},
    {"draw_triangle", F_draw_triangle, 7},
    {"draw_triangle_color", F_draw_triangle_color, 10},
    {"draw_circle", F_draw_circle, 4},
    {"draw_circle_color", F_draw_circle_color, 6},
    {"draw_ellipse", F_draw_ellipse, 5},
    {"draw_ellipse_color", F_draw_ellipse_color, 7},
    {"draw_arrow", F_draw_arrow, 5},
    {"draw_button", F_draw_button, 5},
    {"draw_healthbar", F_draw_healthbar, 11},
    {"draw_set_circle_precision", F_draw_set_circle_precision, 1},
    {"draw_primitive_begin", F_draw_primitive_begin, 1},
    {"draw_primitive_begin_texture", F_draw_primitive_begin_texture, 2},
    {"draw_vertex", F_draw_vertex, 2},
    {"draw_vertex_color", F_draw_vertex_color, 4},
    {"draw_vertex_texture", F_draw_vertex_texture, 4},
    {"draw_vertex_texture_color", F_draw_vertex_texture_color, 6},
    {"draw_primitive_end", F_draw_primitive_end, 0},
    // textures
    {"sprite_get_texture", F_sprite_get_texture, 2},
    {"background_get_texture", F_background_get_texture, 1},
    {"texture_exists", F_texture_exists, 1},
    {"texture_get_width", F_texture_get_width, 1},
    {"texture_get_height", F_texture_get_height, 1},
    {"texture_preload", F_texture_preload, 1},
    {"texture_set_priority", F_texture_set_priority, 2},
    {"texture_set_interpolation", F_texture_set_interpolation, 1},
    {"texture_set_blending", F_texture_set_blending, 1},
    {"texture_set_repeat", F_texture_set_repeat, 1},
    // text
    {"draw_set_font", F_draw_set_font, 1},
    {"draw_set_halign", F_draw_set_halign, 1},
    {"draw_set_valign", F_draw_set_valign, 1},
    {"string_width", F_string_width, 1},
    {"string_height", F_string_height, 1},
    {"string_width_ext", F_string_width_ext, 3},
    {"string_height_ext", F_string_height_ext, 3},
    {"draw_text", F_draw_text, 3},
    {"draw_text_ext", F_draw_text_ext, 5},
    {"draw_text_transformed", F_draw_text_transformed, 6},
    {"draw_text_ext_transformed", F_draw_text_ext_transformed, 8},
    {"draw_text_color", F_draw_text_color, 8},
    {"draw_text_transformed_color", F_draw_text_transformed_color, 11},
    {"draw_text_ext_color", F_draw_text_ext_color, 10},
    {"draw_text_ext_transformed_color", F_draw_text_ext_transformed_color, 13},
    // sprites and backgrounds
    {"draw_sprite", F_draw_sprite, 4},
    {"draw_sprite_ext", F_draw_sprite_ext, 9},
    {"draw_sprite_stretched", F_draw_sprite_stretched, 6},
    {"draw_sprite_stretched_ext", F_draw_sprite_stretched_ext, 8},
    {"draw_sprite_part", F_draw_sprite_part, 8},
    {"draw_sprite_part_ext", F_draw_sprite_part_ext, 12},
    {"draw_sprite_general", F_draw_sprite_general, 16},
    {"draw_sprite_tiled", F_draw_sprite_tiled, 4},
    {"draw_sprite_tiled_ext", F_draw_sprite_tiled_ext, 8},
    {"draw_background", F_draw_background, 3},
    {"draw_background_ext", F_draw_background_ext, 8},
    {"draw_background_stretched", F_draw_background_stretched, 5},
    {"draw_background_stretched_ext", F_draw_background_stretched_ext, 7},
    {"draw_background_part", F_draw_background_part, 7},
    {"draw_background_part_ext", F_draw_background_part_ext, 11},
    {"draw_background_general", F_draw_background_general, 15},
    {"draw_background_tiled", F_draw_background_tiled, 3},
    {"draw_background_tiled_ext", F_draw_background_tiled_ext, 7},
};

}  // namespace

void RegisterGraphicsFunctions(CFunctionTable& table) {
  for (const Entry& e : kGraphicsFunctions)
    table.Register(e.name, e.handler, e.argc);
}

}  // namespace zorvex
