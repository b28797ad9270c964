// Whole games through the loader: a game file written from resources made here is read,
// prepared (constants, scripts, time lines, objects, action functions) and run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../run/RunTestSupport.h"
#include "game/Game_Load.h"
#include "runner/Support_Stream.h"
#include "zorvex-build/Builder_Game.h"
#include "zorvex-build/Builder_Project.h"
#include "zorvex-build/Builder_Sections.h"

namespace zorvex {
namespace {

using Calls = std::vector<std::string>;

// The resources the section writers below write (a writer has no other way to reach them).
const CResources* g_source = nullptr;

template <SectionId kId>
bool WriteFromSource(const CProject&, CStream& out, std::string&) {
  g_source->WriteSection(kId, out);
  return true;
}

bool WriteInformation(const CProject& p, CStream& out, std::string& error) {
  for (const SectionWriterEntry& w : SectionWriters())
    if (w.id == SectionId::kGameInformation) return w.write(p, out, error);
  return false;
}

constexpr SectionWriterEntry kWriters[] = {
    {SectionId::kExtensionPackages, WriteFromSource<SectionId::kExtensionPackages>},
    {SectionId::kSounds, WriteFromSource<SectionId::kSounds>},
    {SectionId::kSprites, WriteFromSource<SectionId::kSprites>},
    {SectionId::kBackgrounds, WriteFromSource<SectionId::kBackgrounds>},
    {SectionId::kPaths, WriteFromSource<SectionId::kPaths>},
    {SectionId::kScripts, WriteFromSource<SectionId::kScripts>},
    {SectionId::kFonts, WriteFromSource<SectionId::kFonts>},
    {SectionId::kTimeLines, WriteFromSource<SectionId::kTimeLines>},
    {SectionId::kObjects, WriteFromSource<SectionId::kObjects>},
    {SectionId::kRooms, WriteFromSource<SectionId::kRooms>},
    {SectionId::kIncludedFiles, WriteFromSource<SectionId::kIncludedFiles>},
    {SectionId::kGameInformation, WriteInformation},
    {SectionId::kLibraryInitCode, WriteFromSource<SectionId::kLibraryInitCode>},
    {SectionId::kRoomOrder, WriteFromSource<SectionId::kRoomOrder>},
};

// Builds the game in `source`, writes it to a file and runs it in `game` (headless, fast).
class WholeGameTest : public ::testing::Test {
 protected:
  WholeGameTest() {
    testing::RecordedCalls().clear();
    game.functions.Register("rec", testing::Rec, -1);
    auto d = std::make_unique<CScriptedDialogService>();
    dialogs = d.get();
    game.dialogs = std::move(d);
    game.options.headless = true;
    game.options.fast = true;
    game.options.max_steps = 3;
    game.errors.show_window = [this](const std::string& m, bool) {
      errors.push_back(m);
      return false;
    };
    project.game_id = 77;
    source.rooms.last_instance_id = 100000;
  }
  ~WholeGameTest() override { std::filesystem::remove(path); }

  int32_t AddObject(const std::string& name) {
    return source.objects.Append(std::make_unique<CObject>(), name);
  }
  CEvent& Event(int32_t object, int32_t type, int32_t number) {
    return *source.objects.Get(object)->EventAt(type, number);
  }
  void AddRoomWith(int32_t object) {
    auto r = std::make_unique<CRoom>();
    r->instances.push_back(CRoomInstance{0, 0, object, ++source.rooms.last_instance_id, ""});
    source.room_order.order.push_back(source.rooms.Append(std::move(r), "room0"));
  }
  void AddScript(const std::string& name, const std::string& text) {
    auto s = std::make_unique<CScript>();
    s->source = text;
    source.scripts.Append(std::move(s), name);
  }
  bool Run() {
    g_source = &source;
    CStream out(std::vector<uint8_t>(kGameDataOffset, 0));
    out.Seek(kGameDataOffset);
    std::string error;
    EXPECT_TRUE(WriteGameData(project, ChooseScramble(project), kWriters, out, error)) << error;
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(out.Data()), static_cast<std::streamsize>(out.Size()));
    f.close();
    game.options.game_path = path.string();
    return LoadAndRunGame(game);
  }
  std::vector<std::string> Messages() const {
    std::vector<std::string> m;
    for (const auto& s : dialogs->shown)
      m.push_back(s.text);
    return m;
  }

