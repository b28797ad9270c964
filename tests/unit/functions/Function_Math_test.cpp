#include "functions/Function_Math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "Function_Test_Call.h"

namespace zorvex {
namespace {

using testing::FunctionCaller;

constexpr double kPi = std::numbers::pi;
const double kInf = std::numeric_limits<double>::infinity();

TEST(MathFunctions, RegisteredInOrderWithTheirArgumentCounts) {
  CGame game;
  const std::vector<std::pair<const char*, int>> expected = {
      {"is_real", 1},
      {"is_string", 1},
      {"random", 1},
      {"random_set_seed", 1},
      {"random_get_seed", 0},
      {"randomize", 0},
      {"abs", 1},
      {"round", 1},
      {"floor", 1},
      {"ceil", 1},
      {"sign", 1},
      {"frac", 1},
      {"sqrt", 1},
      {"sqr", 1},
      {"exp", 1},
      {"ln", 1},
      {"log2", 1},
      {"log10", 1},
      {"sin", 1},
      {"cos", 1},
      {"tan", 1},
      {"arcsin", 1},
      {"arccos", 1},
      {"arctan", 1},
      {"arctan2", 2},
      {"degtorad", 1},
      {"radtodeg", 1},
      {"power", 2},
      {"logn", 2},
      {"min", -1},
      {"max", -1},
      {"min3", 3},
      {"max3", 3},
      {"mean", -1},
      {"median", -1},
      {"choose", -1},
      {"real", 1},
      {"string", 1},
      {"string_format", 3},
      {"chr", 1},
      {"ord", 1},
      {"string_length", 1},
      {"string_pos", 2},
      {"string_copy", 3},
      {"string_char_at", 2},
      {"string_delete", 3},
      {"string_insert", 3},
      {"string_lower", 1},
      {"string_upper", 1},
      {"string_repeat", 2},
      {"string_letters", 1},
      {"string_digits", 1},
      {"string_lettersdigits", 1},
      {"string_replace", 3},
      {"string_replace_all", 3},
      {"string_count", 2},
      {"point_distance", 4},
      {"point_direction", 4},
      {"lengthdir_x", 2},
      {"lengthdir_y", 2},
  };
  ASSERT_EQ(expected.size(), 60u);
  int32_t first = game.functions.Find("is_real");
  ASSERT_GE(first, 0);
  for (size_t i = 0; i < expected.size(); ++i) {
    const FunctionEntry* e = game.functions.Entry(first + static_cast<int32_t>(i));
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->name, expected[i].first);
    EXPECT_EQ(e->argc, expected[i].second) << e->name;
  }
}

TEST(MathFunctions, KindsAreNotChecked) {
  FunctionCaller f;
  EXPECT_EQ(f.Real("is_real", {1.5}), 1);
  EXPECT_EQ(f.Real("is_real", {"1.5"}), 0);
  EXPECT_EQ(f.Real("is_string", {""}), 1);
  EXPECT_EQ(f.Real("is_string", {0.0}), 0);
  // A real reads as an empty string, a string as real 0.
  EXPECT_EQ(f.Real("string_length", {5.0}), 0);
  EXPECT_EQ(f.Real("sqrt", {"9"}), 0);
  EXPECT_EQ(f.Text("string_upper", {12.0}), "");
  EXPECT_EQ(f.Real("abs", {"-3"}), 0);
  EXPECT_EQ(f.TakeError(), "");
}

TEST(MathFunctions, Rounding) {
  FunctionCaller f;
  EXPECT_EQ(f.Real("round", {2.5}), 2);
  EXPECT_EQ(f.Real("round", {3.5}), 4);
  EXPECT_EQ(f.Real("round", {-2.5}), -2);
  EXPECT_EQ(f.Real("round", {-2.6}), -3);
  EXPECT_EQ(f.Real("round", {0.49999999999999994}), 0);
  EXPECT_FALSE(std::signbit(f.Real("round", {-0.5})));  // 0, not -0
  EXPECT_EQ(f.Real("round", {1e20}), 1e20);             // beyond 64 bits stays whole
  EXPECT_EQ(f.Real("floor", {-0.5}), -1);
  EXPECT_EQ(f.Real("floor", {2.999}), 2);
  EXPECT_EQ(f.Real("ceil", {-0.5}), 0);
  EXPECT_FALSE(std::signbit(f.Real("ceil", {-0.5})));
  EXPECT_EQ(f.Text("string", {f.Real("ceil", {-0.5})}), "0");
  EXPECT_EQ(f.Real("ceil", {2.001}), 3);
  // floor and ceil are 32-bit: 3000000000 - 2^32 = -1294967296.
  EXPECT_EQ(f.Real("floor", {3000000000.0}), -1294967296);
  EXPECT_EQ(f.Real("ceil", {2147483647.5}), -2147483648.0);
  EXPECT_EQ(f.Real("floor", {-2147483649.0}), 2147483647);
  EXPECT_EQ(f.Real("floor", {4294967296.0 * 3 + 5.5}), 5);
  EXPECT_EQ(f.Real("floor", {1e30}), 0);
  EXPECT_EQ(f.Real("floor", {std::nan("")}), 0);
  EXPECT_EQ(f.Real("frac", {-1.25}), -0.25);
  EXPECT_EQ(f.Real("frac", {3.75}), 0.75);
  EXPECT_EQ(f.Real("frac", {-4.0}), 0);
  EXPECT_EQ(f.Real("sign", {-3.0}), -1);
  EXPECT_EQ(f.Real("sign", {0.0}), 0);
  EXPECT_EQ(f.Real("sign", {0.001}), 1);
  EXPECT_EQ(f.Real("abs", {-2.5}), 2.5);
}

TEST(MathFunctions, ArithmeticAndTrigonometry) {
  FunctionCaller f;
  EXPECT_EQ(f.Real("sqrt", {16.0}), 4);
  EXPECT_EQ(f.Real("sqr", {-3.0}), 9);
  EXPECT_EQ(f.Real("exp", {0.0}), 1);
  EXPECT_EQ(f.Real("exp", {-1000.0}), 0);  // underflow is no error
  EXPECT_EQ(f.Real("ln", {1.0}), 0);
  EXPECT_DOUBLE_EQ(f.Real("ln", {std::exp(2.0)}), 2);
  EXPECT_EQ(f.Real("log2", {8.0}), 3);
  EXPECT_EQ(f.Real("log2", {0.5}), -1);
  EXPECT_EQ(f.Real("log10", {1000.0}), 3);
  EXPECT_EQ(f.Real("sin", {0.0}), 0);
  EXPECT_EQ(f.Real("cos", {0.0}), 1);
  EXPECT_DOUBLE_EQ(f.Real("tan", {kPi / 4}), 1);
  // arcsin and arccos go through the two-argument arctangent, exact at the ends.
  EXPECT_EQ(f.Real("arcsin", {1.0}), kPi / 2);
  EXPECT_EQ(f.Real("arcsin", {-1.0}), -kPi / 2);
  EXPECT_EQ(f.Real("arccos", {-1.0}), kPi);
  EXPECT_EQ(f.Real("arccos", {1.0}), 0);
  EXPECT_DOUBLE_EQ(f.Real("arcsin", {0.5}), kPi / 6);
  EXPECT_DOUBLE_EQ(f.Real("arccos", {0.5}), kPi / 3);
  EXPECT_EQ(f.Real("arctan", {1.0}), kPi / 4);
  EXPECT_EQ(f.Real("arctan2", {1.0, -1.0}), 3 * kPi / 4);
  EXPECT_EQ(f.Real("arctan2", {0.0, 0.0}), 0);
  EXPECT_EQ(f.Real("arctan2", {-1.0, 0.0}), -kPi / 2);
  EXPECT_EQ(f.Real("degtorad", {180.0}), kPi);
  EXPECT_EQ(f.Real("radtodeg", {kPi}), 180);
  EXPECT_EQ(f.TakeError(), "");
}

TEST(MathFunctions, Powers) {
  FunctionCaller f;
  EXPECT_EQ(f.Real("power", {2.0, 10.0}), 1024);
  EXPECT_EQ(f.Real("power", {-2.0, 3.0}), -8);
  EXPECT_EQ(f.Real("power", {-2.0, 2.0}), 4);
  EXPECT_EQ(f.Real("power", {0.0, 0.0}), 1);
  EXPECT_EQ(f.Real("power", {-5.0, 0.0}), 1);
  EXPECT_EQ(f.Real("power", {0.0, 5.0}), 0);
  EXPECT_EQ(f.Real("power", {0.0, 0.5}), 0);
  EXPECT_EQ(f.Real("power", {2.0, -1.0}), 0.5);
  EXPECT_EQ(f.Real("power", {10.0, -2.0}), 0.01);  // a true reciprocal of 100
  EXPECT_EQ(f.Real("power", {4.0, 0.5}), 2);
  EXPECT_EQ(f.Real("power", {1.0, 3e9}), 1);  // beyond 2^31: e^(n ln x)
  // 3^40 = 12157665459056928801 needs 64 bits; the result is its nearest double.
  EXPECT_EQ(f.Real("power", {3.0, 40.0}), 12157665459056928801.0);
  EXPECT_EQ(f.Real("power", {1e300, -2.0}), 0);  // underflow is no error
  EXPECT_EQ(f.Real("logn", {2.0, 8.0}), 3);
  EXPECT_EQ(f.Real("logn", {10.0, 1000.0}), 3);
  EXPECT_EQ(f.Real("logn", {0.5, 4.0}), -2);
  EXPECT_EQ(f.TakeError(), "");
}

// Every error leaves real 0, shows the message with the action context and lets the caller go
// on.
TEST(MathFunctions, ErrorMessages) {
  FunctionCaller f;
  struct Case {
    const char* function;
    std::vector<RValue> args;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"sqrt", {-1.0}, "Cannot apply sqrt to negative number."},
      {"sqrt", {-1e-300}, "Cannot apply sqrt to negative number."},
      {"exp", {710.0}, "Error in function exp()."},
      {"ln", {0.0}, "Error in function ln()."},
      {"ln", {-1.0}, "Error in function ln()."},
      {"log2", {0.0}, "Error in function log2()."},
      {"log10", {-5.0}, "Error in function log10()."},
      {"arcsin", {1.5}, "Error in function arcsin()."},
      {"arcsin", {-1.0000001}, "Error in function arcsin()."},
      {"arccos", {2.0}, "Error in function arccos()."},
      {"power", {-8.0, 1.0 / 3.0}, "Error in function power()."},
      {"power", {0.0, -1.0}, "Error in function power()."},
      {"power", {0.0, -0.5}, "Error in function power()."},
      {"power", {-1.0, 3e9}, "Error in function power()."},  // beyond 2^31: needs ln(-1)
      {"power", {10.0, 400.0}, "Error in function power()."},
      {"power", {2.0, 1024.5}, "Error in function power()."},
      {"power", {1e-300, -2.0}, "Error in function power()."},
      {"power", {10.0, -2e9}, "Error in function power()."},  // the power itself overflows
      {"logn", {1.0, 5.0}, "Error in function logn()."},
      {"logn", {0.0, 5.0}, "Error in function logn()."},
      {"logn", {-2.0, 8.0}, "Error in function logn()."},
      {"logn", {2.0, 0.0}, "Error in function logn()."},
      {"real", {"abc"}, "Error in function real()."},
      {"real", {"1,5"}, "Error in function real()."},
      {"real", {"1e999"}, "Error in function real()."},
      {"string_repeat", {"ab", 2e8}, "Error in function string_repeat()."},
      {"string_format", {1.0, 1e9, 0.0}, "Error in function string_format()."},
      {"string_format", {1.0, 0.0, 1e12}, "Error in function string_format()."},
  };
  for (const Case& c : cases) {
    FunctionCaller f;
    int32_t id = f.game.functions.Find(c.function);
    const FunctionEntry* e = f.game.functions.Entry(id);
    ASSERT_NE(e, nullptr);
    RValue args[kMaxArguments];
    for (size_t i = 0; i < c.args.size(); ++i)
      args[i] = c.args[i];
    RValue result;
    e->handler(f.game, nullptr, nullptr, static_cast<int>(c.args.size()), args, result);
    EXPECT_TRUE(result.IsReal()) << c.function;
    EXPECT_EQ(result.real, 0) << c.function;
    EXPECT_EQ(f.TakeError(), c.message) << c.function;
    EXPECT_TRUE(f.game.errors.occurred);
    EXPECT_EQ(f.game.errors.last_message.substr(0, 10), "ERROR in\r\n") << c.function;
    EXPECT_FALSE(f.game.errors.terminating());
  }
  // Borders that are not errors.
  EXPECT_EQ(f.Real("exp", {709.0}), std::exp(709.0));
  EXPECT_EQ(f.Real("sqrt", {-0.0}), 0);
  EXPECT_EQ(f.Real("exp", {kInf}), kInf);  // no overflow: the argument was infinite already
  EXPECT_EQ(f.Real("ln", {kInf}), kInf);
  EXPECT_EQ(f.Real("arcsin", {-1.0}), -kPi / 2);
  EXPECT_EQ(f.TakeError(), "");
}

