// A project folder in memory: what game.json says, the list of resources of every kind with
// their numbers, and the resources themselves in the runner's own tables, ready to be written.
// Reading runs a list of project readers, one per file or folder kind.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "resources/Resource_Tables.h"
#include "runner/Option_Main.h"
#include "runner/Runner_Information.h"

namespace zorvex {

class CGlyphRenderer;

// The resource kinds whose names game code can use, in the order of their sections.
enum class ProjectKind : int {
  kSound,
  kSprite,
  kBackground,
  kPath,
  kScript,
  kFont,
  kTimeLine,
  kObject,
  kRoom,
};
inline constexpr int kProjectKindCount = 9;

struct ProjectKindInfo {
  ProjectKind kind;
  const char* folder;  // "sprites"
  const char* noun;    // "sprite"
};
inline constexpr std::array<ProjectKindInfo, kProjectKindCount> kProjectKinds = {{
    {ProjectKind::kSound, "sounds", "sound"},
    {ProjectKind::kSprite, "sprites", "sprite"},
    {ProjectKind::kBackground, "backgrounds", "background"},
    {ProjectKind::kPath, "paths", "path"},
    {ProjectKind::kScript, "scripts", "script"},
    {ProjectKind::kFont, "fonts", "font"},
    {ProjectKind::kTimeLine, "timelines", "time line"},
    {ProjectKind::kObject, "objects", "object"},
    {ProjectKind::kRoom, "rooms", "room"},
}};
constexpr const ProjectKindInfo& KindInfo(ProjectKind k) {
  return kProjectKinds[static_cast<size_t>(k)];
}

// One resource of the project: its name and where it comes from.
struct CProjectEntry {
  std::string name;
  std::filesystem::path path;  // the folder (sprites) or the main file
  std::string display;         // the path as errors show it: "objects/obj_player.json"
};

struct CProject {
  std::filesystem::path folder;
  int32_t game_id = 0;
  std::array<uint8_t, 16> guid{};
  bool debug_mode = false;
  CSettings settings;
  CGameInformation information;
  // Room order as written (a room's index, or its name until the rooms are known).
  struct RoomRef {
    int32_t index = -1;
    std::string name;
  };
  std::vector<RoomRef> room_order_refs;
  std::vector<int32_t> room_order;  // resolved after every reader ran
  // Room names in index order (filled when the rooms are listed).
  std::vector<std::string> room_names;
  // game.json's "resource_order": names that take the first numbers of their kind, in order.
  std::array<std::vector<std::string>, kProjectKindCount> listed_order;

  // Every resource of every kind in index order, and the index of each name.
  std::array<std::vector<CProjectEntry>, kProjectKindCount> catalog;
  std::array<std::unordered_map<std::string, int32_t>, kProjectKindCount> index;

  // The resources as the runner holds them; the section writers write these tables.
  std::unique_ptr<CResources> resources = std::make_unique<CResources>();
  // Renders glyph sheets of system fonts; made when the first font is read.
  std::shared_ptr<CGlyphRenderer> glyphs;

  // The index of a resource of that kind by name, -1 when there is none.
  int32_t Find(ProjectKind kind, std::string_view name) const;
  const std::vector<CProjectEntry>& Entries(ProjectKind kind) const {
    return catalog[static_cast<size_t>(kind)];
  }
};

// A project reader fills its part of the project; on failure it sets an error that names the
// file and the field. The readers run in list order; game.json comes first, then the listing of
// every resource folder (so that names resolve across kinds), then one reader per kind.
using ProjectReader = bool (*)(CProject& project, std::string& error);

struct ProjectReaderEntry {
  const char* what;
  ProjectReader read;
};

// The readers of a project folder (Builder_Project.cpp): add one per folder kind.
std::span<const ProjectReaderEntry> ProjectReaders();

bool ReadProject(const std::filesystem::path& folder, CProject& project, std::string& error);

// The game.json reader on its own (also used by tests with a JSON text).
bool ReadGameJson(CProject& project, std::string& error);
bool ReadGameJsonText(const std::string& text, CProject& project, std::string& error);

}  // namespace zorvex
