#include "resources/Sprite_Main.h"

namespace zorvex {

bool CSpriteTable::ReadSection(CStream& s) {
  return ReadTable(s, kSectionVersion,
                   [](CStream& in, CSprite& sprite) { return sprite.ReadFrom(in); });
}

void CSpriteTable::WriteSection(CStream& s) const {
  WriteTable(s, kSectionVersion, [](CStream& out, const CSprite& sprite) { sprite.WriteTo(out); });
}

int32_t CSpriteTable::AddFromFile(const std::string& file, int32_t frame_count, bool precise,
                                  bool transparent, bool smooth, bool preload, int32_t xoffset,
                                  int32_t yoffset, bool use_alpha) {
  int32_t id = AppendNamed(std::make_unique<CSprite>(), kNewName);
  if (!Get(id)->LoadFromFile(file, frame_count, precise, transparent, smooth, preload, xoffset,
                             yoffset, use_alpha)) {
    RemoveLast();
    return -1;
  }
  return id;
}

bool CSpriteTable::ReplaceFromFile(int32_t id, const std::string& file, int32_t frame_count,
                                   bool precise, bool transparent, bool smooth, bool preload,
                                   int32_t xoffset, int32_t yoffset, bool use_alpha) {
  CSprite* sprite = GetOrMake(id);
  if (!sprite) return false;
  return sprite->LoadFromFile(file, frame_count, precise, transparent, smooth, preload, xoffset,
                              yoffset, use_alpha);
}

int32_t CSpriteTable::Duplicate(int32_t id) {
  const CSprite* source = Get(id);
  if (!source) return -1;
  auto copy = std::make_unique<CSprite>();
  copy->Assign(*source);
  return AppendNamed(std::move(copy), kNewName);
}

bool CSpriteTable::AssignSprite(int32_t target, int32_t source) {
  if (!InRange(target) || !Exists(source)) return false;
  GetOrMake(target)->Assign(*Get(source));
  return true;
}

int32_t CSpriteTable::NewEmpty() {
  return AppendNamed(std::make_unique<CSprite>(), kNewName);
}

}  // namespace zorvex
