// An event: the list of actions an object (or a time line moment) runs for it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "resources/Action_Class.h"
#include "runner/Support_Stream.h"

namespace zorvex {

class CEvent {
 public:
  static constexpr int32_t kRecordVersion = 400;

  std::vector<CAction> actions;

  int32_t ActionCount() const { return static_cast<int32_t>(actions.size()); }
  void Clear() { actions.clear(); }
  // False on a wrong version of the event or of one of its actions: a record we cannot read
  // would leave the rest of the stream misaligned.
  bool ReadFrom(CStream& s);
  void WriteTo(CStream& s) const;
  CAction* ActionAt(int32_t i) {
    return i >= 0 && i < ActionCount() ? &actions[static_cast<size_t>(i)] : nullptr;
  }
  // Appends a code action holding the text; the caller prepares it.
  CAction& AddCodeAction(std::string text);
  // Looks up every action's function name; the names of function actions that are not found
  // are appended to `missing`, in order.
  void ResolveFunctions(const FunctionResolver& find, std::vector<std::string>& missing);

  bool operator==(const CEvent&) const = default;
};

}  // namespace zorvex
