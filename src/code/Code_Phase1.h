// Compilation phase 1: the lexer, from source text to tokens.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace zorvex {

class CLanguage;
class CCode;

struct RToken1 {
  int32_t kind = 0;
  std::string_view text;  // for numbers including a leading $, for strings without the quotes
  int32_t position = 0;   // 1-based index of the first character (the opening quote)
};
using RTokenList1 = std::vector<RToken1>;

// The scanner step: the token at 1-based position `pos` of `text`; pos moves past it.
RToken1 NextToken(std::string_view text, int32_t& pos);

// Tokenises `padded` (the source text followed by three spaces) up to and including the end
// token. A character that starts no token records "Unexpected symbol." and fails.
bool Tokenise(CLanguage& lang, const CCode& code, std::string_view padded, RTokenList1& out);

}  // namespace zorvex
