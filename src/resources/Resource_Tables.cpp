#include "resources/Resource_Tables.h"

namespace zorvex {

const CSectionInfo kSections[kSectionCount] = {
    {ESection::kExtensions, CExtensionPackages::kSectionVersion, 0, "Loading extension packages"},
    {ESection::kSounds, CSoundTable::kSectionVersion, 5, "Loading sounds"},
    {ESection::kSprites, CSpriteTable::kSectionVersion, 10, "Loading sprites"},
    {ESection::kBackgrounds, CBackgroundTable::kSectionVersion, 23, "Loading backgrounds"},
    {ESection::kPaths, CPathTable::kSectionVersion, 30, "Loading paths"},
    {ESection::kScripts, CScriptTable::kSectionVersion, 32, "Loading scripts"},
    {ESection::kFonts, CFontTable::kSectionVersion, 34, "Loading fonts"},
    {ESection::kTimeLines, CTimeLineTable::kSectionVersion, 36, "Loading time lines"},
    {ESection::kObjects, CObjectTable::kSectionVersion, 38, "Loading objects"},
    {ESection::kRooms, CRoomTable::kSectionVersion, 40, "Loading rooms"},
    {ESection::kIncludedFiles, CIncludedFiles::kSectionVersion, 43, "Loading included files"},
    {ESection::kGameInformation, CGameInformation::kSectionVersion, 45, "Loading help"},
    {ESection::kLibraryInitCode, CLibraryInitCode::kSectionVersion, 47,
     "Loading library init code"},
    {ESection::kRoomOrder, CRoomOrder::kSectionVersion, 49, "Loading room order"},
};

void CResources::SetTempDirectory(const std::string& path) {
  extensions.temp_directory = path;
  sounds.temp_directory = path;
  included_files.temp_directory = path;
}

bool CResources::ReadSection(ESection section, CStream& s) {
  switch (section) {
    case ESection::kExtensions:
      return extensions.ReadSection(s);
    case ESection::kSounds:
      return sounds.ReadSection(s);
    case ESection::kSprites:
      return sprites.ReadSection(s);
    case ESection::kBackgrounds:
      return backgrounds.ReadSection(s);
    case ESection::kPaths:
      return paths.ReadSection(s);
    case ESection::kScripts:
      return scripts.ReadSection(s);
    case ESection::kFonts:
      return fonts.ReadSection(s);
    case ESection::kTimeLines:
      return time_lines.ReadSection(s);
    case ESection::kObjects:
      return objects.ReadSection(s);
    case ESection::kRooms:
      return rooms.ReadSection(s);
    case ESection::kIncludedFiles:
      return included_files.ReadSection(s);
    case ESection::kGameInformation:
      return game_information.ReadSection(s);
    case ESection::kLibraryInitCode:
      return library_init.ReadSection(s);
    case ESection::kRoomOrder:
      return room_order.ReadSection(s);
  }
  return false;
}

void CResources::WriteSection(ESection section, CStream& s) const {
  switch (section) {
    case ESection::kExtensions:
      return extensions.WriteSection(s);
    case ESection::kSounds:
      return sounds.WriteSection(s);
    case ESection::kSprites:
      return sprites.WriteSection(s);
    case ESection::kBackgrounds:
      return backgrounds.WriteSection(s);
    case ESection::kPaths:
      return paths.WriteSection(s);
    case ESection::kScripts:
      return scripts.WriteSection(s);
    case ESection::kFonts:
      return fonts.WriteSection(s);
    case ESection::kTimeLines:
      return time_lines.WriteSection(s);
    case ESection::kObjects:
      return objects.WriteSection(s);
    case ESection::kRooms:
      return rooms.WriteSection(s);
    case ESection::kIncludedFiles:
      return included_files.WriteSection(s);
    case ESection::kGameInformation:
      return game_information.WriteSection(s);
    case ESection::kLibraryInitCode:
      return library_init.WriteSection(s);
    case ESection::kRoomOrder:
      return room_order.WriteSection(s);
  }
}

std::vector<std::string> CResources::ResolveActionFunctions(const FunctionResolver& find) {
  std::vector<std::string> missing;
  time_lines.ResolveFunctions(find, missing);
  objects.ResolveFunctions(find, missing);
  return missing;
}

}  // namespace zorvex
