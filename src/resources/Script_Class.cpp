#include "resources/Script_Class.h"

namespace zorvex {

bool CScript::ReadFrom(CStream& s) {
  Clear();
  if (s.ReadInt() != kRecordVersion) return false;
  std::unique_ptr<CStream> text = s.ReadCompressedBlock();
  if (!DescramblePlain(*text, kTextSeed, 0, 0)) return false;
  text->Seek(0);
  if (text->Size() < 4) return false;
  int32_t n = text->ReadInt();
  if (n > 0 && static_cast<size_t>(n) > text->Remaining()) return false;
  text->Seek(0);
  source = text->ReadString();
  return true;
}

void CScript::WriteTo(CStream& s) const {
  s.WriteInt(kRecordVersion);
  CStream text;
  text.WriteString(source);
  ScramblePlain(text, kTextSeed, 0, 0);
  s.WriteCompressedBlock(text);
}

bool CScriptTable::ReadSection(CStream& s) {
  return ReadTable(s, kSectionVersion, [](CStream& in, CScript& sc) { return sc.ReadFrom(in); });
}

void CScriptTable::WriteSection(CStream& s) const {
  WriteTable(s, kSectionVersion, [](CStream& out, const CScript& sc) { sc.WriteTo(out); });
}

}  // namespace zorvex
