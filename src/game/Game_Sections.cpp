// The section table: which reader reads which section of the game block, and what the loading
// window shows meanwhile. Plug a resource kind's reader in here; nothing else needs to change.
#include "game/Game.h"
#include "game/Game_Load.h"
#include "platform/Platform_Window.h"
#include "runner/Runner_Information.h"

namespace zorvex {

namespace {

bool ReadGameInformationSection(CGame& game, CStream& stream) {
  DisplayInfo screen = DesktopDisplay();
  return ReadGameInformation(stream, game.information, screen.width, screen.height);
}

constexpr SectionEntry kSections[kSectionCount] = {
    {SectionId::kExtensionPackages, 0, "Loading extension packages", nullptr},
    {SectionId::kSounds, 5, "Loading sounds", nullptr},
    {SectionId::kSprites, 10, "Loading sprites", nullptr},
    {SectionId::kBackgrounds, 23, "Loading backgrounds", nullptr},
    {SectionId::kPaths, 30, "Loading paths", nullptr},
    {SectionId::kScripts, 32, "Loading scripts", nullptr},
    {SectionId::kFonts, 34, "Loading fonts", nullptr},
    {SectionId::kTimeLines, 36, "Loading time lines", nullptr},
    {SectionId::kObjects, 38, "Loading objects", nullptr},
    {SectionId::kRooms, 40, "Loading rooms", nullptr},
    {SectionId::kIncludedFiles, 43, "Loading included files", nullptr},
    {SectionId::kGameInformation, 45, "Loading help", ReadGameInformationSection},
    {SectionId::kLibraryInitCode, 47, "Loading library init code", nullptr},
    {SectionId::kRoomOrder, 49, "Loading room order", nullptr},
};

}  // namespace

std::span<const SectionEntry> SectionTable() {
  return kSections;
}

}  // namespace zorvex