  CResources source;
  CProject project;
  CGame game;
  CScriptedDialogService* dialogs = nullptr;
  std::vector<std::string> errors;
  std::filesystem::path path =
      std::filesystem::temp_directory_path() /
      ("zorvex_run_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
       "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".exe");
};

CAction FunctionAction(const std::string& name, const std::string& arg) {
  CAction a;
  a.exe_type = CAction::kExeFunction;
  a.function_name = name;
  a.argument_count = 1;
  a.arguments[0] = arg;
  return a;
}

TEST_F(WholeGameTest, ALoadedGameRunsItsStepsAndEnds) {
  project.settings.constant_names = {"BASE", "DOUBLE"};
  project.settings.constant_values = {"40", "BASE * 2"};
  AddScript("scr_add", "return argument0 + argument1");
  int32_t a = AddObject("obj_a");
  Event(a, kEventCreate, 0).actions = {FunctionAction("rec", "scr_add(DOUBLE, 2)")};
  Event(a, kEventStep, 0).AddCodeAction("global.n += 1; rec('step', global.n)");
  Event(a, kEventOther, kOtherGameEnd).AddCodeAction("rec('end')");
  source.library_init.code = {"global.n = 10"};
  AddRoomWith(a);
  ASSERT_TRUE(Run());
  EXPECT_EQ(testing::RecordedCalls(), (Calls{"82", "step 11", "step 12", "step 13", "end"}));
  EXPECT_TRUE(Messages().empty());
  EXPECT_TRUE(errors.empty());
  EXPECT_FALSE(game.running);
}

TEST_F(WholeGameTest, UnknownActionFunctionsAreToldButTheGameRuns) {
  int32_t a = AddObject("obj_a");
  Event(a, kEventCreate, 0).actions = {FunctionAction("action_that_is_not", "1"),
                                       FunctionAction("rec", "'went on'")};
  AddRoomWith(a);
  ASSERT_TRUE(Run());
  EXPECT_EQ(Messages(), (Calls{"Failed to locate action function action_that_is_not"}));
  EXPECT_EQ(testing::RecordedCalls(), (Calls{"went on"}));
}

TEST_F(WholeGameTest, ACompileErrorInAnObjectStopsTheLoad) {
  int32_t a = AddObject("obj_broken");
  Event(a, kEventStep, 0).AddCodeAction("x = (");
  AddRoomWith(a);
  EXPECT_FALSE(Run());
  EXPECT_EQ(Messages(), (Calls{"Failed to compile the actions in the objects."}));
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].rfind("FATAL ERROR in\r\naction number 1\r\nof  Step Event\r\n", 0), 0u)
      << errors[0];
  EXPECT_TRUE(testing::RecordedCalls().empty());
}

TEST_F(WholeGameTest, InvalidConstantsAndScriptsStopTheLoadWithTheirMessages) {
  project.settings.constant_names = {"2fast"};
  project.settings.constant_values = {"1"};
  AddRoomWith(AddObject("obj"));
  EXPECT_FALSE(Run());
  EXPECT_EQ(Messages(),
            (Calls{"Constant name 2fast  is not valid.", "Failed to define the constants."}));
}

TEST_F(WholeGameTest, AScriptThatDoesNotCompileStopsTheLoad) {
  AddScript("scr_bad", "return (");
  AddRoomWith(AddObject("obj"));
  EXPECT_FALSE(Run());
  EXPECT_EQ(Messages(), (Calls{"Failed to compile the scripts."}));
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].rfind("COMPILATION ERROR in Script: scr_bad\r", 0), 0u) << errors[0];
}

}  // namespace
}  // namespace zorvex
