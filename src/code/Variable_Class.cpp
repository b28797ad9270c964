#include "code/Variable_Class.h"

#include "runner/Support_Stream.h"

namespace zorvex {

namespace {
constexpr int32_t kListMarker = 440;
}

void CVariableList::Declare(int32_t id) {
  if (IndexOf(id) >= 0) return;
  vars_.emplace_back();
  vars_.back().id = id;
  ids_.push_back(id);
}

void CVariableList::SetValue(int32_t id, int64_t c, const RValue& v) {
  int i = IndexOf(id);
  if (i < 0) {
    Declare(id);
    i = Count() - 1;
  }
  RVariable& var = vars_[static_cast<size_t>(i)];
  if (c == 0) {
    var.value = v;
    return;
  }
  size_t r = static_cast<size_t>(c / kArrayRowSize), k = static_cast<size_t>(c % kArrayRowSize);
  if (var.rows.size() < r + 1) var.rows.resize(r + 1);
  std::vector<RValue>& row = var.rows[r];
  if (row.size() < k + 1) row.resize(k + 1);
  row[k] = v;
}

const RValue* CVariableList::Find(int32_t id, int64_t c) const {
  int i = IndexOf(id);
  if (i < 0) return nullptr;
  const RVariable& var = vars_[static_cast<size_t>(i)];
  if (c == 0) return &var.value;
  if (c < 0) return nullptr;
  size_t r = static_cast<size_t>(c / kArrayRowSize), k = static_cast<size_t>(c % kArrayRowSize);
  if (r >= var.rows.size() || k >= var.rows[r].size()) return nullptr;
  return &var.rows[r][k];
}

bool CVariableList::GetValue(int32_t id, int64_t c, RValue& out, bool uninitialised_as_zero) const {
  if (const RValue* v = Find(id, c)) {
    out = *v;
    return true;
  }
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
    for (const auto& row : var.rows) {
      s.WriteInt(static_cast<int32_t>(row.size()));
      for (const RValue& e : row) WriteValue(s, e);
    }
  }
}

void CVariableList::ReadFromStream(CStream& s) {
  Clear();
  if (s.ReadInt() != kListMarker) return;
  int32_t n = s.ReadInt();
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
    for (auto& row : var.rows) {
      int32_t m = s.ReadInt();
      if (m < 0 || static_cast<size_t>(m) > s.Remaining() / 16)
        throw StreamReadError("bad element count");
      row.reserve(static_cast<size_t>(m));
      for (int32_t k = 0; k < m; ++k) row.push_back(ReadValue(s));
    }
    if (IndexOf(var.id) >= 0) throw StreamReadError("duplicate variable id");
    ids_.push_back(var.id);
    vars_.push_back(std::move(var));
  }
}

}  // namespace zorvex
