#include "game/Game_Load.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "game/Game.h"
#include "runner/Support_Stream.h"
#include "zorvex-build/Builder_Game.h"
#include "zorvex-build/Builder_Project.h"

namespace zorvex {
namespace {

// Readers for the sections whose resource kinds are read elsewhere: they take the empty forms
// the builder writes, so the walk can be followed to its end.
template <SectionId kId>
bool ReadEmptySection(CGame&, CStream& s) {
  return s.ReadInt() == SectionVersion(kId) && s.ReadInt() == 0;
}
bool ReadEmptyRooms(CGame&, CStream& s) {
  if (s.ReadInt() != SectionVersion(SectionId::kRooms) || s.ReadInt() != 0) return false;
  s.ReadInt();
  s.ReadInt();
  return true;
}
std::vector<int32_t> g_room_order;  // what the test room-order reader saw
bool ReadTestRoomOrder(CGame&, CStream& s) {
  if (s.ReadInt() != SectionVersion(SectionId::kRoomOrder)) return false;
  int32_t n = s.ReadInt();
  if (n < 1) return false;
  g_room_order.clear();
  for (int32_t i = 0; i < n; ++i)
    g_room_order.push_back(s.ReadInt());
  return true;
}

// The game's own table, with the missing readers filled in by the ones above and the room order
// read by the recorder (the demo project names rooms it does not have).
std::vector<SectionEntry> CompletedTable() {
  std::vector<SectionEntry> t(SectionTable().begin(), SectionTable().end());
  SectionReader fill[kSectionCount] = {
      ReadEmptySection<SectionId::kExtensionPackages>,
      ReadEmptySection<SectionId::kSounds>,
      ReadEmptySection<SectionId::kSprites>,
      ReadEmptySection<SectionId::kBackgrounds>,
      ReadEmptySection<SectionId::kPaths>,
      ReadEmptySection<SectionId::kScripts>,
      ReadEmptySection<SectionId::kFonts>,
      ReadEmptySection<SectionId::kTimeLines>,
      ReadEmptySection<SectionId::kObjects>,
      ReadEmptyRooms,
      ReadEmptySection<SectionId::kIncludedFiles>,
      nullptr,
      ReadEmptySection<SectionId::kLibraryInitCode>,
      ReadTestRoomOrder,
  };
  for (int i = 0; i < kSectionCount; ++i)
    if (t[static_cast<size_t>(i)].reader == nullptr) t[static_cast<size_t>(i)].reader = fill[i];
  t[static_cast<size_t>(SectionId::kRoomOrder)].reader = ReadTestRoomOrder;
  return t;
}

CProject DemoProject() {
  CProject p;
  p.game_id = 4711;
  for (int i = 0; i < 16; ++i)
    p.guid[static_cast<size_t>(i)] = static_cast<uint8_t>(i * 17);
  p.debug_mode = true;
  p.settings.scaling = 200;
  p.settings.constant_names = {"A"};
  p.settings.constant_values = {"1"};
  p.information.caption = "About";
  p.information.text = "{\\rtf1 x}";
  p.room_order = {2, 0};
  return p;
}

struct Loader {
  CGame game;
  CScriptedDialogService* dialogs;
  std::vector<std::pair<int32_t, std::string>> progress;
  std::vector<SectionEntry> table = CompletedTable();

