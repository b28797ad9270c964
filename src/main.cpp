#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "game/Game.h"
#include "game/Game_Load.h"
#include "platform/Platform_Window.h"
#include "runner/Runner_CommandLine.h"

int main(int argc, char** argv) {
  using namespace zorvex;
  std::vector<std::string> args(argv + 1, argv + argc);
  CRunOptions options;
  std::string error;
  if (!ParseCommandLine(args, options, error)) {
    std::fprintf(stderr, "zorvex-run: %s\n%s", error.c_str(), UsageText());
    return 2;
  }
  if (options.show_help) {
    std::fputs(UsageText(), stdout);
    return 0;
  }
  std::string why;
  if (!StartPlatform(options.headless, why) && !options.headless)
    std::fprintf(stderr, "zorvex-run: no display to show windows on (%s)\n", why.c_str());
  int status;
  try {
    // The game (and with it the temporary directory) is destroyed on every way out of here.
    CGame game;
    game.options = std::move(options);
    status = RunRunner(game);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zorvex-run: unexpected failure: %s\n", e.what());
    status = 1;
  } catch (...) {
    std::fprintf(stderr, "zorvex-run: unexpected failure\n");
    status = 1;
  }
  StopPlatform();
  return status;
}
