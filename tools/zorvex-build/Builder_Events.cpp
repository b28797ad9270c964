#include "zorvex-build/Builder_Events.h"

#include <cstdlib>

#include "resources/Object_Class.h"
#include "zorvex-build/Builder_Catalog.h"
#include "zorvex-build/Builder_Project.h"
#include "zorvex-build/Builder_Text.h"

namespace zorvex {

namespace {

struct FixedEvent {
  const char* key;
  int32_t type;
  int32_t number;
};
constexpr FixedEvent kFixedEvents[] = {
    {"create", 0, 0},     {"destroy", 1, 0},  {"step", 3, 0},
    {"step_begin", 3, 1}, {"step_end", 3, 2}, {"draw", 8, 0},
};

enum class Argument { kAlarm, kObject, kKey, kMouse, kOther };
struct PrefixEvent {
  const char* prefix;
  int32_t type;
  Argument argument;
};
constexpr PrefixEvent kPrefixEvents[] = {
    {"alarm", 2, Argument::kAlarm},     {"collision", 4, Argument::kObject},
    {"keyboard", 5, Argument::kKey},    {"mouse", 6, Argument::kMouse},
    {"other", 7, Argument::kOther},     {"keypress", 9, Argument::kKey},
    {"keyrelease", 10, Argument::kKey},
};

// Names with a number at the end: value = base + (n - first) for n from first to last.
struct NamedRange {
  const char* prefix;
  int32_t base, first, last;
};

constexpr NamedValue kKeyNames[] = {
    {"vk_nokey", 0},        {"vk_anykey", 1},     {"vk_backspace", 8},  {"vk_tab", 9},
    {"vk_enter", 13},       {"vk_return", 13},    {"vk_shift", 16},     {"vk_control", 17},
    {"vk_alt", 18},         {"vk_pause", 19},     {"vk_escape", 27},    {"vk_space", 32},
    {"vk_pageup", 33},      {"vk_pagedown", 34},  {"vk_end", 35},       {"vk_home", 36},
    {"vk_left", 37},        {"vk_up", 38},        {"vk_right", 39},     {"vk_down", 40},
    {"vk_printscreen", 44}, {"vk_insert", 45},    {"vk_delete", 46},    {"vk_multiply", 106},
    {"vk_add", 107},        {"vk_subtract", 109}, {"vk_decimal", 110},  {"vk_divide", 111},
    {"vk_lshift", 160},     {"vk_rshift", 161},   {"vk_lcontrol", 162}, {"vk_rcontrol", 163},
    {"vk_lalt", 164},       {"vk_ralt", 165},
};
constexpr NamedRange kKeyRanges[] = {{"vk_numpad", 96, 0, 9}, {"vk_f", 112, 1, 12}};

constexpr NamedValue kMouseNames[] = {
    {"left_button", 0},
    {"right_button", 1},
    {"middle_button", 2},
    {"no_button", 3},
    {"left_press", 4},
    {"right_press", 5},
    {"middle_press", 6},
    {"left_release", 7},
    {"right_release", 8},
    {"middle_release", 9},
    {"mouse_enter", 10},
    {"mouse_leave", 11},
    {"global_press", 12},
    {"global_release", 13},
    {"joystick1_left", 16},
    {"joystick1_right", 17},
    {"joystick1_up", 18},
    {"joystick1_down", 19},
    {"joystick2_left", 31},
    {"joystick2_right", 32},
    {"joystick2_up", 33},
    {"joystick2_down", 34},
    {"global_left_button", 50},
    {"global_right_button", 51},
    {"global_middle_button", 52},
    {"global_left_press", 53},
    {"global_right_press", 54},
    {"global_middle_press", 55},
    {"global_left_release", 56},
    {"global_right_release", 57},
    {"global_middle_release", 58},
    {"mouse_wheel_up", 60},
    {"mouse_wheel_down", 61},
};
constexpr NamedRange kMouseRanges[] = {{"joystick1_button", 21, 1, 8},
                                       {"joystick2_button", 36, 1, 8}};

constexpr NamedValue kOtherNames[] = {
    {"outside", 0},     {"boundary", 1},       {"game_start", 2},    {"game_end", 3},
    {"room_start", 4},  {"room_end", 5},       {"no_more_lives", 6}, {"animation_end", 7},
    {"end_of_path", 8}, {"no_more_health", 9}, {"close_button", 30},
};
constexpr NamedRange kOtherRanges[] = {
    {"user", 10, 0, 15}, {"outside_view", 40, 0, 7}, {"boundary_view", 50, 0, 7}};

constexpr NamedValue kActionKinds[] = {
    {"normal", CAction::kNormal},
    {"begin", CAction::kBeginBlock},
    {"end", CAction::kEndBlock},
    {"else", CAction::kElse},
    {"exit", CAction::kExit},
    {"repeat", CAction::kRepeat},
    {"variable", CAction::kSetVariable},
    {"code", CAction::kCode},
};
constexpr NamedValue kExeTypes[] = {
    {"none", CAction::kExeNone}, {"function", CAction::kExeFunction}, {"code", CAction::kExeCode}};
constexpr NamedValue kArgumentKinds[] = {
    {"expression", 0}, {"string", 1}, {"string_or_expression", 2}};

// A whole non-negative decimal number.
bool ParseNumber(const std::string& s, int32_t& out) {
  if (s.empty() || s.size() > 6) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  out = static_cast<int32_t>(std::strtol(s.c_str(), nullptr, 10));
  return true;
}

template <size_t N, size_t M>
bool FindNamed(const std::string& name, const NamedValue (&names)[N], const NamedRange (&ranges)[M],
               int32_t& out) {
  for (const NamedValue& n : names) {
    if (name == n.name) {
      out = n.value;
      return true;
    }
  }
  for (const NamedRange& r : ranges) {
    const std::string prefix = r.prefix;
    int32_t n;
    if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
        ParseNumber(name.substr(prefix.size()), n) && n >= r.first && n <= r.last) {
      out = r.base + n - r.first;
      return true;
    }
  }
  return false;
}

// A mouse or other event by name (with or without "ev_"), or a number 0-255.
template <size_t N, size_t M>
bool ParseEventName(const std::string& name, const NamedValue (&names)[N],
                    const NamedRange (&ranges)[M], int32_t& out) {
  if (ParseNumber(name, out)) return out <= kMaxEventNumber;
  const std::string bare = name.rfind("ev_", 0) == 0 ? name.substr(3) : name;
  return FindNamed(bare, names, ranges, out);
}

// An argument kind: one of the names, or any integer (kinds other than 1, 2 and 15 are
// expressions).
bool ArgumentKind(const Json& v, int32_t& out) {
  if (v.is_number_integer() && v.get<int64_t>() >= INT32_MIN && v.get<int64_t>() <= INT32_MAX) {
    out = static_cast<int32_t>(v.get<int64_t>());
    return true;
  }
  for (const NamedValue& n : kArgumentKinds) {
    if (v.is_string() && v.get<std::string>() == n.name) {
      out = n.value;
      return true;
    }
  }
  return false;
}

// One action given as an object.
bool ReadActionObject(const CActionSource& source, const Json& v, const std::string& field,
                      CAction& action, std::string& error) {
  CJsonFields f(v, source.file, field, error);
  if (!f.OnlyKnown({"library", "action", "kind", "exe_type", "function", "code", "args",
                    "arg_kinds", "relative", "may_be_relative", "applies_to", "applies_to_offered",
                    "not", "question"}))
    return false;
  CAction a;
  a.applies_to_offered = true;
  // Code alone makes a code action; a function, an action calling it.
  a.kind = f.Has("code") && !f.Has("kind") ? CAction::kCode : CAction::kNormal;
  if (!f.Int("library", a.library_id) || !f.Int("action", a.action_id) ||
      !f.Named("kind", kActionKinds, a.kind))
    return false;
  std::string code;
  if (!CodeField(f, "code", source.base, source.base_display, code)) return false;
  if (!f.Text("function", a.function_name)) return false;
  if (f.Has("function"))
    a.exe_type = CAction::kExeFunction;
  else if (f.Has("code") || a.kind == CAction::kCode || a.kind == CAction::kSetVariable)
    a.exe_type = CAction::kExeCode;
  if (!f.Named("exe_type", kExeTypes, a.exe_type)) return false;
  if (a.exe_type == CAction::kExeFunction && a.function_name.empty())
    return f.Fail("function", "an action that calls a function needs its name");

  // Arguments: texts as the action library takes them.
  std::vector<std::string> args;
  if (f.Has("args")) {
    const Json& list = v.at("args");
    if (!list.is_array()) return f.Fail("args", "expected a list of arguments");
    if (list.size() > static_cast<size_t>(CAction::kMaxArguments))
      return f.Fail("args", "an action takes at most 8 arguments");
    for (size_t i = 0; i < list.size(); ++i) {
      const Json& arg = list[i];
      const std::string at = "args[" + std::to_string(i) + "]";
      std::string text;
      if (arg.is_string()) {
        std::string why;
        if (!ToGameText(arg.get<std::string>(), text, why)) return f.Fail(at, why);
      } else if (arg.is_number()) {
        text = arg.dump();
      } else if (arg.is_boolean()) {
        text = arg.get<bool>() ? "1" : "0";
      } else {
        return f.Fail(at, "expected a string or a number");
      }
      args.push_back(std::move(text));
    }
  }
  if (f.Has("arg_kinds")) {
    const Json& list = v.at("arg_kinds");
    if (!list.is_array()) return f.Fail("arg_kinds", "expected a list of argument kinds");
    if (list.size() > args.size()) return f.Fail("arg_kinds", "more argument kinds than arguments");
    for (size_t i = 0; i < list.size(); ++i)
      if (!ArgumentKind(list[i], a.argument_kinds[i]))
        return f.Fail("arg_kinds[" + std::to_string(i) + "]",
                      "expected \"expression\", \"string\", \"string_or_expression\" or a "
                      "kind number");
  }
  if (a.kind == CAction::kCode) {
    if (f.Has("code") && !args.empty())
      return f.Fail("args", "a code action takes its code from \"code\" or from one argument");
    if (!f.Has("code")) {
      if (args.size() != 1) return f.Fail("args", "a code action takes its code as one argument");
      code = args[0];
    }
    CAction c = CAction::FromCode(std::move(code));
    c.library_id = a.library_id;
    c.action_id = a.action_id;
    c.exe_type = a.exe_type;
    c.applies_to_offered = a.applies_to_offered;
    a = std::move(c);
    args.clear();
  } else {
    a.code = std::move(code);
    if (a.kind == CAction::kSetVariable && args.size() != 2)
      return f.Fail("args", "a variable action takes the variable and the value");
  }
  for (size_t i = 0; i < args.size(); ++i)
    a.arguments[i] = std::move(args[i]);
  if (!args.empty()) a.argument_count = static_cast<int32_t>(args.size());

  a.may_be_relative = f.Has("relative") || a.kind == CAction::kSetVariable;
  if (!f.Bool("relative", a.relative) || !f.Bool("may_be_relative", a.may_be_relative) ||
      !f.Bool("applies_to_offered", a.applies_to_offered) || !f.Bool("not", a.not_flag) ||
      !f.Bool("question", a.is_question))
    return false;
  if (f.Has("applies_to")) {
    const Json& t = v.at("applies_to");
    if (t == "self") {
      a.applies_to = -1;
    } else if (t == "other") {
      a.applies_to = -2;
    } else {
      std::string why;
      if (t.is_null() ||
          !ResolveNameValue(source.project, t, ProjectKind::kObject, a.applies_to, why))
        return f.Fail("applies_to", t.is_null() ? "expected \"self\", \"other\" or an object name"
                                                : why +
                                                      " (expected \"self\", \"other\" or an "
                                                      "object name)");
    }
  }
  action = std::move(a);
  return true;
}

bool ReadOneAction(const CActionSource& source, const Json& v, const std::string& field,
                   CEvent& event, std::string& error) {
  if (v.is_string()) {
    std::string code, why;
    if (!ReadCodeText(source.base, source.base_display, v.get<std::string>(), code, why)) {
      error = source.file + ": field \"" + field + "\": " + why;
      return false;
    }
    event.AddCodeAction(std::move(code));
    return true;
  }
  if (v.is_object()) {
    CAction a;
    if (!ReadActionObject(source, v, field, a, error)) return false;
    event.actions.push_back(std::move(a));
    return true;
  }
  error = source.file + ": field \"" + field +
          "\": expected code, a .gml file name, an action object or a list of these";
  return false;
}

}  // namespace