  Loader() {
    auto d = std::make_unique<CScriptedDialogService>();
    dialogs = d.get();
    game.dialogs = std::move(d);
    game.options.headless = true;
    game.sections = table;
    game.on_load_progress = [this](int32_t p, const std::string& t) { progress.push_back({p, t}); };
  }
  std::vector<std::string> Messages() const {
    std::vector<std::string> m;
    for (const auto& s : dialogs->shown)
      m.push_back(s.text);
    return m;
  }
};

std::vector<uint8_t> FileOf(const CProject& p, ScrambleChoice choice,
                            std::span<const SectionWriterEntry> writers = SectionWriters()) {
  CStream out(std::vector<uint8_t>(kGameDataOffset, 0));
  out.Seek(kGameDataOffset);
  std::string error;
  EXPECT_TRUE(WriteGameData(p, choice, writers, out, error)) << error;
  return out.Bytes();
}

TEST(GameLoad, BuiltGameWalksEverySectionWithItsProgress) {
  Loader l;
  CProject p = DemoProject();
  std::vector<uint8_t> file;
  std::string error;
  ASSERT_TRUE(BuildGameFile(p, file, error)) << error;
  ASSERT_TRUE(ReadGameFile(l.game, file));
  EXPECT_TRUE(l.dialogs->shown.empty());
  const std::vector<std::pair<int32_t, std::string>> want = {
      {0, "Loading"},
      {1, "Reading data"},
      {0, "Loading extension packages"},
      {5, "Loading sounds"},
      {10, "Loading sprites"},
      {23, "Loading backgrounds"},
      {30, "Loading paths"},
      {32, "Loading scripts"},
      {34, "Loading fonts"},
      {36, "Loading time lines"},
      {38, "Loading objects"},
      {40, "Loading rooms"},
      {43, "Loading included files"},
      {45, "Loading help"},
      {47, "Loading library init code"},
      {49, "Loading room order"},
  };
  EXPECT_EQ(l.progress, want);
  EXPECT_EQ(l.game.game_id, 4711);
  EXPECT_EQ(l.game.game_guid[1], 17);
  EXPECT_EQ(l.game.game_guid[15], 255);
  EXPECT_TRUE(l.game.debug_mode);
  EXPECT_EQ(l.game.settings.scaling, 200);
  EXPECT_EQ(l.game.settings.constant_names, p.settings.constant_names);
  EXPECT_EQ(l.game.information.caption, "About");
  EXPECT_EQ(l.game.information.text, "{\\rtf1 x}");
  EXPECT_EQ(g_room_order, (std::vector<int32_t>{2, 0}));
  // Debug mode shows the step label; the settings reached the error path.
  EXPECT_TRUE(l.game.load_form.label_visible);
  EXPECT_EQ(l.game.load_form.label, "Loading room order");
  EXPECT_EQ(l.game.load_form.full_bar.width, 139);
  EXPECT_TRUE(l.game.errors.settings.show_errors);
  // The support library's work is the runner's own: "loading" it succeeded.
  EXPECT_TRUE(l.game.graphics.d3dx_loaded);
}

TEST(GameLoad, TheGamesOwnTableRefusesARoomOrderThatNamesNoRoom) {
  Loader l;
  l.game.sections = SectionTable();
  ASSERT_FALSE(ReadGameFile(l.game, FileOf(DemoProject(), {77, 1, 1})));
  EXPECT_EQ(l.Messages(), std::vector<std::string>{"Error: Error in resource data."});
  EXPECT_EQ(l.progress.back(), (std::pair<int32_t, std::string>{49, "Loading room order"}));
}

TEST(GameLoad, SeedAndPadsAreFoundAndTheByteAfterThemIsNotScrambled) {
  CProject p = DemoProject();
  for (ScrambleChoice c :
       {ScrambleChoice{0, 0, 0}, ScrambleChoice{-64249, 3, 2}, ScrambleChoice{2000000, 11, 0}}) {
    CStream block;
    std::string error;
    ASSERT_TRUE(WriteGameBlock(p, c, SectionWriters(), block, error));
    const size_t seed_at = 8 + 4 * static_cast<size_t>(c.pad_before);
    const size_t after = seed_at + 4 + 4 * static_cast<size_t>(c.pad_after);
    block.Seek(seed_at);
    EXPECT_EQ(block.ReadInt(), c.seed);
    // The reserved word is 0; its first byte is stored as it is, the rest is scrambled.
    EXPECT_EQ(block.Bytes()[after], 0);
    Substitution t;
    ASSERT_TRUE(BuildSubstitution(c.seed, t));
    EXPECT_EQ(block.Bytes()[after + 1], t.forward[static_cast<uint8_t>(after + 1)]);

    Loader l;
    ASSERT_TRUE(ReadGameFile(l.game, FileOf(p, c))) << c.seed;
    EXPECT_EQ(l.game.game_id, 4711);
  }
}

struct Corruption {
  const char* what;
  std::function<void(std::vector<uint8_t>&)> change;
  const char* message;
  bool thrown;  // caught by the trap around reading the file
};

void PutInt(std::vector<uint8_t>& f, size_t at, int32_t v) {
  for (int i = 0; i < 4; ++i)
    f[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

TEST(GameLoad, EveryFailureEndsWithItsMessage) {
  const size_t h = kGameDataOffset;
  const std::vector<Corruption> cases = {
      {"short", [](std::vector<uint8_t>& f) { f.resize(kGameDataOffset - 1); },
       "Error: Not a valid game file.", false},
      {"empty", [](std::vector<uint8_t>& f) { f.clear(); }, "Error: Not a valid game file.", false},
      {"magic", [&](std::vector<uint8_t>& f) { PutInt(f, h, 1234320); },
       "Error: Not a valid game file.", false},
      {"version", [&](std::vector<uint8_t>& f) { PutInt(f, h + 4, 701); },
       "Error: Wrong version number.", false},
      {"settings", [&](std::vector<uint8_t>& f) { PutInt(f, h + 12, 703); },
       "Error: Error in resource data.", false},
      {"nothing after the offset", [](std::vector<uint8_t>& f) { f.resize(kGameDataOffset); },
       "Failed to load the game data. File seems corrupted.", true},
      {"truncated", [](std::vector<uint8_t>& f) { f.resize(f.size() - 10); },
       "Failed to load the game data. File seems corrupted.", true},
      {"corrupt game block", [](std::vector<uint8_t>& f) { f[f.size() - 30] ^= 0xFF; },
       "Failed to load the game data. File seems corrupted.", true},
  };
  for (const Corruption& c : cases) {
    std::vector<uint8_t> file = FileOf(DemoProject(), {5, 0, 0});
    c.change(file);
    Loader l;
    bool ok = true;
    if (c.thrown) {
      EXPECT_THROW(ReadGameFile(l.game, file), StreamReadError) << c.what;
      // LoadAndRunGame turns it into its message.
      std::string path = testing::TempDir() + "/corrupt.exe";
      std::ofstream(path, std::ios::binary)
          .write(reinterpret_cast<const char*>(file.data()),
                 static_cast<std::streamsize>(file.size()));
      l.game.options.game_path = path;
      ok = LoadAndRunGame(l.game);
    } else {
      ok = ReadGameFile(l.game, file);
    }
    EXPECT_FALSE(ok) << c.what;
    EXPECT_EQ(l.Messages(), std::vector<std::string>{c.message}) << c.what;
  }
}

TEST(GameLoad, CorruptSupportLibraryBlockFailsTheLoad) {
  // The support library block follows the settings and its name; break its zlib header.
  CProject p = DemoProject();
  CStream header;
  WriteSettings(header, p.settings);
  std::vector<uint8_t> file = FileOf(p, {5, 0, 0});
  const size_t name_at = kGameDataOffset + 12 + header.Size();
  const size_t block_at = name_at + 4 + std::string("D3DX8.dll").size();
  ASSERT_EQ(file[block_at + 4], 0x78);  // zlib header
  file[block_at + 4] = 0x00;
  Loader l;
  EXPECT_THROW(ReadGameFile(l.game, file), StreamReadError);
}

TEST(GameLoad, UnreadableFileAndInvalidSeed) {
  Loader l;
  l.game.options.game_path = "/nonexistent/game.exe";
  EXPECT_FALSE(LoadAndRunGame(l.game));
  EXPECT_EQ(l.Messages(), std::vector<std::string>{"Error: Cannot read the game file."});

  Loader m;
  std::vector<uint8_t> file = FileOf(DemoProject(), {-64250 + 250, 0, 0});  // still valid
  EXPECT_TRUE(ReadGameFile(m.game, file));
  // A seed no game uses cannot be descrambled: corrupt data.
  CProject p = DemoProject();
  CStream block;
  std::string error;
  ASSERT_TRUE(WriteGameBlock(p, {5, 0, 0}, SectionWriters(), block, error));
  block.Seek(8);
  block.WriteInt(-64250);
  CStream out(std::vector<uint8_t>(kGameDataOffset, 0));
  out.Seek(kGameDataOffset);
  out.WriteInt(kGameMagic);
  out.WriteInt(kGameVersion);
  out.WriteBool(false);
  WriteSettings(out, p.settings);
  out.WriteString("D3DX8.dll");
  out.WriteCompressedBlock(nullptr, 0);
  out.WriteCompressedBlock(block);
  Loader n;
  EXPECT_THROW(ReadGameFile(n.game, out.Bytes()), StreamReadError);
}

TEST(GameLoad, ASectionWithAnotherVersionStopsTheWalk) {
  Loader l;
  CProject p = DemoProject();
  std::vector<SectionWriterEntry> writers(SectionWriters().begin(), SectionWriters().end());
  writers[static_cast<size_t>(SectionId::kGameInformation)].write = [](const CProject& project,
                                                                       CStream& out, std::string&) {
    CStream s;
    WriteGameInformation(s, project.information);
    s.Seek(0);
    s.WriteInt(601);
    out.WriteBytes(s.Data(), s.Size());
    return true;
  };
  EXPECT_FALSE(ReadGameFile(l.game, FileOf(p, {9, 1, 0}, writers)));
  EXPECT_EQ(l.Messages(), std::vector<std::string>{"Error: Error in resource data."});
  EXPECT_EQ(l.progress.back().second, "Loading help");

  // A room order of no rooms fails the same way.
  Loader m;
  p.room_order.clear();
  EXPECT_FALSE(ReadGameFile(m.game, FileOf(p, {9, 1, 0})));
  EXPECT_EQ(m.Messages(), std::vector<std::string>{"Error: Error in resource data."});
}

TEST(GameLoad, PreparationShowsItsStepsAndSetsUpTheWindow) {
  Loader l;
  l.game.settings.no_window_border = false;
  l.game.settings.allow_resize = true;
  l.game.settings.stay_on_top = true;
  l.game.settings.window_color = 0x0000FF;
  SetUpLoadForm(l.game, false);
  l.progress.clear();
  ASSERT_TRUE(PrepareGame(l.game));
  std::vector<int32_t> values;
  for (const auto& p : l.progress)
    values.push_back(p.first);
  EXPECT_EQ(values, (std::vector<int32_t>{50, 54, 56, 58, 70, 72, 80, 90, 100}));
  EXPECT_EQ(l.progress[1].second, "Preparing extension pacakges");
  EXPECT_EQ(l.progress.back().second, "Ready");
  EXPECT_FALSE(l.game.load_form.visible);
  EXPECT_EQ(l.game.window.Border(), BorderKind::kSizeable);
  EXPECT_TRUE(l.game.window.StayOnTop());
  EXPECT_EQ(l.game.window.Color(), 0x0000FF);
}

TEST(GameLoad, DesktopDepthQuestion) {
  Loader l;
  l.dialogs->answers = {false, true};
  EXPECT_TRUE(PrepareDisplayMode(l.game, 32));
  EXPECT_TRUE(PrepareDisplayMode(l.game, 16));
  EXPECT_TRUE(l.dialogs->shown.empty());
  EXPECT_FALSE(PrepareDisplayMode(l.game, 24));  // answered No
  EXPECT_TRUE(PrepareDisplayMode(l.game, 24));   // answered Yes
  ASSERT_EQ(l.dialogs->shown.size(), 2u);
  EXPECT_EQ(l.dialogs->shown[0].kind, CScriptedDialogService::Shown::kQuestion);
  EXPECT_EQ(l.dialogs->shown[0].text,
            "This application requires 16-bit or 32-bit color mode. Should I switch to a valid "
            "color mode?");
  // A depth asked for by the settings means no question.
  l.game.settings.change_display_mode = true;
  l.game.settings.color_depth = 1;
  l.game.settings.resolution = 2;
  EXPECT_TRUE(PrepareDisplayMode(l.game, 24));
  EXPECT_EQ(l.dialogs->shown.size(), 2u);
  EXPECT_TRUE(l.game.window.HasDisplayMode());
}

TEST(GameLoad, SupportLibraryIsWrittenOnlyInsideTheTemporaryDirectory) {
  Loader l;
  ASSERT_TRUE(l.game.temp.CreateUnder({testing::TempDir()}));
  CProject p = DemoProject();
  std::vector<uint8_t> file = FileOf(p, {5, 0, 0});
  ASSERT_TRUE(ReadGameFile(l.game, file));
  EXPECT_TRUE(std::filesystem::exists(l.game.temp.Path() + "/D3DX8.dll"));
}

}  // namespace
}  // namespace zorvex
