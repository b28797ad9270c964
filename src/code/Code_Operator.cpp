#include "code/Code_Operator.h"

#include <cmath>
#include <string>

#include "code/Code_Round.h"
#include "code/Code_Tree.h"

namespace zorvex {

namespace {

constexpr const char* kUnaryType = "Wrong type of arguments to unary operator.";

// Truncation toward zero as a 32-bit integer: quotients outside the range wrap modulo 2^32;
// values beyond the 64-bit range (and NaN) give 0, the low half of the processor's
// "indefinite" integer.
int32_t TruncToInt32(double q) {
  double t = std::trunc(q);
  if (!(t > -9223372036854775808.0 && t < 9223372036854775808.0)) return 0;
  return static_cast<int32_t>(
      static_cast<uint32_t>(static_cast<uint64_t>(static_cast<int64_t>(t))));
}

double ShiftBy(int64_t a, double b, bool left) {
  uint64_t bits = static_cast<uint64_t>(a);
  unsigned k = static_cast<uint8_t>(static_cast<uint64_t>(RoundToInt64(b)));  // modulo 256
  if (k >= 128)
    k %= 32;
  else if (k >= 64)
    return 0.0;
  uint64_t r = left ? bits << k : bits >> k;
  return static_cast<double>(static_cast<int64_t>(r));
}

double Truth(bool b) {
  return b ? 1.0 : 0.0;
}

}  // namespace

double IntegerDivide(double a, double b) {
  return TruncToInt32(a / b);
}
double ShiftLeft(double a, double b) {
  return ShiftBy(RoundToInt64(a), b, true);
}
double ShiftRight(double a, double b) {
  return ShiftBy(RoundToInt64(a), b, false);
}

const char* UnaryOperation(int32_t op, RValue& x) {
  if (x.kind != RValue::kReal) return kUnaryType;
  switch (op) {
    case tk::kNot:
      x.real = Truth(x.real < 0.5);
      return nullptr;
    case tk::kMinus:
      x.real = -x.real;
      return nullptr;
    case tk::kPlus:
      return nullptr;
    case tk::kBitNot:
      x.real = static_cast<double>(~RoundToInt64(x.real));
      return nullptr;
    default:
      return kUnaryType;
  }
}

const char* BinaryOperation(int32_t op, RValue& a, const RValue& b, size_t max_string) {
  bool reals = a.kind == RValue::kReal && b.kind == RValue::kReal;
  switch (op) {
    case tk::kAssign:
    case tk::kEqual:
    case tk::kLess:
    case tk::kLessEqual:
    case tk::kNotEqual:
    case tk::kGreaterEqual:
    case tk::kGreater: {
      double d;
      if (reals) {
        d = a.real - b.real;
      } else if (a.kind == RValue::kString && b.kind == RValue::kString) {
        int c = a.str.compare(b.str);  // bytes compared unsigned
        d = c < 0 ? -1.0 : (c > 0 ? 1.0 : 0.0);
      } else {
        return "Cannot compare arguments.";
      }
      bool r;
      switch (op) {
        case tk::kLess:
          r = d < 0;
          break;
        case tk::kLessEqual:
          r = d <= 0;
          break;
        case tk::kNotEqual:
          r = d != 0;
          break;
        case tk::kGreaterEqual:
          r = d >= 0;
          break;
        case tk::kGreater:
          r = d > 0;
          break;
        default:
          r = d == 0;
          break;
      }
      a.SetReal(Truth(r));
      return nullptr;
    }
    case tk::kAnd:
      if (!reals) return "Wrong type of arguments for &&.";
      a.real = Truth(a.real >= 0.5 && b.real >= 0.5);
      return nullptr;
    case tk::kOr:
      if (!reals) return "Wrong type of arguments for ||.";
      a.real = Truth(a.real >= 0.5 || b.real >= 0.5);
      return nullptr;
    case tk::kXor:
      if (!reals) return "Wrong type of arguments for ^^.";
      a.real = Truth((a.real >= 0.5) != (b.real >= 0.5));
      return nullptr;
    case tk::kPlus:
      if (reals) {
        a.real += b.real;
        return nullptr;
      }
      if (a.kind == RValue::kString && b.kind == RValue::kString) {
        if (a.str.size() + b.str.size() > max_string) return kStringTooLong;
        a.str += b.str;
        return nullptr;
      }
      return "Wrong type of arguments to +.";
    case tk::kMinus:
      if (!reals) return "Wrong type of arguments to -.";
      a.real -= b.real;
      return nullptr;
    case tk::kTimes:
      if (reals) {
        a.real *= b.real;
        return nullptr;
      }
      if (a.kind == RValue::kReal && b.kind == RValue::kString) {
        int64_t n = RoundToInt64(a.real);
        if (n <= 0 || b.str.empty()) {
          a.SetString("");
          return nullptr;
        }
        if (static_cast<uint64_t>(n) > max_string / b.str.size()) return kStringTooLong;
        std::string r;
        r.reserve(static_cast<size_t>(n) * b.str.size());
        for (int64_t i = 0; i < n; ++i)
          r += b.str;
        a.kind = RValue::kString;
        a.real = 0;
        a.str = std::move(r);
        return nullptr;
      }
      return "Wrong type of arguments to *.";
    case tk::kDivide:
      if (!reals) return "Wrong type of arguments to /.";
      if (b.real == 0) return "Division by 0.";
      a.real /= b.real;
      return nullptr;
    case tk::kDiv:
      if (!reals) return "Wrong type of arguments to div.";
      if (b.real == 0) return "Division by 0.";
      a.real = TruncToInt32(a.real / b.real);
      return nullptr;
    case tk::kMod:
      if (!reals) return "Wrong type of arguments to mod.";
      if (b.real == 0) return "Modulo by 0.";
      a.real = a.real - TruncToInt32(a.real / b.real) * b.real;
      return nullptr;
    case tk::kBitOr:
      if (!reals) return "Wrong type of arguments for |.";
      a.real = static_cast<double>(RoundToInt64(a.real) | RoundToInt64(b.real));
      return nullptr;
    case tk::kBitAnd:
      if (!reals) return "Wrong type of arguments for &.";
      a.real = static_cast<double>(RoundToInt64(a.real) & RoundToInt64(b.real));
      return nullptr;
    case tk::kBitXor:
      if (!reals) return "Wrong type of arguments for ^.";
      a.real = static_cast<double>(RoundToInt64(a.real) ^ RoundToInt64(b.real));
      return nullptr;
    case tk::kShiftLeft:
      if (!reals) return "Wrong type of arguments for <<.";
      a.real = ShiftLeft(a.real, b.real);
      return nullptr;
    case tk::kShiftRight:
      if (!reals) return "Wrong type of arguments for >>.";
      a.real = ShiftRight(a.real, b.real);
      return nullptr;
    default:
      return "Unknown operator.";
  }
}

}  // namespace zorvex
