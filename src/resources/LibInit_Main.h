// The initialisation code that action libraries carry, read from its own section.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runner/Support_Stream.h"

namespace zorvex {

// One code string per action library, in stored order.
class CLibraryInitCode {
 public:
  static constexpr int32_t kSectionVersion = 500;

  std::vector<std::string> code;

  bool ReadSection(CStream& s);
  void WriteSection(CStream& s) const;
};

}  // namespace zorvex