bool ParseKeyName(const std::string& name, int32_t& code) {
  if (name.size() == 1) {
    const char c = name[0];
    if (c >= 'a' && c <= 'z') {
      code = c - 'a' + 'A';
      return true;
    }
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
      code = c;
      return true;
    }
    return false;
  }
  if (ParseNumber(name, code)) return code <= kMaxEventNumber;
  return FindNamed(name, kKeyNames, kKeyRanges, code);
}

bool ParseEventKey(const CProject& project, const std::string& key, int32_t& type, int32_t& number,
                   std::string& why) {
  for (const FixedEvent& e : kFixedEvents) {
    if (key == e.key) {
      type = e.type;
      number = e.number;
      return true;
    }
  }
  const size_t colon = key.find(':');
  const std::string head = key.substr(0, colon);
  for (const PrefixEvent& e : kPrefixEvents) {
    if (head != e.prefix) continue;
    if (colon == std::string::npos) {
      why = "give the " + std::string(e.prefix) + " event as \"" + e.prefix + ":...\"";
      return false;
    }
    const std::string arg = key.substr(colon + 1);
    type = e.type;
    switch (e.argument) {
      case Argument::kAlarm:
        if (ParseNumber(arg, number) && number <= 11) return true;
        why = "alarms are numbered 0 to 11";
        return false;
      case Argument::kObject:
        number = project.Find(ProjectKind::kObject, arg);
        if (number >= 0) return true;
        why = "no object named \"" + arg + "\"";
        return false;
      case Argument::kKey:
        if (ParseKeyName(arg, number)) return true;
        why = "no key named \"" + arg +
              "\" (keys are vk_ names, a letter or digit, or a key code of two or more digits)";
        return false;
      case Argument::kMouse:
        if (ParseEventName(arg, kMouseNames, kMouseRanges, number)) return true;
        why = "no mouse event named \"" + arg + "\"";
        return false;
      case Argument::kOther:
        if (ParseEventName(arg, kOtherNames, kOtherRanges, number)) return true;
        why = "no other event named \"" + arg + "\"";
        return false;
    }
  }
  why =
      "unknown event (events are create, destroy, step, step_begin, step_end, draw, alarm:N, "
      "collision:OBJECT, keyboard:KEY, keypress:KEY, keyrelease:KEY, mouse:NAME and other:NAME)";
  return false;
}

bool ReadEventActions(const CActionSource& source, const Json& value, const std::string& field,
                      CEvent& event, std::string& error) {
  if (!value.is_array()) return ReadOneAction(source, value, field, event, error);
  for (size_t i = 0; i < value.size(); ++i)
    if (!ReadOneAction(source, value[i], field + "[" + std::to_string(i) + "]", event, error))
      return false;
  return true;
}

}  // namespace zorvex
