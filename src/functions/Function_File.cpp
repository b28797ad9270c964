#include "functions/Function_File.h"

#include "code/Code_Function.h"
#include "game/Game.h"

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

}  // namespace

void RegisterFileFunctions(CFunctionTable& table) {
  table.Register("export_include_file", ExportIncludeFile, 1);
  table.Register("export_include_file_location", ExportIncludeFileLocation, 2);
  table.Register("discard_include_file", DiscardIncludeFile, 1);
}

}  // namespace zorvex
