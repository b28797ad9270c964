// Compilation phase 3: the parser, from resolved tokens to the syntax tree of a program or of
// a single expression.
#pragma once

#include "code/Code_Phase2.h"
#include "code/Code_Tree.h"

namespace zorvex {

bool ParseProgram(CLanguage& lang, const CCode& code, const RTokenList2& tokens, RToken& root);
bool ParseExpression(CLanguage& lang, const CCode& code, const RTokenList2& tokens, RToken& root);

}  // namespace zorvex
