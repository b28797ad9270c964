// One drag-and-drop step of an event: a call of a library function with arguments, a piece of
// code or a variable assignment. The texts are kept until the compile step turns them into code.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "code/RValue.h"
#include "runner/Support_Stream.h"

namespace zorvex {

class CCode;

// Finds a function id by name (built-in, script or extension); -1 when there is none.
using FunctionResolver = std::function<int32_t(std::string_view name)>;

// Shown by the loader, followed by the name, for every function action whose function is not
// found; loading goes on.
inline constexpr std::string_view kMissingActionFunctionMessage =
    "Failed to locate action function ";

class CAction {
 public:
  static constexpr int32_t kRecordVersion = 440;
  static constexpr int32_t kMaxArguments = 8;
  // Kinds.
  static constexpr int32_t kNormal = 0, kBeginBlock = 1, kEndBlock = 2, kElse = 3, kExit = 4,
                           kRepeat = 5, kSetVariable = 6, kCode = 7;
  // Execution types.
  static constexpr int32_t kExeNone = 0, kExeFunction = 1, kExeCode = 2;

  int32_t library_id = 0;
  int32_t action_id = 0;
  int32_t kind = kNormal;
  bool may_be_relative = false;
  bool is_question = false;
  bool applies_to_offered = false;
  int32_t exe_type = kExeNone;
  std::string function_name;  // as stored; resolved into function_id
  int32_t function_id = -1;
  std::string code;
  int32_t argument_count = 0;
  std::array<int32_t, kMaxArguments> argument_kinds{};
  int32_t applies_to = -1;  // -1 self, -2 other, else an object id
  bool relative = false;
  std::array<std::string, kMaxArguments> arguments;
  bool not_flag = false;

  // Made by the compile step (src/run/Event_Action.cpp), which turns every argument into a
  // constant (kind -1, its value here) or an expression (kind 0, its code here). Copies of an
  // action share the compiled code.
  std::shared_ptr<CCode> compiled;
  std::array<RValue, kMaxArguments> argument_values{};
  std::array<std::shared_ptr<CCode>, kMaxArguments> argument_codes{};

  // The action made from code text (a code action with the text as its first argument).
  static CAction FromCode(std::string text);

  // False on a wrong version or counts the action cannot hold (more than 8 arguments).
  bool ReadFrom(CStream& s);
  void WriteTo(CStream& s) const;

  bool operator==(const CAction&) const = default;
};

}  // namespace zorvex
