// The stored form of extension packages: packages, their files, functions and constants, and
// the files' contents carried in each package's data block.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "runner/Support_Stream.h"

namespace zorvex {

struct CExtensionConstant {
  static constexpr int32_t kRecordVersion = 700;
  std::string name;
  std::string value;  // an expression

  bool ReadFrom(CStream& s);
  void WriteTo(CStream& s) const;
  bool operator==(const CExtensionConstant&) const = default;
};

struct CExtensionFunction {
  static constexpr int32_t kRecordVersion = 700;
  static constexpr int32_t kArgumentKinds = 17;
  static constexpr int32_t kString = 1, kReal = 2;
  static constexpr int32_t kCdecl = 12;  // any other call kind is stdcall
  // Function ids are 500000 + id; larger ids are refused (the prepared tables are sized by them).
  static constexpr int32_t kMaxId = (1 << 20) - 1;

  std::string name;           // as used in game code
  std::string external_name;  // in the library, or the #define name in a script file
  int32_t call_kind = 0;
  int32_t id = 0;
  int32_t argument_count = 0;  // -1: any number
  std::array<int32_t, kArgumentKinds> argument_kinds{kReal, kReal, kReal, kReal, kReal, kReal,
                                                     kReal, kReal, kReal, kReal, kReal, kReal,
                                                     kReal, kReal, kReal, kReal, kReal};
  int32_t result_kind = kReal;
  std::string code;  // for functions of script files, from the unpacked file

  // False on a wrong version or an id outside 0 .. kMaxId.
  bool ReadFrom(CStream& s);
  void WriteTo(CStream& s) const;
  bool operator==(const CExtensionFunction&) const = default;
};

struct CExtensionFile {
  static constexpr int32_t kRecordVersion = 700;
  static constexpr int32_t kLibrary = 1, kScript = 2, kNoFile = 3, kOther = 4;

  std::string file_name;
  int32_t kind = kOther;
  std::string init_function;
  std::string final_function;
  std::vector<CExtensionFunction> functions;
  std::vector<CExtensionConstant> constants;
  std::vector<uint8_t> content;  // the file's bytes (none for kind 3)

  bool HasContent() const { return kind != kNoFile; }
  bool ReadFrom(CStream& s);
  void WriteTo(CStream& s) const;
  bool operator==(const CExtensionFile&) const = default;
};

struct CExtensionPackage {
  static constexpr int32_t kRecordVersion = 700;

  std::string name;
  std::string folder_name;  // the package's folder in the temporary directory
  std::vector<CExtensionFile> files;
  int32_t data_seed = 1;  // scrambles the data block when written

  // The records and the data block with every file's content. Names are trimmed and script
  // files split into their functions' code. False on a wrong version anywhere, on a folder or
  // file name that would lead out of the temporary directory, or on a data block that does not
  // unscramble.
  bool ReadFrom(CStream& s);
  void WriteTo(CStream& s) const;
  // Writes the library and other files into temp_directory/folder_name; false when a folder or
  // file cannot be written.
  bool Unpack(const std::string& temp_directory) const;

  bool operator==(const CExtensionPackage&) const = default;
};

// The functions of a script file: the text after each line that begins with #define, up to the
// next such line, under the name that follows #define. Lines are split at carriage returns,
// line feeds dropped, code lines joined with CR LF.
std::vector<std::pair<std::string, std::string>> SplitScriptFile(std::string_view text);

}  // namespace zorvex
