#include "code/Code_Exec.h"

#include <bit>
#include <cstdint>
#include <string>
#include <utility>

#include "code/Code_Instance.h"
#include "code/Code_Language.h"
#include "code/Code_Lookup.h"
#include "code/Code_Main.h"
#include "code/Code_Operator.h"
#include "code/Code_Round.h"

namespace zorvex {

namespace {

constexpr int64_t kRow = kArrayRowSize;

inline int Eval(const XNode& n, XFrame& f, RValue& out) {
  return n.fn(n, f, out);
}

[[gnu::noinline]] void CopyString(RValue& dst, const RValue& src) {
  dst = src;
}

// Copies a value; a real keeps an empty string part.
[[gnu::always_inline]] inline void CopyValue(RValue& dst, const RValue& src) {
  if (src.kind == RValue::kReal) {
    dst.kind = RValue::kReal;
    dst.real = src.real;
    dst.str.clear();
  } else {
    CopyString(dst, src);
  }
}

// The result slot of an assignment, unless it is the slot nobody reads.
[[gnu::always_inline]] inline void WriteSlot(XFrame& f, RValue& slot, const RValue& v) {
  if (&slot != &f.lang.exec.discard) CopyValue(slot, v);
}

int Fail(XFrame& f, int32_t position, std::string_view message) {
  RecordError(f.lang, f.code, position, message);
  return kExecError;
}

std::string UnknownVariable(const CLanguage& lang, int32_t id, int64_t index) {
  std::string m = "Unknown variable " + VariableName(lang, id);
  if (index != 0) m += " or array index out of bounds";
  return m;
}

// A failed read: real 0 with uninitialised_as_zero, else the error at the variable.
int ReadFailed(const XNode& n, XFrame& f, RValue& out, int64_t index) {
  if (f.lang.uninitialised_as_zero) {
    out.SetReal(0);
    return kExecNormal;
  }
  return Fail(f, n.pos, UnknownVariable(f.lang, n.op, index));
}

const RValue kZeroValue(0.0);

// Moves a value; reals are copied.
[[gnu::always_inline]] inline void MoveValue(RValue& dst, RValue&& src) {
  if (src.kind == RValue::kReal) {
    dst.kind = RValue::kReal;
    dst.real = src.real;
    dst.str.clear();
  } else {
    dst = std::move(src);
  }
}

// A list variable that is not there: real 0 with uninitialised_as_zero, else the error.
[[gnu::noinline]] const RValue* ListVariableMissing(const XNode& n, XFrame& f) {
  if (f.lang.uninitialised_as_zero) return &kZeroValue;
  Fail(f, n.pos, UnknownVariable(f.lang, n.op, 0));
  return nullptr;
}

// The list of a variable of a list owner.
[[gnu::always_inline]] inline CVariableList* SelectList(const XNode& n, XFrame& f) {
  if (n.list_sel == kListUnqualified)
    return f.lang.globals.IsDeclaredGlobal(n.op) ? f.lists[kListGlobal] : f.lists[kListSelf];
  return f.lists[n.list_sel];
}

// The scalar of a variable of a list owner (no index), in place; null after an error.
[[gnu::always_inline]] inline const RValue* ListVariable(const XNode& n, XFrame& f) {
  if (CVariableList* l = SelectList(n, f))
    if (RVariable* v = l->FindVariable(n.op, n.cache)) return &v->value;
  return ListVariableMissing(n, f);
}

// The value of an operand that need not be run (any access but kAccessRun), in place; null
// after an error.
[[gnu::always_inline]] inline const RValue* PlainValue(const XNode& e, XFrame& f) {
  if (e.access == kAccessConst) return &e.value;
  if (e.access == kAccessArgument) return &f.lang.arguments[e.argument];
  return ListVariable(e, f);
}

// An operand's value: constants, plain variables and arguments are read in place, anything
// else is run into the scratch value. Null after an error.
inline const RValue* Operand(const XNode& e, XFrame& f, RValue& scratch) {
  if (e.access != kAccessRun) return PlainValue(e, f);
  return Eval(e, f, scratch) ? nullptr : &scratch;
}

// ---- references ----

int CheckIndex(const XNode& e, XFrame& f, const RValue* v, int64_t& out) {
  if (!v) return kExecError;
  if (v->kind != RValue::kReal) return Fail(f, e.pos, "Wrong type of array index");
  int64_t i = RoundToInt64(v->real);
  if (i < 0) return Fail(f, e.pos, "Negative array index");
  if (i >= kRow) return Fail(f, e.pos, "Array index >= 32000");
  out = i;
  return kExecNormal;
}

[[gnu::noinline]] int RunIndex(const XNode& e, XFrame& f, int64_t& out) {
  RValue v;
  if (Eval(e, f, v)) return kExecError;
  return CheckIndex(e, f, &v, out);
}

inline int OneIndex(const XNode& e, XFrame& f, int64_t& out) {
  if (e.access == kAccessRun) return RunIndex(e, f, out);
  const RValue* v = PlainValue(e, f);
  if (v && v->kind == RValue::kReal) {
    double x = v->real;
    if (x >= 0 && x < kRow) {
      int64_t i = static_cast<int64_t>(x);
      if (static_cast<double>(i) == x) {
        out = i;
        return kExecNormal;
      }
    }
  }
  return CheckIndex(e, f, v, out);
}

// The combined index of a variable node's index expressions (c, then d).
inline int CombinedIndex(const XNode& n, XFrame& f, int64_t& combined) {
  combined = 0;
  if (n.nindex == 0) return kExecNormal;
  int64_t i;
  if (OneIndex(*n.c, f, i)) return kExecError;
  if (n.nindex == 1) {
    combined = i;
    return kExecNormal;
  }
  int64_t j;
  if (OneIndex(*n.d, f, j)) return kExecError;
  combined = i * kRow + j;
  return kExecNormal;
}

// Owner (fixed or evaluated) and combined index of a variable node.
int Reference(const XNode& n, XFrame& f, int32_t& owner, int64_t& combined) {
  if (n.owner_fixed) {
    owner = n.owner;
  } else {
    RValue v;
    if (Eval(*n.a, f, v)) return kExecError;
    if (v.kind != RValue::kReal) return Fail(f, n.a->pos, "Wrong type of variable index");
    owner = RoundToInt32(v.real);
  }
  return CombinedIndex(n, f, combined);
}

// The variable list behind one of the owners that name a list directly.
template <int Owner>
inline CVariableList* ListOf(const XNode& n, XFrame& f) {
  if constexpr (Owner == kOwnerLocal) {
    return f.lists[kListLocal];
  } else if constexpr (Owner == kOwnerUnqualified) {
    return f.lang.globals.IsDeclaredGlobal(n.op) ? f.lists[kListGlobal] : f.lists[kListSelf];
  } else if constexpr (Owner == kOwnerSelf) {
    return f.lists[kListSelf];
  } else if constexpr (Owner == kOwnerOther) {
    return f.lists[kListOther];
  } else {
    static_assert(Owner == kOwnerGlobal);
    return f.lists[kListGlobal];
  }
}

template <int Owner>
inline CVariableList& ListForWrite(const XNode& n, XFrame& f) {
  if constexpr (Owner == kOwnerLocal) {
    if (!f.locals) {
      f.locals = f.lang.AcquireLocals();
      f.SyncLocals();
    }
    return *f.locals;
  } else {
    return *ListOf<Owner>(n, f);
  }
}

// ---- expressions ----

int ExConstReal(const XNode& n, XFrame&, RValue& out) {
  out.kind = RValue::kReal;
  out.real = n.value.real;
  out.str.clear();
  return kExecNormal;
}

int ExConstString(const XNode& n, XFrame&, RValue& out) {
  out = n.value;
  return kExecNormal;
}

// A variable of a list owner (local, unqualified, self, other, global), with or without
// indices.
template <int Owner, bool Indexed>
int ExVarList(const XNode& n, XFrame& f, RValue& out) {
  int64_t c = 0;
  if constexpr (Indexed)
    if (n.nindex && CombinedIndex(n, f, c)) return kExecError;
  if (CVariableList* l = ListOf<Owner>(n, f)) {
    if (RVariable* v = l->FindVariable(n.op, n.cache)) {
      if (c == 0) {
        CopyValue(out, v->value);
        return kExecNormal;
      }
      if (ReadElement(*v, c, out)) return kExecNormal;
    }
  }
  return ReadFailed(n, f, out, c);
}

// A built-in variable of self or other.
int ExBuiltin(const XNode& n, XFrame& f, RValue& out) {
  int64_t c = 0;
  if (n.nindex && CombinedIndex(n, f, c)) return kExecError;
  CInstanceCore* inst = n.owner == kOwnerOther ? f.other : f.self;
  const BuiltinVariableEntry* e = f.lang.builtins.Entry(n.op);
  if (e && e->getter && f.lang.game && e->getter(*f.lang.game, inst, static_cast<int32_t>(c), out))
    return kExecNormal;
  return ReadFailed(n, f, out, c);
}

// argument0 ... argument15 (of self, other or no owner): the argument array itself.
int ExArgument(const XNode& n, XFrame& f, RValue& out) {
  CopyValue(out, f.lang.arguments[n.argument]);
  return kExecNormal;
}

// Any other variable: the owner rules of ReadVariable.
int ExVarGeneric(const XNode& n, XFrame& f, RValue& out) {
  int32_t owner;
  int64_t c;
  if (Reference(n, f, owner, c)) return kExecError;
  if (ReadVariable(f.lang, f, owner, n.op, c, out)) return kExecNormal;
  return ReadFailed(n, f, out, c);
}

int ExUnary(const XNode& n, XFrame& f, RValue& out) {
  if (Eval(*n.a, f, out)) return kExecError;
  if (const char* e = UnaryOperation(n.op, out)) return Fail(f, n.a->pos, e);
  return kExecNormal;
}

int ExNegate(const XNode& n, XFrame& f, RValue& out) {
  if (Eval(*n.a, f, out)) return kExecError;
  if (out.kind == RValue::kReal) {
    out.real = -out.real;
    return kExecNormal;
  }
  return Fail(f, n.a->pos, "Wrong type of arguments to unary operator.");
}

int ExNot(const XNode& n, XFrame& f, RValue& out) {
  if (Eval(*n.a, f, out)) return kExecError;
  if (out.kind == RValue::kReal) {
    out.real = out.real < 0.5 ? 1.0 : 0.0;
    return kExecNormal;
  }
  return Fail(f, n.a->pos, "Wrong type of arguments to unary operator.");
}

// The real-only operators whose result needs no check; others go through BinaryOperation.
template <int32_t Op>
constexpr bool kFastReal = Op == tk::kPlus || Op == tk::kMinus || Op == tk::kTimes ||
                           Op == tk::kAssign || Op == tk::kEqual || Op == tk::kLess ||
                           Op == tk::kLessEqual || Op == tk::kNotEqual || Op == tk::kGreaterEqual ||
                           Op == tk::kGreater || Op == tk::kAnd || Op == tk::kOr || Op == tk::kXor;

template <int32_t Op>
inline double RealOperation(double a, double b) {
  if constexpr (Op == tk::kPlus) return a + b;
  if constexpr (Op == tk::kMinus) return a - b;
  if constexpr (Op == tk::kTimes) return a * b;
  if constexpr (Op == tk::kAnd) return (a >= 0.5 && b >= 0.5) ? 1.0 : 0.0;
  if constexpr (Op == tk::kOr) return (a >= 0.5 || b >= 0.5) ? 1.0 : 0.0;
  if constexpr (Op == tk::kXor) return ((a >= 0.5) != (b >= 0.5)) ? 1.0 : 0.0;
  // Comparisons go by the sign of the difference.
  double d = a - b;
  if constexpr (Op == tk::kLess) return d < 0 ? 1.0 : 0.0;
  if constexpr (Op == tk::kLessEqual) return d <= 0 ? 1.0 : 0.0;
  if constexpr (Op == tk::kNotEqual) return d != 0 ? 1.0 : 0.0;
  if constexpr (Op == tk::kGreaterEqual) return d >= 0 ? 1.0 : 0.0;
  if constexpr (Op == tk::kGreater) return d > 0 ? 1.0 : 0.0;
  return d == 0 ? 1.0 : 0.0;  // = and ==
}

[[gnu::noinline]] int ApplyBinary(const XNode& n, XFrame& f, RValue& out, const RValue* left,
                                  const RValue& right) {
  if (left != &out) CopyValue(out, *left);
  if (const char* e = BinaryOperation(n.op, out, right)) return Fail(f, n.b->pos, e);
  return kExecNormal;
}

template <int32_t Op>
inline int FinishBinary(const XNode& n, XFrame& f, RValue& out, const RValue* l, const RValue& r) {
  if constexpr (kFastReal<Op>) {
    if (l->kind == RValue::kReal && r.kind == RValue::kReal) {
      double x = RealOperation<Op>(l->real, r.real);
      out.kind = RValue::kReal;
      out.real = x;
      out.str.clear();
      return kExecNormal;
    }
  }
  return ApplyBinary(n, f, out, l, r);
}

template <int32_t Op>
[[gnu::noinline]] int BinaryRunRight(const XNode& n, XFrame& f, RValue& out, const RValue* l) {
  RValue scratch;
  if (Eval(*n.b, f, scratch)) return kExecError;
  return FinishBinary<Op>(n, f, out, l, scratch);
}

// Both operands are always evaluated, left first. Constants and plain variables are read in
// place; the left one only when the right one cannot change it.
template <int32_t Op>
int ExBinary(const XNode& n, XFrame& f, RValue& out) {
  const XNode& b = *n.b;
  const RValue* l;
  if (b.pure) {
    l = Operand(*n.a, f, out);
    if (!l) return kExecError;
  } else {
    if (Eval(*n.a, f, out)) return kExecError;
    l = &out;
  }
  if (b.access == kAccessRun) return BinaryRunRight<Op>(n, f, out, l);
  const RValue* r = PlainValue(b, f);
  if (!r) return kExecError;
  return FinishBinary<Op>(n, f, out, l, *r);
}

[[gnu::noinline]] int TestByValue(const XNode& n, XFrame& f, bool& truth) {
  RValue v;
  if (n.fn(n, f, v)) return kExecError;
  truth = v.real >= 0.5;  // these operators always give real 0 or 1
  return kExecNormal;
}

// Comparisons of a plain variable with a constant or another plain variable: the most common
// loop conditions.
template <int32_t Op, bool RightConst>
int TestVariable(const XNode& n, XFrame& f, bool& truth) {
  const RValue* l = ListVariable(*n.a, f);
  if (!l) return kExecError;
  const RValue* r = RightConst ? &n.b->value : ListVariable(*n.b, f);
  if (!r) return kExecError;
  if (l->kind != RValue::kReal || r->kind != RValue::kReal) [[unlikely]]
    return TestByValue(n, f, truth);
  truth = RealOperation<Op>(l->real, r->real) != 0;
  return kExecNormal;
}

// The truth of a comparison or logical operation between two plain operands.
template <int32_t Op>
int TestBinary(const XNode& n, XFrame& f, bool& truth) {
  const XNode& a = *n.a;
  const XNode& b = *n.b;
  if (a.access == kAccessRun || b.access == kAccessRun) return TestByValue(n, f, truth);
  const RValue* l = PlainValue(a, f);
  if (!l) return kExecError;
  const RValue* r = PlainValue(b, f);
  if (!r) return kExecError;
  if (l->kind != RValue::kReal || r->kind != RValue::kReal) return TestByValue(n, f, truth);
  truth = RealOperation<Op>(l->real, r->real) != 0;
  return kExecNormal;
}

// ---- calls ----

bool CallScriptInPlace(CLanguage& lang, int32_t index, CInstanceCore* self, CInstanceCore* other,
                       RValue& slot, RValue* args, int count, int& dirty);

// The argument buffer of one call. The call's own arguments go to its first `count` entries,
// so those are no longer known to be 0.
class ArgumentScope {
 public:
  ArgumentScope(CExecState& s, int count) : s_(s), args(s.PushArguments()), dirty(s.TopDirty()) {
    if (dirty < count) dirty = count;
  }
  ~ArgumentScope() { s_.PopArguments(); }
  ArgumentScope(const ArgumentScope&) = delete;
  ArgumentScope& operator=(const ArgumentScope&) = delete;

