// Compiled code: a piece of game code compiled once and executed many times, and the recorded
// code error shared by all code.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "code/Code_Tree.h"
#include "code/RValue.h"

namespace zorvex {

class CLanguage;
struct CInstanceCore;
struct XProgram;

constexpr int32_t kCodeProgram = 1;
constexpr int32_t kCodeExpression = 2;
constexpr int32_t kCodeConstant = 3;

// Trees nested deeper than this are refused at compile time, so that no later walk over a
// tree can run out of native stack.
constexpr int32_t kMaxNesting = 1000;
inline constexpr char kNestingMessage[] = "Code nested too deeply.";
// Nested executions (script calls, code run by built-in functions) may use this much native
// stack before a further one is refused.
constexpr uintptr_t kMaxExecutionStack = uintptr_t{4} << 20;
inline constexpr char kCallDepthMessage[] = "Calls nested too deeply.";

// The first error since the flag was last cleared; the text stays readable after clearing.
struct CCodeError {
  bool recorded = false;
  std::string message;
};

class CCode {
 public:
  CCode(std::string_view source, bool is_expression);
  ~CCode();
  CCode(const CCode&) = delete;
  CCode& operator=(const CCode&) = delete;

  // Lexes, resolves, parses, checks and folds; on failure the code error is recorded and the
  // code stays uncompiled. A second compile is an internal error.
  bool Compile(CLanguage& lang);
  // Frees the tree of compiled code; the code becomes uncompiled.
  void Free();

  // Runs the code for a self and an other instance; the result slot receives the value of the
  // last return, assignment or call statement (or the expression's value).
  bool Execute(CLanguage& lang, CInstanceCore* self, CInstanceCore* other, RValue& result);
  // Execute; a failure is shown as a non-fatal error in the current action context and the
  // error flag is cleared.
  bool ExecuteAndReport(CLanguage& lang, CInstanceCore* self, CInstanceCore* other, RValue& result);
  // Execute; on failure the result becomes the string "ERROR".
  bool Evaluate(CLanguage& lang, CInstanceCore* self, CInstanceCore* other, RValue& result);

  std::string SourceText() const;
  size_t SourceLength() const { return source_.size(); }
  int32_t Kind() const { return kind_; }
  bool Compiled() const { return compiled_; }
  bool IsExpression() const { return kind_ != kCodeProgram; }
  const RValue& ConstantValue() const { return constant_; }
  const RToken& Root() const { return root_; }

 private:
  int32_t kind_;
  bool compiled_ = false;
  std::string source_;  // scrambled
  RToken root_;
  RValue constant_;
  std::unique_ptr<XProgram> program_;  // the tree prepared for execution
};

// Records the code error against a position of the code unless one is already recorded. The
// message names the line and column for programs and quotes the text for expressions.
void RecordError(CLanguage& lang, const CCode& code, int32_t position, std::string_view message);
void ClearError(CLanguage& lang);

}  // namespace zorvex
