// The table of all backgrounds by id, as read from the background section.
#pragma once

#include <string>

#include "resources/Background_Class.h"
#include "resources/Resource_Table.h"

namespace zorvex {

class CBackgroundTable : public CResourceTable<CBackground> {
 public:
  static constexpr int32_t kSectionVersion = 400;
  static constexpr std::string_view kNewName = "__newbackground";

  bool ReadSection(CStream& s);
  void WriteSection(CStream& s) const;

  // -1 (and no new slot) when loading fails.
  int32_t AddFromFile(const std::string& file, bool transparent, bool smooth, bool preload,
                      bool use_alpha);
  bool ReplaceFromFile(int32_t id, const std::string& file, bool transparent, bool smooth,
                       bool preload, bool use_alpha);
  int32_t Duplicate(int32_t id);
  bool AssignBackground(int32_t target, int32_t source);
  int32_t NewEmpty();
};

}  // namespace zorvex