TEST(MathFunctions, ReplaceAllRefusesResultsBeyondTheLimit) {
  FunctionCaller f;
  RValue v = f.Call("string_replace_all", {std::string(1000, 'a'), "a", std::string(300000, 'b')});
  EXPECT_TRUE(v.IsReal());
  EXPECT_EQ(f.TakeError(), "Error in function string_replace_all().");
}

TEST(MathFunctions, MinAndMaxKeepTheKindOfTheWinner) {
  FunctionCaller f;
  EXPECT_EQ(f.Real("min", {3.0, 1.0, 2.0}), 1);
  EXPECT_EQ(f.Real("max", {3.0, 1.0, 7.0, 2.0}), 7);
  EXPECT_EQ(f.Text("max", {"a", "b"}), "b");
  EXPECT_EQ(f.Text("min", {"b", "a", "c"}), "a");
  EXPECT_EQ(f.Text("min", {"ab", "abc"}), "ab");  // a prefix is smaller
  EXPECT_EQ(f.Text("max", {"B", "a"}), "a");      // byte order
  EXPECT_EQ(f.Real("min", {}), 0);
  EXPECT_EQ(f.Real("max", {}), 0);
  EXPECT_EQ(f.Real("min", {-4.0}), -4);
  // A real result is beaten by a string whose real part (0) is smaller; a string result is
  // beaten by a real whose string part ("") is smaller.
  EXPECT_EQ(f.Text("min", {1.0, "a"}), "a");
  EXPECT_EQ(f.Real("min", {"a", 1.0}), 1);
  EXPECT_EQ(f.Real("min", {5.0, "abc", 3.0}), 3);
  EXPECT_EQ(f.Real("max", {5.0, "abc", 3.0}), 5);
  EXPECT_EQ(f.Text("max", {"abc", 5.0}), "abc");
  EXPECT_EQ(f.Text("max", {-1.0, "z"}), "z");
  EXPECT_EQ(f.Real("min3", {2.0, -1.0, 7.0}), -1);
  EXPECT_EQ(f.Text("max3", {"a", "c", "b"}), "c");
}

