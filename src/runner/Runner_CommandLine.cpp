#include "runner/Runner_CommandLine.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

namespace zorvex {

namespace {

bool ParseInteger(std::string_view text, int64_t& out) {
  if (text.empty()) return false;
  if (text[0] == '+') text.remove_prefix(1);
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && end == text.data() + text.size();
}

bool ReadWholeFile(const std::string& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  out = ss.str();
  return !in.bad();
}

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
      ++i;
    size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t')
      ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

struct EventSyntax {
  const char* name;
  InputKind kind;
  int argc;  // numbers after the name
};

constexpr EventSyntax kEvents[] = {
    {"key_down", InputKind::kKeyDown, 1},
    {"key_up", InputKind::kKeyUp, 1},
    {"char", InputKind::kChar, 1},
    {"mouse_move", InputKind::kMouseMove, 2},
    {"mouse_down", InputKind::kMouseDown, 1},
    {"mouse_up", InputKind::kMouseUp, 1},
    {"wheel_up", InputKind::kWheelUp, 0},
    {"wheel_down", InputKind::kWheelDown, 0},
    {"close", InputKind::kClose, 0},
};

bool ParseButton(std::string_view w, int32_t& button) {
  if (w == "left")
    button = kMouseLeft;
  else if (w == "right")
    button = kMouseRight;
  else if (w == "middle")
    button = kMouseMiddle;
  else
    return false;
  return true;
}

bool ParseEventLine(std::string_view line, ScriptedInput& ev, std::string& why) {
  std::vector<std::string_view> w = Words(line);
  int64_t step;
  if (!ParseInteger(w[0], step) || step < 1) {
    why = "the step must be a whole number from 1 up";
    return false;
  }
  ev.step = step;
  if (w.size() < 2) {
    why = "an event must follow the step";
    return false;
  }
  const EventSyntax* syntax = nullptr;
  for (const EventSyntax& s : kEvents)
    if (w[1] == s.name) syntax = &s;
  if (syntax == nullptr) {
    why = "unknown event \"" + std::string(w[1]) + "\"";
    return false;
  }
  if (static_cast<int>(w.size()) - 2 != syntax->argc) {
    why = std::string(syntax->name) + " takes " + std::to_string(syntax->argc) +
          (syntax->argc == 1 ? " argument" : " arguments");
    return false;
  }
  ev.message = InputMessage{syntax->kind, 0, 0, 0};
  switch (syntax->kind) {
    case InputKind::kKeyDown:
    case InputKind::kKeyUp:
    case InputKind::kChar: {
      int64_t v;
      if (!ParseInteger(w[2], v) || v < 0 || v > 255) {
        why = syntax->kind == InputKind::kChar ? "a character code is 0 to 255"
                                               : "a virtual-key code is 0 to 255";
        return false;
      }
      ev.message.code = static_cast<int32_t>(v);
      break;
    }
    case InputKind::kMouseMove: {
      int64_t x, y;
      if (!ParseInteger(w[2], x) || !ParseInteger(w[3], y) || x < INT32_MIN || x > INT32_MAX ||
          y < INT32_MIN || y > INT32_MAX) {
        why = "mouse_move takes two whole numbers";
        return false;
      }
      ev.message.x = static_cast<int32_t>(x);
      ev.message.y = static_cast<int32_t>(y);
      break;
    }
    case InputKind::kMouseDown:
    case InputKind::kMouseUp:
      if (!ParseButton(w[2], ev.message.code)) {
        why = "the button is left, right or middle";
        return false;
      }
      break;
    default:
      break;
  }
  return true;
}

}  // namespace

bool ParseInputScript(std::string_view text, std::vector<ScriptedInput>& events,
                      std::string& error) {
  events.clear();
  int line_number = 0;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t nl = text.find('\n', pos);
    std::string_view line = text.substr(pos, nl == std::string_view::npos ? text.npos : nl - pos);
    pos = nl == std::string_view::npos ? text.size() + 1 : nl + 1;
    ++line_number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::vector<std::string_view> words = Words(line);
    if (words.empty() || words[0][0] == '#') continue;
    ScriptedInput ev;
    std::string why;
    if (!ParseEventLine(line, ev, why)) {
      error = "line " + std::to_string(line_number) + ": " + why;
      events.clear();
      return false;
    }
    events.push_back(ev);
  }
  std::stable_sort(events.begin(), events.end(),
                   [](const ScriptedInput& a, const ScriptedInput& b) { return a.step < b.step; });
  return true;
}

