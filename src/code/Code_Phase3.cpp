#include "code/Code_Phase3.h"

#include <algorithm>
#include <utility>

#include "code/Code_Function.h"
#include "code/Code_Language.h"
#include "code/Code_Main.h"
#include "code/Code_Variable.h"

namespace zorvex {

namespace {

// Recursion of the parser: nested statements, parentheses, arguments, indices and prefix
// operators. Beyond either limit the code is refused as nested too deeply.
constexpr int kMaxParseRecursion = 500;
constexpr uintptr_t kMaxParseStack = uintptr_t{2} << 20;

bool IsAssignmentOperator(int32_t k) {
  return (k >= tk::kAssign && k <= tk::kDivAssign) || (k >= tk::kOrAssign && k <= tk::kXorAssign);
}

// The precedence level of a binary operator, lowest first; -1 for other tokens.
int LevelOf(int32_t k) {
  switch (k) {
    case tk::kAnd:
    case tk::kOr:
    case tk::kXor:
      return 0;
    case tk::kAssign:
    case tk::kLess:
    case tk::kLessEqual:
    case tk::kEqual:
    case tk::kNotEqual:
    case tk::kGreaterEqual:
    case tk::kGreater:
      return 1;
    case tk::kBitOr:
    case tk::kBitAnd:
    case tk::kBitXor:
      return 2;
    case tk::kShiftLeft:
    case tk::kShiftRight:
      return 3;
    case tk::kPlus:
    case tk::kMinus:
      return 4;
    case tk::kTimes:
    case tk::kDivide:
    case tk::kDiv:
    case tk::kMod:
      return 5;
    default:
      return -1;
  }
}

RToken MakeNode(int32_t kind, int32_t op, int32_t position) {
  RToken n;
  n.kind = kind;
  n.op = op;
  n.position = position;
  return n;
}

RToken MakeConstant(const RValue& v, int32_t position) {
  RToken n = MakeNode(tk::kValue, 0, position);
  n.value = v;
  return n;
}

class Parser {
 public:
  Parser(CLanguage& lang, const CCode& code, const RTokenList2& t)
      : lang_(lang),
        code_(code),
        t_(t),
        stack_base_(reinterpret_cast<uintptr_t>(__builtin_frame_address(0))) {}

  bool Program(RToken& root) {
    if (Cur().kind == tk::kBegin) {
      root = Block();
      if (Failed()) return false;
      if (Cur().kind != tk::kEnd) {
        Error(Cur().position, "Program ends before end of the code.");
        return false;
      }
      return true;
    }
    if (Cur().kind == tk::kEnd) {
      root = MakeNode(tk::kEmptyProgram, 0, Cur().position);
      return true;
    }
    root = MakeNode(tk::kBlock, 0, Cur().position);
    int32_t h = 0;
    while (Cur().kind != tk::kEnd) {
      root.children.push_back(Statement());
      if (Failed()) return false;
      h = std::max(h, h_);
    }
    return Height(h + 1, root.position);
  }

  bool Expression(RToken& root) {
    if (Cur().kind == tk::kEnd) {
      root = MakeConstant(RValue(0.0), Cur().position);
      return true;
    }
    root = Expr();
    return !Failed();
  }

 private:
  // Counts recursion into statements and expressions so that nesting that the height check
  // has not seen yet cannot exhaust the native stack.
  class Nest {
   public:
    explicit Nest(Parser& p) : p_(p) { ++p_.depth_; }
    ~Nest() { --p_.depth_; }
    bool TooDeep() const {
      if (p_.depth_ > kMaxParseRecursion) return true;
      uintptr_t here = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
      return p_.stack_base_ > here && p_.stack_base_ - here > kMaxParseStack;
    }

   private:
    Parser& p_;
  };