TEST(MathFunctions, MeanAndMedian) {
  FunctionCaller f;
  EXPECT_EQ(f.Real("mean", {1.0, 2.0, 3.0, 4.0}), 2.5);
  EXPECT_EQ(f.Real("mean", {"x", 4.0}), 2);
  EXPECT_EQ(f.Real("mean", {}), 0);
  EXPECT_EQ(f.Real("median", {5.0, 1.0, 3.0}), 3);
  EXPECT_EQ(f.Real("median", {1.0, 2.0, 3.0, 4.0}), 2);
  EXPECT_EQ(f.Real("median", {4.0, 3.0, 2.0, 1.0}), 2);
  EXPECT_EQ(f.Real("median", {2.0, 2.0, 1.0}), 2);
  EXPECT_EQ(f.Real("median", {7.0}), 7);
  EXPECT_EQ(f.Real("median", {}), 0);
  // Real parts decide; the chosen argument keeps its kind.
  EXPECT_EQ(f.Real("median", {"a", 1.0, 2.0}), 1);
  EXPECT_EQ(f.Text("median", {"b", "a", 5.0}), "b");
}

TEST(MathFunctions, RealOfStrings) {
  FunctionCaller f;
  EXPECT_EQ(f.Real("real", {" 12.5 "}), 12.5);
  EXPECT_EQ(f.Real("real", {"1e3"}), 1000);
  EXPECT_EQ(f.Real("real", {""}), 0);
  EXPECT_EQ(f.Real("real", {" \t "}), 0);
  EXPECT_EQ(f.Real("real", {-7.25}), -7.25);
  EXPECT_EQ(f.TakeError(), "");
}

