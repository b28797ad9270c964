#include "code/Code_Phase1.h"

#include "code/Code_Main.h"
#include "code/Code_Tree.h"

namespace zorvex {

namespace {

struct Keyword {
  std::string_view text;
  int32_t kind;
};

constexpr Keyword kKeywords[] = {
    {"begin", tk::kBegin},
    {"end", tk::kEndBlock},
    {"if", tk::kIf},
    {"then", tk::kThen},
    {"else", tk::kElse},
    {"while", tk::kWhile},
    {"do", tk::kDo},
    {"for", tk::kFor},
    {"until", tk::kUntil},
    {"repeat", tk::kRepeat},
    {"exit", tk::kExit},
    {"break", tk::kBreak},
    {"continue", tk::kContinue},
    {"with", tk::kWith},
    {"return", tk::kReturn},
    {"switch", tk::kSwitch},
    {"case", tk::kCase},
    {"default", tk::kDefault},
    {"var", tk::kVar},
    {"globalvar", tk::kGlobalVar},
    {"and", tk::kAnd},
    {"or", tk::kOr},
    {"not", tk::kNot},
    {"xor", tk::kXor},
    {"div", tk::kDiv},
    {"mod", tk::kMod},
};

struct Operator {
  char a, b;
  int32_t kind;
};

constexpr Operator kTwoCharOperators[] = {
    {':', '=', tk::kAssign},    {'+', '=', tk::kAddAssign},  {'-', '=', tk::kSubAssign},
    {'*', '=', tk::kMulAssign}, {'/', '=', tk::kDivAssign},  {'&', '&', tk::kAnd},
    {'|', '|', tk::kOr},        {'<', '=', tk::kLessEqual},  {'=', '=', tk::kEqual},
    {'!', '=', tk::kNotEqual},  {'<', '>', tk::kNotEqual},   {'>', '=', tk::kGreaterEqual},
    {'|', '=', tk::kOrAssign},  {'&', '=', tk::kAndAssign},  {'^', '=', tk::kXorAssign},
    {'<', '<', tk::kShiftLeft}, {'>', '>', tk::kShiftRight}, {'^', '^', tk::kXor},
};

// Kind of each one-character token, kBad for characters that start none.
struct OneCharTable {
  int32_t kind[256];
  constexpr OneCharTable() : kind() {
    for (int& k : kind)
      k = tk::kBad;
    kind[static_cast<unsigned char>('!')] = tk::kNot;
    kind[static_cast<unsigned char>('&')] = tk::kBitAnd;
    kind[static_cast<unsigned char>('(')] = tk::kOpen;
    kind[static_cast<unsigned char>(')')] = tk::kClose;
    kind[static_cast<unsigned char>('*')] = tk::kTimes;
    kind[static_cast<unsigned char>('+')] = tk::kPlus;
    kind[static_cast<unsigned char>(',')] = tk::kComma;
    kind[static_cast<unsigned char>('-')] = tk::kMinus;
    kind[static_cast<unsigned char>('.')] = tk::kDot;
    kind[static_cast<unsigned char>('/')] = tk::kDivide;
    kind[static_cast<unsigned char>(':')] = tk::kColon;
    kind[static_cast<unsigned char>(';')] = tk::kSemicolon;
    kind[static_cast<unsigned char>('<')] = tk::kLess;
    kind[static_cast<unsigned char>('=')] = tk::kAssign;
    kind[static_cast<unsigned char>('>')] = tk::kGreater;
    kind[static_cast<unsigned char>('[')] = tk::kOpenIndex;
    kind[static_cast<unsigned char>(']')] = tk::kCloseIndex;
    kind[static_cast<unsigned char>('^')] = tk::kBitXor;
    kind[static_cast<unsigned char>('{')] = tk::kBegin;
    kind[static_cast<unsigned char>('|')] = tk::kBitOr;
    kind[static_cast<unsigned char>('}')] = tk::kEndBlock;
    kind[static_cast<unsigned char>('~')] = tk::kBitNot;
  }
};
constexpr OneCharTable kOneChar;

inline bool IsLetter(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
inline bool IsDigit(unsigned char c) {
  return c >= '0' && c <= '9';
}
inline bool IsHexDigit(unsigned char c) {
  return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
inline bool IsNameChar(unsigned char c) {
  return IsLetter(c) || IsDigit(c) || c == '_';
}

int32_t KeywordKind(std::string_view s) {
  if (s.size() < 2 || s.size() > 9 || s[0] < 'a' || s[0] > 'x') return tk::kIdentifier;
  for (const Keyword& k : kKeywords)
    if (k.text == s) return k.kind;
  return tk::kIdentifier;
}

}  // namespace

RToken1 NextToken(std::string_view t, int32_t& pos) {
  const int32_t n = static_cast<int32_t>(t.size());
  // 1-based access; positions beyond the text read as NUL.
  auto at = [&](int32_t p) -> unsigned char {
    return p >= 1 && p <= n ? static_cast<unsigned char>(t[static_cast<size_t>(p - 1)]) : 0;
  };
  int32_t p = pos;
  RToken1 tok;
  for (;;) {
    while (p <= n && at(p) <= 32)
      ++p;
    if (p > n) {
      tok.kind = tk::kEnd;
      tok.position = p;
      pos = p;
      return tok;
    }
    if (at(p) == '/' && at(p + 1) == '/') {
      while (p <= n && at(p) != '\r' && at(p) != '\n')
        ++p;
      ++p;  // the line break itself
      continue;
    }
    if (at(p) == '/' && at(p + 1) == '*') {
      // The search starts at the opener's '/', so "/*/" is already closed.
      while (p < n && !(at(p) == '*' && at(p + 1) == '/'))
        ++p;
      p += 2;
      continue;
    }
    break;
  }
  tok.position = p;
  unsigned char c = at(p);
  int32_t start = p;
  if (IsLetter(c) || c == '_') {
    while (p <= n && IsNameChar(at(p)))
      ++p;
    tok.text = t.substr(static_cast<size_t>(start - 1), static_cast<size_t>(p - start));
    tok.kind = KeywordKind(tok.text);
  } else if (IsDigit(c) || c == '$' || (c == '.' && IsDigit(at(p + 1)))) {
    if (c == '$') {
      ++p;
      while (p <= n && IsHexDigit(at(p)))
        ++p;
    } else {
      while (p <= n && (IsDigit(at(p)) || at(p) == '.'))
        ++p;
    }
    tok.kind = tk::kNumber;
    tok.text = t.substr(static_cast<size_t>(start - 1), static_cast<size_t>(p - start));
  } else if (c == '"' || c == '\'') {
    ++p;
    int32_t from = p;
    while (p <= n && at(p) != c)
      ++p;
    tok.kind = tk::kString;
    tok.text = t.substr(static_cast<size_t>(from - 1), static_cast<size_t>(p - from));
    if (p <= n) ++p;  // the closing quote
  } else {
    tok.kind = tk::kBad;
    if (p < n) {
      unsigned char d = at(p + 1);
      for (const Operator& o : kTwoCharOperators) {
        if (o.a == static_cast<char>(c) && o.b == static_cast<char>(d)) {
          tok.kind = o.kind;
          tok.text = t.substr(static_cast<size_t>(p - 1), 2);
          p += 2;
          pos = p;
          return tok;
        }
      }
    }
    tok.kind = kOneChar.kind[c];
    tok.text = t.substr(static_cast<size_t>(p - 1), 1);
    ++p;
  }
  pos = p;
  return tok;
}

bool Tokenise(CLanguage& lang, const CCode& code, std::string_view padded, RTokenList1& out) {
  out.clear();
  int32_t pos = 1;
  for (;;) {
    RToken1 tok = NextToken(padded, pos);
    out.push_back(tok);
    if (tok.kind == tk::kBad) {
      RecordError(lang, code, tok.position, "Unexpected symbol.");
      return false;
    }
    if (tok.kind == tk::kEnd) return true;
  }
}

}  // namespace zorvex
