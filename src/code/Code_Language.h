// The run state of the scripting language, one per game: name tables, built-in variables,
// globals, constants, the recorded code error, the argument array and the links to the rest of
// the game (function table, error path, resources and scripts, the current room's instances).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "code/Code_Constant.h"
#include "code/Code_Main.h"
#include "code/Code_Variable.h"
#include "code/RValue.h"
#include "code/Variable_BuiltIn.h"
#include "code/Variable_Class.h"
#include "code/Variable_Main.h"

namespace zorvex {

class CGame;
class CFunctionTable;
class CErrorReporter;
class CInstanceWorld;
class CLanguageLookup;

constexpr int kArgumentCount = 16;

// Where the most recent id lookups found their instances in the active list.
struct CInstanceIdCache {
  int32_t newer = -1;
  int32_t older = -1;
};

// Scratch state of the interpreter: argument arrays by call depth (reused, so calls do not
// allocate) and the nesting of executions.
struct CExecState {
  std::vector<std::unique_ptr<RValue[]>> arg_buffers;
  // Per buffer: every entry from this index on holds real 0, so a call clears only the
  // entries below it that its own arguments do not cover.
  std::vector<int> arg_dirty;
  int arg_depth = 0;
  int depth = 0;             // executions in progress
  uintptr_t stack_base = 0;  // frame address of the outermost execution
  // Passed as the result slot where nobody will read it; assignments skip copying into it.
  RValue discard;

  // A 16-value argument array for the call at the current depth.
  RValue* PushArguments() {
    if (static_cast<size_t>(arg_depth) == arg_buffers.size()) {
      arg_buffers.push_back(std::make_unique<RValue[]>(kMaxCallArguments));
      arg_dirty.push_back(0);
    }
    return arg_buffers[static_cast<size_t>(arg_depth++)].get();
  }
  // The mark of the buffer pushed last.
  int& TopDirty() { return arg_dirty[static_cast<size_t>(arg_depth - 1)]; }
  void PopArguments() { --arg_depth; }

  static constexpr int kMaxCallArguments = 16;
};

class CLanguage {
 public:
  CLanguage();
  ~CLanguage();
  CLanguage(const CLanguage&) = delete;
  CLanguage& operator=(const CLanguage&) = delete;

  // Links the owning game: handlers and built-in variables receive it, calls go through its
  // function table and reported errors through its error path.
  void Attach(CGame* owner, CFunctionTable* function_table, CErrorReporter* reporter) {
    game = owner;
    functions = function_table;
    errors = reporter;
  }

  CGame* game = nullptr;
  CFunctionTable* functions = nullptr;
  CErrorReporter* errors = nullptr;
  // Wired by the game once its resources are read; null means no resources, scripts or
  // extension functions.
  CLanguageLookup* lookup = nullptr;
  // The current room's instance lists; null while there is no room.
  CInstanceWorld* world = nullptr;
  // Message boxes raised while loading (invalid constants, a full built-in variable table).
  std::function<void(const std::string& message)> show_message;

  // The game setting: reading a missing variable or element yields real 0.
  bool uninitialised_as_zero = false;

  CVariableNames names;
  CBuiltinVariableTable builtins;
  CGlobalVariables globals;
  CConstantTable constants;
  CCodeError error;
  // argument0 .. argument15: the arguments of the innermost script call in progress. A script
  // call points this at an array of its own for its duration and back afterwards, which is
  // how the caller's values are kept.
  RValue* arguments = outer_arguments_;
  // The clean mark of the array `arguments` points at (see CExecState::arg_dirty).
  int* arguments_dirty = &outer_dirty_;
  CInstanceIdCache id_cache;
  CExecState exec;

  // Writes argument i of the current call; every write of an argument variable goes here so
  // that the array's clean mark stays true.
  void WriteArgument(int i, const RValue& v) {
    arguments[i] = v;
    if (i >= *arguments_dirty) *arguments_dirty = i + 1;
  }

  void ShowMessage(const std::string& message) const {
    if (show_message) show_message(message);
  }

  // Local variable lists come and go with executions; emptied lists are kept for reuse so
  // that a script call does not allocate.
  CVariableList* AcquireLocals();
  void ReleaseLocals(CVariableList* list);

 private:
  std::vector<std::unique_ptr<CVariableList>> free_locals_;
  RValue outer_arguments_[kArgumentCount];  // those of code not run by a script call
  int outer_dirty_ = kArgumentCount;
};

}  // namespace zorvex
