#include "resources/Room_Main.h"

#include "resources/Background_Main.h"
#include "resources/Object_Main.h"

namespace zorvex {

bool CRoomTable::ReadSection(CStream& s) {
  last_instance_id = 0;
  last_tile_id = 0;
  if (!ReadTable(s, kSectionVersion,
                 [this](CStream& in, CRoom& r) { return r.ReadFrom(in, backgrounds_, objects_); }))
    return false;
  last_instance_id = s.ReadInt();
  last_tile_id = s.ReadInt();
  return true;
}

void CRoomTable::WriteSection(CStream& s) const {
  WriteTable(s, kSectionVersion, [](CStream& out, const CRoom& r) { r.WriteTo(out); });
  s.WriteInt(last_instance_id);
  s.WriteInt(last_tile_id);
}

int32_t CRoomTable::AddRoom() {
  return AppendNamed(std::make_unique<CRoom>(), kNewName);
}

int32_t CRoomTable::Duplicate(int32_t id) {
  const CRoom* source = Get(id);
  if (!source) return -1;
  auto copy = std::make_unique<CRoom>();
  copy->Assign(*source);
  return AppendNamed(std::move(copy), kNewName);
}

bool CRoomTable::AssignRoom(int32_t target, int32_t source) {
  if (!InRange(target) || !Exists(source)) return false;
  GetOrMake(target)->Assign(*Get(source));
  return true;
}

bool CRoomOrder::ReadSection(CStream& s) {
  order.clear();
  if (s.ReadInt() != kSectionVersion) return false;
  int32_t count;
  if (!ReadCount(s, 4, count) || count < 1) return false;
  order.reserve(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    int32_t id = s.ReadInt();
    if (!rooms_.Exists(id)) {
      order.clear();
      return false;
    }
    order.push_back(id);
  }
  return true;
}

void CRoomOrder::WriteSection(CStream& s) const {
  s.WriteInt(kSectionVersion);
  s.WriteInt(static_cast<int32_t>(order.size()));
  for (int32_t id : order)
    s.WriteInt(id);
}

int32_t CRoomOrder::PreviousRoom(int32_t id) const {
  for (size_t i = 1; i < order.size(); ++i)
    if (order[i] == id) return order[i - 1];
  return -1;
}

int32_t CRoomOrder::NextRoom(int32_t id) const {
  for (size_t i = order.size(); i-- > 1;)
    if (order[i - 1] == id) return order[i];
  return -1;
}

}  // namespace zorvex
