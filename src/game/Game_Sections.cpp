// The section table: which reader reads which section of the game block, and what the loading
// window shows meanwhile. Plug a resource kind's reader in here; nothing else needs to change.
#include "code/Code_Function.h"
#include "game/Game.h"
#include "game/Game_Load.h"
#include "platform/Platform_Window.h"
#include "resources/Resource_Tables.h"
#include "runner/Runner_Information.h"

namespace zorvex {

namespace {

bool ReadGameInformationSection(CGame& game, CStream& stream) {
  DisplayInfo screen = DesktopDisplay();
  return ReadGameInformation(stream, game.information, screen.width, screen.height);
}

template <SectionId kId>
bool ReadResourceSection(CGame& game, CStream& stream) {
  return game.resources.ReadSection(kId, stream);
}

// Extension packages unpack into the temporary directory, and their reader is the only one that
// tells the player what went wrong before the common message.
bool ReadExtensionSection(CGame& game, CStream& stream) {
  game.resources.SetTempDirectory(game.temp.Path());
  if (ReadResourceSection<SectionId::kExtensionPackages>(game, stream)) return true;
  ShowStartupMessage(game, std::string(CExtensionPackages::kLoadErrorMessage));
  return false;
}

// Action function names are looked up as the actions are read; each one that names no function
// is told to the player, and loading goes on.
template <SectionId kId>
bool ReadActionSection(CGame& game, CStream& stream) {
  if (!ReadResourceSection<kId>(game, stream)) return false;
  FunctionResolver find = [&game](std::string_view name) {
    int32_t id = -1;
    return FindFunction(game.language, name, id) ? id : -1;
  };
  std::vector<std::string> missing;
  if constexpr (kId == SectionId::kTimeLines)
    game.resources.time_lines.ResolveFunctions(find, missing);
  else
    game.resources.objects.ResolveFunctions(find, missing);
  for (const std::string& name : missing)
    ShowStartupMessage(game, std::string(kMissingActionFunctionMessage) + name);
  return true;
}

constexpr SectionEntry kSections[kSectionCount] = {
    {SectionId::kExtensionPackages, 0, "Loading extension packages", ReadExtensionSection},
    {SectionId::kSounds, 5, "Loading sounds", ReadResourceSection<SectionId::kSounds>},
    {SectionId::kSprites, 10, "Loading sprites", ReadResourceSection<SectionId::kSprites>},
    {SectionId::kBackgrounds, 23, "Loading backgrounds",
     ReadResourceSection<SectionId::kBackgrounds>},
    {SectionId::kPaths, 30, "Loading paths", ReadResourceSection<SectionId::kPaths>},
    {SectionId::kScripts, 32, "Loading scripts", ReadResourceSection<SectionId::kScripts>},
    {SectionId::kFonts, 34, "Loading fonts", ReadResourceSection<SectionId::kFonts>},
    {SectionId::kTimeLines, 36, "Loading time lines", ReadActionSection<SectionId::kTimeLines>},
    {SectionId::kObjects, 38, "Loading objects", ReadActionSection<SectionId::kObjects>},
    {SectionId::kRooms, 40, "Loading rooms", ReadResourceSection<SectionId::kRooms>},
    {SectionId::kIncludedFiles, 43, "Loading included files",
     ReadResourceSection<SectionId::kIncludedFiles>},
    {SectionId::kGameInformation, 45, "Loading help", ReadGameInformationSection},
    {SectionId::kLibraryInitCode, 47, "Loading library init code",
     ReadResourceSection<SectionId::kLibraryInitCode>},
    {SectionId::kRoomOrder, 49, "Loading room order", ReadResourceSection<SectionId::kRoomOrder>},
};

}  // namespace

std::span<const SectionEntry> SectionTable() {
  return kSections;
}

}  // namespace zorvex