 private:
  CExecState& s_;

 public:
  RValue* const args;
  int& dirty;
};

inline int EvalArguments(const XNode& n, XFrame& f, RValue* args) {
  for (int i = 0; i < n.count; ++i)
    if (Eval(*n.list[i], f, args[i])) return kExecError;
  return kExecNormal;
}

int CallBuiltin(const XNode& n, XFrame& f, RValue& out) {
  ArgumentScope scope(f.lang.exec, n.count);
  if (EvalArguments(n, f, scope.args)) return kExecError;
  out.SetReal(0);
  if (n.handler && f.lang.game) n.handler(*f.lang.game, f.self, f.other, n.count, scope.args, out);
  return kExecNormal;
}

// A script called in an expression gets a fresh result of real 0.
int ExCallScript(const XNode& n, XFrame& f, RValue& out) {
  ArgumentScope scope(f.lang.exec, n.count);
  if (EvalArguments(n, f, scope.args)) return kExecError;
  out.SetReal(0);
  if (!CallScriptInPlace(f.lang, n.op - kScriptIdBase, f.self, f.other, out, scope.args, n.count,
                         scope.dirty))
    return kExecError;
  return kExecNormal;
}

// A script called as a statement shares the caller's result slot.
int StCallScript(const XNode& n, XFrame& f, RValue& slot) {
  ArgumentScope scope(f.lang.exec, n.count);
  if (EvalArguments(n, f, scope.args)) return kExecError;
  if (!CallScriptInPlace(f.lang, n.op - kScriptIdBase, f.self, f.other, slot, scope.args, n.count,
                         scope.dirty))
    return kExecError;
  return kExecNormal;
}

int CallExtension(const XNode& n, XFrame& f, RValue& out) {
  ArgumentScope scope(f.lang.exec, n.count);
  if (EvalArguments(n, f, scope.args)) return kExecError;
  out.SetReal(0);
  CLanguageLookup* lookup = f.lang.lookup;
  if (!lookup ||
      !lookup->CallExtension(n.op - kExtensionIdBase, f.self, f.other, n.count, scope.args, out))
    return kExecError;
  return kExecNormal;
}

// ---- statements ----

int StNothing(const XNode&, XFrame&, RValue&) {
  return kExecNormal;
}
int StEmpty(const XNode& n, XFrame& f, RValue&) {
  return Fail(f, n.pos, "Statement expected.");
}
int StExit(const XNode&, XFrame&, RValue&) {
  return kExecExit;
}
int StBreak(const XNode&, XFrame&, RValue&) {
  return kExecBreak;
}
int StContinue(const XNode&, XFrame&, RValue&) {
  return kExecContinue;
}

int StCaseLabel(const XNode& n, XFrame& f, RValue&) {
  return Fail(f, n.pos, "Case statement only allowed inside switch statement.");
}
int StDefaultLabel(const XNode& n, XFrame& f, RValue&) {
  return Fail(f, n.pos, "Default statement only allowed inside switch statement.");
}

int StBlock(const XNode& n, XFrame& f, RValue& slot) {
  for (int i = 0; i < n.count; ++i)
    if (int st = Eval(*n.list[i], f, slot)) return st;
  return kExecNormal;
}

int StReturn(const XNode& n, XFrame& f, RValue& slot) {
  if (Eval(*n.a, f, slot)) return kExecError;
  return kExecExit;
}

int StGlobalVar(const XNode& n, XFrame& f, RValue&) {
  for (int i = 0; i < n.count; ++i)
    f.lang.globals.DeclareGlobal(n.list[i]->op);
  return kExecNormal;
}

// The truth of a condition: above 0.5 for `if` (strict), 0.5 or more for loops.
template <bool Strict>
inline int Condition(const XNode& c, XFrame& f, bool& truth, const char* string_message) {
  if (c.test) return c.test(c, f, truth);
  RValue v;
  if (Eval(c, f, v)) return kExecError;
  if (v.kind != RValue::kReal) return Fail(f, c.pos, string_message);
  truth = Strict ? v.real > 0.5 : v.real >= 0.5;
  return kExecNormal;
}

int StIf(const XNode& n, XFrame& f, RValue& slot) {
  bool truth;
  if (Condition<true>(*n.a, f, truth, "Expression expected")) return kExecError;
  if (truth) return Eval(*n.b, f, slot);
  if (n.c) return Eval(*n.c, f, slot);
  return kExecNormal;
}

// The loops of slot_once nodes: the body writes the slot nobody reads, and once the loop is
// left (however), the slot gets the value of the body's target if the body completed at least
// once. Only the body changes the target, and a failed turn leaves it as the turn before made
// it, so this is the value the last completed assignment stored.
class SlotOnce {
 public:
  SlotOnce(const XNode& loop, const XNode& body, XFrame& f, RValue& slot)
      : body_(loop.slot_once ? &body : nullptr),
        f_(f),
        slot_(slot),
        body_slot(loop.slot_once ? f.lang.exec.discard : slot) {}
  ~SlotOnce() {
    if (!body_ || !ran_) return;
    const XNode& t = *body_->a;
    if (CVariableList* l = SelectList(t, f_))
      if (RVariable* v = l->FindVariable(t.op, t.cache)) CopyValue(slot_, v->value);
  }
  SlotOnce(const SlotOnce&) = delete;
  SlotOnce& operator=(const SlotOnce&) = delete;
  void Completed(int status) {
    if (status == kExecNormal) ran_ = true;
  }

