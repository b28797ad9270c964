#include "resources/Action_Class.h"

namespace zorvex {

CAction CAction::FromCode(std::string text) {
  CAction a;
  a.kind = kCode;
  a.exe_type = kExeCode;
  a.arguments[0] = std::move(text);
  return a;
}

bool CAction::ReadFrom(CStream& s) {
  *this = CAction();
  if (s.ReadInt() != kRecordVersion) return false;
  library_id = s.ReadInt();
  action_id = s.ReadInt();
  kind = s.ReadInt();
  may_be_relative = s.ReadBool();
  is_question = s.ReadBool();
  applies_to_offered = s.ReadBool();
  exe_type = s.ReadInt();
  function_name = s.ReadString();
  code = s.ReadString();
  argument_count = s.ReadInt();
  if (argument_count < 0 || argument_count > kMaxArguments) return false;
  int32_t kinds = s.ReadInt();
  if (kinds < 0 || kinds > kMaxArguments) return false;
  for (int32_t i = 0; i < kinds; ++i)
    argument_kinds[static_cast<size_t>(i)] = s.ReadInt();
  applies_to = s.ReadInt();
  relative = s.ReadBool();
  int32_t texts = s.ReadInt();
  if (texts < 0 || texts > kMaxArguments) return false;
  for (int32_t i = 0; i < texts; ++i)
    arguments[static_cast<size_t>(i)] = s.ReadString();
  not_flag = s.ReadBool();
  return true;
}

void CAction::WriteTo(CStream& s) const {
  s.WriteInt(kRecordVersion);
  s.WriteInt(library_id);
  s.WriteInt(action_id);
  s.WriteInt(kind);
  s.WriteBool(may_be_relative);
  s.WriteBool(is_question);
  s.WriteBool(applies_to_offered);
  s.WriteInt(exe_type);
  s.WriteString(function_name);
  s.WriteString(code);
  s.WriteInt(argument_count);
  s.WriteInt(kMaxArguments);
  for (int32_t k : argument_kinds)
    s.WriteInt(k);
  s.WriteInt(applies_to);
  s.WriteBool(relative);
  s.WriteInt(kMaxArguments);
  for (const std::string& a : arguments)
    s.WriteString(a);
  s.WriteBool(not_flag);
}

}  // namespace zorvex
