// Conversions between reals and text shared by string(), string_format(), real() and the
// language's own paths that turn a real into text (show_debug_message, messages, drawing).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zorvex {

// The longest text a string function builds; longer results are refused with an error instead
// of exhausting memory (string_repeat("x", 1e12) and the like).
constexpr size_t kMaxStringLength = size_t{1} << 28;

// string() of a real: a whole number that fits 64 bits as an integer ("3", "-12", "0" for
// -0.0); otherwise rounded to at most 10 significant digits and 2 decimals, decimal halves
// away from zero, with exactly two decimals ("0.13", "-1.50"); a value whose integer part has
// more than 10 digits in scientific form with 10 significant digits ("1.234567890E+10");
// "inf", "-inf" and "nan" for the non-finite values. Appends to out.
void AppendRealString(std::string& out, double x);
std::string RealToString(double x);

// string_format() of a real: fixed notation with `decimals` decimals (0 when negative),
// rounded half away from zero to at most 18 significant digits (the digits after them print as
// zeros), then spaces in front up to `width` characters. Returns false (out unchanged) when
// the text would be longer than kMaxStringLength.
bool FormatRealFixed(double x, int64_t width, int64_t decimals, std::string& out);

// real() of a string: blanks (bytes of code 32 or less) around an optional sign, digits with
// an optional '.' and fraction, an optional exponent. A text of blanks only is 0. Returns false
// for anything else and for a number beyond the range of a double.
bool ParseReal(std::string_view text, double& out);

}  // namespace zorvex