  const RToken2& Cur() const { return t_[i_]; }
  void Advance() {
    if (t_[i_].kind != tk::kEnd) ++i_;
  }
  bool Failed() const { return lang_.error.recorded; }
  void Error(int32_t position, const char* message) {
    RecordError(lang_, code_, position, message);
  }
  // Records the height of the node just built; false (and the error) when it is too deep.
  bool Height(int32_t h, int32_t position) {
    h_ = h;
    if (h <= kMaxNesting) return true;
    Error(position, kNestingMessage);
    return false;
  }

  // ---- expressions ----

  RToken Expr() {
    Nest nest(*this);
    if (nest.TooDeep()) {
      Error(Cur().position, kNestingMessage);
      return {};
    }
    return Binary(0);
  }

  // Binary operators of level min_level or higher, each level left-associative.
  RToken Binary(int min_level) {
    RToken left = Unary();
    if (Failed()) return {};
    int32_t h = h_;
    for (;;) {
      int level = LevelOf(Cur().kind);
      if (level < min_level) break;
      int32_t op = Cur().kind;
      Advance();
      RToken right = Binary(level + 1);
      if (Failed()) return {};
      RToken node = MakeNode(tk::kBinary, op, left.position);
      h = std::max(h, h_) + 1;
      node.children.reserve(2);
      node.children.push_back(std::move(left));
      node.children.push_back(std::move(right));
      left = std::move(node);
      if (!Height(h, left.position)) return {};
    }
    h_ = h;
    return left;
  }

  RToken Unary() {
    int32_t k = Cur().kind;
    if (k != tk::kNot && k != tk::kMinus && k != tk::kPlus && k != tk::kBitNot) return Postfix();
    Nest nest(*this);
    if (nest.TooDeep()) {
      Error(Cur().position, kNestingMessage);
      return {};
    }
    RToken node = MakeNode(tk::kUnary, k, Cur().position);
    Advance();
    node.children.push_back(Unary());
    if (Failed() || !Height(h_ + 1, node.position)) return {};
    return node;
  }

  RToken Postfix() {
    RToken node = Primary();
    if (Failed()) return {};
    while (Cur().kind == tk::kDot) {
      Advance();
      if (Cur().kind != tk::kVariable) {
        Error(Cur().position, "Variable name expected.");
        return {};
      }
      int32_t h = h_;
      node = Variable(&node, h);
      if (Failed()) return {};
    }
    return node;
  }

  // A variable token with its optional indices; the owner is the node parsed before a '.',
  // or the unqualified owner -6.
  // Comma-separated expressions appended to node's children, up to (not past) the closing
  // token; h grows to the highest of them. False after an error.
  bool ListUpTo(RToken& node, int32_t close, const char* missing, const char* wrong, int32_t& h) {
    for (;;) {
      if (Cur().kind == close) return true;
      if (Cur().kind == tk::kEnd) {
        Error(Cur().position, missing);
        return false;
      }
      node.children.push_back(Expr());
      if (Failed()) return false;
      h = std::max(h, h_);
      if (Cur().kind == tk::kComma) {
        Advance();
      } else if (Cur().kind == close) {
        return true;
      } else {
        Error(Cur().position, Cur().kind == tk::kEnd ? missing : wrong);
        return false;
      }
    }
  }

  RToken Variable(RToken* owner, int32_t owner_height) {
    RToken node = MakeNode(tk::kVariable, Cur().ref, Cur().position);
    Advance();
    int32_t h = owner ? owner_height : 1;
    node.children.push_back(owner ? std::move(*owner) : MakeConstant(RValue(-6.0), node.position));
    if (Cur().kind == tk::kOpenIndex) {
      Advance();
      if (!ListUpTo(node, tk::kCloseIndex, "Symbol ] expected.", "Symbol , or ] expected.", h))
        return {};
      Advance();
      if (node.children.size() > 3) {
        Error(Cur().position, "Only 1- and 2-dimensional arrays are supported.");
        return {};
      }
    }
    if (!Height(h + 1, node.position)) return {};
    return node;
  }

