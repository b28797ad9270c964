// Numbered variables with one- and two-dimensional array storage (combined index i*32000 + j),
// used for instance, global and local variables.
#pragma once

#include <cstdint>
#include <vector>

#include "code/RValue.h"

namespace zorvex {

class CStream;

constexpr int32_t kArrayRowSize = 32000;

struct RVariable {
  int32_t id = 0;
  RValue value;                           // the scalar, also element 0
  std::vector<std::vector<RValue>> rows;  // rows[i][j] is element (i, j)
};

class CVariableList {
 public:
  void Clear() {
    vars_.clear();
    ids_.clear();
  }
  void Assign(const CVariableList& other) { *this = other; }
  void Declare(int32_t id);
  void SetValue(int32_t id, int64_t combined, const RValue& v);
  // Without `uninitialised_as_zero`, a missing variable or element fails.
  bool GetValue(int32_t id, int64_t combined, RValue& out, bool uninitialised_as_zero) const;
  // The element itself, or null when it is not stored.
  const RValue* Find(int32_t id, int64_t combined) const;

  int Count() const { return static_cast<int>(vars_.size()); }
  const RVariable& At(int i) const { return vars_[static_cast<size_t>(i)]; }
  int IndexOf(int32_t id) const {
    // Searched from the end: recently created variables are found first.
    for (size_t i = ids_.size(); i-- > 0;)
      if (ids_[i] == id) return static_cast<int>(i);
    return -1;
  }

  void WriteToStream(CStream& s) const;
  // Clears first; a wrong format marker leaves the list empty. Throws on a read past the end.
  void ReadFromStream(CStream& s);

 private:
  std::vector<RVariable> vars_;
  std::vector<int32_t> ids_;  // parallel to vars_, scanned on every access
};

void WriteValue(CStream& s, const RValue& v);
RValue ReadValue(CStream& s);

}  // namespace zorvex
