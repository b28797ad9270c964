// A room: size, speed, caption, colour, eight background layers, eight views, the instances
// placed in it, its tiles and its creation code.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "runner/Support_Stream.h"

namespace zorvex {

class CBackgroundTable;
class CObjectTable;

inline constexpr int32_t kRoomLayerCount = 8;
inline constexpr int32_t kRoomViewCount = 8;
inline constexpr int32_t kColourWhite = 16777215;

// One background layer.
struct CBack {
  bool visible = false;
  bool foreground = false;
  int32_t index = -1;  // background id
  double x = 0;
  double y = 0;
  bool htiled = true;
  bool vtiled = true;
  double hspeed = 0;
  double vspeed = 0;
  double xscale = 1;
  double yscale = 1;
  int32_t blend = kColourWhite;
  double alpha = 1;
  // The stored choice to stretch the layer over the room; the scales follow from it at reading.
  bool stretch = false;
  bool operator==(const CBack&) const = default;
};

struct CView {
  bool visible = false;
  int32_t xview = 0;
  int32_t yview = 0;
  int32_t wview = 640;
  int32_t hview = 480;
  int32_t xport = 0;
  int32_t yport = 0;
  int32_t wport = 640;
  int32_t hport = 480;
  double angle = 0;
  int32_t hborder = 32;
  int32_t vborder = 32;
  int32_t hspeed = -1;
  int32_t vspeed = -1;
  int32_t object = -1;
  bool operator==(const CView&) const = default;
};

struct CTile {
  double x = 0;
  double y = 0;
  int32_t background = -1;
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  double depth = 0;
  int32_t id = 0;
  double xscale = 1;
  double yscale = 1;
  int32_t blend = kColourWhite;
  double alpha = 1;
  bool visible = true;
  bool operator==(const CTile&) const = default;
};

// An instance placed in the room in the editor; the running room makes the instance from it.
struct CRoomInstance {
  int32_t x = 0;
  int32_t y = 0;
  int32_t object = 0;
  int32_t id = 0;
  std::string creation_code;
  bool operator==(const CRoomInstance&) const = default;
};

class CRoom {
 public:
  static constexpr int32_t kRecordVersion = 541;

  std::string caption;
  int32_t speed = 30;
  int32_t width = 640;
  int32_t height = 480;
  bool persistent = false;
  int32_t background_color = 12632256;
  bool background_showcolor = true;
  std::array<CBack, kRoomLayerCount> backgrounds{};
  bool views_enabled = false;
  std::array<CView, kRoomViewCount> views{};
  std::string creation_code;
  std::vector<CRoomInstance> instances;  // in stored order
  std::vector<CTile> tiles;
  int32_t tile_cache = -1;

  void Clear();
  // Clear, then the stored record. The background table gives the sizes of stretched layers;
  // the object table checks that every placed instance names an object. False on a wrong
  // version, more than 8 layers or views, counts the stream cannot hold, or a placed instance
  // of an object that does not exist.
  bool ReadFrom(CStream& s, const CBackgroundTable& backgrounds, const CObjectTable& objects);
  void WriteTo(CStream& s) const;
  void Assign(const CRoom& other);

  CBack* Background(int32_t i) { return i >= 0 && i < kRoomLayerCount ? &backgrounds[i] : nullptr; }
  CView* View(int32_t i) { return i >= 0 && i < kRoomViewCount ? &views[i] : nullptr; }
  void MoveBackgrounds();

  // Tiles. Indices outside the list do nothing (or give false / -1).
  int32_t TileCount() const { return static_cast<int32_t>(tiles.size()); }
  bool TileAt(int32_t i, CTile& out) const;
  void SetTileAt(int32_t i, const CTile& tile);
  // Appends a copy with id = ++last_tile_id; the tile cache points at it; returns its index.
  int32_t AddTile(const CTile& tile, int32_t& last_tile_id);
  void ClearTiles();
  int32_t FindTileById(int32_t id);
  void DeleteTile(int32_t i);
  void SortTilesByDepth();
  int32_t FindTileAt(double x, double y, bool foreground);
  void DeleteTilesAt(double x, double y, bool foreground);
  void HideLayer(double depth);
  void ShowLayer(double depth);
  void DeleteLayer(double depth);
  void ShiftLayer(double depth, double dx, double dy);
  int32_t FindTileInLayer(double depth, double x, double y);
  void DeleteTilesInLayerAt(double depth, double x, double y);
  void SetLayerDepth(double depth, double new_depth);
};

}  // namespace zorvex
