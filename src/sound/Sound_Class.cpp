#include "sound/Sound_Class.h"

#include <filesystem>
#include <fstream>

#include "resources/Graphics_Picture.h"

namespace zorvex {

bool CSound::ReadFrom(CStream& s) {
  Clear();
  if (s.ReadInt() != kRecordVersion) return false;
  kind = s.ReadInt();
  file_type = s.ReadString();
  file_name = s.ReadString();
  has_data = s.ReadBool();
  if (has_data) data = std::move(s.ReadCompressedBlock()->Bytes());
  effects = s.ReadInt();
  volume = s.ReadReal();
  pan = s.ReadReal();
  preload = s.ReadBool();
  return true;
}

void CSound::WriteTo(CStream& s) const {
  s.WriteInt(kRecordVersion);
  s.WriteInt(kind);
  s.WriteString(file_type);
  s.WriteString(file_name);
  s.WriteBool(has_data);
  if (has_data) s.WriteCompressedBlock(data.data(), data.size());
  s.WriteInt(effects);
  s.WriteReal(volume);
  s.WriteReal(pan);
  s.WriteBool(preload);
}

std::string CSound::TempFileSuffix() const {
  if (file_type.find_first_of(std::string_view("/\\\0:", 4)) != std::string::npos) return {};
  if (file_type.find("..") != std::string::npos) return {};
  return file_type;
}

bool CSound::ExportData(const std::string& path) {
  if (!has_data) return false;
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(data.size()));
    if (!out) return false;
  }
  temp_file = path;
  data.clear();
  data.shrink_to_fit();
  has_data = false;
  return true;
}

bool CSound::LoadFile(const std::string& path, int32_t kind_, bool preload_) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes)) return false;
  Clear();
  std::filesystem::path p(path);
  file_type = p.extension().string();
  file_name = p.filename().string();
  data = std::move(bytes);
  has_data = true;
  kind = kind_;
  preload = preload_;
  return true;
}

}  // namespace zorvex
