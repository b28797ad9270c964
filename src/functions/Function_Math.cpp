// Value tests, the random generator, rounding, arithmetic and trigonometry, statistics over
// argument lists, conversions between reals and strings, string manipulation and the 2-D
// distance and direction helpers.
#include "functions/Function_Math.h"

#include <cmath>
#include <numbers>
#include <string_view>

#include "code/Code_Function.h"
#include "code/Code_Round.h"
#include "functions/Function_Math_Format.h"
#include "game/Game.h"

namespace zorvex {

namespace {

#define ZV_HANDLER(name)                                                        \
  void name([[maybe_unused]] CGame& game, [[maybe_unused]] CInstanceCore* self, \
            [[maybe_unused]] CInstanceCore* other, [[maybe_unused]] int argc,   \
            [[maybe_unused]] RValue* args, [[maybe_unused]] RValue& result)

// Errors are shown with the action context and the result stays real 0.
void Fail(CGame& game, std::string_view message) {
  game.errors.ReportInContext(message, false);
}

// An IEEE fault of a computation: a NaN from inputs that are not NaN (invalid operation), or
// an infinity from finite inputs (overflow, division by zero).
bool Faulted(double r, double a, double b = 0.0) {
  if (std::isnan(r)) return !std::isnan(a) && !std::isnan(b);
  if (std::isinf(r)) return std::isfinite(a) && std::isfinite(b);
  return false;
}

// Low 32 bits of an integral value, as a signed integer. Values beyond 64 bits (and NaN) give
// 0, the low half of the processor's "integer indefinite".
double Wrap32(double f) {
  if (!(f >= -9223372036854775808.0 && f < 9223372036854775808.0)) return 0.0;
  auto v = static_cast<uint64_t>(static_cast<int64_t>(f));
  return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(v)));
}

double DegToRad(double x) {
  return x * std::numbers::pi / 180.0;
}
double RadToDeg(double x) {
  return x * 180.0 / std::numbers::pi;
}

// Snaps a length component that lies within 0.0001 of a whole number onto it, so that
// lengthdir_x(10, 90) is exactly 0.
double Snap(double v) {
  double r = std::nearbyint(v);
  return std::fabs(v - r) < 0.0001 ? r + 0.0 : v;
}

// Makes result an empty string to be built in place.
std::string& StringResult(RValue& result) {
  result.kind = RValue::kString;
  result.real = 0.0;
  result.str.clear();
  return result.str;
}

// Value tests and the random generator.

ZV_HANDLER(F_is_real) {
  result.SetReal(args[0].IsReal() ? 1.0 : 0.0);
}
ZV_HANDLER(F_is_string) {
  result.SetReal(args[0].IsString() ? 1.0 : 0.0);
}
ZV_HANDLER(F_random) {
  result.SetReal(game.random.NextReal() * args[0].real);
}
ZV_HANDLER(F_random_set_seed) {
  game.random.SetSeed(static_cast<uint32_t>(static_cast<uint64_t>(RoundToInt64(args[0].real))));
}
ZV_HANDLER(F_random_get_seed) {
  result.SetReal(static_cast<double>(static_cast<int32_t>(game.random.seed())));
}
ZV_HANDLER(F_randomize) {
  game.random.SeedFromClock();
}

// Rounding and arithmetic.

ZV_HANDLER(F_abs) {
  result.SetReal(std::fabs(args[0].real));
}
ZV_HANDLER(F_round) {
  result.SetReal(std::nearbyint(args[0].real) + 0.0);
}
ZV_HANDLER(F_floor) {
  result.SetReal(Wrap32(std::floor(args[0].real)));
}
ZV_HANDLER(F_ceil) {
  result.SetReal(Wrap32(std::ceil(args[0].real)));
}
ZV_HANDLER(F_sign) {
  double x = args[0].real;
  result.SetReal(x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0));
}
ZV_HANDLER(F_frac) {
  double x = args[0].real;
  result.SetReal(x - std::trunc(x));
}
ZV_HANDLER(F_sqrt) {
  double x = args[0].real;
  if (x < 0) return Fail(game, "Cannot apply sqrt to negative number.");
  result.SetReal(std::sqrt(x));
}
ZV_HANDLER(F_sqr) {
  result.SetReal(args[0].real * args[0].real);
}
ZV_HANDLER(F_exp) {
  double x = args[0].real;
  double r = std::exp(x);
  if (Faulted(r, x)) return Fail(game, "Error in function exp().");
  result.SetReal(r);
}

