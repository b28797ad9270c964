#include "code/Variable_Class.h"

#include "runner/Support_Stream.h"

namespace zorvex {

namespace {

constexpr int32_t kListMarker = 440;
// Up to this many variables a scan beats hashing; beyond it the id index is kept.
constexpr size_t kScanLimit = 8;
constexpr int64_t kMaxCombined = int64_t{kArrayRowSize} * kArrayRowSize;

inline uint32_t HashId(int32_t id, uint32_t mask) {
  return (static_cast<uint32_t>(id) * 0x9E3779B1u >> 7) & mask;
}

}  // namespace

void CVariableList::Clear() {
  vars_.clear();
  index_.clear();
}

int CVariableList::IndexOf(int32_t id) const {
  if (index_.empty()) {
    for (size_t i = vars_.size(); i-- > 0;)
      if (vars_[i].id == id) return static_cast<int>(i);
    return -1;
  }
  uint32_t mask = static_cast<uint32_t>(index_.size() - 1);
  for (uint32_t h = HashId(id, mask);; h = (h + 1) & mask) {
    int32_t e = index_[h];
    if (e == 0) return -1;
    if (vars_[static_cast<size_t>(e - 1)].id == id) return e - 1;
  }
}

void CVariableList::IndexInsert(int32_t id, int32_t slot) {
  uint32_t mask = static_cast<uint32_t>(index_.size() - 1);
  uint32_t h = HashId(id, mask);
  while (index_[h] != 0)
    h = (h + 1) & mask;
  index_[h] = slot + 1;
}

void CVariableList::Reindex() {
  if (vars_.size() <= kScanLimit) {
    index_.clear();
    return;
  }
  size_t cap = 16;
  while (cap < vars_.size() * 2)
    cap *= 2;
  index_.assign(cap, 0);
  for (size_t i = 0; i < vars_.size(); ++i)
    IndexInsert(vars_[i].id, static_cast<int32_t>(i));
}

void CVariableList::AppendNew(RVariable&& var) {
  int32_t id = var.id;
  vars_.push_back(std::move(var));
  if (vars_.size() <= kScanLimit) return;
  // Keep the table at most half full.
  if (index_.empty() || vars_.size() * 2 > index_.size())
    Reindex();
  else
    IndexInsert(id, static_cast<int32_t>(vars_.size() - 1));
}

void CVariableList::Declare(int32_t id) {
  if (IndexOf(id) >= 0) return;
  RVariable v;
  v.id = id;
  AppendNew(std::move(v));
}

RVariable* CVariableList::FindVariableSlow(int32_t id, CVariableCache& cache) {
  int i = IndexOf(id);
  if (i < 0) return nullptr;
  cache.list = this;
  cache.slot = i;
  return &vars_[static_cast<size_t>(i)];
}

RVariable& CVariableList::Append(int32_t id, CVariableCache& cache) {
  RVariable v;
  v.id = id;
  AppendNew(std::move(v));
  cache.list = this;
  cache.slot = Count() - 1;
  return vars_.back();
}

void RRow::Extend(size_t n) {
  if (n <= size()) return;
  if (mixed_)
    values_.resize(n);
  else
    reals_.resize(n, 0.0);
}

void RRow::MakeMixed() {
  values_.reserve(reals_.capacity());
  for (double r : reals_)
    values_.emplace_back(r);
  reals_ = {};
  mixed_ = true;
}

void RRow::SetSlow(size_t k, const RValue& v) {
  if (!mixed_ && v.kind == RValue::kReal) {
    Extend(k + 1);
    reals_[k] = v.real;
    return;
  }
  if (!mixed_) MakeMixed();
  Extend(k + 1);
  values_[k] = v;
}

void RRow::SetSlow(size_t k, RValue&& v) {
  if (!mixed_ && v.kind == RValue::kReal) {
    SetSlow(k, static_cast<const RValue&>(v));
    return;
  }
  if (!mixed_) MakeMixed();
  Extend(k + 1);
  values_[k] = std::move(v);
}

namespace {

template <typename V>
void WriteElementImpl(RVariable& var, int64_t c, V&& v) {
  // Callers keep both indices within 0..31999; anything else addresses the scalar rather than
  // asking for an absurd allocation.
  if (c <= 0 || c >= kMaxCombined) {
    var.value = std::forward<V>(v);
    return;
  }
  size_t r = static_cast<size_t>(c / kArrayRowSize), k = static_cast<size_t>(c % kArrayRowSize);
  if (var.rows.size() < r + 1) var.rows.resize(r + 1);
  var.rows[r].Set(k, std::forward<V>(v));
}

}  // namespace

void WriteElementSlow(RVariable& var, int64_t c, const RValue& v) {
  WriteElementImpl(var, c, v);
}
void WriteElementSlow(RVariable& var, int64_t c, RValue&& v) {
  WriteElementImpl(var, c, std::move(v));
}

void CVariableList::SetValue(int32_t id, int64_t c, const RValue& v) {
  CVariableCache cache;
  WriteElement(ObtainVariable(id, cache), c, v);
}

bool CVariableList::GetValue(int32_t id, int64_t c, RValue& out, bool uninitialised_as_zero) const {
  int i = IndexOf(id);
  if (i >= 0 && ReadElement(vars_[static_cast<size_t>(i)], c, out)) return true;
  if (!uninitialised_as_zero) return false;
  out.SetReal(0);
  return true;
}

void WriteValue(CStream& s, const RValue& v) {
  s.WriteInt(v.kind);
  s.WriteReal(v.real);
  s.WriteString(v.str);
}

RValue ReadValue(CStream& s) {
  RValue v;
  v.kind = s.ReadInt() == RValue::kString ? RValue::kString : RValue::kReal;
  v.real = s.ReadReal();
  v.str = s.ReadString();
  return v;
}

void CVariableList::WriteToStream(CStream& s) const {
  s.WriteInt(kListMarker);
  s.WriteInt(Count());
  for (const RVariable& var : vars_) {
    s.WriteInt(var.id);
    WriteValue(s, var.value);
    s.WriteInt(static_cast<int32_t>(var.rows.size()));
    RValue e;
    for (const RRow& row : var.rows) {
      s.WriteInt(static_cast<int32_t>(row.size()));
      for (size_t k = 0; k < row.size(); ++k) {
        row.Get(k, e);
        WriteValue(s, e);
      }
    }
  }
}

void CVariableList::ReadFromStream(CStream& s) {
  Clear();
  if (s.ReadInt() != kListMarker) return;
  int32_t n = s.ReadInt();
  if (n < 0 || static_cast<size_t>(n) > s.Remaining() / 20) throw StreamReadError("bad count");
  for (int32_t i = 0; i < n; ++i) {
    RVariable var;
    var.id = s.ReadInt();
    var.value = ReadValue(s);
    int32_t nrows = s.ReadInt();
    // Every row takes at least 4 bytes, every element at least 16: never allocate more than
    // the remaining bytes could hold.
    if (nrows < 0 || static_cast<size_t>(nrows) > s.Remaining() / 4)
      throw StreamReadError("bad row count");
    var.rows.resize(static_cast<size_t>(nrows));
    for (RRow& row : var.rows) {
      int32_t m = s.ReadInt();
      if (m < 0 || static_cast<size_t>(m) > s.Remaining() / 16)
        throw StreamReadError("bad element count");
      for (int32_t k = 0; k < m; ++k)
        row.Set(static_cast<size_t>(k), ReadValue(s));
    }
    if (IndexOf(var.id) >= 0) throw StreamReadError("duplicate variable id");
    AppendNew(std::move(var));
  }
}

}  // namespace zorvex
