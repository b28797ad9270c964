// The loader on arbitrary game data (what follows the 1980000-byte prefix): every input must end
// in success or in exactly one of the load messages, never in a crash, a hang or a leak.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "game/Game.h"
#include "game/Game_Load.h"
#include "runner/Support_Stream.h"

namespace {

using namespace zorvex;

// Sections nobody reads yet are taken in the empty form the builder writes, so that inputs can
// reach the later sections.
template <SectionId kId>
bool ReadEmpty(CGame&, CStream& s) {
  if (s.ReadInt() != SectionVersion(kId) || s.ReadInt() != 0) return false;
  if (kId == SectionId::kRooms) {
    s.ReadInt();
    s.ReadInt();
  }
  if (kId == SectionId::kRoomOrder) return false;  // an empty room order is refused
  return true;
}

std::vector<SectionEntry> Table() {
  static const SectionReader kFill[kSectionCount] = {
      ReadEmpty<SectionId::kExtensionPackages>,
      ReadEmpty<SectionId::kSounds>,
      ReadEmpty<SectionId::kSprites>,
      ReadEmpty<SectionId::kBackgrounds>,
      ReadEmpty<SectionId::kPaths>,
      ReadEmpty<SectionId::kScripts>,
      ReadEmpty<SectionId::kFonts>,
      ReadEmpty<SectionId::kTimeLines>,
      ReadEmpty<SectionId::kObjects>,
      ReadEmpty<SectionId::kRooms>,
      ReadEmpty<SectionId::kIncludedFiles>,
      ReadEmpty<SectionId::kGameInformation>,
      ReadEmpty<SectionId::kLibraryInitCode>,
      ReadEmpty<SectionId::kRoomOrder>,
  };
  std::vector<SectionEntry> t(SectionTable().begin(), SectionTable().end());
  for (size_t i = 0; i < t.size(); ++i)
    if (t[i].reader == nullptr) t[i].reader = kFill[i];
  return t;
}

bool IsLoadMessage(const std::string& m) {
  static const char* const kMessages[] = {
      "Error: Cannot read the game file.", "Error: Not a valid game file.",
      "Error: Wrong version number.",      "Error: Error in resource data.",
      "Error: Failed to initialize D3DX.", "Failed to load the game data. File seems corrupted.",
  };
  for (const char* k : kMessages)
    if (m == k) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::vector<SectionEntry> table = Table();
  CGame game;
  auto dialogs = std::make_unique<CScriptedDialogService>();
  CScriptedDialogService* shown = dialogs.get();
  game.dialogs = std::move(dialogs);
  game.options.headless = true;
  game.sections = table;
  CStream file(std::vector<uint8_t>(data, data + size));
  bool ok = false;
  try {
    ok = ReadGameHeader(game, file);
  } catch (...) {
    game.dialogs->ShowMessage(kApplicationTitle,
                              "Failed to load the game data. File seems corrupted.");
  }
  if (ok) {
    if (!shown->shown.empty()) std::abort();
  } else if (shown->shown.size() != 1 || !IsLoadMessage(shown->shown[0].text)) {
    std::abort();
  }
  return 0;
}
