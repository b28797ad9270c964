#include "resources/LibInit_Main.h"

#include "resources/Resource_Read.h"

namespace zorvex {

bool CLibraryInitCode::ReadSection(CStream& s) {
  code.clear();
  if (s.ReadInt() != kSectionVersion) return false;
  int32_t count;
  if (!ReadCount(s, 4, count)) return false;
  for (int32_t i = 0; i < count; ++i)
    code.push_back(s.ReadString());
  return true;
}

void CLibraryInitCode::WriteSection(CStream& s) const {
  s.WriteInt(kSectionVersion);
  s.WriteInt(static_cast<int32_t>(code.size()));
  for (const std::string& c : code)
    s.WriteString(c);
}

}  // namespace zorvex
