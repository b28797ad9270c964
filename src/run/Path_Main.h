// The list of paths by index, as read from the path section.
#pragma once

#include "resources/Resource_Table.h"
#include "run/Path_Class.h"

namespace zorvex {

class CPathTable : public CResourceTable<CPath> {
 public:
  static constexpr int32_t kSectionVersion = 420;
  static constexpr std::string_view kNewName = "__newpath";

  bool ReadSection(CStream& s);
  void WriteSection(CStream& s) const;
};

}  // namespace zorvex