 private:
  const XNode* body_;
  XFrame& f_;
  RValue& slot_;
  bool ran_ = false;

 public:
  RValue& body_slot;
};

int StWhile(const XNode& n, XFrame& f, RValue& slot) {
  SlotOnce once(n, *n.b, f, slot);
  for (;;) {
    bool truth;
    if (Condition<false>(*n.a, f, truth, "Boolean expression expected")) return kExecError;
    if (!truth) return kExecNormal;
    int st = Eval(*n.b, f, once.body_slot);
    once.Completed(st);
    if (st == kExecNormal || st == kExecContinue) continue;
    return st == kExecBreak ? kExecNormal : st;
  }
}

int StDo(const XNode& n, XFrame& f, RValue& slot) {
  for (;;) {
    int st = Eval(*n.a, f, slot);
    if (st != kExecNormal && st != kExecContinue) return st == kExecBreak ? kExecNormal : st;
    bool truth;
    if (Condition<false>(*n.b, f, truth, "Boolean expression expected")) return kExecError;
    if (truth) return kExecNormal;
  }
}

int StFor(const XNode& n, XFrame& f, RValue& slot) {
  RValue header;  // the initial and step statements write here, not into the slot
  if (int st = Eval(*n.a, f, header)) return st;
  SlotOnce once(n, *n.d, f, slot);
  for (;;) {
    bool truth;
    if (Condition<false>(*n.b, f, truth, "Expression expected")) return kExecError;
    if (!truth) return kExecNormal;
    int st = Eval(*n.d, f, once.body_slot);
    once.Completed(st);
    if (st != kExecNormal && st != kExecContinue) return st == kExecBreak ? kExecNormal : st;
    if (int s2 = Eval(*n.c, f, header)) return s2;
  }
}

// A `for` whose step adds a real constant or plain variable to a plain variable and whose
// condition is a comparison: the step is done in place while both are reals, the general
// path otherwise.
int StForCounted(const XNode& n, XFrame& f, RValue& slot) {
  RValue header;
  if (int st = Eval(*n.a, f, header)) return st;
  const XNode& cond = *n.b;
  const XNode& step = *n.c;
  const XNode& var = *step.a;
  const XNode& amount = *step.b;
  double sign = step.op == tk::kPlus ? 1.0 : -1.0;
  SlotOnce once(n, *n.d, f, slot);
  for (;;) {
    bool truth;
    if (cond.test(cond, f, truth)) return kExecError;
    if (!truth) return kExecNormal;
    int st = Eval(*n.d, f, once.body_slot);
    once.Completed(st);
    if (st != kExecNormal && st != kExecContinue) return st == kExecBreak ? kExecNormal : st;
    CVariableList* l = SelectList(var, f);
    RVariable* v = l ? l->FindVariable(var.op, var.cache) : nullptr;
    const RValue* k = amount.access == kAccessConst ? &amount.value : nullptr;
    if (!k && v) {
      CVariableList* kl = SelectList(amount, f);
      if (RVariable* kv = kl ? kl->FindVariable(amount.op, amount.cache) : nullptr) k = &kv->value;
    }
    if (v && k && v->value.kind == RValue::kReal && k->kind == RValue::kReal) {
      v->value.real += sign * k->real;
    } else if (int s2 = Eval(step, f, header)) {
      return s2;
    }
  }
}

int StRepeat(const XNode& n, XFrame& f, RValue& slot) {
  RValue c;
  if (Eval(*n.a, f, c)) return kExecError;
  if (c.kind != RValue::kReal) return Fail(f, n.a->pos, "Repeat count must be a number");
  int64_t count = RoundToInt64(c.real);
  SlotOnce once(n, *n.b, f, slot);
  for (int64_t i = 0; i < count; ++i) {
    int st = Eval(*n.b, f, once.body_slot);
    once.Completed(st);
    if (st != kExecNormal && st != kExecContinue) return st == kExecBreak ? kExecNormal : st;
  }
  return kExecNormal;
}

int StSwitch(const XNode& n, XFrame& f, RValue& slot) {
  RValue v;
  if (Eval(*n.a, f, v)) return kExecError;
  int start = -1;
  RValue label;
  for (int i = 0; i < n.count && start < 0; ++i) {
    const XNode& s = *n.list[i];
    if (s.kind == tk::kDefault) {
      start = i;
    } else if (s.kind == tk::kCase) {
      if (Eval(*s.a, f, label)) return kExecError;
      if (label.kind == v.kind &&
          (v.kind == RValue::kReal ? label.real == v.real : label.str == v.str))
        start = i;
    }
  }
  if (start < 0) return kExecNormal;
  for (int i = start + 1; i < n.count; ++i) {
    const XNode& s = *n.list[i];
    if (s.kind == tk::kCase || s.kind == tk::kDefault) continue;
    int st = Eval(s, f, slot);
    if (st == kExecBreak) return kExecNormal;
    if (st) return st;
  }
  return kExecNormal;
}

// Runs the body for one target; self becomes the target and other the previous self.
inline int WithBody(const XNode& n, XFrame& f, RValue& slot, CInstanceCore* target,
                    CInstanceCore* outer_self) {
  f.SetInstances(target, outer_self);
  return Eval(*n.b, f, slot);
}

int StWith(const XNode& n, XFrame& f, RValue& slot) {
  RValue e;
  if (Eval(*n.a, f, e)) return kExecError;
  if (e.kind != RValue::kReal) return Fail(f, n.a->pos, "Object id expected");
  int32_t w = RoundToInt32(e.real);
  if (w == kOwnerLocal) return Fail(f, n.pos, "Cannot use local in with statement.");
  if (w == kOwnerGlobal) return Fail(f, n.pos, "Cannot use global in with statement.");
  if (w == kOwnerNoone) return kExecNormal;
  CInstanceCore* self = f.self;
  CInstanceCore* other = f.other;
  CInstanceCore* single = nullptr;
  if (w == kOwnerOther) {
    single = other;
  } else if (w == kOwnerSelf || w == kOwnerUnqualified) {
    single = self;
  } else if (w >= kFirstInstanceId) {
    single = FindInstanceById(f.lang, w);
    if (!single || single->marked) return kExecNormal;
  }
  if (single) {
    int st = WithBody(n, f, slot, single, self);
    f.SetInstances(self, other);
    return st == kExecContinue ? kExecNormal : st;
  }
  // Many instances: the active list (all) or an object's family. The count is taken once,
  // so instances made by the body are not visited; destroyed ones are skipped when reached.
  CInstanceWorld* world = f.lang.world;
  if (!world || w < kOwnerAll) return kExecNormal;
  bool all = w == kOwnerAll;
  int count = all ? world->ActiveCount() : world->FamilyCount(w);
  int st = kExecNormal;
  for (int i = 0; i < count; ++i) {
    if (i >= (all ? world->ActiveCount() : world->FamilyCount(w))) break;
    CInstanceCore* inst = all ? world->Active(i) : world->Family(w, i);
    if (inst->marked) continue;
    st = WithBody(n, f, slot, inst, self);
    if (st == kExecNormal || st == kExecContinue) continue;
    if (st == kExecBreak) st = kExecNormal;
    break;
  }
  f.SetInstances(self, other);
  return st == kExecContinue ? kExecNormal : st;
}

// ---- assignments ----

// Compound assignment: the binary operator applied to the current value, in place. A failure
// leaves the value unchanged.
inline const char* Combine(int32_t op, RValue& cur, const RValue& v) {
  if (cur.kind == RValue::kReal && v.kind == RValue::kReal) {
    if (op == tk::kPlus) {
      cur.real += v.real;
      return nullptr;
    }
    if (op == tk::kMinus) {
      cur.real -= v.real;
      return nullptr;
    }
  }
  return BinaryOperation(op, cur, v);
}

// `=` to a variable of a list owner.
template <int Owner, bool Indexed>
int StSetList(const XNode& n, XFrame& f, RValue& slot) {
  const XNode& t = *n.a;
  int64_t c = 0;
  if constexpr (Indexed)
    if (t.nindex && CombinedIndex(t, f, c)) return kExecError;
  const XNode& value = *n.b;
  if (value.access == kAccessRun) {
    RValue v;
    if (Eval(value, f, v)) return kExecError;
    RVariable& var = ListForWrite<Owner>(t, f).ObtainVariable(t.op, t.cache);
    CopyValue(slot, v);
    if (c == 0)
      MoveValue(var.value, std::move(v));
    else
      WriteElement(var, c, std::move(v));
    return kExecNormal;
  }
  RValue scratch;
  const RValue* v = Operand(value, f, scratch);
  if (!v) return kExecError;
  // v may point into the same list: copy it before the list can grow.
  RVariable* var = nullptr;
  if (CVariableList* l = ListOf<Owner>(t, f)) var = l->FindVariable(t.op, t.cache);
  if (!var) {
    RValue copy = *v;
    RVariable& made = ListForWrite<Owner>(t, f).ObtainVariable(t.op, t.cache);
    CopyValue(slot, copy);
    WriteElement(made, c, std::move(copy));
    return kExecNormal;
  }
  if (c != 0) {
    CopyValue(slot, *v);
    WriteElement(*var, c, slot);
    return kExecNormal;
  }
  WriteSlot(f, slot, *v);
  if (&var->value != v) CopyValue(var->value, *v);
  return kExecNormal;
}

// `x = x op e` with x a plain variable and e calling nothing: the same steps as the
// assignment (x read first, then e, the operator, the write), done in place.
template <int Owner, bool Indexed>
int StUpdateList(const XNode& n, XFrame& f, RValue& slot) {
  const XNode& t = *n.a;
  const XNode& e = *n.b;
  const XNode& right = *e.b;
  CVariableList* l = ListOf<Owner>(t, f);
  RVariable* var = l ? l->FindVariable(t.op, t.cache) : nullptr;
  if (!var) return StSetList<Owner, Indexed>(n, f, slot);  // the read of x fails: the general path
  const RValue* r;
  RValue scratch;
  if (right.access == kAccessConst) {
    r = &right.value;
  } else if (right.access == kAccessListVar) {
    r = ListVariable(right, f);
  } else {
    r = Eval(right, f, scratch) ? nullptr : &scratch;
  }
  if (!r) return kExecError;
  RValue& x = var->value;
  if (e.op == tk::kPlus && x.kind == RValue::kReal && r->kind == RValue::kReal) {
    x.real += r->real;
  } else if (const char* err = BinaryOperation(e.op, x, *r)) {
    return Fail(f, right.pos, err);
  }
  WriteSlot(f, slot, x);
  return kExecNormal;
}

[[gnu::noinline]] int CombineMissing(const XNode& n, XFrame& f, RValue& slot, int64_t c,
                                     const RValue& v) {
  const XNode& t = *n.a;
  if (!f.lang.uninitialised_as_zero) return Fail(f, n.pos, UnknownVariable(f.lang, t.op, c));
  RValue zero(0.0);
  if (const char* e = BinaryOperation(n.op, zero, v)) return Fail(f, n.pos, e);
  CopyValue(slot, zero);
  return kExecNormal;
}

template <int Owner, bool Indexed>
[[gnu::always_inline]] inline int CombineListWith(const XNode& n, XFrame& f, RValue& slot,
                                                  int64_t c, const RValue& v) {
  const XNode& t = *n.a;
  RVariable* var = nullptr;
  if (CVariableList* l = ListOf<Owner>(t, f)) var = l->FindVariable(t.op, t.cache);
  if (var && c == 0) {
    if (const char* e = Combine(n.op, var->value, v)) return Fail(f, n.pos, e);
    WriteSlot(f, slot, var->value);
    return kExecNormal;
  }
  if (var) {
    RValue cur;
    if (ReadElement(*var, c, cur)) {
      if (const char* e = Combine(n.op, cur, v)) return Fail(f, n.pos, e);
      CopyValue(slot, cur);
      WriteElement(*var, c, std::move(cur));
      return kExecNormal;
    }
  }
  // Missing: real 0 combined with the value when uninitialised_as_zero is on.
  if (CombineMissing(n, f, slot, c, v)) return kExecError;
  RVariable& made = ListForWrite<Owner>(t, f).ObtainVariable(t.op, t.cache);
  WriteElement(made, c, slot);
  return kExecNormal;
}

template <int Owner, bool Indexed>
[[gnu::noinline]] int CombineListRun(const XNode& n, XFrame& f, RValue& slot, int64_t c) {
  RValue v;
  if (Eval(*n.b, f, v)) return kExecError;
  return CombineListWith<Owner, Indexed>(n, f, slot, c, v);
}

// `+=` and the other compound operators on a variable of a list owner.
template <int Owner, bool Indexed>
int StCombineList(const XNode& n, XFrame& f, RValue& slot) {
  const XNode& t = *n.a;
  int64_t c = 0;
  if constexpr (Indexed)
    if (t.nindex && CombinedIndex(t, f, c)) return kExecError;
  const XNode& value = *n.b;
  if (value.access == kAccessRun) return CombineListRun<Owner, Indexed>(n, f, slot, c);
  const RValue* v = PlainValue(value, f);
  if (!v) return kExecError;
  return CombineListWith<Owner, Indexed>(n, f, slot, c, *v);
}

// Any other target: the owner rules of ReadVariable and WriteVariable.
int StAssignGeneric(const XNode& n, XFrame& f, RValue& slot) {
  const XNode& t = *n.a;
  int32_t owner;
  int64_t c;
  if (Reference(t, f, owner, c)) return kExecError;
  RValue v;
  if (Eval(*n.b, f, v)) return kExecError;
  if (n.op != tk::kAssign) {
    RValue cur;
    if (!ReadVariable(f.lang, f, owner, t.op, c, cur)) {
      if (!f.lang.uninitialised_as_zero) return Fail(f, n.pos, UnknownVariable(f.lang, t.op, c));
      cur.SetReal(0);
    }
    if (const char* e = BinaryOperation(n.op, cur, v)) return Fail(f, n.pos, e);
    v = std::move(cur);
  }
  CopyValue(slot, v);
  bool written = WriteVariable(f.lang, f, owner, t.op, c, v);
  f.SyncLocals();  // the write may have made the local list
  if (!written) return Fail(f, n.pos, "Cannot assign to the variable");
  return kExecNormal;
}

// ---- building ----

XFn BinaryFn(int32_t op) {
#define ZORVEX_BINARY(OP) \
  case OP:                \
    return &ExBinary<OP>;
  switch (op) {
    ZORVEX_BINARY(tk::kAssign)
    ZORVEX_BINARY(tk::kEqual)
    ZORVEX_BINARY(tk::kLess)
    ZORVEX_BINARY(tk::kLessEqual)
    ZORVEX_BINARY(tk::kNotEqual)
    ZORVEX_BINARY(tk::kGreaterEqual)
    ZORVEX_BINARY(tk::kGreater)
    ZORVEX_BINARY(tk::kAnd)
    ZORVEX_BINARY(tk::kOr)
    ZORVEX_BINARY(tk::kXor)
    ZORVEX_BINARY(tk::kPlus)
    ZORVEX_BINARY(tk::kMinus)
    ZORVEX_BINARY(tk::kTimes)
    ZORVEX_BINARY(tk::kDivide)
    ZORVEX_BINARY(tk::kDiv)
    ZORVEX_BINARY(tk::kMod)
    ZORVEX_BINARY(tk::kBitOr)
    ZORVEX_BINARY(tk::kBitAnd)
    ZORVEX_BINARY(tk::kBitXor)
    ZORVEX_BINARY(tk::kShiftLeft)
    ZORVEX_BINARY(tk::kShiftRight)
    default:
      return &ExBinary<0>;
  }
#undef ZORVEX_BINARY
}

template <int32_t Op>
XTest TestFor(const XNode& n) {
  if (n.a->access == kAccessListVar && n.b->access == kAccessConst && n.b->value.IsReal())
    return &TestVariable<Op, true>;
  if (n.a->access == kAccessListVar && n.b->access == kAccessListVar)
    return &TestVariable<Op, false>;
  return &TestBinary<Op>;
}

XTest BinaryTest(const XNode& n) {
  switch (n.op) {
    case tk::kAssign:
      return TestFor<tk::kAssign>(n);
    case tk::kEqual:
      return TestFor<tk::kEqual>(n);
    case tk::kLess:
      return TestFor<tk::kLess>(n);
    case tk::kLessEqual:
      return TestFor<tk::kLessEqual>(n);
    case tk::kNotEqual:
      return TestFor<tk::kNotEqual>(n);
    case tk::kGreaterEqual:
      return TestFor<tk::kGreaterEqual>(n);
    case tk::kGreater:
      return TestFor<tk::kGreater>(n);
    default:
      break;
  }
  switch (n.op) {
    case tk::kAssign:
      return &TestBinary<tk::kAssign>;
    case tk::kEqual:
      return &TestBinary<tk::kEqual>;
    case tk::kLess:
      return &TestBinary<tk::kLess>;
    case tk::kLessEqual:
      return &TestBinary<tk::kLessEqual>;
    case tk::kNotEqual:
      return &TestBinary<tk::kNotEqual>;
    case tk::kGreaterEqual:
      return &TestBinary<tk::kGreaterEqual>;
    case tk::kGreater:
      return &TestBinary<tk::kGreater>;
    case tk::kAnd:
      return &TestBinary<tk::kAnd>;
    case tk::kOr:
      return &TestBinary<tk::kOr>;
    case tk::kXor:
      return &TestBinary<tk::kXor>;
    default:
      return nullptr;
  }
}

uint8_t ListSelector(int32_t owner) {
  switch (owner) {
    case kOwnerLocal:
      return kListLocal;
    case kOwnerSelf:
      return kListSelf;
    case kOwnerOther:
      return kListOther;
    case kOwnerGlobal:
      return kListGlobal;
    default:
      return kListUnqualified;
  }
}

bool IsListOwner(int32_t owner) {
  return owner == kOwnerLocal || owner == kOwnerUnqualified || owner == kOwnerSelf ||
         owner == kOwnerOther || owner == kOwnerGlobal;
}

template <template <int, bool> class F, bool Indexed>
XFn ByOwnerIndexed(int32_t owner) {
  switch (owner) {
    case kOwnerLocal:
      return &F<kOwnerLocal, Indexed>::Run;
    case kOwnerUnqualified:
      return &F<kOwnerUnqualified, Indexed>::Run;
    case kOwnerSelf:
      return &F<kOwnerSelf, Indexed>::Run;
    case kOwnerOther:
      return &F<kOwnerOther, Indexed>::Run;
    default:
      return &F<kOwnerGlobal, Indexed>::Run;
  }
}

// The function for a variable of a list owner; one without indices skips all index work.
template <template <int, bool> class F>
XFn ByOwner(int32_t owner, bool indexed) {
  return indexed ? ByOwnerIndexed<F, true>(owner) : ByOwnerIndexed<F, false>(owner);
}

template <int Owner, bool Indexed>
struct ReadList {
  static int Run(const XNode& n, XFrame& f, RValue& out) {
    return ExVarList<Owner, Indexed>(n, f, out);
  }
};
template <int Owner, bool Indexed>
struct SetList {
  static int Run(const XNode& n, XFrame& f, RValue& out) {
    return StSetList<Owner, Indexed>(n, f, out);
  }
};
template <int Owner, bool Indexed>
struct UpdateList {
  static int Run(const XNode& n, XFrame& f, RValue& out) {
    return StUpdateList<Owner, Indexed>(n, f, out);
  }
};
template <int Owner, bool Indexed>
struct CombineList {
  static int Run(const XNode& n, XFrame& f, RValue& out) {
    return StCombineList<Owner, Indexed>(n, f, out);
  }
};

int32_t CompoundOperator(int32_t assignment) {
  switch (assignment) {
    case tk::kAddAssign:
      return tk::kPlus;
    case tk::kSubAssign:
      return tk::kMinus;
    case tk::kMulAssign:
      return tk::kTimes;
    case tk::kDivAssign:
      return tk::kDivide;
    case tk::kOrAssign:
      return tk::kBitOr;
    case tk::kAndAssign:
      return tk::kBitAnd;
    case tk::kXorAssign:
      return tk::kBitXor;
    default:
      return tk::kAssign;
  }
}

class Builder {
 public:
  Builder(const CLanguage& lang, XProgram& p) : lang_(lang), p_(p) {}

