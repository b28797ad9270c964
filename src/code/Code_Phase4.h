// Compilation phase 4: declared locals, variables with a fixed owner and constant folding.
#pragma once

#include "code/Code_Tree.h"

namespace zorvex {

class CLanguage;
class CCode;

// Visits the tree children first; records the first error (a string owner, a failing folded
// operator) and returns false.
bool CheckAndFold(CLanguage& lang, const CCode& code, RToken& root);

}  // namespace zorvex
