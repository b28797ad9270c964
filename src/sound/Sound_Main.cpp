#include "sound/Sound_Main.h"

#include <filesystem>

#include "platform/Platform_Path.h"

namespace zorvex {

bool CSoundTable::ReadSection(CStream& s) {
  return ReadTable(s, kSectionVersion, [](CStream& in, CSound& snd) { return snd.ReadFrom(in); });
}

void CSoundTable::WriteSection(CStream& s) const {
  WriteTable(s, kSectionVersion, [](CStream& out, const CSound& snd) { snd.WriteTo(out); });
}

std::string CSoundTable::FreshTempFileName(std::string_view suffix) {
  std::error_code ec;
  for (;;) {
    std::string path =
        temp_directory + "/a" + std::to_string(next_temp_number_++) + std::string(suffix);
    if (!std::filesystem::exists(path, ec)) return path;
  }
}

bool CSoundTable::WriteTempFile(int32_t id) {
  CSound* snd = Get(id);
  if (!snd || !snd->has_data) return false;
  return snd->ExportData(FreshTempFileName(snd->TempFileSuffix()));
}

int32_t CSoundTable::AddFromFile(const std::string& file, int32_t kind, bool preload) {
  int32_t id = AppendNamed(std::make_unique<CSound>(), kNewName);
  if (!Get(id)->LoadFile(TranslatePath(file), kind, preload)) {
    RemoveLast();
    return -1;
  }
  return id;
}

bool CSoundTable::ReplaceFromFile(int32_t id, const std::string& file, int32_t kind, bool preload) {
  CSound* snd = Get(id);
  return snd && snd->LoadFile(TranslatePath(file), kind, preload);
}

}  // namespace zorvex
