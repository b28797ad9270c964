#include "code/Code_Error.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace zorvex {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A reporter with every hook recording what happens, in order.
class ErrorPath : public ::testing::Test {
 protected:
  void SetUp() override {
    dir =
        fs::temp_directory_path() /
        ("zorvex_error_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    Wire(r);
  }
  void TearDown() override { fs::remove_all(dir); }

  void Wire(CErrorReporter& rep) {
    rep.log_path = (dir / "game_errors.log").string();
    rep.show_window = [this](const std::string& m, bool ignore_allowed) {
      events.push_back(std::string(ignore_allowed ? "window+ignore: " : "window: ") + m);
      return abort_answer;
    };
    rep.event_name = [](int32_t type, int32_t number) {
      return type == 3 && number == 0 ? std::string("Step Event") : std::string("?");
    };
    rep.object_name = [](int32_t i) { return i == 5 ? std::string("obj_player") : std::string(); };
    rep.timeline_name = [](int32_t i) { return i == 1 ? std::string("tl_intro") : std::string(); };
    rep.clear_input = [this] { events.push_back("clear input"); };
    rep.end_game = [this, &rep] {
      // By now the message is remembered and logged.
      events.push_back("end game after: " + rep.last_message);
    };
  }

  fs::path dir;
  CErrorReporter r;
  std::vector<std::string> events;
  bool abort_answer = false;
};

TEST_F(ErrorPath, ActionContextPrefix) {
  r.context = {3, 0, 5, 2};
  r.ReportInContext("Unknown variable x", false);
  const std::string m =
      "ERROR in\r\naction number 3\r\nof Step Event\r\nfor object obj_player:\r\n\r\n"
      "Unknown variable x";
  EXPECT_EQ(events, (std::vector<std::string>{"window+ignore: " + m, "clear input"}));
  EXPECT_EQ(r.last_message, m);
  EXPECT_TRUE(r.occurred);
  EXPECT_FALSE(r.terminating());
  EXPECT_FALSE(fs::exists(dir / "game_errors.log"));  // logging is off
}

TEST_F(ErrorPath, TimeLineContextAndFatalEnd) {
  r.context = {kTimeLineEventType, 30, 1, 0};
  r.ReportInContext("Unexisting room number: 7", true);
  const std::string m =
      "FATAL ERROR in\r\naction number 1\r\nat time step 30\r\nof time line tl_intro:\r\n\r\n"
      "Unexisting room number: 7";
  EXPECT_EQ(events,
            (std::vector<std::string>{"window: " + m, "clear input", "end game after: " + m}));
  EXPECT_TRUE(r.terminating());
  // Once the game is ending, nothing more is reported.
  r.ReportInContext("later", false);
  r.Deliver("later still", false);
  EXPECT_EQ(events.size(), 3u);
  EXPECT_EQ(r.last_message, m);
}

TEST_F(ErrorPath, PlayerChoosesIgnoreOrAbort) {
  r.Deliver("first", false);
  EXPECT_FALSE(r.terminating());
  abort_answer = true;
  r.Deliver("second", false);
  EXPECT_TRUE(r.terminating());
  EXPECT_EQ(events, (std::vector<std::string>{"window+ignore: first", "clear input",
                                              "window+ignore: second", "clear input",
                                              "end game after: second"}));
}

TEST_F(ErrorPath, AbortOnErrorsMakesEveryErrorFatal) {
  r.settings.abort_on_errors = true;
  r.Deliver("x", false);
  EXPECT_EQ(events, (std::vector<std::string>{"window: x", "clear input", "end game after: x"}));
  EXPECT_TRUE(r.terminating());
}

TEST_F(ErrorPath, AbortOnErrorsEndsTheGameEvenWithoutTheWindow) {
  CErrorReporter quiet;
  Wire(quiet);
  quiet.settings = {false, true, true};
  quiet.Deliver("y", false);
  EXPECT_EQ(events, (std::vector<std::string>{"clear input", "end game after: y"}));
  EXPECT_EQ(ReadFile(dir / "game_errors.log"), "y\r\n\r\n\r\n");
}

TEST_F(ErrorPath, LogReplacesTheLastRunsFileThenAppends) {
  { std::ofstream(dir / "game_errors.log", std::ios::binary) << "left from the last run\r\n"; }
  r.settings = {false, true, false};  // errors only logged and remembered
  r.Deliver("Error in code at line 1:\r   x = \r\rat position 5: y", false);
  r.Deliver("ERROR in\r\naction number 1", false);
  EXPECT_EQ(ReadFile(dir / "game_errors.log"),
            "Error in code at line 1:\r   x = \r\rat position 5: y\r\n\r\n\r\n"
            "ERROR in\r\naction number 1\r\n\r\n\r\n");
  EXPECT_EQ(events, (std::vector<std::string>{"clear input", "clear input"}));
  EXPECT_EQ(r.last_message, "ERROR in\r\naction number 1");
  // The next run starts the file afresh.
  CErrorReporter next;
  Wire(next);
  next.settings = {false, true, false};
  next.Deliver("again", false);
  EXPECT_EQ(ReadFile(dir / "game_errors.log"), "again\r\n\r\n\r\n");
}

TEST_F(ErrorPath, ALogThatCannotBeWrittenIsSwallowed) {
  r.log_path = (dir / "no such folder" / "game_errors.log").string();
  r.settings = {false, true, false};
  r.Deliver("m", false);
  EXPECT_EQ(r.last_message, "m");
  EXPECT_TRUE(r.occurred);
  // The log goes to the working directory by default.
  EXPECT_EQ(CErrorReporter().log_path, "game_errors.log");
}

}  // namespace
}  // namespace zorvex