  const XNode* Statement(const RToken& t) {
    switch (t.kind) {
      case tk::kEmptyProgram:
      case tk::kVar:
        return Simple(t, StNothing);
      case tk::kEmptyStatement:
        return Simple(t, StEmpty);
      case tk::kExit:
        return Simple(t, StExit);
      case tk::kBreak:
        return Simple(t, StBreak);
      case tk::kContinue:
        return Simple(t, StContinue);
      case tk::kFunction: {
        XNode& n = Call(t);
        if (n.op >= kScriptIdBase && n.op < kExtensionIdBase) n.fn = StCallScript;
        return &n;
      }
      case tk::kBlock: {
        XNode& n = New(t, StBlock);
        for (const RToken& c : t.children)
          n.kids.push_back(Statement(c));
        Seal(n);
        return &n;
      }
      case tk::kIf: {
        XNode& n = New(t, StIf);
        n.a = Expression(t.children[0]);
        n.b = Statement(t.children[1]);
        if (t.children.size() > 2) n.c = Statement(t.children[2]);
        return &n;
      }
      case tk::kWhile:
      case tk::kRepeat:
      case tk::kWith: {
        XNode& n = New(t, t.kind == tk::kWhile    ? StWhile
                          : t.kind == tk::kRepeat ? StRepeat
                                                  : StWith);
        n.a = Expression(t.children[0]);
        n.b = Statement(t.children[1]);
        // The repeat count is taken once; a while condition must call nothing.
        n.slot_once =
            (t.kind == tk::kRepeat || (t.kind == tk::kWhile && n.a->pure)) && PlainAssignment(*n.b);
        return &n;
      }
      case tk::kDo: {
        XNode& n = New(t, StDo);
        n.a = Statement(t.children[0]);
        n.b = Expression(t.children[1]);
        return &n;
      }
      case tk::kFor: {
        XNode& n = New(t, StFor);
        n.a = Statement(t.children[0]);
        n.b = Expression(t.children[1]);
        n.c = Statement(t.children[2]);
        n.d = Statement(t.children[3]);
        const XNode& step = *n.c;
        if (n.b->test && step.kind == tk::kAssign &&
            (step.op == tk::kPlus || step.op == tk::kMinus) && step.a->access == kAccessListVar &&
            (step.b->access == kAccessConst || step.b->access == kAccessListVar))
          n.fn = StForCounted;
        // The condition must call nothing and the step must be a plain assignment to another
        // variable.
        const XNode& body = *n.d;
        n.slot_once =
            n.b->pure && PlainAssignment(body) && PlainAssignment(step) && step.a->op != body.a->op;
        return &n;
      }
      case tk::kReturn: {
        XNode& n = New(t, StReturn);
        n.a = Expression(t.children[0]);
        return &n;
      }
      case tk::kSwitch: {
        XNode& n = New(t, StSwitch);
        n.a = Expression(t.children[0]);
        for (size_t i = 1; i < t.children.size(); ++i)
          n.kids.push_back(Statement(t.children[i]));
        Seal(n);
        return &n;
      }
      case tk::kCase: {
        XNode& n = New(t, StCaseLabel);
        n.a = Expression(t.children[0]);
        return &n;
      }
      case tk::kDefault:
        return Simple(t, StDefaultLabel);
      case tk::kGlobalVar: {
        XNode& n = New(t, StGlobalVar);
        for (const RToken& c : t.children)
          n.kids.push_back(Simple(c, StNothing));
        Seal(n);
        return &n;
      }
      case tk::kAssign:
        return Assignment(t);
      default:
        // An expression as the whole of a piece of expression code.
        return Expression(t);
    }
  }

