#include "functions/Function_Math_Format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

namespace zorvex {
namespace {

std::string Fixed(double x, int64_t width, int64_t decimals) {
  std::string out = "unchanged";
  EXPECT_TRUE(FormatRealFixed(x, width, decimals, out));
  return out;
}

TEST(MathFormat, WholeNumbersPrintAsIntegers) {
  EXPECT_EQ(RealToString(3), "3");
  EXPECT_EQ(RealToString(-12), "-12");
  EXPECT_EQ(RealToString(0.0), "0");
  EXPECT_EQ(RealToString(-0.0), "0");
  EXPECT_EQ(RealToString(1e15), "1000000000000000");
  EXPECT_EQ(RealToString(-9223372036854775808.0), "-9223372036854775808");
  // Beyond 64 bits a whole number no longer equals its rounded value: the scientific form.
  EXPECT_EQ(RealToString(9223372036854775808.0), "9.223372037E+18");
  EXPECT_EQ(RealToString(1e20), "1.000000000E+20");
  EXPECT_EQ(RealToString(-1e20), "-1.000000000E+20");
  EXPECT_EQ(RealToString(1.5e308), "1.500000000E+308");
}

TEST(MathFormat, FractionsGetTwoDecimalsRoundedHalfAwayFromZero) {
  EXPECT_EQ(RealToString(0.125), "0.13");  // an exact half goes away from zero
  EXPECT_EQ(RealToString(-0.125), "-0.13");
  EXPECT_EQ(RealToString(0.375), "0.38");
  EXPECT_EQ(RealToString(2.0 / 3.0), "0.67");
  EXPECT_EQ(RealToString(1.0 / 3.0), "0.33");
  EXPECT_EQ(RealToString(-1.5), "-1.50");
  EXPECT_EQ(RealToString(0.1), "0.10");
  // The decision is taken on the exact value of the double, not on its short decimal form.
  EXPECT_EQ(RealToString(0.005), "0.01");   // 0.00500000000000000010...
  EXPECT_EQ(RealToString(0.015), "0.01");   // 0.01499999999999999944...
  EXPECT_EQ(RealToString(1.005), "1.00");   // 1.00499999999999989...
  EXPECT_EQ(RealToString(2.675), "2.67");   // 2.67499999999999982...
  EXPECT_EQ(RealToString(8.345), "8.35");   // 8.34500000000000063...
  EXPECT_EQ(RealToString(9.999), "10.00");  // carry into a new digit
}

TEST(MathFormat, TenSignificantDigitsLimitTheDecimals) {
  EXPECT_EQ(RealToString(876543210.456), "876543210.50");
  EXPECT_EQ(RealToString(123456789.125), "123456789.10");
  EXPECT_EQ(RealToString(1234567890.5), "1234567891.00");
  EXPECT_EQ(RealToString(9999999999.5), "10000000000.00");
  EXPECT_EQ(RealToString(12345678.125), "12345678.13");
}

TEST(MathFormat, LongIntegerPartsSwitchToScientificForm) {
  EXPECT_EQ(RealToString(12345678901.5), "1.234567890E+10");
  EXPECT_EQ(RealToString(-12345678906.5), "-1.234567891E+10");
  EXPECT_EQ(RealToString(99999999999.5), "1.000000000E+11");
  EXPECT_EQ(RealToString(1234567890123.25), "1.234567890E+12");
}

TEST(MathFormat, ZeroAndTinyValuesCarryNoSign) {
  EXPECT_EQ(RealToString(-0.001), "0.00");
  EXPECT_EQ(RealToString(1e-5), "0.00");
  EXPECT_EQ(RealToString(-0.004999), "0.00");
  EXPECT_EQ(RealToString(-0.005), "-0.01");
  EXPECT_EQ(RealToString(5e-324), "0.00");
}

TEST(MathFormat, NonFiniteValues) {
  EXPECT_EQ(RealToString(std::numeric_limits<double>::infinity()), "inf");
  EXPECT_EQ(RealToString(-std::numeric_limits<double>::infinity()), "-inf");
  EXPECT_EQ(RealToString(std::nan("")), "nan");
  EXPECT_EQ(Fixed(std::numeric_limits<double>::infinity(), 5, 2), "  inf");
}

TEST(MathFormat, AppendKeepsWhatIsThere) {
  std::string s = "score: ";
  AppendRealString(s, 42);
  AppendRealString(s, 0.5);
  EXPECT_EQ(s, "score: 420.50");
}

TEST(MathFormat, FixedNotationWidthAndDecimals) {
  EXPECT_EQ(Fixed(3.14159, 8, 3), "   3.142");
  EXPECT_EQ(Fixed(3.14159, 2, 3), "3.142");  // never cut
  EXPECT_EQ(Fixed(123, 2, 0), "123");
  EXPECT_EQ(Fixed(5, 3, -1), "  5");  // a negative decimal count means none
  EXPECT_EQ(Fixed(5, -4, 2), "5.00");
  EXPECT_EQ(Fixed(-7.5, 7, 2), "  -7.50");
  EXPECT_EQ(Fixed(0, 0, 3), "0.000");
  EXPECT_EQ(Fixed(-0.0, 0, 1), "0.0");
  EXPECT_EQ(Fixed(-0.001, 6, 2), "  0.00");
}

TEST(MathFormat, FixedNotationRoundsHalvesAwayFromZero) {
  EXPECT_EQ(Fixed(2.5, 0, 0), "3");
  EXPECT_EQ(Fixed(-2.5, 0, 0), "-3");
  EXPECT_EQ(Fixed(0.5, 0, 0), "1");
  EXPECT_EQ(Fixed(-0.4, 0, 0), "0");
  EXPECT_EQ(Fixed(0.125, 0, 2), "0.13");
  EXPECT_EQ(Fixed(1.45, 0, 1), "1.4");  // 1.44999999999999995...
  EXPECT_EQ(Fixed(0.045, 0, 2), "0.04");
  EXPECT_EQ(Fixed(99.96, 0, 1), "100.0");
}

TEST(MathFormat, FixedNotationKeepsEighteenSignificantDigits) {
  // 1/3 is 0.333333333333333314829...; 18 digits round up at the 8 that follows them.
  EXPECT_EQ(Fixed(1.0 / 3.0, 0, 20), "0.33333333333333331500");
  EXPECT_EQ(Fixed(1e20, 0, 2), "100000000000000000000.00");
  // 123456789012345683968 keeps 123456789012345684 and zeros.
  EXPECT_EQ(Fixed(123456789012345678901.0, 0, 0), "123456789012345684000");
  EXPECT_EQ(Fixed(9223372036854775808.0, 0, 0), "9223372036854775810");
  // The smallest double, 4.94065645841246544...e-324, to 330 decimals.
  EXPECT_EQ(Fixed(5e-324, 0, 330), "0." + std::string(323, '0') + "4940656");
  EXPECT_EQ(Fixed(0.1, 0, 25), "0.1000000000000000060000000");  // 0.10000000000000000555...
}

TEST(MathFormat, FixedNotationRefusesHugeTexts) {
  std::string out = "kept";
  EXPECT_FALSE(FormatRealFixed(1, 1000000000, 0, out));
  EXPECT_FALSE(FormatRealFixed(1, 0, 1000000000, out));
  EXPECT_FALSE(FormatRealFixed(1, 0, INT64_MAX, out));
  EXPECT_EQ(out, "kept");
  EXPECT_EQ(Fixed(1, 0, 100000).size(), 100002u);
}

// Eighteen significant digits identify every double, so the fixed form reads back exactly.
TEST(MathFormat, FixedNotationReadsBackExactly) {
  uint64_t bits = 0x9E3779B97F4A7C15ull;
  for (int i = 0; i < 20000; ++i) {
    bits ^= bits << 13, bits ^= bits >> 7, bits ^= bits << 17;
    double x;
    std::memcpy(&x, &bits, sizeof x);
    if (!std::isfinite(x)) continue;
    std::string text;
    ASSERT_TRUE(FormatRealFixed(x, 0, 1100, text));
    double back = 0;
    ASSERT_TRUE(ParseReal(text, back)) << text;
    ASSERT_EQ(back, x) << text;
  }
}

// Away from exact halves (where C rounds to even) and within 18 digits, the fixed form is what
// C's own conversion prints.
TEST(MathFormat, AgreesWithPrintfAwayFromHalves) {
  uint64_t bits = 0x243F6A8885A308D3ull;
  char buf[64];
  for (int i = 0; i < 20000; ++i) {
    bits ^= bits << 13, bits ^= bits >> 7, bits ^= bits << 17;
    double x = (static_cast<double>(bits >> 11) / 9007199254740992.0 - 0.5) * 2e6;
    int decimals = static_cast<int>(bits % 7);
    double scaled = std::fabs(x) * std::pow(10.0, decimals);
    if (scaled - std::floor(scaled) == 0.5) continue;
    std::snprintf(buf, sizeof buf, "%.*f", decimals, x);
    std::string expected = buf;
    if (expected.find_first_not_of("-0.") == std::string::npos && expected[0] == '-')
      expected.erase(0, 1);  // no sign on zero
    ASSERT_EQ(Fixed(x, 0, decimals), expected) << x;
    if (std::fabs(x) < 1e7 && x != std::nearbyint(x)) {
      std::snprintf(buf, sizeof buf, "%.2f", x);
      expected = buf;
      if (expected == "-0.00") expected = "0.00";
      ASSERT_EQ(RealToString(x), expected) << x;
    }
  }
}

TEST(MathFormat, ParsesNumbers) {
  auto parse = [](const std::string& s) -> std::optional<double> {
    double v = -1;
    if (!ParseReal(s, v)) return std::nullopt;
    return v;
  };
  EXPECT_EQ(parse(" 12.5 "), 12.5);
  EXPECT_EQ(parse("1e3"), 1000);
  EXPECT_EQ(parse("-.5"), -0.5);
  EXPECT_EQ(parse("+5."), 5);
  EXPECT_EQ(parse("2.5E-1"), 0.25);
  EXPECT_EQ(parse("7e+2"), 700);
  EXPECT_EQ(parse("0.1"), 0.1);
  EXPECT_EQ(parse("\t3\r\n"), 3);  // bytes of code 32 or less are blanks
  EXPECT_EQ(parse(""), 0);
  EXPECT_EQ(parse("   "), 0);
  EXPECT_EQ(parse(std::string("\0 4", 3)), 4);
  EXPECT_EQ(parse("1e-400"), 0);  // too small is zero
  EXPECT_EQ(parse("0.000000000000000000000000000000000000001e-300"), 0);
  EXPECT_EQ(parse("00000000000000000000000000012"), 12);
  EXPECT_EQ(parse("5e-324"), 5e-324);
  EXPECT_EQ(parse("1.7976931348623157e308"), 1.7976931348623157e308);
}

TEST(MathFormat, RefusesWhatIsNotANumber) {
  double v = 42;
  for (const char* s : {"abc", "1,5", ".", "-", "+", "e5", "1e", "1e+", "- 5", "5 5", "1.2.3",
                        "0x10", "inf", "nan", "5a", "1e400", "-1e400", "1000e306", "..5"}) {
    EXPECT_FALSE(ParseReal(s, v)) << s;
  }
  EXPECT_EQ(v, 42);
}

}  // namespace
}  // namespace zorvex
