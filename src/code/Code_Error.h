// The one path by which errors of game code and of built-in functions reach the player: the
// context prefix, the error window, the error log and the error variables.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace zorvex {

constexpr int32_t kTimeLineEventType = 100000;

// The event being run, kept by event dispatch; also read by event_type, event_number, ...
struct CEventContext {
  int32_t event_type = 0;    // kTimeLineEventType for a time line moment
  int32_t event_number = 0;  // for a time line: the time step
  int32_t object_index = 0;  // for a time line: the time line index
  int32_t action_index = 0;  // 0-based
};

struct CErrorSettings {
  bool show_errors = true;
  bool log_errors = false;
  bool abort_on_errors = false;
};

class CErrorReporter {
 public:
  // Hooks wired by the game: how the window is shown (returns true when the player asked to
  // abort; CGame sends it to its dialog service), the display name of an event, the name of an
  // object or time line, clearing the input state after the window, and ending the game after
  // a fatal error. The main loop wires end_game to set the pending request -400: the loop stops
  // at that request and the program ends as after any game end.
  std::function<bool(const std::string& message, bool ignore_allowed)> show_window;
  std::function<std::string(int32_t event_type, int32_t event_number)> event_name;
  std::function<std::string(int32_t object_index)> object_name;
  std::function<std::string(int32_t timeline_index)> timeline_name;
  std::function<void()> clear_input;
  std::function<void()> end_game;

  CErrorSettings settings;
  CEventContext context;
  std::string log_path = "game_errors.log";

  // Prefixes the current event context, then delivers.
  void ReportInContext(std::string_view message, bool fatal);
  void Deliver(std::string_view message, bool fatal);
  std::string ContextPrefix(bool fatal) const;

  // error_last and error_occurred.
  std::string last_message;
  bool occurred = false;
  bool terminating() const { return terminating_; }

 private:
  void AppendToLog(std::string_view message);

  bool first_log_write_ = true;
  bool terminating_ = false;
};

}  // namespace zorvex