template <double (*Log)(double)>
void Logarithm(CGame& game, double x, RValue& result, std::string_view message) {
  double r = Log(x);
  if (x <= 0 || Faulted(r, x)) return Fail(game, message);
  result.SetReal(r);
}
double Ln(double x) {
  return std::log(x);
}
double Log2(double x) {
  return std::log2(x);
}
double Log10(double x) {
  return std::log10(x);
}
ZV_HANDLER(F_ln) {
  Logarithm<Ln>(game, args[0].real, result, "Error in function ln().");
}
ZV_HANDLER(F_log2) {
  Logarithm<Log2>(game, args[0].real, result, "Error in function log2().");
}
ZV_HANDLER(F_log10) {
  Logarithm<Log10>(game, args[0].real, result, "Error in function log10().");
}

// Trigonometry (radians).

ZV_HANDLER(F_sin) {
  result.SetReal(std::sin(args[0].real));
}
ZV_HANDLER(F_cos) {
  result.SetReal(std::cos(args[0].real));
}
ZV_HANDLER(F_tan) {
  result.SetReal(std::tan(args[0].real));
}
ZV_HANDLER(F_arcsin) {
  double x = args[0].real;
  if (x > 1 || x < -1) return Fail(game, "Error in function arcsin().");
  result.SetReal(std::atan2(x, std::sqrt(1.0 - x * x)));
}
ZV_HANDLER(F_arccos) {
  double x = args[0].real;
  if (x > 1 || x < -1) return Fail(game, "Error in function arccos().");
  result.SetReal(std::atan2(std::sqrt(1.0 - x * x), x));
}
ZV_HANDLER(F_arctan) {
  double x = args[0].real;
  double r = std::atan(x);
  if (Faulted(r, x)) return Fail(game, "Error in function arctan().");
  result.SetReal(r);
}
ZV_HANDLER(F_arctan2) {
  double y = args[0].real;
  double x = args[1].real;
  double r = std::atan2(y, x);
  if (Faulted(r, y, x)) return Fail(game, "Error in function arctan2().");
  result.SetReal(r);
}
ZV_HANDLER(F_degtorad) {
  result.SetReal(DegToRad(args[0].real));
}
ZV_HANDLER(F_radtodeg) {
  result.SetReal(RadToDeg(args[0].real));
}

// Powers are worked out in extended precision and rounded once, so whole powers up to 2^64
// come out exact (power(3, 40)) and negative exponents are true reciprocals (power(10, -2) is
// 0.01).
ZV_HANDLER(F_power) {
  constexpr std::string_view kMessage = "Error in function power().";
  double x = args[0].real;
  double n = args[1].real;
  if (n == 0) return result.SetReal(1.0);
  if (x == 0 && n > 0) return result.SetReal(0.0);
  double r;
  if (n == std::trunc(n) && std::fabs(n) <= 2147483647.0) {
    if (x == 0) return Fail(game, kMessage);  // the reciprocal of zero
    auto e = static_cast<uint32_t>(std::fabs(n));
    long double base = x;
    long double acc = 1.0L;
    while (e != 0) {
      if (e & 1u) acc *= base;
      e >>= 1;
      if (e != 0) base *= base;
    }
    if (std::isinf(acc) && std::isfinite(x)) return Fail(game, kMessage);
    if (n < 0) acc = 1.0L / acc;
    r = static_cast<double>(acc);
  } else {
    if (x <= 0) return Fail(game, kMessage);  // no logarithm
    r = static_cast<double>(
        std::exp(static_cast<long double>(n) * std::log(static_cast<long double>(x))));
  }
  if (Faulted(r, x, n)) return Fail(game, kMessage);
  result.SetReal(r);
}

ZV_HANDLER(F_logn) {
  double n = args[0].real;
  double x = args[1].real;
  if (x <= 0 || n <= 0 || n == 1) return Fail(game, "Error in function logn().");
  double r = static_cast<double>(std::log2(static_cast<long double>(x)) /
                                 std::log2(static_cast<long double>(n)));
  if (Faulted(r, n, x)) return Fail(game, "Error in function logn().");
  result.SetReal(r);
}

