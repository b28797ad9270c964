#include "functions/Function_File.h"

#include <filesystem>
#include <system_error>

#include "code/Code_Function.h"
#include "code/Code_Round.h"
#include "game/Game.h"
#include "platform/Platform_Environment.h"
#include "platform/Platform_Path.h"

namespace zorvex {

namespace {

const std::string& StringArg(const RValue& v) {
  static const std::string kEmpty;
  return v.IsString() ? v.str : kEmpty;
}

IncludedFileErrorSink Reporter(CGame& game) {
  return [&game](std::string_view message) { game.errors.ReportInContext(message, false); };
}

void ExportIncludeFile(CGame& game, CInstanceCore*, CInstanceCore*, int, RValue* args, RValue&) {
  game.resources.included_files.ExportByName(StringArg(args[0]), Reporter(game));
}

void ExportIncludeFileLocation(CGame& game, CInstanceCore*, CInstanceCore*, int, RValue* args,
                               RValue&) {
  game.resources.included_files.ExportToLocation(StringArg(args[0]), StringArg(args[1]),
                                                 Reporter(game));
}

void DiscardIncludeFile(CGame& game, CInstanceCore*, CInstanceCore*, int, RValue* args, RValue&) {
  game.resources.included_files.DiscardByName(StringArg(args[0]), Reporter(game));
}

// The command line and the environment.

// The running program is the game file (the runner's own executable when it carries the game),
// given with its full path in the game's form.
std::string ProgramPath(const CGame& game) {
  std::error_code ec;
  std::filesystem::path p = game.options.game_path.empty()
                                ? std::filesystem::read_symlink("/proc/self/exe", ec)
                                : std::filesystem::absolute(game.options.game_path, ec);
  if (ec) p = game.options.game_path;
  return ToGamePath(p.lexically_normal().string());
}

void ParameterCount(CGame& game, CInstanceCore*, CInstanceCore*, int, RValue*, RValue& result) {
  result.SetReal(static_cast<double>(game.options.game_parameters.size()));
}

void ParameterString(CGame& game, CInstanceCore*, CInstanceCore*, int, RValue* args,
                     RValue& result) {
  const int64_t n = RoundToInt64(args[0].real);
  const auto& params = game.options.game_parameters;
  if (n == 0) {
    result.SetString(ProgramPath(game));
  } else if (n > 0 && static_cast<uint64_t>(n) <= params.size()) {
    result.SetString(params[static_cast<size_t>(n - 1)]);
  } else {
    result.SetString("");
  }
}

void EnvironmentGetVariable(CGame&, CInstanceCore*, CInstanceCore*, int, RValue* args,
                            RValue& result) {
  result.SetString(EnvironmentVariable(StringArg(args[0])));
}

}  // namespace

void RegisterFileFunctions(CFunctionTable& table) {
  // In the family's order; the file, program, registry and INI functions around them are
  // added as they are built.
  table.Register("parameter_count", ParameterCount, 0);
  table.Register("parameter_string", ParameterString, 1);
  table.Register("environment_get_variable", EnvironmentGetVariable, 1);
  table.Register("export_include_file", ExportIncludeFile, 1);
  table.Register("export_include_file_location", ExportIncludeFileLocation, 2);
  table.Register("discard_include_file", DiscardIncludeFile, 1);
}

}  // namespace zorvex
