// The table of all time lines by id, as read from the time line section.
#pragma once

#include "resources/Resource_Table.h"
#include "resources/TimeLine_Class.h"

namespace zorvex {

class CTimeLineTable : public CResourceTable<CTimeLine> {
 public:
  static constexpr int32_t kSectionVersion = 500;
  static constexpr std::string_view kNewName = "__newtimeline";

  bool ReadSection(CStream& s);
  void WriteSection(CStream& s) const;

  int32_t AddTimeLine();
  void ResolveFunctions(const FunctionResolver& find, std::vector<std::string>& missing);
};

}  // namespace zorvex
