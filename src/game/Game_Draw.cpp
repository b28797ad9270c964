#include "game/Game_Draw.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "game/Game.h"
#include "graphics/Graphics_Sprite.h"
#include "platform/Platform_Path.h"
#include "run/Event_Main.h"
#include "run/Instance_Class.h"
#include "runner/Support_Image.h"

namespace zorvex {

namespace {

// Depths of the drawing passes; only 3D mode puts them into the vertices.
constexpr double kBackgroundDepth = 12000;
constexpr double kMaxItemDepth = 11000;
constexpr double kForegroundDepth = -12000;
constexpr double kCursorDepth = -13000;
constexpr double kNoParticles = -1000000000.0;
constexpr double kParticlesDone = -100000000.0;

void SetDrawingDepth(CGraphics& g, double depth) {
  g.draw.depth = g.device.mode3d ? depth : 0.0;
}

const std::vector<uint8_t>& DrawEventTable(CGame& game) {
  CRoomDrawing& rd = game.room_drawing;
  const CEventLists& events = game.run.events;
  if (rd.event_generation != events.generation) {
    rd.event_generation = events.generation;
    rd.has_draw_event.assign(static_cast<size_t>(std::max(0, game.resources.objects.Count())), 0);
    for (int32_t object : events.Objects(kEventDraw, 0)) {
      if (object < 0) continue;
      if (static_cast<size_t>(object) >= rd.has_draw_event.size())
        rd.has_draw_event.resize(static_cast<size_t>(object) + 1, 0);
      rd.has_draw_event[static_cast<size_t>(object)] = 1;
    }
  }
  return rd.has_draw_event;
}

void DrawLayers(CGame& game, bool foreground, double left, double top, double right,
                double bottom) {
  CGraphics& g = game.graphics;
  const CRoom& room = game.run.current->room;
  for (const CBack& layer : room.backgrounds) {
    if (!layer.visible || layer.foreground != foreground) continue;
    DrawBackgroundLayer(g, game.resources.backgrounds, layer, left, top, right, bottom);
  }
}

void DrawInstance(CGame& game, CInstance* inst, const std::vector<uint8_t>& has_draw) {
  const int32_t object = inst->object_index;
  if (object >= 0 && static_cast<size_t>(object) < has_draw.size() &&
      has_draw[static_cast<size_t>(object)]) {
    PerformEvent(game, inst, inst, kEventDraw, 0);
    return;
  }
  const CSprite* sprite = game.resources.sprites.Get(inst->sprite_index);
  if (!sprite) return;
  DrawInstanceSprite(game.graphics, *sprite, inst->image_index, inst->x, inst->y,
                     inst->image_xscale, inst->image_yscale, inst->image_angle, inst->image_blend,
                     inst->image_alpha);
}

// The instance a view follows: an id above 99999, else the first of the object's instances;
// null when there is none that is not marked.
CInstance* FollowedInstance(CInstanceLists& lists, int32_t target, const CObjectTable& objects) {
  if (target > 99999) {
    for (CInstance* inst : lists.ActiveList())
      if (inst->id == target && !inst->marked) return inst;
    return nullptr;
  }
  if (!objects.Exists(target)) return nullptr;
  for (CInstance* inst : lists.Family(target))
    if (!inst->marked) return inst;
  return nullptr;
}

}  // namespace

void FollowPoint(CView& v, int32_t x, int32_t y, int32_t room_w, int32_t room_h) {
  // Worked out in 64 bits: views and rooms come from game code and may be anything.
  auto axis = [](int64_t pos, int64_t view, int64_t size, int64_t border, int64_t room,
                 int64_t speed) {
    int64_t next = view;
    if (2 * border >= size) {
      next = pos - size / 2;
    } else if (pos - border < view) {
      next = pos - border;
    } else if (pos + border > view + size) {
      next = pos + border - size;
    }
    if (next < 0) next = 0;
    if (next + size > room) next = room - size;
    if (speed >= 0) {
      if (next < view - speed) next = view - speed;
      if (next > view + speed) next = view + speed;
    }
    return static_cast<int32_t>(std::clamp<int64_t>(next, INT32_MIN, INT32_MAX));
  };
  v.xview = axis(x, v.xview, v.wview, v.hborder, room_w, v.hspeed);
  v.yview = axis(y, v.yview, v.hview, v.vborder, room_h, v.vspeed);
}

void UpdateViews(CGame& game) {
  CGraphics& g = game.graphics;
  CRoomState* state = game.run.current;
  if (!state || !state->room.views_enabled) {
    for (int i = 0; i < kRoomViewCount; ++i)
      g.views.Clear(i);
    return;
  }
  CRoom& room = state->room;
  for (CView& v : room.views) {
    if (!v.visible || v.object < 0) continue;
    CInstance* inst = FollowedInstance(state->instances, v.object, game.resources.objects);
    if (!inst) continue;
    FollowPoint(v, Nearest(inst->x), Nearest(inst->y), room.width, room.height);
  }
  for (int i = 0; i < kRoomViewCount; ++i) {
    const CView& v = room.views[static_cast<size_t>(i)];
    g.views.Clear(i);
    if (v.visible)
      g.views.Set(i, v.xview, v.yview, v.wview, v.hview, v.xport, v.yport, v.wport, v.hport,
                  v.angle);
  }
}

void DrawRoomRectangle(CGame& game, double left, double top, double right, double bottom) {
  CGraphics& g = game.graphics;
  CRoomState* state = game.run.current;
  if (!state) return;
  CRoom& room = state->room;
  CGLRenderer* gl = g.device.gl();
  if (gl && g.device.mode3d) gl->Clear(0, false, true);
  if (room.background_showcolor) DrawClear(g, room.background_color, 1.0);

  SetDrawingDepth(g, kBackgroundDepth);
  DrawLayers(game, false, left, top, right, bottom);

  // Tiles, instances and particle systems merged by depth, larger depths first. At equal depth
  // particle systems come first, then instances, then tiles.
  const std::vector<uint8_t>& has_draw = DrawEventTable(game);
  CInstanceLists& lists = state->instances;
  const CParticleDrawHooks& particles = game.room_drawing.particles;
  const bool with_particles = particles.next_depth && particles.draw_at;
  double p =
      with_particles ? particles.next_depth(std::numeric_limits<double>::infinity()) : kNoParticles;
  size_t t = 0;
  int i = 0;
  for (;;) {
    // Draw events may add or remove tiles and instances: the counts are read every time.
    const bool tile_left = t < room.tiles.size();
    const bool instance_left = i < lists.ActiveCount();
    const bool particles_left = p > kParticlesDone;  // NaN counts as none left
    if (!tile_left && !instance_left && !particles_left) break;
    if (instance_left) {
      CInstance* inst = lists.ActiveAt(i);
      if (inst->marked || !inst->visible) {
        ++i;
        continue;
      }
    }
    if (tile_left && !room.tiles[t].visible) {
      ++t;
      continue;
    }
    const double tile_depth = tile_left ? room.tiles[t].depth : 0;
    const double inst_depth = instance_left ? lists.ActiveAt(i)->depth : 0;
    if ((instance_left && p < inst_depth) || (tile_left && p < tile_depth) || !particles_left) {
      if (!instance_left || (tile_left && tile_depth > inst_depth)) {
        SetDrawingDepth(g, std::min(tile_depth, kMaxItemDepth));
        DrawTile(g, game.resources.backgrounds, room.tiles[t], left, top, right, bottom);
        ++t;
      } else {
        CInstance* inst = lists.ActiveAt(i);
        SetDrawingDepth(g, std::min(inst_depth, kMaxItemDepth));
        ++i;
        DrawInstance(game, inst, has_draw);
      }
    } else {
      SetDrawingDepth(g, std::min(p, kMaxItemDepth));
      particles.draw_at(p);
      const double next = particles.next_depth(p);
      // Depths only go down; anything else would never end.
      p = next < p ? next : kNoParticles;
    }
  }

  SetDrawingDepth(g, kForegroundDepth);
  DrawLayers(game, true, left, top, right, bottom);

  SetDrawingDepth(g, kCursorDepth);
  if (const CSprite* cursor = game.resources.sprites.Get(game.run.cursor_sprite)) {
    const CPoint m = g.ViewsMouse();
    DrawSpriteExt(g, *cursor, game.run.cursor_frame, static_cast<double>(m.x),
                  static_cast<double>(m.y), 1, 1, 0, kColourWhite, 1);
  }
  SetDrawingDepth(g, 0);
}

void RedrawScreen(CGame& game) {
  CGraphics& g = game.graphics;
  CRoomState* state = game.run.current;
  if (!state) return;
  UpdateViews(game);
  state->instances.SortInstancesByDepth();
  state->room.SortTilesByDepth();
  CRoom& room = state->room;
  if (room.views_enabled) {
    DrawClear(g, g.window.color, 1.0);
    for (int index = 0; index < kRoomViewCount; ++index) {
      g.view_current = index;
      // Views are read again for each one: draw events may change them.
      const CView v = room.views[static_cast<size_t>(index)];
      if (!v.visible) continue;
      g.device.SetViewport(v.xport, v.yport, v.wport, v.hport);
      g.device.SetView2D(v.xview, v.yview, v.wview, v.hview, v.angle);
      if (std::fabs(v.angle) < 0.01) {
        DrawRoomRectangle(game, v.xview, v.yview, static_cast<double>(v.xview) + v.wview,
                          static_cast<double>(v.yview) + v.hview);
      } else {
        const double wd = v.wview / 2, hd = v.hview / 2;  // integer halves, as the view sizes
        DrawRoomRectangle(game, v.xview - hd, v.yview - wd,
                          static_cast<double>(v.xview) + v.wview + hd,
                          static_cast<double>(v.yview) + v.hview + wd);
      }
      if (game.run.current != state) return;  // a draw event ended the room's state
    }
    g.device.SetViewport(0, 0, g.window.region_width, g.window.region_height);
    g.device.SetView2D(0, 0, g.window.region_width, g.window.region_height, 0);
  } else {
    g.view_current = 0;
    g.device.SetViewport(0, 0, room.width, room.height);
    g.device.SetView2D(0, 0, room.width, room.height, 0);
    DrawRoomRectangle(game, 0, 0, room.width, room.height);
  }
  if (IGraphicsWindow* form = g.window.form) form->SetCaption(ComposeWindowCaption(game));
  g.view_current = 0;
}

bool SaveScreenBmp(CGame& game, const std::string& file, int x, int y, int w, int h) {
  CRegionImage grabbed;
  if (!game.graphics.GrabRegion(x, y, w, h, grabbed)) return false;
  CImage image(grabbed.width, grabbed.height);
  for (size_t k = 0; k < grabbed.pixels.size(); ++k)
    image.pixels[k] = grabbed.pixels[k] | 0xFF000000u;
  const std::vector<uint8_t> bytes = EncodeBmp(image, false);
  std::FILE* f = std::fopen(TranslatePath(file).c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

void InstallGraphicsHooks(CGame& game) {
  CRunHooks& hooks = game.run.hooks;
  hooks.draw_room = [](CGame& g) { RedrawScreen(g); };
  hooks.toggle_fullscreen = [](CGame& g) {
    CWindowState& w = g.graphics.window;
    w.SetFullScreen(!w.full_screen);
  };
  hooks.save_screenshot = [](CGame& g, const std::string& file) {
    const CGraphicsDevice& d = g.graphics.device;
    return SaveScreenBmp(g, file, 0, 0, d.area_width, d.area_height);
  };
  // Every instance the language hands to drawing functions is a runtime instance.
  game.graphics.image_index_of = [](const CInstanceCore& core) {
    return static_cast<const CInstance&>(core).image_index;
  };
  game.graphics.text.glyph_renderer = &game.font_renderer;
}

}  // namespace zorvex