  const XNode* Expression(const RToken& t) {
    switch (t.kind) {
      case tk::kValue: {
        XNode& n = New(t, t.value.IsReal() ? ExConstReal : ExConstString);
        n.value = t.value;
        n.access = kAccessConst;
        return &n;
      }
      case tk::kFunction: {
        XNode& n = Call(t);
        n.pure = false;
        return &n;
      }
      case tk::kVariable:
      case tk::kFixedVariable:
        return Variable(t);
      case tk::kUnary: {
        XNode& n = New(t, t.op == tk::kMinus ? ExNegate : t.op == tk::kNot ? ExNot : ExUnary);
        n.a = Expression(t.children[0]);
        n.pure = n.a->pure;
        return &n;
      }
      case tk::kBinary: {
        XNode& n = New(t, BinaryFn(t.op));
        n.a = Expression(t.children[0]);
        n.b = Expression(t.children[1]);
        n.test = BinaryTest(n);
        n.pure = n.a->pure && n.b->pure;
        return &n;
      }
      default:
        return Simple(t, StNothing);
    }
  }

 private:
  XNode& New(const RToken& t, XFn fn) {
    XNode& n = p_.nodes.emplace_back();
    n.fn = fn;
    n.kind = t.kind;
    n.op = t.op;
    n.pos = t.position;
    return n;
  }
  const XNode* Simple(const RToken& t, XFn fn) { return &New(t, fn); }
  static void Seal(XNode& n) {
    n.list = n.kids.data();
    n.count = static_cast<int32_t>(n.kids.size());
  }

