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
#include "resources/LibInit_Main.h"
#include "resources/Object_Main.h"
#include "resources/Room_Main.h"
#include "resources/Script_Class.h"
#include "resources/Sprite_Main.h"
#include "resources/TimeLine_Main.h"
#include "run/Path_Main.h"
#include "runner/DataNew_Main.h"
#include "runner/Runner_Format.h"
#include "sound/Sound_Main.h"

namespace zorvex {

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
  CLibraryInitCode library_init;
  CRoomOrder room_order{rooms};

  // Tells every table that writes files where the temporary directory is.
  void SetTempDirectory(const std::string& path);

  // The reader of one resource section: false on a wrong version or data that cannot be right.
  // A read past the end throws StreamReadError, which the loader traps. The game information
  // section is not a resource section (the loader reads it itself): it gives false here.
  bool ReadSection(SectionId section, CStream& s);
  void WriteSection(SectionId section, CStream& s) const;
  // The version every table checks, for the builder and the tests.
  static int32_t TableVersion(SectionId section);
  // The function names of every action of the time lines and objects, looked up; the names
  // of function actions that are not found, in order (the loader tells the player about each).
  std::vector<std::string> ResolveActionFunctions(const FunctionResolver& find);
};

}  // namespace zorvex
