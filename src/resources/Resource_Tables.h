// Every resource table of one game, in the order of the sections of the game data, and the
// readers and writers of those sections by number.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "code/Extension_Main.h"
#include "resources/Background_Main.h"
#include "resources/Font_Main.h"
#include "resources/GameInfo_Main.h"
#include "resources/LibInit_Main.h"
#include "resources/Object_Main.h"
#include "resources/Room_Main.h"
#include "resources/Script_Class.h"
#include "resources/Sprite_Main.h"
#include "resources/TimeLine_Main.h"
#include "run/Path_Main.h"
#include "runner/DataNew_Main.h"
#include "sound/Sound_Main.h"

namespace zorvex {

// The sections of the game block, numbered in stored order.
enum class ESection : int32_t {
  kExtensions = 1,
  kSounds = 2,
  kSprites = 3,
  kBackgrounds = 4,
  kPaths = 5,
  kScripts = 6,
  kFonts = 7,
  kTimeLines = 8,
  kObjects = 9,
  kRooms = 10,
  kIncludedFiles = 11,
  kGameInformation = 12,
  kLibraryInitCode = 13,
  kRoomOrder = 14,
};
inline constexpr int32_t kSectionCount = 14;

struct CSectionInfo {
  ESection section;
  int32_t version;
  int32_t progress;       // loading progress shown before the section
  std::string_view step;  // the loading window's step text
};

// In stored order.
extern const CSectionInfo kSections[kSectionCount];

struct CResources {
  CResources() = default;
  CResources(const CResources&) = delete;
  CResources& operator=(const CResources&) = delete;

  CExtensionPackages extensions;
  CSoundTable sounds;
  CSpriteTable sprites;
  CBackgroundTable backgrounds;
  CPathTable paths;
  CScriptTable scripts;
  CFontTable fonts;
  CTimeLineTable time_lines;
  CObjectTable objects;
  CRoomTable rooms{backgrounds, objects};
  CIncludedFiles included_files;
  CGameInformation game_information;
  CLibraryInitCode library_init;
  CRoomOrder room_order{rooms};

  // Tells every table that writes files where the temporary directory is.
  void SetTempDirectory(const std::string& path);

  // The reader of one section: false on a wrong version or data that cannot be right. A read
  // past the end throws StreamReadError, which the loader traps.
  bool ReadSection(ESection section, CStream& s);
  void WriteSection(ESection section, CStream& s) const;
  // The function names of every action of the time lines and objects, looked up; the names
  // of function actions that are not found, in order (the loader tells the player about each).
  std::vector<std::string> ResolveActionFunctions(const FunctionResolver& find);
};

}  // namespace zorvex
