#include "run/Event_Action.h"

#include <algorithm>
#include <string>

#include "code/Code_Exec.h"
#include "code/Code_Lookup.h"
#include "code/Code_Main.h"
#include "code/Code_Round.h"
#include "game/Game.h"
#include "run/Run_Main.h"

namespace zorvex {

namespace {

constexpr char kCR = '\r';
// Returned by the interpreter's steps to end the action list.
constexpr int kStop = 10000000;
// Nested blocks, questions and repeats of one list; deeper nesting than real data ever has
// ends the list instead of the native stack.
constexpr int kMaxActionNesting = 10000;

bool CompileInto(CGame& game, std::shared_ptr<CCode>& out, const std::string& text,
                 bool expression) {
  auto code = std::make_shared<CCode>(text, expression);
  if (!code->Compile(game.language)) return false;
  out = std::move(code);
  return true;
}

// A failed execution or call: shown as a non-fatal error of the running action.
void ReportCodeError(CGame& game) {
  game.errors.ReportInContext(game.language.error.message, false);
  ClearError(game.language);
}

void EvaluateArgument(CGame& game, CInstance* self, CInstance* other, const CAction& a, size_t i,
                      RValue& out) {
  if (CCode* code = a.argument_codes[i].get()) {
    out.SetReal(0);
    code->ExecuteAndReport(game.language, self, other, out);
  } else {
    out = a.argument_values[i];
  }
}

// Evaluates an action's arguments into out[0 .. argc-1]. The constants are copied and the
// codes held before any of them runs: code may add actions to the event and move the action.
void EvaluateArguments(CGame& game, CInstance* self, CInstance* other, const CAction& a, int argc,
                       RValue* out) {
  std::shared_ptr<CCode> codes[CAction::kMaxArguments];
  for (int i = 0; i < argc; ++i) {
    codes[i] = a.argument_codes[static_cast<size_t>(i)];
    if (!codes[i]) out[i] = a.argument_values[static_cast<size_t>(i)];
  }
  for (int i = 0; i < argc; ++i) {
    if (!codes[i]) continue;
    out[i].SetReal(0);
    codes[i]->ExecuteAndReport(game.language, self, other, out[i]);
  }
}

// Calls a function by id: an extension function, a script or a built-in.
void CallFunctionId(CGame& game, int32_t id, CInstance* self, CInstance* other, int argc,
                    RValue* args, RValue& result) {
  CLanguage& lang = game.language;
  if (id >= kExtensionIdBase) {
    if (!lang.lookup ||
        !lang.lookup->CallExtension(id - kExtensionIdBase, self, other, argc, args, result))
      ReportCodeError(game);
  } else if (id >= kScriptIdBase) {
    if (!CallScript(lang, id - kScriptIdBase, self, other, result, args, argc))
      ReportCodeError(game);
  } else if (const FunctionEntry* e = game.functions.Entry(id)) {
    e->handler(game, self, other, argc, args, result);
  }
}

// Runs an action's function or code and gives its result. What is needed of the action is
// taken before anything runs: code run by the action may add actions to its event.
void RunAction(CGame& game, CInstance* self, CInstance* other, const CAction& a, RValue& result) {
  CRunState& run = game.run;
  const bool relative = a.may_be_relative && a.relative;
  const int argc = std::clamp(a.argument_count, 0, CAction::kMaxArguments);
  RValue args[kMaxArguments];
  if (a.exe_type == CAction::kExeFunction) {
    const int32_t id = a.function_id;
    run.argument_relative = relative;  // left so afterwards
    EvaluateArguments(game, self, other, a, argc, args);
    CallFunctionId(game, id, self, other, argc, args, result);
  } else if (a.exe_type == CAction::kExeCode) {
    CLanguage& lang = game.language;
    std::shared_ptr<CCode> code = a.compiled;
    const bool saved_relative = run.argument_relative;
    for (int i = 0; i < argc; ++i)
      args[i] = lang.arguments[i];
    run.argument_relative = relative;
    EvaluateArguments(game, self, other, a, argc, lang.arguments);
    if (code) code->ExecuteAndReport(lang, self, other, result);
    for (int i = 0; i < argc; ++i)
      lang.arguments[i] = std::move(args[i]);
    run.argument_relative = saved_relative;
  }
}

// The interpreter of one action list. Every step returns the index of the next action to run,
// or kStop.
class CActionList {
 public:
  CActionList(CGame& game, CInstance* self, CInstance* other, CEvent& event)
      : game_(game), self_(self), other_(other), event_(event) {}

