#include "zorvex-build/Builder_Game.h"

#include <fstream>

#include "runner/Option_Main.h"
#include "runner/Support_Stream.h"
#include "zorvex-build/Builder_Project.h"

namespace zorvex {

namespace {
uint32_t Mix(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7FEB352Du;
  x ^= x >> 15;
  x *= 0x846CA68Bu;
  x ^= x >> 16;
  return x;
}
}  // namespace

ScrambleChoice ChooseScramble(const CProject& project) {
  uint32_t h = Mix(static_cast<uint32_t>(project.game_id) + 0x9E3779B9u);
  ScrambleChoice c;
  c.seed = static_cast<int32_t>(h % 2000000u) + 1;  // always a seed the runner accepts
  c.pad_before = static_cast<int32_t>(Mix(h) % 12u);
  c.pad_after = static_cast<int32_t>(Mix(h + 1) % 12u);
  return c;
}

bool WriteGameBlock(const CProject& project, const ScrambleChoice& scramble,
                    std::span<const SectionWriterEntry> writers, CStream& block,
                    std::string& error) {
  uint32_t filler = Mix(static_cast<uint32_t>(scramble.seed));
  block.WriteInt(scramble.pad_before);
  block.WriteInt(scramble.pad_after);
  for (int32_t i = 0; i < scramble.pad_before; ++i)
    block.WriteInt(static_cast<int32_t>(filler = Mix(filler)));
  block.WriteInt(scramble.seed);
  for (int32_t i = 0; i < scramble.pad_after; ++i)
    block.WriteInt(static_cast<int32_t>(filler = Mix(filler)));
  const int64_t scrambled_from = static_cast<int64_t>(block.Position()) + 1;
  block.WriteInt(0);  // reserved
  block.WriteInt(project.game_id);
  block.WriteBytes(project.guid.data(), project.guid.size());
  for (const SectionWriterEntry& w : writers)
    if (!w.write(project, block, error)) return false;
  if (scrambled_from < static_cast<int64_t>(block.Size()) &&
      !ScrambleBlock(block, scramble.seed, scrambled_from, 0)) {
    error = "the seed " + std::to_string(scramble.seed) + " cannot scramble a game block";
    return false;
  }
  return true;
}

bool WriteGameData(const CProject& project, const ScrambleChoice& scramble,
                   std::span<const SectionWriterEntry> writers, CStream& out, std::string& error) {
  out.WriteInt(kGameMagic);
  out.WriteInt(kGameVersion);
  out.WriteBool(project.debug_mode);
  WriteSettings(out, project.settings);
  // The support library's place: the runner does its work itself, so the block is empty.
  out.WriteString("D3DX8.dll");
  out.WriteCompressedBlock(nullptr, 0);
  CStream block;
  if (!WriteGameBlock(project, scramble, writers, block, error)) return false;
  out.WriteCompressedBlock(block);
  return true;
}

bool BuildGameFile(const CProject& project, std::vector<uint8_t>& file, std::string& error) {
  CStream out(std::vector<uint8_t>(kGameDataOffset, 0));
  out.Seek(kGameDataOffset);
  if (!WriteGameData(project, ChooseScramble(project), SectionWriters(), out, error)) return false;
  file = std::move(out.Bytes());
  return true;
}

bool WriteGameFile(const CProject& project, const std::filesystem::path& path, std::string& error) {
  std::vector<uint8_t> bytes;
  if (!BuildGameFile(project, bytes, error)) return false;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    error = path.string() + ": cannot be written";
    return false;
  }
  return true;
}

}  // namespace zorvex