bool ParseCommandLine(const std::vector<std::string>& args, CRunOptions& o, std::string& error) {
  o = CRunOptions();
  bool only_files = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) {
        error = a + " needs a value";
        return false;
      }
      out = args[++i];
      return true;
    };
    std::string v;
    if (only_files && !o.game_path.empty()) {
      o.game_parameters.push_back(a);
    } else if (only_files || a.empty() || a[0] != '-' || a == "-") {
      if (!o.game_path.empty()) {
        error = "only one game file can be given (\"" + o.game_path + "\" and \"" + a + "\")";
        return false;
      }
      o.game_path = a;
    } else if (a == "--") {
      only_files = true;
    } else if (a == "--help" || a == "-h") {
      o.show_help = true;
    } else if (a == "--headless") {
      o.headless = true;
    } else if (a == "--fast") {
      o.fast = true;
    } else if (a == "--debug-messages") {
      o.debug_messages = true;
    } else if (a == "--max-steps") {
      if (!value(v)) return false;
      if (!ParseInteger(v, o.max_steps) || o.max_steps < 0) {
        error = "--max-steps needs a whole number of 0 or more, not \"" + v + "\"";
        return false;
      }
    } else if (a == "--seed") {
      if (!value(v)) return false;
      if (!ParseInteger(v, o.seed) || o.seed < INT32_MIN || o.seed > UINT32_MAX) {
        error = "--seed needs a 32-bit whole number, not \"" + v + "\"";
        return false;
      }
      o.has_seed = true;
    } else if (a == "--screenshot") {
      if (!value(v)) return false;
      size_t colon = v.find(':');
      ScreenshotRequest r;
      if (colon == std::string::npos ||
          !ParseInteger(std::string_view(v).substr(0, colon), r.step) || r.step < 1 ||
          colon + 1 >= v.size()) {
        error = "--screenshot needs STEP:FILE with a step from 1 up, not \"" + v + "\"";
        return false;
      }
      r.file = v.substr(colon + 1);
      o.screenshots.push_back(std::move(r));
    } else if (a == "--input") {
      if (!value(o.input_path)) return false;
      std::string text, why;
      if (!ReadWholeFile(o.input_path, text)) {
        error = "cannot read the input file \"" + o.input_path + "\"";
        return false;
      }
      if (!ParseInputScript(text, o.input, why)) {
        error = o.input_path + ": " + why;
        return false;
      }
    } else if (a == "--answers") {
      if (!value(o.answers_path)) return false;
      std::string text;
      if (!ReadWholeFile(o.answers_path, text)) {
        error = "cannot read the answers file \"" + o.answers_path + "\"";
        return false;
      }
      std::istringstream lines(text);
      std::string line;
      while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        o.answers.push_back(line);
      }
    } else {
      error = "unknown option \"" + a + "\"";
      return false;
    }
  }
  return true;
}

const char* UsageText() {
  return "usage: zorvex-run [GAME] [--headless] [--max-steps N] [--fast] [--seed N]\n"
         "                  [--debug-messages] [--screenshot STEP:FILE]... [--input FILE]\n"
         "                  [--answers FILE] [-- [GAME] PARAMETER...]\n"
         "GAME is a game file; without it the runner reads its own executable.\n"
         "Arguments after -- that follow the game file are the game's own parameters.\n";
}

}  // namespace zorvex
