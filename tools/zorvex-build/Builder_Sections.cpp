#include "zorvex-build/Builder_Sections.h"

#include "runner/Runner_Information.h"
#include "runner/Support_Stream.h"
#include "zorvex-build/Builder_Project.h"

namespace zorvex {

namespace {

// Every resource section is written by its table's own writer, the one the runner's reader
// mirrors (scripts scrambled, pictures and sounds compressed).
template <SectionId kId>
bool WriteTable(const CProject& project, CStream& out, std::string&) {
  project.resources->WriteSection(kId, out);
  return true;
}

bool WriteGameInformationSection(const CProject& project, CStream& out, std::string&) {
  WriteGameInformation(out, project.information);
  return true;
}

bool WriteRoomOrderSection(const CProject& project, CStream& out, std::string&) {
  out.WriteInt(SectionVersion(SectionId::kRoomOrder));
  out.WriteInt(static_cast<int32_t>(project.room_order.size()));
  for (int32_t room : project.room_order)
    out.WriteInt(room);
  return true;
}

constexpr SectionWriterEntry kWriters[kSectionCount] = {
    {SectionId::kExtensionPackages, WriteTable<SectionId::kExtensionPackages>},
    {SectionId::kSounds, WriteTable<SectionId::kSounds>},
    {SectionId::kSprites, WriteTable<SectionId::kSprites>},
    {SectionId::kBackgrounds, WriteTable<SectionId::kBackgrounds>},
    {SectionId::kPaths, WriteTable<SectionId::kPaths>},
    {SectionId::kScripts, WriteTable<SectionId::kScripts>},
    {SectionId::kFonts, WriteTable<SectionId::kFonts>},
    {SectionId::kTimeLines, WriteTable<SectionId::kTimeLines>},
    {SectionId::kObjects, WriteTable<SectionId::kObjects>},
    {SectionId::kRooms, WriteTable<SectionId::kRooms>},
    {SectionId::kIncludedFiles, WriteTable<SectionId::kIncludedFiles>},
    {SectionId::kGameInformation, WriteGameInformationSection},
    {SectionId::kLibraryInitCode, WriteTable<SectionId::kLibraryInitCode>},
    {SectionId::kRoomOrder, WriteRoomOrderSection},
};

}  // namespace

std::span<const SectionWriterEntry> SectionWriters() {
  return kWriters;
}

}  // namespace zorvex
