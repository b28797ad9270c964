// Fixed numbers of the game file: where the data begins, the header's magic and versions, and
// the fourteen sections of the game block in their stored order. The runner's readers and the
// builder's writers both take them from here.
#pragma once

#include <array>
#include <cstdint>

namespace zorvex {

constexpr size_t kGameDataOffset = 1980000;
constexpr int32_t kGameMagic = 1234321;
constexpr int32_t kGameVersion = 700;
constexpr int32_t kSettingsVersion = 702;
constexpr int kSectionCount = 14;

enum class SectionId : int {
  kExtensionPackages,
  kSounds,
  kSprites,
  kBackgrounds,
  kPaths,
  kScripts,
  kFonts,
  kTimeLines,
  kObjects,
  kRooms,
  kIncludedFiles,
  kGameInformation,
  kLibraryInitCode,
  kRoomOrder,
};

struct SectionFormat {
  SectionId id;
  const char* name;
  int32_t version;  // the int32 every section begins with
};

inline constexpr std::array<SectionFormat, kSectionCount> kSectionFormats = {{
    {SectionId::kExtensionPackages, "extension packages", 700},
    {SectionId::kSounds, "sounds", 400},
    {SectionId::kSprites, "sprites", 400},
    {SectionId::kBackgrounds, "backgrounds", 400},
    {SectionId::kPaths, "paths", 420},
    {SectionId::kScripts, "scripts", 400},
    {SectionId::kFonts, "fonts", 540},
    {SectionId::kTimeLines, "time lines", 500},
    {SectionId::kObjects, "objects", 400},
    {SectionId::kRooms, "rooms", 420},
    {SectionId::kIncludedFiles, "included files", 620},
    {SectionId::kGameInformation, "game information", 600},
    {SectionId::kLibraryInitCode, "library init code", 500},
    {SectionId::kRoomOrder, "room order", 700},
}};

constexpr int32_t SectionVersion(SectionId id) {
  return kSectionFormats[static_cast<size_t>(id)].version;
}

}  // namespace zorvex
