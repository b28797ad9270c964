// A script: a named piece of code other code calls like a function. Its text is stored
// scrambled; the compile step takes the source text from here.
#pragma once

#include <cstdint>
#include <string>

#include "resources/Resource_Table.h"
#include "runner/Support_Stream.h"

namespace zorvex {

class CScript {
 public:
  static constexpr int32_t kRecordVersion = 400;
  // The fixed seed of the scrambled text records.
  static constexpr int32_t kTextSeed = 27409;

  // The source text. It is unscrambled once when read, which also proves that the stored text
  // record is whole, so nothing can fail later when the text is needed.
  std::string source;

  void Clear() { source.clear(); }
  // False on a wrong version or a text record that does not hold a whole string.
  bool ReadFrom(CStream& s);
  void WriteTo(CStream& s) const;
  const std::string& SourceText() const { return source; }

  bool operator==(const CScript&) const = default;
};

// Scripts by id. Finding a script by name, naming it and compiling all scripts are the
// language's business; scripts are never added at run time.
class CScriptTable : public CResourceTable<CScript> {
 public:
  static constexpr int32_t kSectionVersion = 400;

  bool ReadSection(CStream& s);
  void WriteSection(CStream& s) const;
};

}  // namespace zorvex