TEST(MathFunctions, StringAndStringFormat) {
  FunctionCaller f;
  EXPECT_EQ(f.Text("string", {1.0 / 3.0}), "0.33");
  EXPECT_EQ(f.Text("string", {5.0}), "5");
  EXPECT_EQ(f.Text("string", {-0.0}), "0");
  EXPECT_EQ(f.Text("string", {"text"}), "text");
  EXPECT_EQ(f.Text("string_format", {3.14159, 8.0, 3.0}), "   3.142");
  EXPECT_EQ(f.Text("string_format", {"x", 5.0, 2.0}), "x");
  EXPECT_EQ(f.Text("string_format", {2.0, 4.5, 0.5}), "   2");  // width 4, no decimals
  EXPECT_EQ(f.Text("string_format", {2.0, 5.5, 1.5}), "  2.00");
}

TEST(MathFunctions, Characters) {
  FunctionCaller f;
  EXPECT_EQ(f.Text("chr", {65.0}), "A");
  EXPECT_EQ(f.Text("chr", {321.0}), "A");   // low 8 bits
  EXPECT_EQ(f.Text("chr", {-191.0}), "A");  // -191 = 65 - 256
  EXPECT_EQ(f.Text("chr", {65.5}), "B");    // rounds to 66
  EXPECT_EQ(f.Text("chr", {0.0}), std::string(1, '\0'));
  EXPECT_EQ(f.Real("ord", {"Abc"}), 65);
  EXPECT_EQ(f.Real("ord", {"\xFF"}), 255);
  EXPECT_EQ(f.Real("ord", {""}), 0);
  EXPECT_EQ(f.Real("ord", {f.Text("chr", {200.0})}), 200);
}

