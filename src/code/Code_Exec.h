// The interpreter: the syntax tree of compiled code turned into a tree of execution nodes,
// each carrying the function that runs it, with ids, owners and positions resolved.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "code/Code_Function.h"
#include "code/Code_Instance.h"
#include "code/Code_Tree.h"
#include "code/Code_Variable.h"
#include "code/RValue.h"
#include "code/Variable_Class.h"

namespace zorvex {

class CCode;
class CLanguage;
struct CInstanceCore;

// The status every step returns.
enum ExecStatus : int {
  kExecNormal = 0,
  kExecError = -1,
  kExecExit = -2,
  kExecBreak = -3,
  kExecContinue = -4,
};

// Which list a variable of a list owner lives in: an index into XFrame::lists, or the
// unqualified owner (the globals when the name is declared global, else self).
constexpr uint8_t kListLocal = 0;
constexpr uint8_t kListSelf = 1;
constexpr uint8_t kListOther = 2;
constexpr uint8_t kListGlobal = 3;
constexpr uint8_t kListUnqualified = 4;

// The context of one execution of one piece of code.
struct XFrame : CVariableContext {
  XFrame(CLanguage& l, const CCode& c, CVariableList* globals) : lang(l), code(c) {
    lists[kListGlobal] = globals;
  }
  // Self and other change only through here, so that the lists follow them.
  void SetInstances(CInstanceCore* s, CInstanceCore* o) {
    self = s;
    other = o;
    lists[kListSelf] = &s->variables;
    lists[kListOther] = &o->variables;
  }
  // After the local list has been made.
  void SyncLocals() { lists[kListLocal] = locals; }

  CLanguage& lang;
  const CCode& code;
  CVariableList* lists[4] = {};  // local (may be null), self, other, global
};

struct XNode;
// Runs a node: statements return their status and may write the result slot `out`;
// expressions write their value into `out` and return normal or error.
using XFn = int (*)(const XNode& n, XFrame& f, RValue& out);
// The truth of an expression whose value is always real 0 or 1 (comparisons and logical
// operators), without making the value.
using XTest = int (*)(const XNode& n, XFrame& f, bool& truth);

struct XNode {
  // Fields read on every visit come first.
  XFn fn = nullptr;
  XTest test = nullptr;
  const XNode* a = nullptr;  // operand, condition, owner, target ...
  const XNode* b = nullptr;  // right operand, body, value ...
  const XNode* c = nullptr;
  const XNode* d = nullptr;
  mutable CVariableCache cache;
  int32_t op = 0;        // operator, function id or variable id
  int32_t owner = 0;     // fixed owner of a variable
  int32_t nindex = 0;    // number of index expressions of a variable (in c and d)
  uint8_t list_sel = 0;  // kList... of a variable of a list owner
  // How an operand's value is reached without running the node: kAccessConst (its value),
  // kAccessListVar (a variable of a list owner, no index), kAccessArgument (an entry of the
  // argument array) or kAccessRun.
  uint8_t access = 0;
  uint8_t argument = 0;      // the entry of argument0 ... argument15
  bool pure = true;          // evaluating it calls nothing, so it changes no variable
  bool owner_fixed = false;  // a variable whose owner is known without evaluation
  // A loop whose body is `x op= e` that nothing else in the loop can change: the result slot
  // gets x's value once, after the loop.
  bool slot_once = false;
  int32_t kind = 0;  // the syntax tree's node kind
  int32_t pos = 0;
  int32_t count = 0;
  const XNode* const* list = nullptr;  // statements of a block or switch, call arguments
  BuiltinHandler handler = nullptr;    // built-in function calls
  RValue value;
  std::vector<const XNode*> kids;  // storage behind `list`
};

constexpr uint8_t kAccessRun = 0;
constexpr uint8_t kAccessConst = 1;
constexpr uint8_t kAccessListVar = 2;
constexpr uint8_t kAccessArgument = 3;

// The execution tree of one piece of code; nodes never move once built.
struct XProgram {
  std::deque<XNode> nodes;
  const XNode* root = nullptr;
};

// Builds the execution tree of a checked and folded syntax tree of a program or an expression.
std::unique_ptr<XProgram> BuildProgram(const CLanguage& lang, const RToken& root, bool expression);

// Runs a program or evaluates an expression for the frame; returns the final status.
int RunProgram(const XProgram& program, XFrame& f, RValue& slot);

// Calls script `index` with the caller's self and other: the argument array is saved, filled
// with the arguments (the rest real 0) and restored; on failure the slot becomes "ERROR" and
// the message gets the prefix "In script <name>:" CR. The arguments may be moved from.
bool CallScript(CLanguage& lang, int32_t index, CInstanceCore* self, CInstanceCore* other,
                RValue& slot, RValue* args, int count);

}  // namespace zorvex
