// A compact text form of syntax trees for tests.
#pragma once

#include <cstdio>
#include <string>

#include "code/Code_Function.h"
#include "code/Code_Language.h"
#include "code/Code_Phase1.h"
#include "code/Code_Phase2.h"
#include "code/Code_Phase3.h"
#include "code/Code_Tree.h"
#include "code/Code_Variable.h"

namespace zorvex::testing {

inline std::string OpText(int32_t op) {
  switch (op) {
    case 101:
      return "=";
    case 102:
      return "+=";
    case 103:
      return "-=";
    case 104:
      return "*=";
    case 105:
      return "/=";
    case 114:
      return "|=";
    case 115:
      return "&=";
    case 116:
      return "^=";
    case 201:
      return "&&";
    case 202:
      return "||";
    case 203:
      return "!";
    case 204:
      return "<";
    case 205:
      return "<=";
    case 206:
      return "==";
    case 207:
      return "!=";
    case 208:
      return ">=";
    case 209:
      return ">";
    case 210:
      return "+";
    case 211:
      return "-";
    case 212:
      return "*";
    case 213:
      return "/";
    case 214:
      return " div ";
    case 215:
      return " mod ";
    case 216:
      return "^^";
    case 217:
      return "|";
    case 218:
      return "&";
    case 219:
      return "^";
    case 220:
      return "~";
    case 221:
      return "<<";
    case 222:
      return ">>";
    default:
      return "?" + std::to_string(op);
  }
}

inline std::string ValueText(const RValue& v) {
  if (v.IsString()) return "'" + v.str + "'";
  char b[64];
  std::snprintf(b, sizeof b, "%.17g", v.real);
  return b;
}

inline std::string Dump(const CLanguage& lang, const RToken& n) {
  auto kids = [&](size_t from, const char* sep) {
    std::string s;
    for (size_t i = from; i < n.children.size(); ++i) {
      if (i > from) s += sep;
      s += Dump(lang, n.children[i]);
    }
    return s;
  };
  switch (n.kind) {
    case tk::kEmptyProgram:
      return "<empty>";
    case tk::kEmptyStatement:
      return ";";
    case tk::kValue:
      return ValueText(n.value);
    case tk::kFunction: {
      const FunctionEntry* e = lang.functions ? lang.functions->Entry(n.op) : nullptr;
      std::string name = e ? e->name : "f" + std::to_string(n.op);
      return name + "(" + kids(0, ",") + ")";
    }
    case tk::kVariable:
    case tk::kFixedVariable: {
      std::string s = VariableName(lang, n.op);
      if (n.kind == tk::kFixedVariable)
        s += "@" + std::to_string(n.fixed_owner);
      else
        s += "{" + Dump(lang, n.children[0]) + "}";
      if (n.children.size() > 1) s += "[" + kids(1, ",") + "]";
      return s;
    }
    case tk::kUnary:
      return "(" + OpText(n.op) + Dump(lang, n.children[0]) + ")";
    case tk::kBinary:
      return "(" + Dump(lang, n.children[0]) + OpText(n.op) + Dump(lang, n.children[1]) + ")";
    case tk::kAssign:
      return Dump(lang, n.children[0]) + OpText(n.op) + Dump(lang, n.children[1]);
    case tk::kBlock:
      return "{" + kids(0, ";") + "}";
    case tk::kVar:
    case tk::kGlobalVar: {
      std::string s = n.kind == tk::kVar ? "var(" : "globalvar(";
      for (size_t i = 0; i < n.children.size(); ++i)
        s += (i ? "," : "") + VariableName(lang, n.children[i].op);
      return s + ")";
    }
    default: {
      static const char* names[] = {"if",     nullptr,  nullptr, "while",  "do",       "for",
                                    nullptr,  "repeat", "exit",  "break",  "continue", "with",
                                    "return", "switch", "case",  "default"};
      std::string name = n.kind >= 13 && n.kind <= 28 && names[n.kind - 13]
                             ? names[n.kind - 13]
                             : "k" + std::to_string(n.kind);
      return name + "(" + kids(0, ",") + ")";
    }
  }
}

// Lexes, resolves and parses without checking and folding; "" when a phase fails (the
// message is then in lang.error).
inline std::string ParseDump(CLanguage& lang, const std::string& source, bool expression = false) {
  CCode code(source, expression);
  std::string padded = source + "   ";
  RTokenList1 t1;
  RTokenList2 t2;
  RToken root;
  lang.error.recorded = false;
  if (!Tokenise(lang, code, padded, t1) || !Resolve(lang, code, t1, t2)) return "";
  bool ok = expression ? ParseExpression(lang, code, t2, root) : ParseProgram(lang, code, t2, root);
  return ok ? Dump(lang, root) : "";
}

}  // namespace zorvex::testing
