#include "functions/Function_Math_Format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

#include "code/Code_Round.h"

namespace zorvex {

namespace {

// Every double's exact decimal expansion ends within 1074 digits after the point.
constexpr int kExactFracDigits = 1100;
// Room for 309 integer digits, the point and kExactFracDigits decimals, with some to spare.
constexpr int kDigitBufferSize = 1500;

// The exact decimal digits of a finite |x| in fixed form, without the point. d[0] is a guard
// zero so that rounding may carry into a new leading digit.
struct DecimalDigits {
  char d[kDigitBufferSize];
  int len = 0;      // digits in d, the guard included
  int int_len = 0;  // digits before the point, the guard included
};

// Fills g with |x| to frac_digits decimals. The caller asks for enough decimals beyond its
// rounding position that the truncation here cannot move a value across a decimal half: a
// double that is not exactly a half lies at least ulp/2 rounding units away from it.
void ExactDigits(double ax, int frac_digits, DecimalDigits& g) {
  char tmp[kDigitBufferSize];
  auto r = std::to_chars(tmp, tmp + sizeof tmp, ax, std::chars_format::fixed, frac_digits);
  g.d[0] = '0';
  if (r.ec != std::errc()) r.ptr = tmp;  // cannot happen for a finite double in this buffer
  int n = 1;
  int int_len = 1;
  bool point = false;
  for (const char* p = tmp; p < r.ptr; ++p) {
    if (*p == '.') {
      point = true;
      continue;
    }
    g.d[n++] = *p;
    if (!point) ++int_len;
  }
  g.len = n;
  g.int_len = int_len;
}

// Index of the first non-zero digit, or len when the value is zero.
int FirstSignificant(const DecimalDigits& g) {
  int i = 0;
  while (i < g.len && g.d[i] == '0')
    ++i;
  return i;
}

// Keeps the first `keep` digits (keep >= 1), rounding half away from zero on the next digit,
// and zeroes the rest.
void RoundAt(DecimalDigits& g, int keep) {
  if (keep >= g.len) return;
  bool up = g.d[keep] >= '5';
  for (int i = keep; i < g.len; ++i)
    g.d[i] = '0';
  if (!up) return;
  int i = keep - 1;
  while (g.d[i] == '9')
    g.d[i--] = '0';
  ++g.d[i];
}

bool AnyNonZero(const DecimalDigits& g) {
  return FirstSignificant(g) < g.len;
}

// Rounds |x| to at most `sig` significant digits and `decimals` decimals.
void RoundDigits(double x, int sig, int64_t decimals, DecimalDigits& g) {
  int64_t frac = std::min<int64_t>(kExactFracDigits, 2 * decimals + 40);
  ExactDigits(std::fabs(x), static_cast<int>(frac), g);
  int s = FirstSignificant(g);
  if (s == g.len) return;  // zero
  int64_t keep = std::min<int64_t>(g.int_len + decimals, s + sig);
  RoundAt(g, static_cast<int>(keep));
}

// Integer digits without leading zeros (at least one).
void AppendIntegerPart(std::string& out, const DecimalDigits& g) {
  int i = 0;
  while (i < g.int_len - 1 && g.d[i] == '0')
    ++i;
  out.append(g.d + i, g.d + g.int_len);
}

// `decimals` digits after the point; digits past the computed ones are zeros.
void AppendFraction(std::string& out, const DecimalDigits& g, int64_t decimals) {
  if (decimals <= 0) return;
  out.push_back('.');
  int64_t have = std::min<int64_t>(decimals, g.len - g.int_len);
  out.append(g.d + g.int_len, g.d + g.int_len + have);
  out.append(static_cast<size_t>(decimals - have), '0');
}

void AppendScientific(std::string& out, double x) {
  DecimalDigits g;
  RoundDigits(x, 10, 0, g);
  int s = FirstSignificant(g);
  if (x < 0) out.push_back('-');
  out.push_back(g.d[s]);
  out.push_back('.');
  out.append(g.d + s + 1, g.d + s + 10);
  int exponent = g.int_len - 1 - s;
  out += "E+";
  if (exponent < 10) out.push_back('0');
  char buf[8];
  auto r = std::to_chars(buf, buf + sizeof buf, exponent);
  out.append(buf, r.ptr);
}

}  // namespace

void AppendRealString(std::string& out, double x) {
  if (std::isnan(x)) {
    out += "nan";
    return;
  }
  if (std::isinf(x)) {
    out += x < 0 ? "-inf" : "inf";
    return;
  }
  int64_t whole = RoundToInt64(x);
  if (static_cast<double>(whole) == x) {
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, whole);
    out.append(buf, r.ptr);
    return;
  }
  if (std::fabs(x) >= 1e10) {
    AppendScientific(out, x);
    return;
  }
  DecimalDigits g;
  RoundDigits(x, 10, 2, g);
  if (x < 0 && AnyNonZero(g)) out.push_back('-');
  AppendIntegerPart(out, g);
  AppendFraction(out, g, 2);
}

