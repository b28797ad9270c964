// The one value type of the scripting language: a real or a byte string.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace zorvex {

struct RValue {
  enum Kind : int32_t { kReal = 0, kString = 1 };

  int32_t kind = kReal;
  double real = 0.0;
  std::string str;

  RValue() = default;
  RValue(double r) : real(r) {}  // NOLINT: reals convert implicitly, as in the language
  RValue(std::string s) : kind(kString), str(std::move(s)) {}  // NOLINT
  RValue(std::string_view s) : kind(kString), str(s) {}        // NOLINT
  RValue(const char* s) : kind(kString), str(s) {}             // NOLINT

  static RValue Real(double r) { return RValue(r); }
  static RValue String(std::string s) { return RValue(std::move(s)); }

  bool IsReal() const { return kind == kReal; }
  bool IsString() const { return kind == kString; }

  void SetReal(double r) {
    kind = kReal;
    real = r;
    str.clear();
  }
  void SetString(std::string_view s) {
    kind = kString;
    real = 0.0;
    str.assign(s.data(), s.size());
  }

  bool operator==(const RValue& o) const {
    return kind == o.kind && (kind == kReal ? real == o.real : str == o.str);
  }
};

}  // namespace zorvex
