// Token kinds shared by the compilation phases, and the syntax tree node.
#pragma once

#include <cstdint>
#include <vector>

#include "code/RValue.h"

namespace zorvex {

// Token kinds of the lexer; the later phases reuse the numbers for node kinds and operators.
namespace tk {
constexpr int32_t kEnd = -2;
constexpr int32_t kBad = -1;
constexpr int32_t kIdentifier = 0;
constexpr int32_t kNumber = 1;
constexpr int32_t kString = 2;
// After resolution.
constexpr int32_t kValue = 5;
constexpr int32_t kFunction = 6;
constexpr int32_t kVariable = 7;
constexpr int32_t kFixedVariable = 8;  // node kind only
// Keywords.
constexpr int32_t kBegin = 11;
constexpr int32_t kEndBlock = 12;
constexpr int32_t kIf = 13;
constexpr int32_t kThen = 14;
constexpr int32_t kElse = 15;
constexpr int32_t kWhile = 16;
constexpr int32_t kDo = 17;
constexpr int32_t kFor = 18;
constexpr int32_t kUntil = 19;
constexpr int32_t kRepeat = 20;
constexpr int32_t kExit = 21;
constexpr int32_t kBreak = 22;
constexpr int32_t kContinue = 23;
constexpr int32_t kWith = 24;
constexpr int32_t kReturn = 25;
constexpr int32_t kSwitch = 26;
constexpr int32_t kCase = 27;
constexpr int32_t kDefault = 28;
constexpr int32_t kVar = 29;
constexpr int32_t kGlobalVar = 30;
// Assignment operators.
constexpr int32_t kAssign = 101;
constexpr int32_t kAddAssign = 102;
constexpr int32_t kSubAssign = 103;
constexpr int32_t kMulAssign = 104;
constexpr int32_t kDivAssign = 105;
constexpr int32_t kOrAssign = 114;
constexpr int32_t kAndAssign = 115;
constexpr int32_t kXorAssign = 116;
// Punctuation.
constexpr int32_t kOpen = 106;
constexpr int32_t kClose = 107;
constexpr int32_t kSemicolon = 108;
constexpr int32_t kComma = 109;
constexpr int32_t kOpenIndex = 110;
constexpr int32_t kCloseIndex = 111;
constexpr int32_t kDot = 112;
constexpr int32_t kColon = 113;
// Operators.
constexpr int32_t kAnd = 201;
constexpr int32_t kOr = 202;
constexpr int32_t kNot = 203;
constexpr int32_t kLess = 204;
constexpr int32_t kLessEqual = 205;
constexpr int32_t kEqual = 206;
constexpr int32_t kNotEqual = 207;
constexpr int32_t kGreaterEqual = 208;
constexpr int32_t kGreater = 209;
constexpr int32_t kPlus = 210;
constexpr int32_t kMinus = 211;
constexpr int32_t kTimes = 212;
constexpr int32_t kDivide = 213;
constexpr int32_t kDiv = 214;
constexpr int32_t kMod = 215;
constexpr int32_t kXor = 216;
constexpr int32_t kBitOr = 217;
constexpr int32_t kBitAnd = 218;
constexpr int32_t kBitXor = 219;
constexpr int32_t kBitNot = 220;
constexpr int32_t kShiftLeft = 221;
constexpr int32_t kShiftRight = 222;
// Node kinds of the tree.
constexpr int32_t kEmptyProgram = -2;
constexpr int32_t kEmptyStatement = -1;
constexpr int32_t kBlock = 1000;
constexpr int32_t kUnary = 1010;
constexpr int32_t kBinary = 1011;
}  // namespace tk

// One node of the syntax tree; a node owns its children.
struct RToken {
  int32_t kind = 0;
  int32_t op = 0;           // operator code, function id or variable id, by kind
  int32_t fixed_owner = 0;  // kind 8 only
  RValue value;             // kind 5
  std::vector<RToken> children;
  int32_t position = 0;  // 1-based source index for error messages
};

}  // namespace zorvex
