// The miscellaneous family: running code given as text, variables by name, process and
// clipboard services, and the calendar.
#include "functions/Function_Misc.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "code/Code_Function.h"
#include "code/Code_Round.h"
#include "code/Code_Variable.h"
#include "functions/Function_Misc_Date.h"
#include "game/Game.h"
#include "platform/Platform_Clipboard.h"
#include "platform/Platform_Path.h"
#include "platform/Platform_Process.h"
#include "platform/Platform_Text.h"

namespace zorvex {

void ShowDebugMessage(CGame& game, std::string_view text) {
  // The debugger's message window does not exist in this runner; --debug-messages is where
  // the messages can be seen, one line each.
  if (!game.options.debug_messages) return;
  std::string line = Cp1252ToUtf8(text);
  line.push_back('\n');
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
}

void ExecuteCodeText(CGame& game, CInstanceCore* self, CInstanceCore* other, std::string_view text,
                     const RValue* args, int count, std::string_view compile_prefix,
                     RValue& result) {
  CLanguage& lang = game.language;
  // The code gets an argument array of its own; the caller's comes back afterwards.
  if (count > kArgumentCount) count = kArgumentCount;
  CExecState& ex = lang.exec;
  RValue* block = ex.PushArguments();
  int& dirty = ex.TopDirty();
  for (int i = 0; i < count; ++i)
    block[i] = args[i];
  for (int i = count; i < kArgumentCount; ++i)
    block[i].SetReal(0);
  dirty = count;
  RValue* saved = lang.arguments;
  int* saved_dirty = lang.arguments_dirty;
  lang.arguments = block;
  lang.arguments_dirty = &dirty;
  CCode code(text, false);
  if (!code.Compile(lang)) {
    std::string message(compile_prefix);
    message += '\r';
    message += lang.error.message;
    // Shown, so no longer pending: the calling code may record errors of its own again.
    ClearError(lang);
    game.errors.Deliver(message, false);
  } else {
    code.ExecuteAndReport(lang, self, other, result);
  }
  lang.arguments = saved;
  lang.arguments_dirty = saved_dirty;
  ex.PopArguments();
}

namespace {

#define ZV_HANDLER(name)                                                        \
  void name([[maybe_unused]] CGame& game, [[maybe_unused]] CInstanceCore* self, \
            [[maybe_unused]] CInstanceCore* other, [[maybe_unused]] int argc,   \
            [[maybe_unused]] RValue* args, [[maybe_unused]] RValue& result)

int64_t Arg(const RValue* args, int i) {
  return RoundToInt64(args[i].real);
}

double TimeValue(int64_t hour, int64_t minute, int64_t second) {
  return static_cast<double>((hour * 60 + minute) * 60 + second) / 86400.0;
}

double Sign(double v) {
  return v < 0 ? -1.0 : (v > 0 ? 1.0 : 0.0);
}

// Two values closer than a millisecond are the same moment.
double CompareWithin(double a, double b) {
  double diff = a - b;
  return std::fabs(diff) < 1.0 / static_cast<double>(kMsPerDay) ? 0.0 : Sign(diff);
}

// Calls f with the decoded parts of args[0]; the result stays 0 for a value that is no date.
template <typename F>
void WithParts(const RValue* args, RValue& result, F f) {
  CDateTimeParts p;
  if (DecodeDateTime(args[0].real, p)) result.SetReal(static_cast<double>(f(p)));
}

// Code execution.

constexpr const char* kStringCompileError = "COMPILATION ERROR in string to be executed";
constexpr const char* kFileCompileError = "COMPILATION ERROR in file to be executed";

ZV_HANDLER(F_execute_string) {
  if (argc < 1) return;
  ExecuteCodeText(game, self, other, args[0].str, args + 1, argc - 1, kStringCompileError, result);
}

// The lines of a text file (CR LF, LF or CR ends a line), each followed by a carriage return.
bool ReadCodeFile(const std::string& path, std::string& out) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return false;
  out.clear();
  out.reserve(bytes.size() + 1);
  const size_t n = bytes.size();
  size_t i = 0;
  while (i < n) {
    size_t end = bytes.find_first_of("\r\n", i);
    if (end == std::string::npos) end = n;
    out.append(bytes, i, end - i);
    out.push_back('\r');
    if (end == n) break;
    i = end + 1;
    if (bytes[end] == '\r' && i < n && bytes[i] == '\n') ++i;
  }
  return true;
}

ZV_HANDLER(F_execute_file) {
  if (argc < 1) return;
  std::string text;
  if (!ReadCodeFile(TranslatePath(args[0].str), text)) {
    game.errors.ReportInContext("Trying to execute non-existing file.", false);
    return;
  }
  ExecuteCodeText(game, self, other, text, args + 1, argc - 1, kFileCompileError, result);
}

// Variables by name. Reading a name that no code has used finds nothing, as the variable
// cannot exist; only writing adds the name to the name table.

int32_t FindVariableId(const CLanguage& lang, const std::string& name) {
  int32_t id = lang.builtins.Find(name);
  return id >= 0 ? id : lang.names.Find(name);
}

// One written index: 0 to 31999, else the error and false.
bool IndexArgument(CGame& game, const RValue& v, int64_t& out) {
  out = RoundToInt64(v.real);
  if (out >= 0 && out < 32000) return true;
  game.errors.ReportInContext("Array index >= 32000", false);
  return false;
}

bool CombinedIndex(CGame& game, const RValue* args, int n, int64_t& out) {
  out = 0;
  if (n == 0) return true;
  int64_t i;
  if (!IndexArgument(game, args[0], i)) return false;
  if (n == 1) {
    out = i;
    return true;
  }
  int64_t j;
  if (!IndexArgument(game, args[1], j)) return false;
  out = i * 32000 + j;
  return true;
}

// Reads through the global list or the self instance; false when the variable is not there.
bool ReadByName(CGame& game, CInstanceCore* self, bool global, const std::string& name,
                int64_t index, RValue& out) {
  CLanguage& lang = game.language;
  int32_t id = FindVariableId(lang, name);
  if (id < 0) {
    // Never named, so missing: only the setting makes it real 0.
    if (!lang.uninitialised_as_zero) return false;
    out.SetReal(0);
    return true;
  }
  if (global) return lang.globals.Get(id, index, out, lang.uninitialised_as_zero);
  return self != nullptr && ReadInstanceVariable(lang, self, id, index, out);
}

template <bool kGlobal, int kIndices>
void GetByName(CGame& game, CInstanceCore* self, RValue* args, RValue& result) {
  int64_t index;
  if (!CombinedIndex(game, args + 1, kIndices, index)) return;
  RValue v;
  if (ReadByName(game, self, kGlobal, args[0].str, index, v)) result = std::move(v);
}

template <bool kGlobal, int kIndices>
void SetByName(CGame& game, CInstanceCore* self, RValue* args) {
  int64_t index;
  if (!CombinedIndex(game, args + 1, kIndices, index)) return;
  CLanguage& lang = game.language;
  int32_t id = ResolveVariableName(lang, args[0].str);
  const RValue& value = args[1 + kIndices];
  if (kGlobal) {
    lang.globals.Set(id, index, value);
  } else if (self != nullptr) {
    WriteInstanceVariable(lang, self, id, index, value);
  }
}

ZV_HANDLER(F_variable_global_exists) {
  RValue v;
  result.SetReal(ReadByName(game, self, true, args[0].str, 0, v) ? 1.0 : 0.0);
}
ZV_HANDLER(F_variable_global_get) {
  GetByName<true, 0>(game, self, args, result);
}
ZV_HANDLER(F_variable_global_array_get) {
  GetByName<true, 1>(game, self, args, result);
}
ZV_HANDLER(F_variable_global_array2_get) {
  GetByName<true, 2>(game, self, args, result);
}
ZV_HANDLER(F_variable_global_set) {
  SetByName<true, 0>(game, self, args);
}
ZV_HANDLER(F_variable_global_array_set) {
  SetByName<true, 1>(game, self, args);
}
ZV_HANDLER(F_variable_global_array2_set) {
  SetByName<true, 2>(game, self, args);
}
ZV_HANDLER(F_variable_local_exists) {
  RValue v;
  result.SetReal(ReadByName(game, self, false, args[0].str, 0, v) ? 1.0 : 0.0);
}
ZV_HANDLER(F_variable_local_get) {
  GetByName<false, 0>(game, self, args, result);
}
ZV_HANDLER(F_variable_local_array_get) {
  GetByName<false, 1>(game, self, args, result);
}
ZV_HANDLER(F_variable_local_array2_get) {
  GetByName<false, 2>(game, self, args, result);
}
ZV_HANDLER(F_variable_local_set) {
  SetByName<false, 0>(game, self, args);
}
ZV_HANDLER(F_variable_local_array_set) {
  SetByName<false, 1>(game, self, args);
}
ZV_HANDLER(F_variable_local_array2_set) {
  SetByName<false, 2>(game, self, args);
}

// Process and clipboard.

ZV_HANDLER(F_window_handle) {
  result.SetReal(static_cast<double>(SystemWindowHandle(game.window.Handle())));
}
ZV_HANDLER(F_show_debug_message) {
  ShowDebugMessage(game, args[0].str);
}
ZV_HANDLER(F_set_program_priority) {
  SetProgramPriority(RoundToInt32(args[0].real));
}
ZV_HANDLER(F_clipboard_has_text) {
  result.SetReal(ClipboardHasText() ? 1.0 : 0.0);
}
ZV_HANDLER(F_clipboard_get_text) {
  result.SetString(ClipboardText());
}
ZV_HANDLER(F_clipboard_set_text) {
  SetClipboardText(args[0].str);
}

// The calendar.

// Now and its parts.

ZV_HANDLER(F_date_current_datetime) {
  result.SetReal(CurrentDateTime());
}
ZV_HANDLER(F_date_current_date) {
  result.SetReal(std::floor(CurrentDateTime()));
}
ZV_HANDLER(F_date_current_time) {
  double now = CurrentDateTime();
  result.SetReal(now - std::floor(now));
}

// Creation and validity.

ZV_HANDLER(F_date_create_datetime) {
  int64_t y = Arg(args, 0), mo = Arg(args, 1), d = Arg(args, 2);
  int64_t h = Arg(args, 3), mi = Arg(args, 4), s = Arg(args, 5);
  if (!IsValidDate(y, mo, d) || !IsValidTime(h, mi, s)) return;
  result.SetReal(static_cast<double>(DayNumber(y, static_cast<int>(mo), static_cast<int>(d))) +
                 TimeValue(h, mi, s));
}
ZV_HANDLER(F_date_create_date) {
  int64_t y = Arg(args, 0), mo = Arg(args, 1), d = Arg(args, 2);
  if (!IsValidDate(y, mo, d)) return;
  result.SetReal(static_cast<double>(DayNumber(y, static_cast<int>(mo), static_cast<int>(d))));
}
ZV_HANDLER(F_date_create_time) {
  int64_t h = Arg(args, 0), mi = Arg(args, 1), s = Arg(args, 2);
  if (IsValidTime(h, mi, s)) result.SetReal(TimeValue(h, mi, s));
}
ZV_HANDLER(F_date_valid_datetime) {
  result.SetReal(IsValidDate(Arg(args, 0), Arg(args, 1), Arg(args, 2)) &&
                         IsValidTime(Arg(args, 3), Arg(args, 4), Arg(args, 5))
                     ? 1.0
                     : 0.0);
}
ZV_HANDLER(F_date_valid_date) {
  result.SetReal(IsValidDate(Arg(args, 0), Arg(args, 1), Arg(args, 2)) ? 1.0 : 0.0);
}
ZV_HANDLER(F_date_valid_time) {
  result.SetReal(IsValidTime(Arg(args, 0), Arg(args, 1), Arg(args, 2)) ? 1.0 : 0.0);
}

// Moving a date.

ZV_HANDLER(F_date_inc_year) {
  int64_t years = Arg(args, 1);
  constexpr int64_t kLimit = INT64_MAX / 12;
  if (years > kLimit || years < -kLimit) return;
  result.SetReal(IncMonths(args[0].real, years * 12));
}
ZV_HANDLER(F_date_inc_month) {
  result.SetReal(IncMonths(args[0].real, Arg(args, 1)));
}
ZV_HANDLER(F_date_inc_week) {
  result.SetReal(args[0].real + static_cast<double>(Arg(args, 1)) * 7.0);
}
ZV_HANDLER(F_date_inc_day) {
  result.SetReal(args[0].real + static_cast<double>(Arg(args, 1)));
}
ZV_HANDLER(F_date_inc_hour) {
  result.SetReal(args[0].real + static_cast<double>(Arg(args, 1)) / 24.0);
}
ZV_HANDLER(F_date_inc_minute) {
  result.SetReal(args[0].real + static_cast<double>(Arg(args, 1)) / 1440.0);
}
ZV_HANDLER(F_date_inc_second) {
  result.SetReal(args[0].real + static_cast<double>(Arg(args, 1)) / 86400.0);
}

// Parts of a date.

ZV_HANDLER(F_date_get_year) {
  WithParts(args, result, [](const CDateTimeParts& p) { return p.year; });
}
ZV_HANDLER(F_date_get_month) {
  WithParts(args, result, [](const CDateTimeParts& p) { return p.month; });
}
ZV_HANDLER(F_date_get_day) {
  WithParts(args, result, [](const CDateTimeParts& p) { return p.day; });
}
ZV_HANDLER(F_date_get_hour) {
  WithParts(args, result, [](const CDateTimeParts& p) { return p.hour; });
}
ZV_HANDLER(F_date_get_minute) {
  WithParts(args, result, [](const CDateTimeParts& p) { return p.minute; });
}
ZV_HANDLER(F_date_get_second) {
  WithParts(args, result, [](const CDateTimeParts& p) { return p.second; });
}
ZV_HANDLER(F_date_get_week) {
  WithParts(args, result, [](const CDateTimeParts& p) { return IsoWeek(p.day_number); });
}
ZV_HANDLER(F_date_get_weekday) {
  WithParts(args, result, [](const CDateTimeParts& p) { return Weekday(p.day_number); });
}
ZV_HANDLER(F_date_get_day_of_year) {
  WithParts(args, result, [](const CDateTimeParts& p) { return DayOfYear(p.day_number); });
}
int64_t HourOfYear(const CDateTimeParts& p) {
  return (DayOfYear(p.day_number) - int64_t{1}) * 24 + p.hour;
}
ZV_HANDLER(F_date_get_hour_of_year) {
  WithParts(args, result, HourOfYear);
}
ZV_HANDLER(F_date_get_minute_of_year) {
  WithParts(args, result, [](const CDateTimeParts& p) { return HourOfYear(p) * 60 + p.minute; });
}
ZV_HANDLER(F_date_get_second_of_year) {
  WithParts(args, result, [](const CDateTimeParts& p) {
    return (HourOfYear(p) * 60 + p.minute) * 60 + p.second;
  });
}

// Spans: the absolute difference in days, scaled.

double SpanDays(const RValue* args) {
  return std::fabs(args[0].real - args[1].real);
}
ZV_HANDLER(F_date_year_span) {
  result.SetReal(SpanDays(args) / 365.25);
}
ZV_HANDLER(F_date_month_span) {
  result.SetReal(SpanDays(args) / 30.4375);
}
ZV_HANDLER(F_date_week_span) {
  result.SetReal(SpanDays(args) / 7.0);
}
ZV_HANDLER(F_date_day_span) {
  result.SetReal(SpanDays(args));
}
ZV_HANDLER(F_date_hour_span) {
  result.SetReal(SpanDays(args) * 24.0);
}
ZV_HANDLER(F_date_minute_span) {
  result.SetReal(SpanDays(args) * 1440.0);
}
ZV_HANDLER(F_date_second_span) {
  result.SetReal(SpanDays(args) * 86400.0);
}

// Comparison and splitting.

ZV_HANDLER(F_date_compare_datetime) {
  result.SetReal(CompareWithin(args[0].real, args[1].real));
}
ZV_HANDLER(F_date_compare_date) {
  result.SetReal(Sign(std::floor(args[0].real) - std::floor(args[1].real)));
}
ZV_HANDLER(F_date_compare_time) {
  double a = args[0].real;
  double b = args[1].real;
  result.SetReal(CompareWithin(a - std::floor(a), b - std::floor(b)));
}
ZV_HANDLER(F_date_date_of) {
  result.SetReal(std::floor(args[0].real));
}
ZV_HANDLER(F_date_time_of) {
  result.SetReal(args[0].real - std::floor(args[0].real));
}

// Text.

ZV_HANDLER(F_date_datetime_string) {
  result.SetString(DateTimeString(args[0].real));
}
ZV_HANDLER(F_date_date_string) {
  result.SetString(DateString(args[0].real));
}
ZV_HANDLER(F_date_time_string) {
  result.SetString(TimeString(args[0].real));
}

// The calendar of a date.

ZV_HANDLER(F_date_days_in_month) {
  WithParts(args, result, [](const CDateTimeParts& p) { return DaysInMonth(p.year, p.month); });
}
ZV_HANDLER(F_date_days_in_year) {
  WithParts(args, result, [](const CDateTimeParts& p) { return IsLeapYear(p.year) ? 366 : 365; });
}
ZV_HANDLER(F_date_leap_year) {
  WithParts(args, result, [](const CDateTimeParts& p) { return IsLeapYear(p.year) ? 1 : 0; });
}
ZV_HANDLER(F_date_is_today) {
  CDateTimeParts p;
  CDateTimeParts now;
  if (DecodeDateTime(args[0].real, p) && DecodeDateTime(CurrentDateTime(), now))
    result.SetReal(p.day_number == now.day_number ? 1.0 : 0.0);
}

#undef ZV_HANDLER

struct MiscFunction {
  const char* name;
  BuiltinHandler handler;
  int32_t argc;
};

// Registration order fixes the function ids. The external-library functions belong between
// the code execution functions and the variables; they are added when they are built.
constexpr MiscFunction kMiscFunctions[] = {
    {"execute_string", F_execute_string, kAnyArgumentCount},
    {"execute_file", F_execute_file, kAnyArgumentCount},
    {"variable_global_exists", F_variable_global_exists, 1},
    {"variable_global_get", F_variable_global_get, 1},
    {"variable_global_array_get", F_variable_global_array_get, 2},
    {"variable_global_array2_get", F_variable_global_array2_get, 3},
    {"variable_global_set", F_variable_global_set, 2},
    {"variable_global_array_set", F_variable_global_array_set, 3},
    {"variable_global_array2_set", F_variable_global_array2_set, 4},
    {"variable_local_exists", F_variable_local_exists, 1},
    {"variable_local_get", F_variable_local_get, 1},
    {"variable_local_array_get", F_variable_local_array_get, 2},
    {"variable_local_array2_get", F_variable_local_array2_get, 3},
    {"variable_local_set", F_variable_local_set, 2},
    {"variable_local_array_set", F_variable_local_array_set, 3},
    {"variable_local_array2_set", F_variable_local_array2_set, 4},
    {"window_handle", F_window_handle, 0},
    {"show_debug_message", F_show_debug_message, 1},
    {"set_program_priority", F_set_program_priority, 1},
    {"clipboard_has_text", F_clipboard_has_text, 0},
    {"clipboard_get_text", F_clipboard_get_text, 0},
    {"clipboard_set_text", F_clipboard_set_text, 1},
};

constexpr MiscFunction kCalendarFunctions[] = {
    {"date_current_datetime", F_date_current_datetime, 0},
    {"date_current_date", F_date_current_date, 0},
    {"date_current_time", F_date_current_time, 0},
    {"date_create_datetime", F_date_create_datetime, 6},
    {"date_create_date", F_date_create_date, 3},
    {"date_create_time", F_date_create_time, 3},
    {"date_valid_datetime", F_date_valid_datetime, 6},
    {"date_valid_date", F_date_valid_date, 3},
    {"date_valid_time", F_date_valid_time, 3},
    {"date_inc_year", F_date_inc_year, 2},
    {"date_inc_month", F_date_inc_month, 2},
    {"date_inc_week", F_date_inc_week, 2},
    {"date_inc_day", F_date_inc_day, 2},
    {"date_inc_hour", F_date_inc_hour, 2},
    {"date_inc_minute", F_date_inc_minute, 2},
    {"date_inc_second", F_date_inc_second, 2},
    {"date_get_year", F_date_get_year, 1},
    {"date_get_month", F_date_get_month, 1},
    {"date_get_day", F_date_get_day, 1},
    {"date_get_hour", F_date_get_hour, 1},
    {"date_get_minute", F_date_get_minute, 1},
    {"date_get_second", F_date_get_second, 1},
    {"date_get_week", F_date_get_week, 1},
    {"date_get_weekday", F_date_get_weekday, 1},
    {"date_get_day_of_year", F_date_get_day_of_year, 1},
    {"date_get_hour_of_year", F_date_get_hour_of_year, 1},
    {"date_get_minute_of_year", F_date_get_minute_of_year, 1},
    {"date_get_second_of_year", F_date_get_second_of_year, 1},
    {"date_year_span", F_date_year_span, 2},
    {"date_month_span", F_date_month_span, 2},
    {"date_week_span", F_date_week_span, 2},
    {"date_day_span", F_date_day_span, 2},
    {"date_hour_span", F_date_hour_span, 2},
    {"date_minute_span", F_date_minute_span, 2},
    {"date_second_span", F_date_second_span, 2},
    {"date_compare_datetime", F_date_compare_datetime, 2},
    {"date_compare_date", F_date_compare_date, 2},
    {"date_compare_time", F_date_compare_time, 2},
    {"date_date_of", F_date_date_of, 1},
    {"date_time_of", F_date_time_of, 1},
    {"date_datetime_string", F_date_datetime_string, 1},
    {"date_date_string", F_date_date_string, 1},
    {"date_time_string", F_date_time_string, 1},
    {"date_days_in_month", F_date_days_in_month, 1},
    {"date_days_in_year", F_date_days_in_year, 1},
    {"date_leap_year", F_date_leap_year, 1},
    {"date_is_today", F_date_is_today, 1},
};
static_assert(std::size(kCalendarFunctions) == 47);

}  // namespace

void RegisterMiscFunctions(CFunctionTable& table) {
  for (const MiscFunction& f : kMiscFunctions)
    table.Register(f.name, f.handler, f.argc);
  for (const MiscFunction& f : kCalendarFunctions)
    table.Register(f.name, f.handler, f.argc);
}

}  // namespace zorvex
