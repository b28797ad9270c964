#include "code/Code_Phase4.h"

#include <unordered_set>
#include <utility>

#include "code/Code_Language.h"
#include "code/Code_Main.h"
#include "code/Code_Operator.h"
#include "code/Code_Round.h"

namespace zorvex {

namespace {

// Strings longer than this are left for the interpreter to build: a folded constant lives in
// the tree for as long as the code does.
constexpr size_t kMaxFoldedString = 65536;

class Folder {
 public:
  Folder(CLanguage& lang, const CCode& code) : lang_(lang), code_(code) {}

  bool Visit(RToken& n) {
    for (RToken& c : n.children)
      if (!Visit(c)) return false;
    switch (n.kind) {
      case tk::kVar:
        for (const RToken& c : n.children)
          declared_.insert(c.op);
        return true;
      case tk::kVariable:
        return FixOwner(n);
      case tk::kUnary:
        return FoldUnary(n);
      case tk::kBinary:
        return FoldBinary(n);
      default:
        return true;
    }
  }

 private:
  bool FixOwner(RToken& n) {
    RToken& owner = n.children[0];
    if (owner.kind != tk::kValue) return true;
    if (owner.value.IsReal() && owner.value.real == -6.0 && declared_.count(n.op))
      owner.value.SetReal(-7.0);
    if (n.children.size() != 1) return true;
    if (owner.value.IsString()) {
      RecordError(lang_, code_, owner.position, "Left hand side must be a real value.");
      return false;
    }
    n.kind = tk::kFixedVariable;
    n.fixed_owner = RoundToInt32(owner.value.real);
    return true;
  }

  bool FoldUnary(RToken& n) {
    RToken& x = n.children[0];
    if (x.kind != tk::kValue) return true;
    RValue v = x.value;
    if (const char* err = UnaryOperation(n.op, v)) {
      RecordError(lang_, code_, x.position, err);
      return false;
    }
    BecomeConstant(n, std::move(v));
    return true;
  }

  bool FoldBinary(RToken& n) {
    RToken& a = n.children[0];
    RToken& b = n.children[1];
    if (a.kind != tk::kValue || b.kind != tk::kValue) return true;
    RValue v = a.value;
    if (const char* err = BinaryOperation(n.op, v, b.value, kMaxFoldedString)) {
      if (err == kStringTooLong) return true;
      RecordError(lang_, code_, b.position, err);
      return false;
    }
    BecomeConstant(n, std::move(v));
    return true;
  }

  static void BecomeConstant(RToken& n, RValue v) {
    n.kind = tk::kValue;
    n.op = 0;
    n.value = std::move(v);
    n.children.clear();
  }

  CLanguage& lang_;
  const CCode& code_;
  std::unordered_set<int32_t> declared_;
};

}  // namespace

bool CheckAndFold(CLanguage& lang, const CCode& code, RToken& root) {
  ClearError(lang);
  Folder f(lang, code);
  return f.Visit(root);
}

}  // namespace zorvex