// Statistics over argument lists.

// A real result takes a later argument whose real part beats it; a string result one whose
// string part beats it by byte order. Ties keep the earlier argument.
void MinMax(int argc, const RValue* args, RValue& result, bool want_max) {
  if (argc <= 0) return;
  int best = 0;
  for (int i = 1; i < argc; ++i) {
    const RValue& b = args[i];
    if (args[best].IsReal() && (want_max ? b.real > args[best].real : b.real < args[best].real))
      best = i;
    if (args[best].IsString() && (want_max ? b.str > args[best].str : b.str < args[best].str))
      best = i;
  }
  result = args[best];
}
ZV_HANDLER(F_min) {
  MinMax(argc, args, result, false);
}
ZV_HANDLER(F_max) {
  MinMax(argc, args, result, true);
}
ZV_HANDLER(F_min3) {
  MinMax(3, args, result, false);
}
ZV_HANDLER(F_max3) {
  MinMax(3, args, result, true);
}
ZV_HANDLER(F_mean) {
  if (argc <= 0) return;
  double sum = 0.0;
  for (int i = 0; i < argc; ++i)
    sum += args[i].real;
  result.SetReal(sum / argc);
}
// The first argument with fewer than n/2 arguments below it and at least n/2 at or below it:
// the lower middle value for an even count.
ZV_HANDLER(F_median) {
  double half = argc / 2.0;
  for (int i = 0; i < argc; ++i) {
    int less = 0;
    int less_or_equal = 0;
    for (int j = 0; j < argc; ++j) {
      if (args[j].real < args[i].real) ++less;
      if (args[j].real <= args[i].real) ++less_or_equal;
    }
    if (less < half && less_or_equal >= half) {
      result = args[i];
      return;
    }
  }
}
ZV_HANDLER(F_choose) {
  if (argc <= 0) return;
  result = args[game.random.NextBelow(static_cast<uint32_t>(argc))];
}

// Conversions.

ZV_HANDLER(F_real) {
  if (args[0].IsReal()) return result.SetReal(args[0].real);
  double v = 0.0;
  if (!ParseReal(args[0].str, v)) return Fail(game, "Error in function real().");
  result.SetReal(v);
}
ZV_HANDLER(F_string) {
  if (args[0].IsString()) return result.SetString(args[0].str);
  AppendRealString(StringResult(result), args[0].real);
}
ZV_HANDLER(F_string_format) {
  if (args[0].IsString()) return result.SetString(args[0].str);
  if (!FormatRealFixed(args[0].real, RoundToInt64(args[1].real), RoundToInt64(args[2].real),
                       StringResult(result))) {
    result.SetReal(0.0);
    Fail(game, "Error in function string_format().");
  }
}
ZV_HANDLER(F_chr) {
  char c = static_cast<char>(static_cast<uint64_t>(RoundToInt64(args[0].real)) & 0xFFu);
  result.SetString(std::string_view(&c, 1));
}
ZV_HANDLER(F_ord) {
  const std::string& s = args[0].str;
  result.SetReal(s.empty() ? 0.0 : static_cast<unsigned char>(s[0]));
}

// Strings. Positions are 1-based byte positions.

ZV_HANDLER(F_string_length) {
  result.SetReal(static_cast<double>(args[0].str.size()));
}
ZV_HANDLER(F_string_pos) {
  const std::string& sub = args[0].str;
  const std::string& s = args[1].str;
  if (sub.empty()) return;
  size_t p = s.find(sub);
  if (p != std::string::npos) result.SetReal(static_cast<double>(p + 1));
}

