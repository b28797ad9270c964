#include "resources/Font_Main.h"

namespace zorvex {

bool CFontTable::ReadSection(CStream& s) {
  return ReadTable(s, kSectionVersion, [](CStream& in, CFont& f) { return f.ReadFrom(in); });
}

void CFontTable::WriteSection(CStream& s) const {
  WriteTable(s, kSectionVersion, [](CStream& out, const CFont& f) { f.WriteTo(out); });
}

int32_t CFontTable::AddSystemFont(CGlyphRenderer& renderer, const std::string& name, int32_t size,
                                  bool bold, bool italic, int32_t first, int32_t last) {
  auto font = std::make_unique<CFont>();
  font->FromSystemFont(renderer, name, size, bold, italic, first, last);
  return AppendNamed(std::move(font), kNewName);
}

int32_t CFontTable::AddSpriteFont(const CSpriteTable& sprites, int32_t sprite, int32_t first,
                                  bool proportional, int32_t separation) {
  auto font = std::make_unique<CFont>();
  font->FromSprite(sprites, sprite, first, proportional, separation);
  return AppendNamed(std::move(font), kNewName);
}

bool CFontTable::ReplaceWithSystemFont(int32_t id, CGlyphRenderer& renderer,
                                       const std::string& name, int32_t size, bool bold,
                                       bool italic, int32_t first, int32_t last) {
  if (!InRange(id)) return false;
  auto font = std::make_unique<CFont>();
  font->FromSystemFont(renderer, name, size, bold, italic, first, last);
  Put(id, std::move(font));
  return true;
}

bool CFontTable::ReplaceWithSpriteFont(int32_t id, const CSpriteTable& sprites, int32_t sprite,
                                       int32_t first, bool proportional, int32_t separation) {
  if (!InRange(id)) return false;
  auto font = std::make_unique<CFont>();
  font->FromSprite(sprites, sprite, first, proportional, separation);
  Put(id, std::move(font));
  return true;
}

}  // namespace zorvex
