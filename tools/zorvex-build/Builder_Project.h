// A project folder in memory: what game.json says and, as the resource folders get their
// readers, the resources. Reading runs a list of project readers, one per file or folder kind.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "runner/Option_Main.h"
#include "runner/Runner_Information.h"

namespace zorvex {

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
  // Filled by the rooms folder's reader: room names in index order.
  std::vector<std::string> room_names;
};

// A project reader fills its part of the project; on failure it sets an error that names the
// file and the field. The readers run in list order; game.json comes first.
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
