#include "resources/Event_Class.h"

#include "resources/Resource_Read.h"

namespace zorvex {

namespace {
// The smallest stored action: its fixed fields with empty strings and no arguments.
constexpr size_t kMinActionBytes = 64;
}  // namespace

bool CEvent::ReadFrom(CStream& s) {
  Clear();
  if (s.ReadInt() != kRecordVersion) return false;
  int32_t count;
  if (!ReadCount(s, kMinActionBytes, count)) return false;
  for (int32_t i = 0; i < count; ++i) {
    CAction a;
    if (!a.ReadFrom(s)) return false;
    actions.push_back(std::move(a));
  }
  return true;
}

void CEvent::WriteTo(CStream& s) const {
  s.WriteInt(kRecordVersion);
  s.WriteInt(ActionCount());
  for (const CAction& a : actions)
    a.WriteTo(s);
}

CAction& CEvent::AddCodeAction(std::string text) {
  actions.push_back(CAction::FromCode(std::move(text)));
  return actions.back();
}

void CEvent::ResolveFunctions(const FunctionResolver& find, std::vector<std::string>& missing) {
  for (CAction& a : actions) {
    a.function_id = find(a.function_name);
    if (a.exe_type == CAction::kExeFunction && a.function_id < 0)
      missing.push_back(a.function_name);
  }
}

}  // namespace zorvex
