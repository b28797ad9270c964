// The extension packages of the game, read from the first section of the game data and
// unpacked into the temporary directory. Preparing their functions is the language's step.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "code/Extension_Class.h"

namespace zorvex {

class CExtensionPackages {
 public:
  static constexpr int32_t kSectionVersion = 700;
  // Shown by the loader before its own message when the section fails.
  static constexpr std::string_view kLoadErrorMessage = "Error in loading extension packages.";

  std::vector<CExtensionPackage> packages;
  // The process's temporary directory (Linux path). Without one nothing is unpacked (tools that
  // only inspect a game file).
  std::string temp_directory;

  // Reads the section and unpacks every package; false on any failure.
  bool ReadSection(CStream& s);
  void WriteSection(CStream& s) const;

  // The id of the first function of that name: packages, then files, in order; -1 if none.
  int32_t FindFunction(std::string_view name) const;
  // The function with that id, or none.
  const CExtensionFunction* FunctionById(int32_t id) const;
  // The largest function id used, -1 without functions.
  int32_t MaxFunctionId() const;
};

}  // namespace zorvex
