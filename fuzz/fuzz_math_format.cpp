// Number text conversions: any input parses or is refused, and whatever parses formats and
// reads back without loss.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "functions/Function_Math_Format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  double x = 0;
  if (!zorvex::ParseReal(text, x)) return 0;
  if (!std::isfinite(x)) std::abort();
  std::string s = zorvex::RealToString(x);
  if (s.empty() || s.size() > 32) std::abort();
  std::string fixed;
  if (!zorvex::FormatRealFixed(x, size % 40, 1100, fixed)) std::abort();
  double back = 0;
  if (!zorvex::ParseReal(fixed, back) || back != x) std::abort();
  std::string short_form;
  if (!zorvex::FormatRealFixed(x, 0, static_cast<int64_t>(size % 25) - 3, short_form)) std::abort();
  return 0;
}
