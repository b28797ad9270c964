// The global variables: one variable list and the set of names declared with `globalvar`.
#pragma once

#include <cstdint>
#include <vector>

#include "code/Variable_Class.h"

namespace zorvex {

class CStream;

constexpr int32_t kFirstUserVariableId = 100000;
constexpr size_t kInitialGlobalvarEntries = 10000;

class CGlobalVariables {
 public:
  CGlobalVariables() { Initialise(); }

  // A fresh empty list and a globalvar set of 10000 false entries.
  void Initialise();

  // Sets the flag (growing the set when the id lies beyond it) and creates the variable with
  // real 0 when it is not there yet.
  void DeclareGlobal(int32_t id);
  bool IsDeclaredGlobal(int32_t id) const {
    uint32_t i = static_cast<uint32_t>(id - kFirstUserVariableId);
    return id >= kFirstUserVariableId && i < declared_.size() && declared_[i] != 0;
  }
  bool Get(int32_t id, int64_t combined, RValue& out, bool uninitialised_as_zero) const {
    return list.GetValue(id, combined, out, uninitialised_as_zero);
  }
  void Set(int32_t id, int64_t combined, const RValue& v) { list.SetValue(id, combined, v); }

  size_t GlobalvarCount() const { return declared_.size(); }

  // Stored form: int 700, the list, int n, n booleans. Reading with another marker changes
  // nothing; otherwise the whole state is replaced. Throws on a read past the end, leaving the
  // state as it was.
  void WriteToStream(CStream& s) const;
  void ReadFromStream(CStream& s);

  CVariableList list;

 private:
  std::vector<uint8_t> declared_;  // by id - 100000
};

}  // namespace zorvex
