#include "code/Code_Main.h"

#include <string>
#include <utility>

#include "code/Code_Error.h"
#include "code/Code_Exec.h"
#include "code/Code_Language.h"
#include "code/Code_Phase1.h"
#include "code/Code_Phase2.h"
#include "code/Code_Phase3.h"
#include "code/Code_Phase4.h"

namespace zorvex {

namespace {

// Source texts are kept in memory through a fixed byte permutation (0 stays 0). Nothing
// outside the process depends on which one.
struct SourcePermutation {
  uint8_t forward[256];
  uint8_t inverse[256];
  constexpr SourcePermutation() : forward(), inverse() {
    for (int i = 0; i < 256; ++i)
      forward[i] = static_cast<uint8_t>(i);
    uint32_t seed = 0x2C9E4F1Bu;
    for (int n = 0; n < 10000; ++n) {
      seed = seed * 1103515245u + 12345u;
      int k = 1 + static_cast<int>((seed >> 16) % 254u);  // swap k and k+1 within 1..255
      uint8_t t = forward[k];
      forward[k] = forward[k + 1];
      forward[k + 1] = t;
    }
    for (int i = 0; i < 256; ++i)
      inverse[forward[i]] = static_cast<uint8_t>(i);
  }
};
constexpr SourcePermutation kPermutation;

}  // namespace

CCode::CCode(std::string_view source, bool is_expression)
    : kind_(is_expression ? kCodeExpression : kCodeProgram), source_(source) {
  for (char& c : source_)
    c = static_cast<char>(kPermutation.forward[static_cast<uint8_t>(c)]);
}

CCode::~CCode() = default;

std::string CCode::SourceText() const {
  std::string s(source_);
  for (char& c : s)
    c = static_cast<char>(kPermutation.inverse[static_cast<uint8_t>(c)]);
  return s;
}

void ClearError(CLanguage& lang) {
  lang.error.recorded = false;
}

void RecordError(CLanguage& lang, const CCode& code, int32_t position, std::string_view message) {
  if (lang.error.recorded) return;
  lang.error.recorded = true;
  std::string s = code.SourceText();
  int64_t n = static_cast<int64_t>(s.size());
  int64_t p = position;
  if (p < 1) p = 1;
  if (p > n) p = n;
  // The carriage returns among the first p characters give the line; the column counts from
  // the last of them (a line feed is an ordinary character).
  int64_t line = 1, line_start = 0;
  for (int64_t i = 0; i < p; ++i) {
    if (s[static_cast<size_t>(i)] == '\r') {
      ++line;
      line_start = i + 1;
    }
  }
  int64_t column = p - line_start;
  std::string m;
  if (code.Kind() == kCodeProgram) {
    size_t end = s.find('\r', static_cast<size_t>(line_start));
    if (end == std::string::npos) end = s.size();
    m = "Error in code at line " + std::to_string(line) + ":\r   " +
        s.substr(static_cast<size_t>(line_start), end - static_cast<size_t>(line_start)) +
        "\r\rat position " + std::to_string(column) + ": ";
  } else {
    m = "Error in expression:" + s + "\r position " + std::to_string(column) + ": ";
  }
  m += message;
  lang.error.message = std::move(m);
}

bool CCode::Compile(CLanguage& lang) {
  if (compiled_) {
    RecordError(lang, *this, 0, "Internal Error: Recompiling compiled code.");
    return false;
  }
  std::string padded = SourceText();
  padded += "   ";
  RTokenList1 tokens1;
  ClearError(lang);
  if (!Tokenise(lang, *this, padded, tokens1)) return false;
  RTokenList2 tokens2;
  ClearError(lang);
  if (!Resolve(lang, *this, tokens1, tokens2)) return false;
  tokens1 = {};
  RToken root;
  ClearError(lang);
  bool parsed = kind_ == kCodeProgram ? ParseProgram(lang, *this, tokens2, root)
                                      : ParseExpression(lang, *this, tokens2, root);
  if (!parsed) return false;
  tokens2 = {};
  if (!CheckAndFold(lang, *this, root)) return false;
  if (kind_ == kCodeExpression && root.kind == tk::kValue) {
    constant_ = root.value;
    kind_ = kCodeConstant;
  }
  root_ = std::move(root);
  program_ = BuildProgram(lang, root_, kind_ != kCodeProgram);
  compiled_ = true;
  return true;
}

void CCode::Free() {
  if (!compiled_) return;
  program_.reset();
  root_ = RToken();
  compiled_ = false;
}

bool CCode::Execute(CLanguage& lang, CInstanceCore* self, CInstanceCore* other, RValue& result) {
  ClearError(lang);
  if (!compiled_) {
    RecordError(lang, *this, 0, "Internal Error: Executing non-compiled code.");
    return false;
  }
  if (kind_ == kCodeConstant) {
    result = constant_;
    return true;
  }
  if (!self || !other) {
    RecordError(lang, *this, 0, "Internal Error: Executing code for nil instance.");
    return false;
  }
  // Executions nest through script calls and built-in functions that run code; refuse one
  // that would leave too little native stack.
  CExecState& ex = lang.exec;
  uintptr_t here = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
  if (ex.depth == 0) {
    ex.stack_base = here;
  } else if (ex.stack_base > here && ex.stack_base - here > kMaxExecutionStack) {
    RecordError(lang, *this, 0, kCallDepthMessage);
    return false;
  }
  ++ex.depth;
  XFrame f(lang, *this, &lang.globals.list);
  f.SetInstances(self, other);
  int status = RunProgram(*program_, f, result);
  --ex.depth;
  lang.ReleaseLocals(f.locals);
  return status != kExecError;
}

bool CCode::ExecuteAndReport(CLanguage& lang, CInstanceCore* self, CInstanceCore* other,
                             RValue& result) {
  if (Execute(lang, self, other, result)) return true;
  if (lang.errors) lang.errors->ReportInContext(lang.error.message, false);
  ClearError(lang);
  return false;
}

bool CCode::Evaluate(CLanguage& lang, CInstanceCore* self, CInstanceCore* other, RValue& result) {
  if (Execute(lang, self, other, result)) return true;
  result.SetString("ERROR");
  return false;
}

}  // namespace zorvex