  void Run() {
    int i = 0;
    while (i < Count())
      i = RunOne(i);
  }

 private:
  int Count() const { return event_.ActionCount(); }
  // The action list may grow while it runs (code can add actions to a running event), so
  // actions are always reached by index.
  CAction& At(int i) { return event_.actions[static_cast<size_t>(i)]; }
  bool Pending() const { return game_.run.Pending(); }
  void SetActionIndex(int i) { game_.errors.context.action_index = i; }

  int RunOne(int i) {
    if (i >= Count() || Pending() || depth_ >= kMaxActionNesting) return kStop;
    ++depth_;
    const CAction& a = At(i);
    int r;
    if (a.kind == CAction::kBeginBlock)
      r = RunBlock(i);
    else if (a.kind == CAction::kRepeat)
      r = RunRepeat(i);
    else if (a.is_question)
      r = RunQuestion(i);
    else
      r = RunNormal(i);
    --depth_;
    return Pending() ? kStop : r;
  }

  int RunNormal(int i) {
    if (i >= Count() || Pending()) return kStop;
    SetActionIndex(i);
    CAction& a = At(i);
    if (a.kind == CAction::kExit) return kStop;
    if (a.kind == CAction::kEndBlock || a.kind == CAction::kElse) return i + 1;
    const int32_t target = a.applies_to_offered ? a.applies_to : -1;
    if (target == -1) {
      ExecuteAction(game_, self_, other_, a);
    } else if (target == -2) {
      ExecuteAction(game_, other_, self_, a);
    } else if (target >= 0 && target <= game_.resources.objects.Count()) {
      CInstanceLists* lists = game_.run.Instances();
      if (!lists) return i + 1;
      const int n = lists->FamilyCount(target);
      for (int k = 0; k < n && k < lists->FamilyCount(target); ++k) {
        CInstance* inst = lists->FamilyAt(target, k);
        if (inst->marked) continue;
        ExecuteAction(game_, inst, other_, At(i));
        if (Pending()) return kStop;
      }
    }
    return i + 1;
  }

  int RunBlock(int i) {
    if (i >= Count() || Pending()) return kStop;
    int j = i + 1;
    for (;;) {
      if (j >= Count()) return kStop;
      if (At(j).kind == CAction::kEndBlock) return j + 1;
      j = RunOne(j);
      if (j == kStop) return kStop;
    }
  }

  int RunRepeat(int i) {
    if (i >= Count() || Pending()) return kStop;
    SetActionIndex(i);
    const CAction& a = At(i);
    RValue v;
    if (a.argument_count > 0) EvaluateArgument(game_, self_, other_, a, 0, v);
    const int64_t count = RoundToInt64(v.real);
    for (int64_t k = 0; k < count; ++k) {
      if (RunOne(i + 1) == kStop || Pending()) return kStop;
    }
    return Skip(i + 1);
  }

  int RunQuestion(int i) {
    if (i >= Count() || Pending()) return kStop;
    SetActionIndex(i);
    const int32_t target = At(i).applies_to_offered ? At(i).applies_to : -1;
    bool answer = true;
    if (target == -2) {
      answer = EvaluateQuestion(game_, other_, self_, At(i));
    } else if (target >= 0) {
      // Every instance of the family answers true (also when there is none).
      CInstanceLists* lists = game_.run.Instances();
      const int n = lists ? lists->FamilyCount(target) : 0;
      for (int k = 0; k < n && k < lists->FamilyCount(target) && answer; ++k) {
        CInstance* inst = lists->FamilyAt(target, k);
        if (inst->marked) continue;
        answer = EvaluateQuestion(game_, inst, other_, At(i));
        if (Pending()) return kStop;
      }
    } else {
      answer = EvaluateQuestion(game_, self_, other_, At(i));
    }
    if (Pending()) return kStop;
    int r = answer ? RunOne(i + 1) : Skip(i + 1);
    if (r < Count() && At(r).kind == CAction::kElse) r = answer ? Skip(r + 1) : RunOne(r + 1);
    return r;
  }

  // The index after the action (or block) at i, without running it; a question or repeat takes
  // the action or block after it along.
  int Skip(int i) {
    if (i >= Count() || depth_ >= kMaxActionNesting) return kStop;
    const CAction& a = At(i);
    if (a.kind == CAction::kBeginBlock) {
      ++depth_;
      int j = i + 1;
      while (j < Count() && At(j).kind != CAction::kEndBlock)
        j = Skip(j);
      --depth_;
      return j < Count() ? j + 1 : kStop;
    }
    if (a.kind == CAction::kRepeat || a.is_question) {
      ++depth_;
      int r = Skip(i + 1);
      --depth_;
      return r;
    }
    return i + 1;
  }

