// The table of all sounds by index, as read from the sound section, and the temporary files
// the multimedia player plays them from.
#pragma once

#include <string>

#include "resources/Resource_Table.h"
#include "sound/Sound_Class.h"

namespace zorvex {

class CSoundTable : public CResourceTable<CSound> {
 public:
  static constexpr int32_t kSectionVersion = 400;
  static constexpr std::string_view kNewName = "__newsound";

  // The process's temporary directory (Linux path); set before sounds are prepared.
  std::string temp_directory;

  bool ReadSection(CStream& s);
  void WriteSection(CStream& s) const;

  // A path in the temporary directory that names no existing file, ending in suffix.
  std::string FreshTempFileName(std::string_view suffix);
  // Writes the data of sound id to a fresh temporary file named with its file type, remembers
  // the file and drops the data. False without a sound or data, or when writing fails.
  bool WriteTempFile(int32_t id);

  // Appends a sound made from a file (game path); -1 (and no new slot) when it cannot be read.
  int32_t AddFromFile(const std::string& file, int32_t kind, bool preload);
  // The sound of id takes the file; false when id is not a sound or the file cannot be read.
  bool ReplaceFromFile(int32_t id, const std::string& file, int32_t kind, bool preload);

 private:
  int64_t next_temp_number_ = 0;
};

}  // namespace zorvex
