#include "run/Path_Main.h"

namespace zorvex {

bool CPathTable::ReadSection(CStream& s) {
  return ReadTable(s, kSectionVersion, [](CStream& in, CPath& p) { return p.ReadFrom(in); });
}

void CPathTable::WriteSection(CStream& s) const {
  WriteTable(s, kSectionVersion, [](CStream& out, const CPath& p) { p.WriteTo(out); });
}

}  // namespace zorvex
