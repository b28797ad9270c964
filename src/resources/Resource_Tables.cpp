#include "resources/Resource_Tables.h"

namespace zorvex {

void CResources::SetTempDirectory(const std::string& path) {
  extensions.temp_directory = path;
  sounds.temp_directory = path;
  included_files.temp_directory = path;
}

bool CResources::ReadSection(SectionId section, CStream& s) {
  switch (section) {
    case SectionId::kExtensionPackages:
      return extensions.ReadSection(s);
    case SectionId::kSounds:
      return sounds.ReadSection(s);
    case SectionId::kSprites:
      return sprites.ReadSection(s);
    case SectionId::kBackgrounds:
      return backgrounds.ReadSection(s);
    case SectionId::kPaths:
      return paths.ReadSection(s);
    case SectionId::kScripts:
      return scripts.ReadSection(s);
    case SectionId::kFonts:
      return fonts.ReadSection(s);
    case SectionId::kTimeLines:
      return time_lines.ReadSection(s);
    case SectionId::kObjects:
      return objects.ReadSection(s);
    case SectionId::kRooms:
      return rooms.ReadSection(s);
    case SectionId::kIncludedFiles:
      return included_files.ReadSection(s);
    case SectionId::kGameInformation:
      return false;
    case SectionId::kLibraryInitCode:
      return library_init.ReadSection(s);
    case SectionId::kRoomOrder:
      return room_order.ReadSection(s);
  }
  return false;
}

void CResources::WriteSection(SectionId section, CStream& s) const {
  switch (section) {
    case SectionId::kExtensionPackages:
      return extensions.WriteSection(s);
    case SectionId::kSounds:
      return sounds.WriteSection(s);
    case SectionId::kSprites:
      return sprites.WriteSection(s);
    case SectionId::kBackgrounds:
      return backgrounds.WriteSection(s);
    case SectionId::kPaths:
      return paths.WriteSection(s);
    case SectionId::kScripts:
      return scripts.WriteSection(s);
    case SectionId::kFonts:
      return fonts.WriteSection(s);
    case SectionId::kTimeLines:
      return time_lines.WriteSection(s);
    case SectionId::kObjects:
      return objects.WriteSection(s);
    case SectionId::kRooms:
      return rooms.WriteSection(s);
    case SectionId::kIncludedFiles:
      return included_files.WriteSection(s);
    case SectionId::kGameInformation:
      return;
    case SectionId::kLibraryInitCode:
      return library_init.WriteSection(s);
    case SectionId::kRoomOrder:
      return room_order.WriteSection(s);
  }
}

int32_t CResources::TableVersion(SectionId section) {
  switch (section) {
    case SectionId::kExtensionPackages:
      return CExtensionPackages::kSectionVersion;
    case SectionId::kSounds:
      return CSoundTable::kSectionVersion;
    case SectionId::kSprites:
      return CSpriteTable::kSectionVersion;
    case SectionId::kBackgrounds:
      return CBackgroundTable::kSectionVersion;
    case SectionId::kPaths:
      return CPathTable::kSectionVersion;
    case SectionId::kScripts:
      return CScriptTable::kSectionVersion;
    case SectionId::kFonts:
      return CFontTable::kSectionVersion;
    case SectionId::kTimeLines:
      return CTimeLineTable::kSectionVersion;
    case SectionId::kObjects:
      return CObjectTable::kSectionVersion;
    case SectionId::kRooms:
      return CRoomTable::kSectionVersion;
    case SectionId::kIncludedFiles:
      return CIncludedFiles::kSectionVersion;
    case SectionId::kGameInformation:
      return 600;
    case SectionId::kLibraryInitCode:
      return CLibraryInitCode::kSectionVersion;
    case SectionId::kRoomOrder:
      return CRoomOrder::kSectionVersion;
  }
  return -1;
}

std::vector<std::string> CResources::ResolveActionFunctions(const FunctionResolver& find) {
  std::vector<std::string> missing;
  time_lines.ResolveFunctions(find, missing);
  objects.ResolveFunctions(find, missing);
  return missing;
}

}  // namespace zorvex
