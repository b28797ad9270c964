// Room drawing: the views that follow instances, the view mapping of the frame, and for every
// visible view (or once for the whole room) background colour, backgrounds, the depth-ordered
// mix of tiles, instances and particle systems, foregrounds and the cursor sprite; then the
// window caption. It draws into the current frame only; presenting is the caller's business.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zorvex {

class CGame;
struct CView;

// Particle systems drawn with the room: they take their turn in the depth order. Set by the
// particle code; without them the room has no particle systems.
struct CParticleDrawHooks {
  // The highest depth of an automatically drawn system strictly below `below` (+infinity for
  // the highest of all); -1e9 when there is none.
  std::function<double(double below)> next_depth;
  // Draws every automatically drawn system whose depth differs from `depth` by less than 0.01.
  std::function<void(double depth)> draw_at;
};

// What room drawing keeps between frames (a member of CGame).
struct CRoomDrawing {
  CParticleDrawHooks particles;
  // Per object: whether it has or inherits a draw event; rebuilt when the event lists change.
  std::vector<uint8_t> has_draw_event;
  uint64_t event_generation = ~uint64_t{0};
};

// One view following the point (x, y) (an instance's position, rounded) within a room of
// room_w x room_h: the borders keep the point inside, the room edges stop the view, the
// speeds (>= 0) limit how far it moves. Changes xview and yview only.
void FollowPoint(CView& view, int32_t x, int32_t y, int32_t room_w, int32_t room_h);

// Moves the views that follow an instance and registers the visible views for the mouse
// mappings (clearing them all when views are off).
void UpdateViews(CGame& game);
// The whole frame of the current room; nothing without a room.
void RedrawScreen(CGame& game);
// One pass of the depth-ordered drawing over the room rectangle (left, top)-(right, bottom).
void DrawRoomRectangle(CGame& game, double left, double top, double right, double bottom);

// screen_save / screen_save_part / F9: the rectangle of the drawing area as a BMP file at a
// game path. False when nothing could be grabbed or the file not written.
bool SaveScreenBmp(CGame& game, const std::string& file, int x, int y, int w, int h);

// Plugs room drawing, F4, F9 and the renderers the graphics needs (instance frames, glyphs)
// into the game. Called by the graphics preparation.
void InstallGraphicsHooks(CGame& game);

}  // namespace zorvex