TEST(MathFunctions, FindingAndCounting) {
  FunctionCaller f;
  EXPECT_EQ(f.Real("string_length", {"hello"}), 5);
  EXPECT_EQ(f.Real("string_length", {std::string("a\0b", 3)}), 3);
  EXPECT_EQ(f.Real("string_pos", {"c", "abc"}), 3);
  EXPECT_EQ(f.Real("string_pos", {"ab", "xabab"}), 2);
  EXPECT_EQ(f.Real("string_pos", {"x", "abc"}), 0);
  EXPECT_EQ(f.Real("string_pos", {"", "abc"}), 0);
  EXPECT_EQ(f.Real("string_pos", {"abcd", "abc"}), 0);
  EXPECT_EQ(f.Real("string_count", {"aa", "aaaa"}), 2);
  EXPECT_EQ(f.Real("string_count", {"aa", "aaa"}), 1);
  EXPECT_EQ(f.Real("string_count", {"b", "abcb"}), 2);
  EXPECT_EQ(f.Real("string_count", {"", "abc"}), 0);
}

TEST(MathFunctions, CopyingAtEdgePositions) {
  FunctionCaller f;
  EXPECT_EQ(f.Text("string_copy", {"hello", 0.0, 2.0}), "he");
  EXPECT_EQ(f.Text("string_copy", {"hello", -3.0, 2.0}), "he");
  EXPECT_EQ(f.Text("string_copy", {"hello", 4.0, 10.0}), "lo");
  EXPECT_EQ(f.Text("string_copy", {"hello", 5.0, 1.0}), "o");
  EXPECT_EQ(f.Text("string_copy", {"hello", 6.0, 1.0}), "");
  EXPECT_EQ(f.Text("string_copy", {"hello", 2.0, 0.0}), "");
  EXPECT_EQ(f.Text("string_copy", {"hello", 2.0, -1.0}), "");
  EXPECT_EQ(f.Text("string_copy", {"hello", 2.5, 2.0}), "el");  // round(2.5) is 2
  EXPECT_EQ(f.Text("string_copy", {"hello", 1.0, 1e9}), "hello");
  EXPECT_EQ(f.Text("string_copy", {"", 1.0, 1.0}), "");
  EXPECT_EQ(f.Text("string_char_at", {"abc", 5.0}), "");
  EXPECT_EQ(f.Text("string_char_at", {"abc", 3.0}), "c");
  EXPECT_EQ(f.Text("string_char_at", {"abc", 0.0}), "a");
  EXPECT_EQ(f.Text("string_char_at", {"abc", -1.0}), "a");
}

