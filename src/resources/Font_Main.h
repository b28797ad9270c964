// The table of all fonts by id, as read from the font section, with the run-time additions.
#pragma once

#include <string>

#include "resources/Font_Class.h"
#include "resources/Resource_Table.h"

namespace zorvex {

class CFontTable : public CResourceTable<CFont> {
 public:
  static constexpr int32_t kSectionVersion = 540;
  static constexpr std::string_view kNewName = "__newfont";

  bool ReadSection(CStream& s);
  void WriteSection(CStream& s) const;

  int32_t AddSystemFont(CGlyphRenderer& renderer, const std::string& name, int32_t size, bool bold,
                        bool italic, int32_t first, int32_t last);
  int32_t AddSpriteFont(const CSpriteTable& sprites, int32_t sprite, int32_t first,
                        bool proportional, int32_t separation);
  // The slot's font is replaced and its name kept; false when id lies outside the table.
  bool ReplaceWithSystemFont(int32_t id, CGlyphRenderer& renderer, const std::string& name,
                             int32_t size, bool bold, bool italic, int32_t first, int32_t last);
  bool ReplaceWithSpriteFont(int32_t id, const CSpriteTable& sprites, int32_t sprite, int32_t first,
                             bool proportional, int32_t separation);
};

}  // namespace zorvex