  XNode& Call(const RToken& t) {
    XNode& n = New(t, CallBuiltin);
    for (const RToken& c : t.children)
      n.kids.push_back(Expression(c));
    Seal(n);
    if (n.op >= kExtensionIdBase) {
      n.fn = CallExtension;
    } else if (n.op >= kScriptIdBase) {
      n.fn = ExCallScript;
    } else {
      const FunctionEntry* e = lang_.functions ? lang_.functions->Entry(n.op) : nullptr;
      n.handler = e ? e->handler : nullptr;
    }
    return n;
  }

  // The variable node with its owner and indices resolved; its function reads it.
  XNode& VariableNode(const RToken& t) {
    XNode& n = New(t, ExVarGeneric);
    if (t.kind == tk::kFixedVariable) {
      n.owner_fixed = true;
      n.owner = t.fixed_owner;
      n.list_sel = ListSelector(n.owner);
      return n;
    }
    const RToken& owner = t.children[0];
    if (owner.kind == tk::kValue && owner.value.IsReal()) {
      n.owner_fixed = true;
      n.owner = RoundToInt32(owner.value.real);
      n.list_sel = ListSelector(n.owner);
    } else {
      n.a = Expression(owner);
    }
    n.nindex = static_cast<int32_t>(t.children.size()) - 1;
    if (n.nindex >= 1) n.c = Expression(t.children[1]);
    if (n.nindex >= 2) n.d = Expression(t.children[2]);
    n.pure = (!n.a || n.a->pure) && (!n.c || n.c->pure) && (!n.d || n.d->pure);
    return n;
  }