TEST(MathFunctions, DeletingAndInsertingAtEdgePositions) {
  FunctionCaller f;
  EXPECT_EQ(f.Text("string_delete", {"abc", 0.0, 1.0}), "abc");
  EXPECT_EQ(f.Text("string_delete", {"abc", 4.0, 1.0}), "abc");
  EXPECT_EQ(f.Text("string_delete", {"abc", 2.0, 0.0}), "abc");
  EXPECT_EQ(f.Text("string_delete", {"abc", 2.0, -1.0}), "abc");
  EXPECT_EQ(f.Text("string_delete", {"abc", 2.0, 10.0}), "a");
  EXPECT_EQ(f.Text("string_delete", {"abc", 1.0, 1.0}), "bc");
  EXPECT_EQ(f.Text("string_delete", {"abc", 3.0, 1.0}), "ab");
  EXPECT_EQ(f.Text("string_insert", {"X", "abc", 10.0}), "abcX");
  EXPECT_EQ(f.Text("string_insert", {"X", "abc", 4.0}), "abcX");
  EXPECT_EQ(f.Text("string_insert", {"X", "abc", 0.0}), "Xabc");
  EXPECT_EQ(f.Text("string_insert", {"X", "abc", -5.0}), "Xabc");
  EXPECT_EQ(f.Text("string_insert", {"X", "abc", 1.0}), "Xabc");
  EXPECT_EQ(f.Text("string_insert", {"XY", "abc", 2.0}), "aXYbc");
  EXPECT_EQ(f.Text("string_insert", {"X", "", 3.0}), "X");
}

