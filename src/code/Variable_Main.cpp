#include "code/Variable_Main.h"

#include "runner/Support_Stream.h"

namespace zorvex {

namespace {
constexpr int32_t kGlobalMarker = 700;
}

void CGlobalVariables::Initialise() {
  list.Clear();
  declared_.assign(kInitialGlobalvarEntries, 0);
}

void CGlobalVariables::DeclareGlobal(int32_t id) {
  if (id < kFirstUserVariableId) return;
  size_t i = static_cast<size_t>(id - kFirstUserVariableId);
  if (i >= declared_.size()) declared_.resize(i + 1000, 0);
  declared_[i] = 1;
  list.Declare(id);
}

void CGlobalVariables::WriteToStream(CStream& s) const {
  s.WriteInt(kGlobalMarker);
  list.WriteToStream(s);
  s.WriteInt(static_cast<int32_t>(declared_.size()));
  for (uint8_t d : declared_)
    s.WriteBool(d != 0);
}

void CGlobalVariables::ReadFromStream(CStream& s) {
  if (s.ReadInt() != kGlobalMarker) return;
  CVariableList fresh;
  fresh.ReadFromStream(s);
  int32_t n = s.ReadInt();
  if (n < 0 || static_cast<size_t>(n) > s.Remaining() / 4) throw StreamReadError("bad count");
  std::vector<uint8_t> flags(static_cast<size_t>(n));
  for (auto& f : flags)
    f = s.ReadBool() ? 1 : 0;
  list = std::move(fresh);
  declared_ = std::move(flags);
}

}  // namespace zorvex
