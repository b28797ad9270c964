// A file carried inside the game data, written out when the game starts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runner/Support_Stream.h"

namespace zorvex {

class CDataFile {
 public:
  static constexpr int32_t kRecordVersion = 620;
  // Export modes.
  static constexpr int32_t kNoExport = 0, kTempDirectory = 1, kWorkingDirectory = 2, kFolder = 3;

  std::string file_name;    // also the key of the script functions
  std::string source_path;  // where the file came from when the game was made; unused here
  bool stored = false;      // the bytes are held in memory
  int32_t included_size = 0;
  bool data_present = false;
  std::vector<uint8_t> data;
  int32_t export_mode = kWorkingDirectory;
  std::string export_folder;
  bool overwrite = false;
  bool free_after_export = true;
  bool remove_at_end = true;
  // Set when Export wrote the file this run. Only such files are removed at the end, so that a
  // file that was already there (and not overwritten) is never deleted.
  bool exported = false;

  void Clear() { *this = CDataFile(); }
  // False on a wrong version.
  bool ReadFrom(CStream& s);
  void WriteTo(CStream& s) const;

  // Writes the bytes to a Linux path when they are held and (nothing is there or overwrite is
  // set). A failed write gives false, silently.
  bool WriteTo(const std::string& path) const;
  // Drops the bytes.
  void Discard();

  bool operator==(const CDataFile&) const = default;
};

}  // namespace zorvex