std::string RealToString(double x) {
  std::string s;
  AppendRealString(s, x);
  return s;
}

bool FormatRealFixed(double x, int64_t width, int64_t decimals, std::string& out) {
  if (decimals < 0) decimals = 0;
  if (decimals > static_cast<int64_t>(kMaxStringLength)) return false;
  std::string text;
  if (std::isnan(x) || std::isinf(x)) {
    AppendRealString(text, x);
  } else {
    DecimalDigits g;
    RoundDigits(x, 18, decimals, g);
    int s = FirstSignificant(g);
    int int_digits = std::max(1, g.int_len - std::min(s, g.int_len - 1));
    size_t length = static_cast<size_t>(int_digits) + 1 +
                    (decimals > 0 ? static_cast<size_t>(decimals) + 1 : 0);
    if (length > kMaxStringLength) return false;
    text.reserve(length);
    if (x < 0 && s < g.len) text.push_back('-');
    AppendIntegerPart(text, g);
    AppendFraction(text, g, decimals);
  }
  if (width > static_cast<int64_t>(kMaxStringLength)) return false;
  size_t pad =
      width > static_cast<int64_t>(text.size()) ? static_cast<size_t>(width) - text.size() : 0;
  out.assign(pad, ' ');
  out += text;
  return true;
}

bool ParseReal(std::string_view t, double& out) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  size_t b = 0;
  size_t e = t.size();
  while (b < e && blank(t[b]))
    ++b;
  while (e > b && blank(t[e - 1]))
    --e;
  if (b == e) {
    out = 0.0;
    return true;
  }
  size_t i = b;
  bool negative = false;
  if (t[i] == '+' || t[i] == '-') negative = t[i++] == '-';
  const size_t number = i;
  int digits = 0;
  int first_nonzero = -1;  // position of the first non-zero digit relative to the point
  int int_digits = 0;
  while (i < e && digit(t[i])) {
    if (first_nonzero < 0 && t[i] != '0') first_nonzero = int_digits;
    ++i, ++digits, ++int_digits;
  }
  int magnitude = 0;  // the value lies in [10^magnitude, 10^(magnitude+1)) before the exponent
  if (first_nonzero >= 0) magnitude = int_digits - 1 - first_nonzero;
  if (i < e && t[i] == '.') {
    ++i;
    int place = 0;
    while (i < e && digit(t[i])) {
      ++place;
      if (first_nonzero < 0 && t[i] != '0') {
        first_nonzero = 0;
        magnitude = -place;
      }
      ++i, ++digits;
    }
  }
  if (digits == 0) return false;
  int64_t exponent = 0;
  if (i < e && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    bool exp_negative = false;
    if (i < e && (t[i] == '+' || t[i] == '-')) exp_negative = t[i++] == '-';
    size_t exp_start = i;
    while (i < e && digit(t[i])) {
      exponent = std::min<int64_t>(exponent * 10 + (t[i] - '0'), 100000000);
      ++i;
    }
    if (i == exp_start) return false;
    if (exp_negative) exponent = -exponent;
  }
  if (i != e) return false;
  double v = 0.0;
  auto r = std::from_chars(t.data() + number, t.data() + e, v, std::chars_format::general);
  if (r.ec == std::errc::result_out_of_range) {
    // Too large is an overflow and not a number we can hold; too small is zero.
    if (first_nonzero >= 0 && magnitude + exponent >= 0) return false;
    v = 0.0;
  } else if (r.ec != std::errc() || r.ptr != t.data() + e || std::isinf(v)) {
    return false;
  }
  out = negative ? -v : v;
  return true;
}

}  // namespace zorvex
