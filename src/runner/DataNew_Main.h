// The list of included files: reading them, writing them out at start by their export mode,
// the script functions' operations, and their removal at the end.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "runner/DataNew_Class.h"

namespace zorvex {

// Receives the non-fatal error messages of exporting.
using IncludedFileErrorSink = std::function<void(std::string_view message)>;

class CIncludedFiles {
 public:
  static constexpr int32_t kSectionVersion = 620;

  static constexpr std::string_view kSecureNameMessage =
      "In secure mode you cannot export a data file to ";
  static constexpr std::string_view kSecureFolderMessage =
      "In secure mode you cannot export a data file to an indicated directory.";
  static constexpr std::string_view kExportMissingMessage = "Trying to export non-existing file.";
  static constexpr std::string_view kSecureLocationMessage =
      "In secure mode you cannot export a file to a location.";
  static constexpr std::string_view kDiscardMissingMessage = "Trying to discard non-existing file.";

  std::vector<CDataFile> files;  // in stored order; no empty slots
  // Kept here until the file functions own the secure-mode preference.
  bool secure_mode = false;
  // The process's temporary directory (Linux path), for export mode 1.
  std::string temp_directory;

  // Frees the old list and reads the section; false on a wrong section or record version.
  bool ReadSection(CStream& s);
  void WriteSection(CStream& s) const;

  // The first file named exactly name; -1 when none.
  int32_t Find(std::string_view name) const;
  CDataFile* IncludedFile(int32_t index) {
    return index >= 0 && index < static_cast<int32_t>(files.size())
               ? &files[static_cast<size_t>(index)]
               : nullptr;
  }

  // Export of every file in list order; always true.
  bool ExportAtStart(const IncludedFileErrorSink& report);
  // Remove of every file.
  void RemoveAtEnd();
  // Writes the file to the target of its export mode.
  bool Export(CDataFile& file, const IncludedFileErrorSink& report);
  // Deletes the file that Export wrote, when it is marked for removal.
  bool Remove(const CDataFile& file);

  // The script functions: export_include_file, export_include_file_location and
  // discard_include_file, reporting their errors to `report`.
  void ExportByName(std::string_view name, const IncludedFileErrorSink& report);
  void ExportToLocation(std::string_view name, std::string_view location,
                        const IncludedFileErrorSink& report);
  void DiscardByName(std::string_view name, const IncludedFileErrorSink& report);

 private:
  static bool HasSeparator(std::string_view name);
  // The Linux path a file of mode 1, 2 or 3 goes to; empty for other modes.
  std::string TargetPath(const CDataFile& file) const;
};

}  // namespace zorvex
