// The command line of zorvex-run: every option, checked before anything starts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform_Input.h"

namespace zorvex {

// One line of an --input file: the message is delivered before step `step` runs.
struct ScriptedInput {
  int64_t step = 1;
  InputMessage message;
  bool operator==(const ScriptedInput&) const = default;
};

struct ScreenshotRequest {
  int64_t step = 1;
  std::string file;
};

struct CRunOptions {
  std::string game_path;  // empty: the runner's own executable
  // The game's own command-line parameters (parameter_count, parameter_string): the arguments
  // after "--" that follow the game file.
  std::vector<std::string> game_parameters;
  bool headless = false;
  int64_t max_steps = -1;  // -1: no limit
  bool fast = false;
  bool has_seed = false;
  int64_t seed = 0;
  bool debug_messages = false;
  std::vector<ScreenshotRequest> screenshots;
  std::string input_path;
  std::vector<ScriptedInput> input;  // in file order, then stably by step
  std::string answers_path;
  std::vector<std::string> answers;
  bool show_help = false;
};

// Parses the arguments after the program name and reads the --input and --answers files.
// False with a one-line reason on any bad argument.
bool ParseCommandLine(const std::vector<std::string>& args, CRunOptions& options,
                      std::string& error);

// Parses the text of an --input file. Blank lines and lines starting with '#' are skipped.
// False with "line N: ..." for the first bad line.
bool ParseInputScript(std::string_view text, std::vector<ScriptedInput>& events,
                      std::string& error);

const char* UsageText();

}  // namespace zorvex
