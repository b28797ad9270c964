// Writing a game file: the filler up to the game data, the header with the settings, the
// support library block and the scrambled, compressed game block with its sections.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "zorvex-build/Builder_Sections.h"

namespace zorvex {

class CStream;
struct CProject;

struct ScrambleChoice {
  int32_t seed = 0;
  int32_t pad_before = 0;  // filler words before the seed
  int32_t pad_after = 0;   // and after it
};

// Derived from the game id, so a project always builds to the same bytes.
ScrambleChoice ChooseScramble(const CProject& project);

// The game block before compression: pads, seed, then (scrambled from one byte after the seed
// fields on) the reserved word, game id, identifier and the sections of the writers given.
bool WriteGameBlock(const CProject& project, const ScrambleChoice& scramble,
                    std::span<const SectionWriterEntry> writers, CStream& block,
                    std::string& error);
// Everything from the magic number on.
bool WriteGameData(const CProject& project, const ScrambleChoice& scramble,
                   std::span<const SectionWriterEntry> writers, CStream& out, std::string& error);
// The whole file: kGameDataOffset filler bytes, then the game data.
bool BuildGameFile(const CProject& project, std::vector<uint8_t>& file, std::string& error);
bool WriteGameFile(const CProject& project, const std::filesystem::path& path, std::string& error);

}  // namespace zorvex