// The part of s of `count` bytes from `start`: a start below 1 counts as 1, a start beyond the
// end or a negative count give nothing, a count past the end is cut there.
std::string_view CopyPart(std::string_view s, int64_t start, int64_t count) {
  auto len = static_cast<int64_t>(s.size());
  if (start < 1) start = 1;
  if (start > len || count < 0) return {};
  if (count > len - start + 1) count = len - start + 1;
  return s.substr(static_cast<size_t>(start - 1), static_cast<size_t>(count));
}
ZV_HANDLER(F_string_copy) {
  result.SetString(CopyPart(args[0].str, RoundToInt64(args[1].real), RoundToInt64(args[2].real)));
}
ZV_HANDLER(F_string_char_at) {
  result.SetString(CopyPart(args[0].str, RoundToInt64(args[1].real), 1));
}
ZV_HANDLER(F_string_delete) {
  const std::string& s = args[0].str;
  auto len = static_cast<int64_t>(s.size());
  int64_t start = RoundToInt64(args[1].real);
  int64_t count = RoundToInt64(args[2].real);
  std::string& out = StringResult(result);
  out = s;
  if (start < 1 || start > len || count <= 0) return;
  if (count > len - start + 1) count = len - start + 1;
  out.erase(static_cast<size_t>(start - 1), static_cast<size_t>(count));
}
ZV_HANDLER(F_string_insert) {
  const std::string& sub = args[0].str;
  const std::string& s = args[1].str;
  auto len = static_cast<int64_t>(s.size());
  int64_t pos = RoundToInt64(args[2].real);
  if (pos < 1) pos = 1;
  if (pos > len + 1) pos = len + 1;
  std::string& out = StringResult(result);
  out.reserve(s.size() + sub.size());
  out.append(s, 0, static_cast<size_t>(pos - 1));
  out += sub;
  out.append(s, static_cast<size_t>(pos - 1));
}
ZV_HANDLER(F_string_lower) {
  std::string& out = StringResult(result);
  out = args[0].str;
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
}
ZV_HANDLER(F_string_upper) {
  std::string& out = StringResult(result);
  out = args[0].str;
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
}
ZV_HANDLER(F_string_repeat) {
  const std::string& s = args[0].str;
  int64_t n = RoundToInt64(args[1].real);
  if (n > 0 && !s.empty() && static_cast<uint64_t>(n) > kMaxStringLength / s.size())
    return Fail(game, "Error in function string_repeat().");
  std::string& out = StringResult(result);
  if (n <= 0 || s.empty()) return;
  out.reserve(s.size() * static_cast<size_t>(n));
  for (int64_t i = 0; i < n; ++i)
    out += s;
}

bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsLetterOrDigit(char c) {
  return IsLetter(c) || IsDigit(c);
}
template <bool (*Keep)(char)>
void Filter(const std::string& s, RValue& result) {
  std::string& out = StringResult(result);
  for (char c : s)
    if (Keep(c)) out.push_back(c);
}
ZV_HANDLER(F_string_letters) {
  Filter<IsLetter>(args[0].str, result);
}
ZV_HANDLER(F_string_digits) {
  Filter<IsDigit>(args[0].str, result);
}
ZV_HANDLER(F_string_lettersdigits) {
  Filter<IsLetterOrDigit>(args[0].str, result);
}

ZV_HANDLER(F_string_replace) {
  const std::string& s = args[0].str;
  const std::string& from = args[1].str;
  const std::string& to = args[2].str;
  size_t p = from.empty() ? std::string::npos : s.find(from);
  if (p != std::string::npos && s.size() - from.size() + to.size() > kMaxStringLength)
    return Fail(game, "Error in function string_replace().");
  std::string& out = StringResult(result);
  out = s;
  if (p != std::string::npos) out.replace(p, from.size(), to);
}

// Occurrences of sub in s, found left to right without overlap; 0 for an empty sub.
size_t CountOccurrences(const std::string& s, const std::string& sub) {
  if (sub.empty()) return 0;
  size_t n = 0;
  for (size_t p = s.find(sub); p != std::string::npos; p = s.find(sub, p + sub.size()))
    ++n;
  return n;
}
ZV_HANDLER(F_string_replace_all) {
  const std::string& s = args[0].str;
  const std::string& from = args[1].str;
  const std::string& to = args[2].str;
  size_t n = CountOccurrences(s, from);
  if (n > 0 && to.size() > from.size() &&
      (to.size() - from.size()) > (kMaxStringLength - s.size()) / n)
    return Fail(game, "Error in function string_replace_all().");
  std::string& out = StringResult(result);
  if (n == 0) {
    out = s;
    return;
  }
  out.reserve(s.size() - n * from.size() + n * to.size());
  size_t at = 0;
  for (size_t p = s.find(from); p != std::string::npos; p = s.find(from, at)) {
    out.append(s, at, p - at);
    out += to;
    at = p + from.size();
  }
  out.append(s, at);
}
ZV_HANDLER(F_string_count) {
  result.SetReal(static_cast<double>(CountOccurrences(args[1].str, args[0].str)));
}

