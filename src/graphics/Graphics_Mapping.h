// Where the region lands in the window and how points travel between window, region, screen and
// room. All pure functions of their arguments, so they are tested without a window.
#pragma once

#include <cstdint>

namespace zorvex {

struct CScreenRect {
  int x = 0, y = 0, w = 0, h = 0;
  bool operator==(const CScreenRect&) const = default;
};

struct CPoint {
  int64_t x = 0, y = 0;
  bool operator==(const CPoint&) const = default;
};

// The factor the region is scaled by for scale s != 0: s itself when positive, the largest
// factor that keeps the aspect ratio inside the client area when negative.
double RegionFactor(int client_w, int client_h, int region_w, int region_h, double scale);

// The rectangle of the client area (cw x ch) that shows the region (rw x rh).
CScreenRect TargetRectangle(int client_w, int client_h, int region_w, int region_h, double scale);

// Client-area point to region point.
CPoint WindowToRegion(double mx, double my, int client_w, int client_h, int region_w, int region_h,
                      double scale);
// Region point to screen point, given the client area's screen position.
CPoint RegionToScreen(double x, double y, int client_x, int client_y, int client_w, int client_h,
                      int region_w, int region_h, double scale);

// One registered view: which room rectangle it shows and where it sits in the region.
struct CViewMapping {
  bool active = false;
  double view_x = 0, view_y = 0, view_w = 0, view_h = 0;
  double port_x = 0, port_y = 0, port_w = 0, port_h = 0;
  double angle = 0;  // degrees
};

constexpr int kViewMappingEntries = 32;

struct CViewMappingTable {
  CViewMapping entries[kViewMappingEntries];
  int active_count = 0;

  void Set(int index, double view_x, double view_y, double view_w, double view_h, double port_x,
           double port_y, double port_w, double port_h, double angle);
  void Clear(int index);
  void ClearAll();
};

// Region point to room point through entry `index` (the region point itself when the entry is
// missing, inactive or has an empty port).
CPoint RegionToRoom(const CViewMappingTable& table, int index, double px, double py);
// Room point to region point through entry `index`.
CPoint RoomToRegion(const CViewMappingTable& table, int index, double x, double y);
// The room point under a region point: the highest active entry whose view contains the mapped
// point, else the lowest active entry; the region point when no entry is active.
CPoint ViewsMouse(const CViewMappingTable& table, CPoint region);

}  // namespace zorvex
