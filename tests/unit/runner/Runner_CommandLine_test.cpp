#include "runner/Runner_CommandLine.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace zorvex {
namespace {

std::string WriteTemp(const std::string& name, const std::string& text) {
  std::string path = testing::TempDir() + "/" + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

TEST(RunnerCommandLine, EveryOption) {
  std::string input = WriteTemp("in.txt", "3 key_down 37\n# comment\n\n1 mouse_move -5 7\r\n");
  std::string answers = WriteTemp("answers.txt", "yes\r\nno\n");
  CRunOptions o;
  std::string error;
  ASSERT_TRUE(ParseCommandLine({"--headless", "game.exe", "--max-steps", "10", "--fast", "--seed",
                                "-4", "--debug-messages", "--screenshot", "5:a.png", "--screenshot",
                                "7:dir/b:c.png", "--input", input, "--answers", answers},
                               o, error))
      << error;
  EXPECT_EQ(o.game_path, "game.exe");
  EXPECT_TRUE(o.headless && o.fast && o.debug_messages && o.has_seed);
  EXPECT_EQ(o.max_steps, 10);
  EXPECT_EQ(o.seed, -4);
  ASSERT_EQ(o.screenshots.size(), 2u);
  EXPECT_EQ(o.screenshots[1].step, 7);
  EXPECT_EQ(o.screenshots[1].file, "dir/b:c.png");
  ASSERT_EQ(o.input.size(), 2u);
  // Ordered by step.
  EXPECT_EQ(o.input[0], (ScriptedInput{1, {InputKind::kMouseMove, 0, -5, 7}}));
  EXPECT_EQ(o.input[1], (ScriptedInput{3, {InputKind::kKeyDown, 37, 0, 0}}));
  EXPECT_EQ(o.answers, (std::vector<std::string>{"yes", "no"}));

  ASSERT_TRUE(ParseCommandLine({}, o, error));
  EXPECT_EQ(o.game_path, "");
  EXPECT_EQ(o.max_steps, -1);
  EXPECT_FALSE(o.has_seed);
}

TEST(RunnerCommandLine, ArgumentsAfterTheGameFileAndDoubleDashAreTheGamesOwn) {
  CRunOptions o;
  std::string error;
  ASSERT_TRUE(ParseCommandLine({"game.exe", "--headless", "--", "-level", "3", "--fast"}, o, error))
      << error;
  EXPECT_EQ(o.game_path, "game.exe");
  EXPECT_FALSE(o.fast);
  EXPECT_EQ(o.game_parameters, (std::vector<std::string>{"-level", "3", "--fast"}));
  ASSERT_TRUE(ParseCommandLine({"--", "-odd.exe", "p"}, o, error)) << error;
  EXPECT_EQ(o.game_path, "-odd.exe");
  EXPECT_EQ(o.game_parameters, (std::vector<std::string>{"p"}));
  ASSERT_TRUE(ParseCommandLine({"game.exe"}, o, error)) << error;
  EXPECT_TRUE(o.game_parameters.empty());
  // Before the double dash a second file is still a mistake.
  EXPECT_FALSE(ParseCommandLine({"a.exe", "b.exe", "--", "c"}, o, error));
}

TEST(RunnerCommandLine, BadArgumentsAreRefused) {
  CRunOptions o;
  std::string error;
  const std::vector<std::vector<std::string>> bad = {
      {"--max-steps"},
      {"--max-steps", "x"},
      {"--max-steps", "-1"},
      {"--max-steps", "5x"},
      {"--seed", "1.5"},
      {"--seed", "99999999999"},
      {"--screenshot", "a.png"},
      {"--screenshot", "0:a"},
      {"--screenshot", "3:"},
      {"--input", "/nonexistent/file"},
      {"--answers", "/nonexistent/file"},
      {"--bogus"},
      {"a.exe", "b.exe"},
  };
  for (const auto& args : bad) {
    error.clear();
    EXPECT_FALSE(ParseCommandLine(args, o, error)) << args[0];
    EXPECT_FALSE(error.empty());
  }
  EXPECT_TRUE(ParseCommandLine({"--", "--odd-name.exe"}, o, error));
  EXPECT_EQ(o.game_path, "--odd-name.exe");
}

TEST(RunnerCommandLine, InputScriptEvents) {
  std::vector<ScriptedInput> ev;
  std::string error;
  ASSERT_TRUE(ParseInputScript(
      "2 key_up 255\n2 char 0\n4 mouse_down left\n4 mouse_up right\n5 mouse_down middle\n"
      "6 wheel_up\n6 wheel_down\n7 close\n1   key_down\t65  \n",
      ev, error))
      << error;
  ASSERT_EQ(ev.size(), 9u);
  EXPECT_EQ(ev[0], (ScriptedInput{1, {InputKind::kKeyDown, 65, 0, 0}}));
  EXPECT_EQ(ev[1], (ScriptedInput{2, {InputKind::kKeyUp, 255, 0, 0}}));
  EXPECT_EQ(ev[2], (ScriptedInput{2, {InputKind::kChar, 0, 0, 0}}));
  EXPECT_EQ(ev[3].message, (InputMessage{InputKind::kMouseDown, 1, 0, 0}));
  EXPECT_EQ(ev[4].message, (InputMessage{InputKind::kMouseUp, 2, 0, 0}));
  EXPECT_EQ(ev[5].message, (InputMessage{InputKind::kMouseDown, 3, 0, 0}));
  EXPECT_EQ(ev[6].message.kind, InputKind::kWheelUp);
  EXPECT_EQ(ev[7].message.kind, InputKind::kWheelDown);
  EXPECT_EQ(ev[8].message.kind, InputKind::kClose);
}

TEST(RunnerCommandLine, BadInputLinesNameTheirNumber) {
  struct Case {
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {"1 key_down 37\n0 key_down 37\n", "line 2: the step must be a whole number from 1 up"},
      {"x key_down 1\n", "line 1: the step must be a whole number from 1 up"},
      {"# only a comment\n\n5\n", "line 3: an event must follow the step"},
      {"1 jump\n", "line 1: unknown event \"jump\""},
      {"1 key_down 256\n", "line 1: a virtual-key code is 0 to 255"},
      {"1 key_down\n", "line 1: key_down takes 1 argument"},
      {"1 char -1\n", "line 1: a character code is 0 to 255"},
      {"1 mouse_move 3\n", "line 1: mouse_move takes 2 arguments"},
      {"1 mouse_move 3 y\n", "line 1: mouse_move takes two whole numbers"},
      {"1 mouse_down up\n", "line 1: the button is left, right or middle"},
      {"1 close now\n", "line 1: close takes 0 arguments"},
  };
  for (const Case& c : cases) {
    std::vector<ScriptedInput> ev;
    std::string error;
    EXPECT_FALSE(ParseInputScript(c.text, ev, error)) << c.text;
    EXPECT_EQ(error, c.error);
    EXPECT_TRUE(ev.empty());
  }
  std::string path = WriteTemp("bad.txt", "1 close\n2 wheel\n");
  CRunOptions o;
  std::string error;
  EXPECT_FALSE(ParseCommandLine({"--input", path}, o, error));
  EXPECT_EQ(error, path + ": line 2: unknown event \"wheel\"");
}

}  // namespace
}  // namespace zorvex
