// Everything one running game owns hangs off one CGame, created per run (and per unit test).
// Lower layers never include this header; they take the parts they need by reference and only
// pass a CGame& through to built-in function handlers.
#pragma once

#include "code/Code_Error.h"
#include "code/Code_Function.h"
#include "code/Code_Language.h"

namespace zorvex {

class CGame {
 public:
  CGame();
  ~CGame();
  CGame(const CGame&) = delete;
  CGame& operator=(const CGame&) = delete;

  CFunctionTable functions;
  CErrorReporter errors;
  CLanguage language;
};

}  // namespace zorvex
