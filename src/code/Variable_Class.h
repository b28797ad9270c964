// Numbered variables with one- and two-dimensional array storage (combined index i*32000 + j),
// used for instance, global and local variables.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "code/RValue.h"

namespace zorvex {

class CStream;

constexpr int32_t kArrayRowSize = 32000;

// One row of array storage. A row holds plain reals until a string is stored in it (arrays
// of numbers are the common case and take an eighth of the room); from then on it holds values.
class RRow {
 public:
  size_t size() const { return mixed_ ? values_.size() : reals_.size(); }
  bool empty() const { return size() == 0; }
  // Element k (k < size()), copied out.
  void Get(size_t k, RValue& out) const {
    if (!mixed_) {
      out.SetReal(reals_[k]);
    } else {
      out = values_[k];
    }
  }
  RValue operator[](size_t k) const {
    RValue v;
    Get(k, v);
    return v;
  }
  // Stores element k, first extending the row with real 0 to k + 1 elements.
  void Set(size_t k, const RValue& v) {
    if (!mixed_ && v.kind == RValue::kReal && k < reals_.size()) {
      reals_[k] = v.real;
      return;
    }
    if (!mixed_ && v.kind == RValue::kReal && k == reals_.size()) {
      reals_.push_back(v.real);  // filling a row in order
      return;
    }
    SetSlow(k, v);
  }
  void Set(size_t k, RValue&& v) {
    if (v.kind == RValue::kReal)
      Set(k, static_cast<const RValue&>(v));
    else
      SetSlow(k, std::move(v));
  }

 private:
  void SetSlow(size_t k, const RValue& v);
  void SetSlow(size_t k, RValue&& v);
  void Extend(size_t n);
  void MakeMixed();

  std::vector<double> reals_;
  std::vector<RValue> values_;
  bool mixed_ = false;
};

struct RVariable {
  int32_t id = 0;
  RValue value;            // the scalar, also element 0
  std::vector<RRow> rows;  // rows[i][j] is element (i, j)
};

class CVariableList;

// Remembers where the last lookup through one code site found its variable, so that a loop
// addressing the same variable of the same list skips the search. Always checked against the
// list before use, so a stale entry only costs a normal search.
struct CVariableCache {
  const CVariableList* list = nullptr;
  int32_t slot = 0;
};

class CVariableList {
 public:
  CVariableList() = default;
  CVariableList(const CVariableList&) = default;
  CVariableList& operator=(const CVariableList&) = default;
  CVariableList(CVariableList&&) noexcept = default;
  CVariableList& operator=(CVariableList&&) noexcept = default;

  void Clear();
  // A deep copy of the other list: ids, scalars, rows and elements.
  void Assign(const CVariableList& other) {
    if (&other != this) *this = other;
  }
  // Appends a variable with scalar real 0 and no rows unless the id is present.
  void Declare(int32_t id);
  void SetValue(int32_t id, int64_t combined, const RValue& v);
  // Without `uninitialised_as_zero`, a missing variable or element fails.
  bool GetValue(int32_t id, int64_t combined, RValue& out, bool uninitialised_as_zero) const;

  int Count() const { return static_cast<int>(vars_.size()); }
  const RVariable& At(int i) const { return vars_[static_cast<size_t>(i)]; }
  RVariable& At(int i) { return vars_[static_cast<size_t>(i)]; }
  // Position of the variable with this id in list order, or -1.
  int IndexOf(int32_t id) const;

  // Lookups through a code site's cache.
  RVariable* FindVariable(int32_t id, CVariableCache& cache) {
    if (cache.list == this) {
      RVariable* v = vars_.data() + cache.slot;
      if (v < std::to_address(vars_.end()) && v->id == id) return v;
    }
    return FindVariableSlow(id, cache);
  }
  RVariable& ObtainVariable(int32_t id, CVariableCache& cache) {
    if (RVariable* v = FindVariable(id, cache)) return *v;
    return Append(id, cache);
  }

  void WriteToStream(CStream& s) const;
  // Clears first; a wrong format marker leaves the list empty. Throws on a read past the end.
  void ReadFromStream(CStream& s);

 private:
  RVariable* FindVariableSlow(int32_t id, CVariableCache& cache);
  RVariable& Append(int32_t id, CVariableCache& cache);
  void AppendNew(RVariable&& var);
  void IndexInsert(int32_t id, int32_t slot);
  void Reindex();

  // Variables in list order (the stored order).
  std::vector<RVariable> vars_;
  // Open-addressed table from id to position, used once the list outgrows a short scan;
  // empty while the list is small. Entries are position + 1, 0 for a free entry.
  std::vector<int32_t> index_;
};

// Elements of variable storage: combined index 0 is the scalar, c > 0 is
// rows[c div 32000][c mod 32000]. A read of an element beyond the stored extent fails.
inline bool ReadElement(const RVariable& var, int64_t c, RValue& out) {
  if (c == 0) {
    out = var.value;
    return true;
  }
  if (c < 0) return false;
  int64_t row = c / kArrayRowSize;
  size_t r = static_cast<size_t>(row), k = static_cast<size_t>(c - row * kArrayRowSize);
  if (r >= var.rows.size() || k >= var.rows[r].size()) return false;
  var.rows[r].Get(k, out);
  return true;
}
void WriteElementSlow(RVariable& var, int64_t c, const RValue& v);
void WriteElementSlow(RVariable& var, int64_t c, RValue&& v);
inline void WriteElement(RVariable& var, int64_t c, const RValue& v) {
  int64_t row = c / kArrayRowSize;
  if (c > 0 && static_cast<size_t>(row) < var.rows.size()) {
    var.rows[static_cast<size_t>(row)].Set(static_cast<size_t>(c - row * kArrayRowSize), v);
    return;
  }
  WriteElementSlow(var, c, v);
}
inline void WriteElement(RVariable& var, int64_t c, RValue&& v) {
  if (v.kind == RValue::kReal)
    WriteElement(var, c, static_cast<const RValue&>(v));
  else
    WriteElementSlow(var, c, std::move(v));
}

void WriteValue(CStream& s, const RValue& v);
RValue ReadValue(CStream& s);

}  // namespace zorvex