// Distance and direction in the plane, y pointing down.

ZV_HANDLER(F_point_distance) {
  double dx = args[2].real - args[0].real;
  double dy = args[3].real - args[1].real;
  result.SetReal(std::sqrt(dx * dx + dy * dy));
}
ZV_HANDLER(F_point_direction) {
  double dx = args[2].real - args[0].real;
  double dy = args[3].real - args[1].real;
  if (dx == 0) return result.SetReal(dy > 0 ? 270.0 : (dy < 0 ? 90.0 : 0.0));
  double a = RadToDeg(std::atan2(dy, dx));
  result.SetReal(a > 0 ? 360.0 - a : 0.0 - a);
}
ZV_HANDLER(F_lengthdir_x) {
  result.SetReal(Snap(std::cos(DegToRad(args[1].real)) * args[0].real));
}
ZV_HANDLER(F_lengthdir_y) {
  result.SetReal(Snap(-std::sin(DegToRad(args[1].real)) * args[0].real));
}

#undef ZV_HANDLER

struct MathFunction {
  const char* name;
  BuiltinHandler handler;
  int32_t argc;
};

constexpr int32_t kAny = kAnyArgumentCount;

// Registration order fixes the function ids.
constexpr MathFunction kMathFunctions[] = {
    {"is_real", F_is_real, 1},
    {"is_string", F_is_string, 1},
    {"random", F_random, 1},
    {"random_set_seed", F_random_set_seed, 1},
    {"random_get_seed", F_random_get_seed, 0},
    {"randomize", F_randomize, 0},
    {"abs", F_abs, 1},
    {"round", F_round, 1},
    {"floor", F_floor, 1},
    {"ceil", F_ceil, 1},
    {"sign", F_sign, 1},
    {"frac", F_frac, 1},
    {"sqrt", F_sqrt, 1},
    {"sqr", F_sqr, 1},
    {"exp", F_exp, 1},
    {"ln", F_ln, 1},
    {"log2", F_log2, 1},
    {"log10", F_log10, 1},
    {"sin", F_sin, 1},
    {"cos", F_cos, 1},
    {"tan", F_tan, 1},
    {"arcsin", F_arcsin, 1},
    {"arccos", F_arccos, 1},
    {"arctan", F_arctan, 1},
    {"arctan2", F_arctan2, 2},
    {"degtorad", F_degtorad, 1},
    {"radtodeg", F_radtodeg, 1},
    {"power", F_power, 2},
    {"logn", F_logn, 2},
    {"min", F_min, kAny},
    {"max", F_max, kAny},
    {"min3", F_min3, 3},
    {"max3", F_max3, 3},
    {"mean", F_mean, kAny},
    {"median", F_median, kAny},
    {"choose", F_choose, kAny},
    {"real", F_real, 1},
    {"string", F_string, 1},
    {"string_format", F_string_format, 3},
    {"chr", F_chr, 1},
    {"ord", F_ord, 1},
    {"string_length", F_string_length, 1},
    {"string_pos", F_string_pos, 2},
    {"string_copy", F_string_copy, 3},
    {"string_char_at", F_string_char_at, 2},
    {"string_delete", F_string_delete, 3},
    {"string_insert", F_string_insert, 3},
    {"string_lower", F_string_lower, 1},
    {"string_upper", F_string_upper, 1},
    {"string_repeat", F_string_repeat, 2},
    {"string_letters", F_string_letters, 1},
    {"string_digits", F_string_digits, 1},
    {"string_lettersdigits", F_string_lettersdigits, 1},
    {"string_replace", F_string_replace, 3},
    {"string_replace_all", F_string_replace_all, 3},
    {"string_count", F_string_count, 2},
    {"point_distance", F_point_distance, 4},
    {"point_direction", F_point_direction, 4},
    {"lengthdir_x", F_lengthdir_x, 2},
    {"lengthdir_y", F_lengthdir_y, 2},
};
static_assert(std::size(kMathFunctions) == 60);

}  // namespace

void RegisterMathFunctions(CFunctionTable& table) {
  for (const MathFunction& f : kMathFunctions)
    table.Register(f.name, f.handler, f.argc);
}

}  // namespace zorvex
