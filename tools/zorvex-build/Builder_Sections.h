// The writers of the fourteen sections of the game block, in stored order: the one place where
// a resource kind's writer is plugged in.
#pragma once

#include <span>
#include <string>

#include "runner/Runner_Format.h"

namespace zorvex {

class CStream;
struct CProject;

// Writes one whole section, its version first. On failure, sets an error naming the project
// file and field at fault.
using SectionWriter = bool (*)(const CProject& project, CStream& out, std::string& error);

struct SectionWriterEntry {
  SectionId id;
  SectionWriter write;
};

std::span<const SectionWriterEntry> SectionWriters();

}  // namespace zorvex