TEST(MathFunctions, ChangingStrings) {
  FunctionCaller f;
  EXPECT_EQ(f.Text("string_lower", {"AbC-Z\xC4"}), "abc-z\xC4");  // only A-Z change
  EXPECT_EQ(f.Text("string_upper", {"aBc-z\xE4"}), "ABC-Z\xE4");
  EXPECT_EQ(f.Text("string_repeat", {"ab", 3.0}), "ababab");
  EXPECT_EQ(f.Text("string_repeat", {"ab", 2.5}), "abab");
  EXPECT_EQ(f.Text("string_repeat", {"ab", 0.0}), "");
  EXPECT_EQ(f.Text("string_repeat", {"ab", -2.0}), "");
  EXPECT_EQ(f.Text("string_repeat", {"", 1e12}), "");
  EXPECT_EQ(f.Text("string_letters", {"a1-B2_c3\xE9"}), "aBc");
  EXPECT_EQ(f.Text("string_digits", {"a1-B2_c3"}), "123");
  EXPECT_EQ(f.Text("string_lettersdigits", {"a1-B2_c3 "}), "a1B2c3");
  EXPECT_EQ(f.Text("string_replace", {"aXbX", "X", "--"}), "a--bX");
  EXPECT_EQ(f.Text("string_replace", {"abc", "", "z"}), "abc");
  EXPECT_EQ(f.Text("string_replace", {"abc", "q", "z"}), "abc");
  EXPECT_EQ(f.Text("string_replace_all", {"aaa", "aa", "b"}), "ba");
  EXPECT_EQ(f.Text("string_replace_all", {"a.b.c", ".", ""}), "abc");
  EXPECT_EQ(f.Text("string_replace_all", {"xx", "x", "xx"}), "xxxx");
  EXPECT_EQ(f.Text("string_replace_all", {"abc", "", "z"}), "abc");
  EXPECT_EQ(f.Text("string_replace_all", {"abc", "abc", ""}), "");
}

TEST(MathFunctions, DistanceAndDirection) {
  FunctionCaller f;
  EXPECT_EQ(f.Real("point_distance", {0.0, 0.0, 3.0, 4.0}), 5);
  EXPECT_EQ(f.Real("point_distance", {1.0, 1.0, -2.0, -3.0}), 5);
  EXPECT_EQ(f.Real("point_direction", {0.0, 0.0, 1.0, 0.0}), 0);
  EXPECT_EQ(f.Real("point_direction", {0.0, 0.0, 0.0, -1.0}), 90);
  EXPECT_EQ(f.Real("point_direction", {0.0, 0.0, -1.0, 0.0}), 180);
  EXPECT_EQ(f.Real("point_direction", {0.0, 0.0, 0.0, 1.0}), 270);
  EXPECT_EQ(f.Real("point_direction", {5.0, 5.0, 5.0, 5.0}), 0);
  EXPECT_EQ(f.Real("point_direction", {0.0, 0.0, 1.0, -1.0}), 45);
  EXPECT_EQ(f.Real("point_direction", {0.0, 0.0, -1.0, 1.0}), 225);
  EXPECT_EQ(f.Real("point_direction", {0.0, 0.0, 1.0, 1.0}), 315);
  EXPECT_FALSE(std::signbit(f.Real("point_direction", {0.0, 0.0, 1.0, 0.0})));
  // Components within 0.0001 of a whole number snap onto it.
  EXPECT_EQ(f.Real("lengthdir_x", {10.0, 90.0}), 0);
  EXPECT_EQ(f.Real("lengthdir_y", {10.0, 90.0}), -10);
  EXPECT_EQ(f.Real("lengthdir_x", {10.0, 60.0}), 5);
  EXPECT_EQ(f.Real("lengthdir_y", {10.0, 270.0}), 10);
  EXPECT_EQ(f.Real("lengthdir_x", {10.0, 180.0}), -10);
  EXPECT_FALSE(std::signbit(f.Real("lengthdir_y", {10.0, 0.0})));
  EXPECT_EQ(f.Real("lengthdir_x", {2.00005, 0.0}), 2);
  EXPECT_EQ(f.Real("lengthdir_x", {2.0002, 0.0}), 2.0002);
  EXPECT_EQ(f.Real("lengthdir_x", {1.0, 45.0}), std::cos(kPi / 4));
}

}  // namespace
}  // namespace zorvex
