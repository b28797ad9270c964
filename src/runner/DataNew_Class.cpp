#include "runner/DataNew_Class.h"

#include <filesystem>
#include <fstream>

namespace zorvex {

bool CDataFile::ReadFrom(CStream& s) {
  Clear();
  if (s.ReadInt() != kRecordVersion) return false;
  file_name = s.ReadString();
  source_path = s.ReadString();
  stored = s.ReadBool();
  included_size = s.ReadInt();
  data_present = s.ReadBool();
  if (stored && data_present) data = std::move(s.ReadCompressedBlock()->Bytes());
  export_mode = s.ReadInt();
  export_folder = s.ReadString();
  overwrite = s.ReadBool();
  free_after_export = s.ReadBool();
  remove_at_end = s.ReadBool();
  return true;
}

void CDataFile::WriteTo(CStream& s) const {
  s.WriteInt(kRecordVersion);
  s.WriteString(file_name);
  s.WriteString(source_path);
  s.WriteBool(stored);
  s.WriteInt(included_size);
  s.WriteBool(data_present);
  if (stored && data_present) s.WriteCompressedBlock(data.data(), data.size());
  s.WriteInt(export_mode);
  s.WriteString(export_folder);
  s.WriteBool(overwrite);
  s.WriteBool(free_after_export);
  s.WriteBool(remove_at_end);
}

bool CDataFile::WriteTo(const std::string& path) const {
  if (!stored) return false;
  std::error_code ec;
  if (!overwrite && std::filesystem::exists(path, ec)) return false;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  out.close();
  return static_cast<bool>(out);
}

void CDataFile::Discard() {
  if (!stored) return;
  data.clear();
  data.shrink_to_fit();
  stored = false;
}

}  // namespace zorvex