  CGame& game_;
  CInstance* self_;
  CInstance* other_;
  CEvent& event_;
  int depth_ = 0;
};

}  // namespace

bool PrepareAction(CGame& game, CAction& a) {
  if (a.kind == CAction::kSetVariable) {
    a.code = a.arguments[0] + (a.relative ? " += " : " = ") + a.arguments[1];
    a.kind = CAction::kNormal;
    a.argument_count = 0;
  } else if (a.kind == CAction::kCode) {
    a.code = a.arguments[0];
    a.kind = CAction::kNormal;
    a.argument_count = 0;
  }
  a.compiled.reset();
  if (a.exe_type == CAction::kExeCode && !CompileInto(game, a.compiled, a.code, false)) {
    game.errors.ReportInContext(
        std::string("COMPILATION ERROR in code action") + kCR + game.language.error.message, true);
    return false;
  }
  a.code.clear();
  for (auto& c : a.argument_codes)
    c.reset();
  const int argc = std::clamp(a.argument_count, 0, CAction::kMaxArguments);
  for (int i = 0; i < argc; ++i) {
    const size_t k = static_cast<size_t>(i);
    int32_t& kind = a.argument_kinds[k];
    std::string& text = a.arguments[k];
    if (kind == 2) kind = !text.empty() && (text[0] == '\'' || text[0] == '"') ? 0 : 1;
    if (kind == 1 || kind == 15) {
      a.argument_values[k] = RValue(text);
      kind = -1;
    } else {
      kind = 0;
      if (!CompileInto(game, a.argument_codes[k], text, true)) {
        game.errors.ReportInContext("COMPILATION ERROR in argument " + std::to_string(i) + kCR +
                                        game.language.error.message,
                                    true);
        return false;
      }
      if (a.argument_codes[k]->Kind() == kCodeConstant) {
        a.argument_values[k] = a.argument_codes[k]->ConstantValue();
        a.argument_codes[k].reset();
        kind = -1;
      }
    }
    text.clear();
  }
  return true;
}

bool PrepareEvent(CGame& game, CEvent& event) {
  for (int32_t i = 0; i < event.ActionCount(); ++i) {
    game.errors.context.action_index = i;
    if (!PrepareAction(game, event.actions[static_cast<size_t>(i)])) return false;
  }
  return true;
}

bool CompileTimeLines(CGame& game) {
  CTimeLineTable& table = game.resources.time_lines;
  CEventContext& ctx = game.errors.context;
  for (int32_t id = 0; id < table.Count(); ++id) {
    CTimeLine* tl = table.Get(id);
    if (!tl) continue;
    ctx.object_index = id;
    ctx.event_type = kTimeLineEventType;
    for (int32_t m = 0; m < tl->MomentCount(); ++m) {
      ctx.event_number = tl->MomentStep(m);
      if (!PrepareEvent(game, *tl->MomentEvent(m))) return false;
    }
  }
  return true;
}

bool PrepareObjects(CGame& game) {
  CObjectTable& table = game.resources.objects;
  CEventContext& ctx = game.errors.context;
  for (int32_t id = 0; id < table.Count(); ++id) {
    CObject* obj = table.Get(id);
    if (!obj) continue;
    ctx.object_index = id;
    for (int32_t t = 0; t < kEventTypeCount; ++t) {
      ctx.event_type = t;
      for (CEventEntry& e : obj->Events(t)) {
        ctx.event_number = e.number;
        if (!PrepareEvent(game, *e.event)) return false;
      }
    }
  }
  return true;
}

void RunActions(CGame& game, CInstance* self, CInstance* other, CEvent& event) {
  CActionList(game, self, other, event).Run();
}

void ExecuteAction(CGame& game, CInstance* self, CInstance* other, CAction& action) {
  RValue result;
  RunAction(game, self, other, action, result);
}

bool EvaluateQuestion(CGame& game, CInstance* self, CInstance* other, CAction& action) {
  if (action.exe_type == CAction::kExeNone) return false;
  RValue result;
  RunAction(game, self, other, action, result);
  return IsTrue(result.real) != action.not_flag;
}

}  // namespace zorvex
