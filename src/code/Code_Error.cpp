#include "code/Code_Error.h"

#include <cstdio>

namespace zorvex {

namespace {
constexpr const char* kCrLf = "\r\n";
}

std::string CErrorReporter::ContextPrefix(bool fatal) const {
  std::string p = fatal ? "FATAL ERROR in" : "ERROR in";
  p += kCrLf;
  p += "action number " + std::to_string(int64_t{context.action_index} + 1) + kCrLf;
  if (context.event_type == kTimeLineEventType) {
    p += "at time step " + std::to_string(context.event_number) + kCrLf;
    p += "of time line " + (timeline_name ? timeline_name(context.object_index) : std::string());
  } else {
    p +=
        "of " + (event_name ? event_name(context.event_type, context.event_number) : std::string());
    p += kCrLf;
    p += "for object " + (object_name ? object_name(context.object_index) : std::string());
  }
  p += ":";
  p += kCrLf;
  p += kCrLf;
  return p;
}

void CErrorReporter::ReportInContext(std::string_view message, bool fatal) {
  if (terminating_) return;
  std::string m = ContextPrefix(fatal);
  m += message;
  Deliver(m, fatal);
}

void CErrorReporter::Deliver(std::string_view message, bool fatal) {
  if (terminating_) return;
  if (settings.abort_on_errors) fatal = true;
  std::string m(message);
  if (settings.show_errors && show_window) {
    bool abort = show_window(m, !fatal);
    if (abort) fatal = true;
  }
  if (clear_input) clear_input();
  if (settings.log_errors) AppendToLog(m);
  last_message = m;
  occurred = true;
  if (fatal) {
    terminating_ = true;
    if (end_game) end_game();
  }
}

void CErrorReporter::AppendToLog(std::string_view message) {
  // Truncated on the first write of a run, appended to afterwards.
  FILE* f = std::fopen(log_path.c_str(), first_log_write_ ? "wb" : "ab");
  if (!f) return;
  std::fwrite(message.data(), 1, message.size(), f);
  std::fputs("\r\n\r\n\r\n", f);
  std::fclose(f);
  first_log_write_ = false;
}

}  // namespace zorvex
