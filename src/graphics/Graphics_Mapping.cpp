#include "graphics/Graphics_Mapping.h"

#include <algorithm>
#include <cmath>

#include "code/Code_Round.h"

namespace zorvex {

namespace {
constexpr double kPi = 3.14159265358979323846;
int64_t R(double x) {
  return RoundToInt64(x);
}
}  // namespace

double RegionFactor(int cw, int ch, int rw, int rh, double scale) {
  if (scale > 0.0) return scale;
  if (rw <= 0 || rh <= 0) return 0.0;
  return std::min(static_cast<double>(ch) / rh, static_cast<double>(cw) / rw);
}

CScreenRect TargetRectangle(int cw, int ch, int rw, int rh, double scale) {
  if (scale == 0.0) return {0, 0, cw, ch};
  double f = RegionFactor(cw, ch, rw, rh, scale);
  CScreenRect r;
  r.w = static_cast<int>(R(rw * f));
  r.h = static_cast<int>(R(rh * f));
  r.x = (cw - r.w) / 2;  // C++ division truncates toward zero, as required
  r.y = (ch - r.h) / 2;
  return r;
}

CPoint WindowToRegion(double mx, double my, int cw, int ch, int rw, int rh, double scale) {
  if (scale == 0.0) {
    if (cw <= 0 || ch <= 0) return {0, 0};
    return {R(mx * rw / cw), R(my * rh / ch)};
  }
  double f = RegionFactor(cw, ch, rw, rh, scale);
  if (f == 0.0) return {0, 0};
  int64_t ox = (cw - R(rw * f)) / 2;
  int64_t oy = (ch - R(rh * f)) / 2;
  return {R((mx - static_cast<double>(ox)) / f), R((my - static_cast<double>(oy)) / f)};
}

CPoint RegionToScreen(double x, double y, int client_x, int client_y, int cw, int ch, int rw,
                      int rh, double scale) {
  if (scale == 0.0) {
    if (rw <= 0 || rh <= 0) return {client_x, client_y};
    return {client_x + R(x * cw / rw), client_y + R(y * ch / rh)};
  }
  double f = RegionFactor(cw, ch, rw, rh, scale);
  return {client_x + cw / 2 - R(rw * f) / 2 + R(x * f),
          client_y + ch / 2 - R(rh * f) / 2 + R(y * f)};
}

void CViewMappingTable::Set(int index, double view_x, double view_y, double view_w, double view_h,
                            double port_x, double port_y, double port_w, double port_h,
                            double angle) {
  if (index < 0 || index >= kViewMappingEntries) return;
  CViewMapping& e = entries[index];
  if (!e.active) active_count++;
  e = {true, view_x, view_y, view_w, view_h, port_x, port_y, port_w, port_h, angle};
}

void CViewMappingTable::Clear(int index) {
  if (index < 0 || index >= kViewMappingEntries) return;
  if (entries[index].active) active_count--;
  entries[index] = CViewMapping();
}

void CViewMappingTable::ClearAll() {
  for (auto& e : entries)
    e = CViewMapping();
  active_count = 0;
}

CPoint RegionToRoom(const CViewMappingTable& table, int index, double px, double py) {
  if (index < 0 || index >= kViewMappingEntries) return {R(px), R(py)};
  const CViewMapping& e = table.entries[index];
  if (!e.active || e.port_w == 0.0 || e.port_h == 0.0) return {R(px), R(py)};
  double dx = (px - e.port_x) * e.view_w / e.port_w;
  double dy = (py - e.port_y) * e.view_h / e.port_h;
  if (std::fabs(e.angle) < 0.01) return {R(e.view_x + dx), R(e.view_y + dy)};
  double phi = -e.angle * kPi / 180.0;
  double ex = dx - e.view_w / 2, ey = dy - e.view_h / 2;
  double c = std::cos(phi), s = std::sin(phi);
  return {R(e.view_x + e.view_w / 2 + ex * c + ey * s),
          R(e.view_y + e.view_h / 2 - ex * s + ey * c)};
}

CPoint RoomToRegion(const CViewMappingTable& table, int index, double x, double y) {
  if (index < 0 || index >= kViewMappingEntries) return {R(x), R(y)};
  const CViewMapping& e = table.entries[index];
  if (!e.active || e.view_w == 0.0 || e.view_h == 0.0) return {R(x), R(y)};
  double dx = (x - e.view_x) * e.port_w / e.view_w;
  double dy = (y - e.view_y) * e.port_h / e.view_h;
  if (std::fabs(e.angle) < 0.01) return {R(e.port_x + dx), R(e.port_y + dy)};
  double phi = e.angle * kPi / 180.0;
  double ex = dx - e.port_w / 2, ey = dy - e.port_h / 2;
  double c = std::cos(phi), s = std::sin(phi);
  return {R(e.port_x + e.port_w / 2 + ex * c + ey * s),
          R(e.port_y + e.port_h / 2 - ex * s + ey * c)};
}

CPoint ViewsMouse(const CViewMappingTable& table, CPoint region) {
  if (table.active_count <= 0) return region;
  int lowest = -1;
  for (int i = kViewMappingEntries - 1; i >= 0; --i) {
    const CViewMapping& e = table.entries[i];
    if (!e.active) continue;
    lowest = i;
    CPoint p = RegionToRoom(table, i, static_cast<double>(region.x), static_cast<double>(region.y));
    double x = static_cast<double>(p.x), y = static_cast<double>(p.y);
    if (e.view_x <= x && x < e.view_x + e.view_w && e.view_y <= y && y < e.view_y + e.view_h) {
      return p;
    }
  }
  if (lowest < 0) return region;
  return RegionToRoom(table, lowest, static_cast<double>(region.x), static_cast<double>(region.y));
}

}  // namespace zorvex
