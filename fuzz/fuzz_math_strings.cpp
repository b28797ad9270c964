// The string functions at arbitrary positions and counts: no read or write outside the
// strings, whatever the arguments.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>

#include "code/Code_Function.h"
#include "game/Game.h"

namespace {

const char* const kFunctions[] = {
    "string_copy",
    "string_char_at",
    "string_delete",
    "string_insert",
    "string_repeat",
    "string_replace",
    "string_replace_all",
    "string_count",
    "string_pos",
    "string_format",
    "string",
    "real",
    "chr",
    "ord",
    "min",
    "max",
    "median",
    "choose",
    "string_lower",
    "string_lettersdigits",
};

double TakeReal(const uint8_t*& p, const uint8_t* end) {
  double v = 0;
  if (end - p >= 8) {
    std::memcpy(&v, p, 8);
    p += 8;
  }
  return v;
}

std::string TakeString(const uint8_t*& p, const uint8_t* end) {
  size_t n = p < end ? *p++ % 24 : 0;
  n = std::min<size_t>(n, static_cast<size_t>(end - p));
  std::string s(reinterpret_cast<const char*>(p), n);
  p += n;
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static zorvex::CGame* game = [] {
    auto* g = new zorvex::CGame();
    g->errors.settings.show_errors = false;
    return g;
  }();
  const uint8_t* p = data;
  const uint8_t* end = data + size;
  while (p < end) {
    const char* name = kFunctions[*p++ % std::size(kFunctions)];
    const zorvex::FunctionEntry* e = game->functions.Entry(game->functions.Find(name));
    int argc = e->argc >= 0 ? e->argc : (p < end ? *p++ % 17 : 0);
    zorvex::RValue args[zorvex::kMaxArguments];
    for (int i = 0; i < argc; ++i) {
      uint8_t kind = p < end ? *p++ : 0;
      if (kind & 1) {
        args[i] = zorvex::RValue(TakeString(p, end));
      } else {
        // Small positions and counts most of the time, any double otherwise.
        args[i] = zorvex::RValue(kind & 2 ? TakeReal(p, end) : static_cast<double>(kind >> 2) - 20);
      }
    }
    zorvex::RValue result;
    e->handler(*game, nullptr, nullptr, argc, args, result);
  }
  return 0;
}
