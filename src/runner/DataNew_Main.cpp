#include "runner/DataNew_Main.h"

#include <filesystem>

#include "platform/Platform_Path.h"
#include "resources/Resource_Read.h"

namespace zorvex {

bool CIncludedFiles::ReadSection(CStream& s) {
  files.clear();
  if (s.ReadInt() != kSectionVersion) return false;
  int32_t count;
  // The smallest record: eleven int32-sized fields (empty strings, no data).
  if (!ReadCount(s, 4 * 11, count)) return false;
  for (int32_t i = 0; i < count; ++i) {
    CDataFile f;
    if (!f.ReadFrom(s)) {
      files.clear();
      return false;
    }
    files.push_back(std::move(f));
  }
  return true;
}

void CIncludedFiles::WriteSection(CStream& s) const {
  s.WriteInt(kSectionVersion);
  s.WriteInt(static_cast<int32_t>(files.size()));
  for (const CDataFile& f : files)
    f.WriteTo(s);
}

int32_t CIncludedFiles::Find(std::string_view name) const {
  for (size_t i = 0; i < files.size(); ++i)
    if (files[i].file_name == name) return static_cast<int32_t>(i);
  return -1;
}

bool CIncludedFiles::HasSeparator(std::string_view name) {
  return name.find_first_of("\\/") != std::string_view::npos;
}

std::string CIncludedFiles::TargetPath(const CDataFile& f) const {
  switch (f.export_mode) {
    case CDataFile::kTempDirectory:
      return TranslatePath(temp_directory + "\\" + f.file_name);
    case CDataFile::kWorkingDirectory:
      return TranslatePath(f.file_name);
    case CDataFile::kFolder:
      return TranslatePath(f.export_folder + "\\" + f.file_name);
    default:
      return {};
  }
}

bool CIncludedFiles::Export(CDataFile& f, const IncludedFileErrorSink& report) {
  if (!f.stored) return false;
  if (f.export_mode == CDataFile::kNoExport) return true;
  if (secure_mode && HasSeparator(f.file_name)) {
    if (report) report(std::string(kSecureNameMessage) + f.file_name);
    return false;
  }
  if (f.export_mode == CDataFile::kFolder) {
    if (secure_mode) {
      if (report) report(kSecureFolderMessage);
      return false;
    }
    std::error_code ec;
    std::filesystem::create_directories(TranslatePath(f.export_folder), ec);
  }
  std::string target = TargetPath(f);
  if (target.empty()) return false;
  bool ok = f.WriteTo(target);
  if (ok) f.exported = true;
  if (f.free_after_export) f.Discard();
  return ok;
}

bool CIncludedFiles::Remove(const CDataFile& f) {
  if (!f.remove_at_end) return true;
  if (secure_mode && HasSeparator(f.file_name)) return false;
  if (f.export_mode == CDataFile::kNoExport) return true;
  if (f.export_mode == CDataFile::kFolder && secure_mode) return false;
  std::string target = TargetPath(f);
  if (target.empty()) return false;
  if (!f.exported) return true;
  std::error_code ec;
  return std::filesystem::remove(target, ec);
}

bool CIncludedFiles::ExportAtStart(const IncludedFileErrorSink& report) {
  for (CDataFile& f : files)
    Export(f, report);
  return true;
}

void CIncludedFiles::RemoveAtEnd() {
  for (const CDataFile& f : files)
    Remove(f);
}

void CIncludedFiles::ExportByName(std::string_view name, const IncludedFileErrorSink& report) {
  CDataFile* f = IncludedFile(Find(name));
  if (!f) {
    if (report) report(kExportMissingMessage);
    return;
  }
  Export(*f, report);
}

void CIncludedFiles::ExportToLocation(std::string_view name, std::string_view location,
                                      const IncludedFileErrorSink& report) {
  CDataFile* f = IncludedFile(Find(name));
  if (!f) {
    if (report) report(kExportMissingMessage);
    return;
  }
  if (secure_mode) {
    if (report) report(kSecureLocationMessage);
    return;
  }
  f->WriteTo(TranslatePath(location));
}

void CIncludedFiles::DiscardByName(std::string_view name, const IncludedFileErrorSink& report) {
  CDataFile* f = IncludedFile(Find(name));
  if (!f) {
    if (report) report(kDiscardMissingMessage);
    return;
  }
  f->Discard();
}

}  // namespace zorvex
