// The table of all sprites by id, as read from the sprite section, with the run-time additions.
#pragma once

#include <string>

#include "resources/Resource_Table.h"
#include "resources/Sprite_Class.h"

namespace zorvex {

class CSpriteTable : public CResourceTable<CSprite> {
 public:
  static constexpr int32_t kSectionVersion = 400;
  static constexpr std::string_view kNewName = "__newsprite";

  bool ReadSection(CStream& s);
  void WriteSection(CStream& s) const;

  // Appends a sprite loaded from a picture file; -1 (and no new slot) when loading fails.
  int32_t AddFromFile(const std::string& file, int32_t frame_count, bool precise, bool transparent,
                      bool smooth, bool preload, int32_t xoffset, int32_t yoffset, bool use_alpha);
  // id must lie inside the table; an empty slot gets a sprite first.
  bool ReplaceFromFile(int32_t id, const std::string& file, int32_t frame_count, bool precise,
                       bool transparent, bool smooth, bool preload, int32_t xoffset,
                       int32_t yoffset, bool use_alpha);
  // A new slot holding a copy; -1 when id is not a sprite.
  int32_t Duplicate(int32_t id);
  // target becomes a copy of source; false when either id is outside the table or source is empty.
  bool AssignSprite(int32_t target, int32_t source);
  int32_t NewEmpty();
};

}  // namespace zorvex