  RToken Call() {
    RToken node = MakeNode(tk::kFunction, Cur().ref, Cur().position);
    Advance();  // the name; resolution made it a function only before '('
    Advance();  // '('
    int32_t h = 0;
    if (!ListUpTo(node, tk::kClose, "Symbol ) expected.", "Symbol , or ) expected.", h)) return {};
    int32_t close = Cur().position;
    Advance();
    int32_t n = static_cast<int32_t>(node.children.size());
    int32_t declared = ArgumentCountOfId(lang_, node.op);
    if (n > kMaxArguments || (declared >= 0 && n != declared)) {
      Error(close, "Wrong number of arguments to function or script.");
      return {};
    }
    if (!Height(h + 1, node.position)) return {};
    return node;
  }

  RToken Primary() {
    const RToken2& c = Cur();
    switch (c.kind) {
      case tk::kValue: {
        RToken node = MakeConstant(c.value, c.position);
        Advance();
        h_ = 1;
        return node;
      }
      case tk::kFunction:
        return Call();
      case tk::kVariable:
        return Variable(nullptr, 0);
      case tk::kOpen: {
        Advance();
        RToken e = Expr();
        if (Failed()) return {};
        if (Cur().kind != tk::kClose) {
          Error(Cur().position, "Symbol ) expected.");
          return {};
        }
        Advance();
        return e;
      }
      default:
        Error(c.position, "Unexpected symbol in expression.");
        return {};
    }
  }

  // ---- statements ----

  RToken Statement() {
    Nest nest(*this);
    if (nest.TooDeep()) {
      Error(Cur().position, kNestingMessage);
      return {};
    }
    RToken s = StatementBody();
    if (Failed()) return {};
    while (Cur().kind == tk::kSemicolon)
      Advance();
    return s;
  }

  // Parses `count` statements' worth of children into node and records its height.
  bool Child(RToken& node, RToken child, int32_t& h) {
    if (Failed()) return false;
    node.children.push_back(std::move(child));
    h = std::max(h, h_);
    return true;
  }

  RToken Block() {
    Advance();  // '{' or begin
    RToken node = MakeNode(tk::kBlock, 0, Cur().position);
    int32_t h = 0;
    while (Cur().kind != tk::kEndBlock) {
      if (Cur().kind == tk::kEnd) {
        Error(Cur().position, "Symbol } expected.");
        return {};
      }
      if (!Child(node, Statement(), h)) return {};
    }
    Advance();
    if (!Height(h + 1, node.position)) return {};
    return node;
  }

