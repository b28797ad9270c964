// A sound resource: the image of a sound file (wave, MIDI, MP3, ...) with its kind, effects,
// volume, pan and preload flag. Playback lives elsewhere; this is the data and its files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runner/Support_Stream.h"

namespace zorvex {

class CSound {
 public:
  static constexpr int32_t kRecordVersion = 600;
  // Kinds.
  static constexpr int32_t kNormal = 0, kBackground = 1, k3D = 2, kMultimedia = 3;

  int32_t kind = -1;      // -1 for an empty sound
  std::string file_type;  // the file's extension with its dot
  std::string file_name;  // where the sound came from (informational)
  bool has_data = false;
  std::vector<uint8_t> data;
  int32_t effects = 0;
  double volume = 1.0;
  double pan = 0.0;
  bool preload = true;
  int32_t sample_id = -1;  // the prepared sample of the sound system
  std::string temp_file;   // where the data was written for the multimedia player

  void Clear() { *this = CSound(); }
  // Clear, then the stored record; false on a wrong version.
  bool ReadFrom(CStream& s);
  void WriteTo(CStream& s) const;

  // The suffix of the sound's temporary file: its file type, unless that could lead out of the
  // temporary directory.
  std::string TempFileSuffix() const;
  // Writes the data to path, remembers the path as the temporary file and drops the data.
  // False (nothing changed) without data or when the file cannot be written.
  bool ExportData(const std::string& path);
  // Takes a sound file (Linux path): file type = its extension, file name = its name without
  // folder, data = its bytes, kind and preload as given. False (nothing changed) when the file
  // cannot be read. Freeing the old sample is the sound system's business.
  bool LoadFile(const std::string& path, int32_t kind, bool preload);

  bool operator==(const CSound&) const = default;
};

}  // namespace zorvex
