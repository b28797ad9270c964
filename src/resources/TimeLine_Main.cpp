#include "resources/TimeLine_Main.h"

namespace zorvex {

bool CTimeLineTable::ReadSection(CStream& s) {
  return ReadTable(s, kSectionVersion, [](CStream& in, CTimeLine& t) { return t.ReadFrom(in); });
}

void CTimeLineTable::WriteSection(CStream& s) const {
  WriteTable(s, kSectionVersion, [](CStream& out, const CTimeLine& t) { t.WriteTo(out); });
}

int32_t CTimeLineTable::AddTimeLine() {
  return AppendNamed(std::make_unique<CTimeLine>(), kNewName);
}

void CTimeLineTable::ResolveFunctions(const FunctionResolver& find,
                                      std::vector<std::string>& missing) {
  for (int32_t id = 0; id < Count(); ++id)
    if (CTimeLine* t = Get(id)) t->ResolveFunctions(find, missing);
}

}  // namespace zorvex
