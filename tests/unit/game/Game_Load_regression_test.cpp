// Game data that once troubled the loader (fuzzer finds, kept as files): each must load or end
// with exactly one of the load messages.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "game/Game.h"
#include "game/Game_Load.h"
#include "runner/Support_Stream.h"

namespace zorvex {
namespace {

TEST(GameLoadRegression, KeptInputsEndWithALoadMessage) {
  const std::filesystem::path dir = std::filesystem::path(ZORVEX_TEST_DATA_DIR) / "data" / "load";
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    std::ifstream in(entry.path(), std::ios::binary);
    std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    // The files hold what follows the game data offset.
    std::vector<uint8_t> file(kGameDataOffset, 0);
    file.insert(file.end(), data.begin(), data.end());
    CGame game;
    auto dialogs = std::make_unique<CScriptedDialogService>();
    CScriptedDialogService* shown = dialogs.get();
    game.dialogs = std::move(dialogs);
    game.options.headless = true;
    bool ok = false;
    try {
      ok = ReadGameFile(game, std::move(file));
    } catch (const StreamReadError&) {
      shown->ShowMessage(kApplicationTitle, "Failed to load the game data. File seems corrupted.");
    }
    ++files;
    if (ok) {
      EXPECT_TRUE(shown->shown.empty()) << entry.path();
      continue;
    }
    ASSERT_EQ(shown->shown.size(), 1u) << entry.path();
    const std::string& m = shown->shown[0].text;
    EXPECT_TRUE(m == "Error: Not a valid game file." || m == "Error: Wrong version number." ||
                m == "Error: Error in resource data." ||
                m == "Failed to load the game data. File seems corrupted.")
        << entry.path() << ": " << m;
  }
  EXPECT_GT(files, 0);
}

}  // namespace
}  // namespace zorvex