  const XNode* Variable(const RToken& t) {
    XNode& n = VariableNode(t);
    if (!n.owner_fixed) return &n;
    bool builtin = n.op <= kLastBuiltinVariableId;
    if (!builtin && IsListOwner(n.owner)) {
      n.fn = ByOwner<ReadList>(n.owner, n.nindex != 0);
      if (n.nindex == 0) n.access = kAccessListVar;
    } else if (builtin &&
               (n.owner == kOwnerUnqualified || n.owner == kOwnerSelf || n.owner == kOwnerOther)) {
      n.fn = ExBuiltin;
      // The getters of argument0 ... argument15 read the argument array, whoever asks.
      const BuiltinVariableEntry* e = lang_.builtins.Entry(n.op);
      int k = e && e->getter && n.nindex == 0 ? ArgumentNumber(e->name) : -1;
      if (k >= 0) {
        n.fn = ExArgument;
        n.access = kAccessArgument;
        n.argument = static_cast<uint8_t>(k);
      }
    }
    return &n;
  }

  // `x = e` or `x op= e` with x a variable of a list owner without index and e calling
  // nothing: running it changes x alone.
  static bool PlainAssignment(const XNode& n) {
    return n.kind == tk::kAssign && n.a && n.a->access == kAccessListVar && n.b && n.b->pure;
  }

