#include "zorvex-build/Builder_Sections.h"

#include "runner/Runner_Information.h"
#include "runner/Support_Stream.h"
#include "zorvex-build/Builder_Project.h"

namespace zorvex {

void WriteEmptyResourceTable(CStream& out, SectionId id) {
  out.WriteInt(SectionVersion(id));
  out.WriteInt(0);
}

namespace {

// Sections whose resource kind has no project folder reader yet: an empty table or list.
template <SectionId kId>
bool WriteEmpty(const CProject&, CStream& out, std::string&) {
  WriteEmptyResourceTable(out, kId);
  return true;
}

bool WriteRoomsSection(const CProject&, CStream& out, std::string&) {
  WriteEmptyResourceTable(out, SectionId::kRooms);
  out.WriteInt(100000);    // last instance id
  out.WriteInt(10000000);  // last tile id
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
    {SectionId::kExtensionPackages, WriteEmpty<SectionId::kExtensionPackages>},
    {SectionId::kSounds, WriteEmpty<SectionId::kSounds>},
    {SectionId::kSprites, WriteEmpty<SectionId::kSprites>},
    {SectionId::kBackgrounds, WriteEmpty<SectionId::kBackgrounds>},
    {SectionId::kPaths, WriteEmpty<SectionId::kPaths>},
    {SectionId::kScripts, WriteEmpty<SectionId::kScripts>},
    {SectionId::kFonts, WriteEmpty<SectionId::kFonts>},
    {SectionId::kTimeLines, WriteEmpty<SectionId::kTimeLines>},
    {SectionId::kObjects, WriteEmpty<SectionId::kObjects>},
    {SectionId::kRooms, WriteRoomsSection},
    {SectionId::kIncludedFiles, WriteEmpty<SectionId::kIncludedFiles>},
    {SectionId::kGameInformation, WriteGameInformationSection},
    {SectionId::kLibraryInitCode, WriteEmpty<SectionId::kLibraryInitCode>},
    {SectionId::kRoomOrder, WriteRoomOrderSection},
};

}  // namespace

std::span<const SectionWriterEntry> SectionWriters() {
  return kWriters;
}

}  // namespace zorvex
