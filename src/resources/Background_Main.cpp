#include "resources/Background_Main.h"

namespace zorvex {

bool CBackgroundTable::ReadSection(CStream& s) {
  return ReadTable(s, kSectionVersion, [](CStream& in, CBackground& b) { return b.ReadFrom(in); });
}

void CBackgroundTable::WriteSection(CStream& s) const {
  WriteTable(s, kSectionVersion, [](CStream& out, const CBackground& b) { b.WriteTo(out); });
}

int32_t CBackgroundTable::AddFromFile(const std::string& file, bool transparent, bool smooth,
                                      bool preload, bool use_alpha) {
  int32_t id = AppendNamed(std::make_unique<CBackground>(), kNewName);
  if (!Get(id)->LoadFromFile(file, transparent, smooth, preload, use_alpha)) {
    RemoveLast();
    return -1;
  }
  return id;
}

bool CBackgroundTable::ReplaceFromFile(int32_t id, const std::string& file, bool transparent,
                                       bool smooth, bool preload, bool use_alpha) {
  CBackground* b = GetOrMake(id);
  return b && b->LoadFromFile(file, transparent, smooth, preload, use_alpha);
}

int32_t CBackgroundTable::Duplicate(int32_t id) {
  const CBackground* source = Get(id);
  if (!source) return -1;
  auto copy = std::make_unique<CBackground>();
  copy->Assign(*source);
  return AppendNamed(std::move(copy), kNewName);
}

bool CBackgroundTable::AssignBackground(int32_t target, int32_t source) {
  if (!InRange(target) || !Exists(source)) return false;
  GetOrMake(target)->Assign(*Get(source));
  return true;
}

int32_t CBackgroundTable::NewEmpty() {
  return AppendNamed(std::make_unique<CBackground>(), kNewName);
}

}  // namespace zorvex