  // 0 ... 15 for the names argument0 ... argument15, else -1.
  static int ArgumentNumber(const std::string& name) {
    constexpr std::string_view kPrefix = "argument";
    if (name.size() <= kPrefix.size() || name.size() > kPrefix.size() + 2 ||
        name.compare(0, kPrefix.size(), kPrefix) != 0)
      return -1;
    int k = 0;
    for (size_t i = kPrefix.size(); i < name.size(); ++i) {
      if (name[i] < '0' || name[i] > '9') return -1;
      k = k * 10 + (name[i] - '0');
    }
    if (name.size() == kPrefix.size() + 2 && name[kPrefix.size()] == '0') return -1;
    return k < kArgumentCount ? k : -1;
  }

  const XNode* Assignment(const RToken& t) {
    XNode& n = New(t, StAssignGeneric);
    n.op = CompoundOperator(t.op);
    XNode& target = VariableNode(t.children[0]);
    n.a = &target;
    n.b = Expression(t.children[1]);
    bool list =
        target.owner_fixed && target.op > kLastBuiltinVariableId && IsListOwner(target.owner);
    if (!list) return &n;
    n.fn = n.op == tk::kAssign ? ByOwner<SetList>(target.owner, target.nindex != 0)
                               : ByOwner<CombineList>(target.owner, target.nindex != 0);
    if (target.nindex != 0) return &n;
    target.access = kAccessListVar;
    const XNode& value = *n.b;
    if (n.op == tk::kAssign && value.kind == tk::kBinary && value.a->access == kAccessListVar &&
        value.a->owner == target.owner && value.a->op == target.op && value.b->pure)
      n.fn = ByOwner<UpdateList>(target.owner, false);
    return &n;
  }

  const CLanguage& lang_;
  XProgram& p_;
};

}  // namespace

std::unique_ptr<XProgram> BuildProgram(const CLanguage& lang, const RToken& root, bool expression) {
  auto p = std::make_unique<XProgram>();
  Builder b(lang, *p);
  p->root = expression ? b.Expression(root) : b.Statement(root);
  return p;
}

int RunProgram(const XProgram& program, XFrame& f, RValue& slot) {
  return Eval(*program.root, f, slot);
}

namespace {

// The entries after a call's arguments read as real 0. Buffers are reused: only the entries
// below the buffer's clean mark can hold anything else.
inline void ZeroRest(RValue* args, int from, int& dirty) {
  for (int i = from; i < dirty; ++i)
    if (args[i].kind != RValue::kReal || std::bit_cast<uint64_t>(args[i].real) != 0)
      args[i].SetReal(0);
  dirty = from;
}

// Runs a script with `block` (16 values, the call's arguments first) as the argument array.
bool RunScript(CLanguage& lang, CCode& code, int32_t index, CInstanceCore* self,
               CInstanceCore* other, RValue& slot, RValue* block, int& dirty) {
  RValue* saved = lang.arguments;
  int* saved_dirty = lang.arguments_dirty;
  lang.arguments = block;
  lang.arguments_dirty = &dirty;
  bool ok = code.Evaluate(lang, self, other, slot);
  lang.arguments = saved;
  lang.arguments_dirty = saved_dirty;
  if (!ok)
    lang.error.message = "In script " + lang.lookup->ScriptName(index) + ":\r" + lang.error.message;
  return ok;
}

// A script call from code: the argument buffer of the call becomes the argument array.
bool CallScriptInPlace(CLanguage& lang, int32_t index, CInstanceCore* self, CInstanceCore* other,
                       RValue& slot, RValue* args, int count, int& dirty) {
  CCode* code = lang.lookup ? lang.lookup->ScriptCode(index) : nullptr;
  if (!code) return false;
  ZeroRest(args, count, dirty);
  return RunScript(lang, *code, index, self, other, slot, args, dirty);
}

}  // namespace

bool CallScript(CLanguage& lang, int32_t index, CInstanceCore* self, CInstanceCore* other,
                RValue& slot, RValue* args, int count) {
  CCode* code = lang.lookup ? lang.lookup->ScriptCode(index) : nullptr;
  if (!code) return false;
  if (count > kArgumentCount) count = kArgumentCount;
  CExecState& ex = lang.exec;
  RValue* block = ex.PushArguments();
  int& dirty = ex.TopDirty();
  for (int i = 0; i < count; ++i)
    MoveValue(block[i], std::move(args[i]));
  if (dirty < count) dirty = count;
  ZeroRest(block, count, dirty);
  bool ok = RunScript(lang, *code, index, self, other, slot, block, dirty);
  ex.PopArguments();
  return ok;
}

}  // namespace zorvex
