// Compilation phase 2: resolution of identifiers into functions, constants and variables, and
// of literals into values.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "code/Code_Phase1.h"
#include "code/RValue.h"

namespace zorvex {

struct RToken2 {
  int32_t kind = 0;
  int32_t ref = 0;  // function id or variable id
  RValue value;     // value tokens
  int32_t position = 0;
};
using RTokenList2 = std::vector<RToken2>;

// The value of a number token's text, digit by digit ($ switches to hexadecimal, the first '.'
// to the fraction; further dots change nothing).
double NumberValue(std::string_view text);

// An identifier followed by '(' that names no function records "Unknown function or script: "
// + the name and fails.
bool Resolve(CLanguage& lang, const CCode& code, const RTokenList1& in, RTokenList2& out);

}  // namespace zorvex
