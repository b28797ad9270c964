#include "code/Code_Language.h"

namespace zorvex {

CLanguage::CLanguage() {
  AddBuiltinConstants(constants);
  builtins.show_message = [this](const std::string& m) { ShowMessage(m); };
}

CLanguage::~CLanguage() = default;

CVariableList* CLanguage::AcquireLocals() {
  if (free_locals_.empty()) return new CVariableList();
  CVariableList* l = free_locals_.back().release();
  free_locals_.pop_back();
  return l;
}

void CLanguage::ReleaseLocals(CVariableList* list) {
  if (!list) return;
  list->Clear();
  free_locals_.emplace_back(list);
}

}  // namespace zorvex
