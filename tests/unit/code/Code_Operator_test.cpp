#include "code/Code_Operator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "code/Code_Tree.h"

namespace zorvex {
namespace {

RValue Bin(int32_t op, RValue a, const RValue& b) {
  const char* err = BinaryOperation(op, a, b);
  EXPECT_EQ(err, nullptr) << err;
  return a;
}

std::string BinErr(int32_t op, RValue a, const RValue& b) {
  RValue before = a;
  const char* err = BinaryOperation(op, a, b);
  EXPECT_EQ(a, before);  // a failure leaves the left value unchanged
  return err ? err : "";
}

double R(int32_t op, double a, double b) {
  return Bin(op, RValue(a), RValue(b)).real;
}

TEST(Operators, Comparisons) {
  EXPECT_EQ(R(tk::kAssign, 2, 2), 1);
  EXPECT_EQ(R(tk::kEqual, 2, 2.0000001), 0);
  EXPECT_EQ(R(tk::kLess, 1, 2), 1);
  EXPECT_EQ(R(tk::kLessEqual, 2, 2), 1);
  EXPECT_EQ(R(tk::kNotEqual, 2, 2), 0);
  EXPECT_EQ(R(tk::kGreaterEqual, 1, 2), 0);
  EXPECT_EQ(R(tk::kGreater, 3, 2), 1);
  EXPECT_EQ(Bin(tk::kLess, RValue("abc"), RValue("abd")), RValue(1.0));
  EXPECT_EQ(Bin(tk::kLess, RValue("ab"), RValue("abc")), RValue(1.0));
  EXPECT_EQ(Bin(tk::kLess, RValue("B"), RValue("a")), RValue(1.0));
  EXPECT_EQ(Bin(tk::kGreater, RValue("\xE9"), RValue("z")), RValue(1.0));  // bytes unsigned
  EXPECT_EQ(Bin(tk::kEqual, RValue("A"), RValue("a")), RValue(0.0));
  EXPECT_EQ(Bin(tk::kEqual, RValue(""), RValue("")), RValue(1.0));
  EXPECT_EQ(BinErr(tk::kEqual, RValue("1"), RValue(1.0)), "Cannot compare arguments.");
  EXPECT_EQ(BinErr(tk::kLess, RValue(1.0), RValue("1")), "Cannot compare arguments.");
  // The difference decides: infinities are not equal to themselves.
  double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(R(tk::kEqual, inf, inf), 0);
  EXPECT_EQ(R(tk::kNotEqual, inf, inf), 1);
}

TEST(Operators, LogicalUseTheHalfThreshold) {
  EXPECT_EQ(R(tk::kAnd, 0.5, 1), 1);
  EXPECT_EQ(R(tk::kAnd, 0.49, 1), 0);
  EXPECT_EQ(R(tk::kOr, 0.49, 0.5), 1);
  EXPECT_EQ(R(tk::kOr, 0, -1), 0);
  EXPECT_EQ(R(tk::kXor, 1, 0.7), 0);
  EXPECT_EQ(R(tk::kXor, 1, 0.2), 1);
  EXPECT_EQ(BinErr(tk::kAnd, RValue("a"), RValue(1.0)), "Wrong type of arguments for &&.");
  EXPECT_EQ(BinErr(tk::kOr, RValue(1.0), RValue("a")), "Wrong type of arguments for ||.");
  EXPECT_EQ(BinErr(tk::kXor, RValue("a"), RValue("b")), "Wrong type of arguments for ^^.");
}

TEST(Operators, Arithmetic) {
  EXPECT_EQ(R(tk::kPlus, 1.5, 2), 3.5);
  EXPECT_EQ(Bin(tk::kPlus, RValue("ab"), RValue("cd")), RValue("abcd"));
  EXPECT_EQ(BinErr(tk::kPlus, RValue("a"), RValue(1.0)), "Wrong type of arguments to +.");
  EXPECT_EQ(R(tk::kMinus, 1, 3), -2);
  EXPECT_EQ(BinErr(tk::kMinus, RValue("a"), RValue("b")), "Wrong type of arguments to -.");
  EXPECT_EQ(R(tk::kTimes, 1.5, 4), 6);
  EXPECT_EQ(Bin(tk::kTimes, RValue(3.0), RValue("ab")), RValue("ababab"));
  EXPECT_EQ(Bin(tk::kTimes, RValue(2.5), RValue("ab")), RValue("abab"));  // round to even
  EXPECT_EQ(Bin(tk::kTimes, RValue(0.0), RValue("ab")), RValue(""));
  EXPECT_EQ(Bin(tk::kTimes, RValue(-2.0), RValue("ab")), RValue(""));
  EXPECT_EQ(BinErr(tk::kTimes, RValue("ab"), RValue(3.0)), "Wrong type of arguments to *.");
  EXPECT_EQ(BinErr(tk::kTimes, RValue("ab"), RValue("c")), "Wrong type of arguments to *.");
  EXPECT_EQ(R(tk::kDivide, 7, 2), 3.5);
  EXPECT_EQ(BinErr(tk::kDivide, RValue(1.0), RValue(0.0)), "Division by 0.");
  EXPECT_EQ(BinErr(tk::kDivide, RValue(1.0), RValue(-0.0)), "Division by 0.");
  EXPECT_EQ(BinErr(tk::kDivide, RValue("1"), RValue(0.0)), "Wrong type of arguments to /.");
  EXPECT_EQ(R(tk::kDivide, 1e-300, 1e-300), 1);  // only an exact zero is refused
}

TEST(Operators, IntegerDivisionAndRemainder) {
  EXPECT_EQ(R(tk::kDiv, 7, 2), 3);
  EXPECT_EQ(R(tk::kDiv, -7, 2), -3);
  EXPECT_EQ(R(tk::kDiv, 7.9, 1), 7);
  EXPECT_EQ(R(tk::kDiv, 4294967296.0 + 5, 1), 5);  // wraps modulo 2^32
  EXPECT_EQ(R(tk::kDiv, 2147483648.0, 1), -2147483648.0);
  EXPECT_EQ(BinErr(tk::kDiv, RValue(1.0), RValue(0.0)), "Division by 0.");
  EXPECT_EQ(BinErr(tk::kDiv, RValue("1"), RValue(1.0)), "Wrong type of arguments to div.");
  EXPECT_EQ(R(tk::kMod, 7, 2), 1);
  EXPECT_EQ(R(tk::kMod, -7, 2), -1);
  EXPECT_EQ(R(tk::kMod, 7.5, 2), 1.5);
  EXPECT_EQ(R(tk::kMod, 7, -2), 1);
  EXPECT_EQ(BinErr(tk::kMod, RValue(1.0), RValue(0.0)), "Modulo by 0.");
  EXPECT_EQ(BinErr(tk::kMod, RValue(1.0), RValue("2")), "Wrong type of arguments to mod.");
}

TEST(Operators, BitwiseRoundHalvesToEven) {
  EXPECT_EQ(R(tk::kBitOr, 2.5, 0), 2);
  EXPECT_EQ(R(tk::kBitOr, 3.5, 0), 4);
  EXPECT_EQ(R(tk::kBitOr, 5, 2), 7);
  EXPECT_EQ(R(tk::kBitAnd, 6, 3), 2);
  EXPECT_EQ(R(tk::kBitXor, 6, 3), 5);
  EXPECT_EQ(R(tk::kBitAnd, -1, 255), 255);
  EXPECT_EQ(BinErr(tk::kBitOr, RValue("a"), RValue(0.0)), "Wrong type of arguments for |.");
  EXPECT_EQ(BinErr(tk::kBitAnd, RValue("a"), RValue(0.0)), "Wrong type of arguments for &.");
  EXPECT_EQ(BinErr(tk::kBitXor, RValue("a"), RValue(0.0)), "Wrong type of arguments for ^.");
}

TEST(Operators, ShiftsByModulo256) {
  EXPECT_EQ(R(tk::kShiftLeft, 1, 3), 8);
  EXPECT_EQ(R(tk::kShiftLeft, 1, 63), -9223372036854775808.0);
  EXPECT_EQ(R(tk::kShiftLeft, 1, 64), 0);
  EXPECT_EQ(R(tk::kShiftLeft, 1, 65), 0);
  EXPECT_EQ(R(tk::kShiftLeft, 1, 127), 0);
  EXPECT_EQ(R(tk::kShiftLeft, 1, 128 + 33), 2);  // 161 mod 32 = 1
  EXPECT_EQ(R(tk::kShiftLeft, 1, 256 + 4), 16);
  EXPECT_EQ(R(tk::kShiftLeft, 1, -1), 2147483648.0);  // -1 is 255: 255 mod 32 = 31
  EXPECT_EQ(R(tk::kShiftRight, -1, 60), 15);          // logical: zeros enter from the left
  EXPECT_EQ(R(tk::kShiftRight, 256, 4), 16);
  EXPECT_EQ(R(tk::kShiftRight, -1, 64), 0);
  EXPECT_EQ(BinErr(tk::kShiftLeft, RValue("a"), RValue(0.0)), "Wrong type of arguments for <<.");
  EXPECT_EQ(BinErr(tk::kShiftRight, RValue(1.0), RValue("a")), "Wrong type of arguments for >>.");
}

TEST(Operators, Unary) {
  auto U = [](int32_t op, RValue x) {
    const char* err = UnaryOperation(op, x);
    EXPECT_EQ(err, nullptr);
    return x;
  };
  EXPECT_EQ(U(tk::kNot, RValue(0.5)), RValue(0.0));
  EXPECT_EQ(U(tk::kNot, RValue(0.49)), RValue(1.0));
  EXPECT_EQ(U(tk::kMinus, RValue(2.0)), RValue(-2.0));
  EXPECT_EQ(U(tk::kPlus, RValue(2.0)), RValue(2.0));
  EXPECT_EQ(U(tk::kBitNot, RValue(0.0)), RValue(-1.0));
  EXPECT_EQ(U(tk::kBitNot, RValue(2.5)), RValue(-3.0));
  for (int32_t op : {tk::kNot, tk::kMinus, tk::kPlus, tk::kBitNot}) {
    RValue s("x");
    EXPECT_STREQ(UnaryOperation(op, s), "Wrong type of arguments to unary operator.");
    EXPECT_EQ(s, RValue("x"));
  }
}

TEST(Operators, OverlongStringsAreRefused) {
  RValue a(3.0);
  EXPECT_EQ(BinaryOperation(tk::kTimes, a, RValue("ab"), 5), kStringTooLong);
  EXPECT_EQ(a, RValue(3.0));
  RValue s("abc");
  EXPECT_EQ(BinaryOperation(tk::kPlus, s, RValue("def"), 5), kStringTooLong);
  EXPECT_EQ(s, RValue("abc"));
  RValue huge(1e15);
  EXPECT_EQ(BinaryOperation(tk::kTimes, huge, RValue("ab")), kStringTooLong);
}

}  // namespace
}  // namespace zorvex