  RToken StatementBody() {
    const RToken2& c = Cur();
    int32_t kind = c.kind;
    switch (kind) {
      case tk::kFunction:
        return Call();
      case tk::kBegin:
        return Block();
      case tk::kSemicolon: {
        h_ = 1;
        return MakeNode(tk::kEmptyStatement, 0, c.position);
      }
      case tk::kEnd:
        Error(c.position, "Unexpected end of code reached.");
        return {};
      case tk::kExit:
      case tk::kBreak:
      case tk::kContinue: {
        RToken node = MakeNode(kind, 0, c.position);
        Advance();
        h_ = 1;
        return node;
      }
      case tk::kIf:
      case tk::kWhile:
      case tk::kDo:
      case tk::kFor:
      case tk::kRepeat:
      case tk::kWith:
      case tk::kReturn:
      case tk::kSwitch:
      case tk::kCase:
      case tk::kDefault:
      case tk::kVar:
      case tk::kGlobalVar:
        break;
      default:
        return Assignment();
    }
    Advance();
    RToken node = MakeNode(kind, 0, Cur().position);
    int32_t h = 0;
    switch (kind) {
      case tk::kIf:
        if (!Child(node, Expr(), h)) return {};
        if (Cur().kind == tk::kThen) Advance();
        if (!Child(node, Statement(), h)) return {};
        if (Cur().kind == tk::kElse) {
          Advance();
          if (!Child(node, Statement(), h)) return {};
        }
        break;
      case tk::kWhile:
      case tk::kWith:
        if (!Child(node, Expr(), h)) return {};
        if (Cur().kind == tk::kDo) Advance();
        if (!Child(node, Statement(), h)) return {};
        break;
      case tk::kDo:
        if (!Child(node, Statement(), h)) return {};
        if (Cur().kind != tk::kUntil) {
          Error(Cur().position, "Keyword until expected.");
          return {};
        }
        Advance();
        if (!Child(node, Expr(), h)) return {};
        break;
      case tk::kFor:
        if (Cur().kind != tk::kOpen) {
          Error(Cur().position, "Symbol ( expected.");
          return {};
        }
        Advance();
        if (!Child(node, Statement(), h)) return {};
        if (Cur().kind == tk::kSemicolon) Advance();
        if (!Child(node, Expr(), h)) return {};
        if (Cur().kind == tk::kSemicolon) Advance();
        if (!Child(node, Statement(), h)) return {};
        if (Cur().kind != tk::kClose) {
          Error(Cur().position, "Symbol ) expected.");
          return {};
        }
        Advance();
        if (!Child(node, Statement(), h)) return {};
        break;
      case tk::kRepeat:
        if (!Child(node, Expr(), h)) return {};
        if (!Child(node, Statement(), h)) return {};
        break;
      case tk::kReturn:
        if (!Child(node, Expr(), h)) return {};
        break;
      case tk::kSwitch:
        if (!Child(node, Expr(), h)) return {};
        if (Cur().kind != tk::kBegin) {
          Error(Cur().position, "Symbol { expected.");
          return {};
        }
        Advance();
        while (Cur().kind != tk::kEndBlock) {
          if (Cur().kind == tk::kEnd) {
            Error(Cur().position, "Symbol } expected.");
            return {};
          }
          if (!Child(node, Statement(), h)) return {};
        }
        Advance();
        break;
      case tk::kCase:
        if (!Child(node, Expr(), h)) return {};
        [[fallthrough]];
      case tk::kDefault:
        if (Cur().kind != tk::kColon) {
          Error(Cur().position, "Symbol : expected.");
          return {};
        }
        Advance();
        break;
      case tk::kVar:
      case tk::kGlobalVar:
        while (Cur().kind == tk::kVariable) {
          if (Cur().ref < kFirstInstanceId) {
            Error(Cur().position, "Cannot redeclare a builtin variable.");
            return {};
          }
          RToken name = MakeConstant(RValue(0.0), Cur().position);
          name.op = Cur().ref;
          node.children.push_back(std::move(name));
          h = 1;
          Advance();
          if (Cur().kind == tk::kComma) Advance();
        }
        break;
      default:
        break;
    }
    if (!Height(h + 1, node.position)) return {};
    return node;
  }

  RToken Assignment() {
    int32_t position = Cur().position;
    RToken target = Postfix();
    if (Failed()) return {};
    int32_t h = h_;
    if (target.kind != tk::kVariable) {
      Error(Cur().position, "Variable name expected.");
      return {};
    }
    int32_t op = Cur().kind;
    if (!IsAssignmentOperator(op)) {
      Error(Cur().position, "Assignment operator expected.");
      return {};
    }
    Advance();
    RToken node = MakeNode(tk::kAssign, op, position);
    node.children.push_back(std::move(target));
    if (!Child(node, Expr(), h)) return {};
    if (!Height(h + 1, node.position)) return {};
    return node;
  }

  CLanguage& lang_;
  const CCode& code_;
  const RTokenList2& t_;
  size_t i_ = 0;
  int32_t h_ = 0;  // height of the node most recently built
  int depth_ = 0;  // statements and expressions being parsed inside each other
  uintptr_t stack_base_;
};

}  // namespace

bool ParseProgram(CLanguage& lang, const CCode& code, const RTokenList2& tokens, RToken& root) {
  Parser p(lang, code, tokens);
  return p.Program(root);
}

bool ParseExpression(CLanguage& lang, const CCode& code, const RTokenList2& tokens, RToken& root) {
  Parser p(lang, code, tokens);
  return p.Expression(root);
}

}  // namespace zorvex
