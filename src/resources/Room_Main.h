// The table of all rooms, the instance and tile id counters stored with it, and the room order.
#pragma once

#include <vector>

#include "resources/Resource_Table.h"
#include "resources/Room_Class.h"

namespace zorvex {

class CBackgroundTable;
class CObjectTable;

class CRoomTable : public CResourceTable<CRoom> {
 public:
  static constexpr int32_t kSectionVersion = 420;
  static constexpr std::string_view kNewName = "__newroom";

  // Rooms are read after the backgrounds (stretched layers) and objects (placed instances).
  CRoomTable(const CBackgroundTable& backgrounds, const CObjectTable& objects)
      : backgrounds_(backgrounds), objects_(objects) {}

  // The highest instance and tile ids used so far; new ones take the next number.
  int32_t last_instance_id = 0;
  int32_t last_tile_id = 0;

  bool ReadSection(CStream& s);
  void WriteSection(CStream& s) const;

  int32_t AddRoom();
  int32_t Duplicate(int32_t id);
  bool AssignRoom(int32_t target, int32_t source);

 private:
  const CBackgroundTable& backgrounds_;
  const CObjectTable& objects_;
};

// The room ids in playing order; the first is the first room of the game.
class CRoomOrder {
 public:
  static constexpr int32_t kSectionVersion = 700;

  explicit CRoomOrder(const CRoomTable& rooms) : rooms_(rooms) {}

  std::vector<int32_t> order;

  // False on a wrong version, a count below 1, or an entry that names no room.
  bool ReadSection(CStream& s);
  void WriteSection(CStream& s) const;

  int32_t FirstRoom() const { return order.empty() ? -1 : order.front(); }
  int32_t LastRoom() const { return order.empty() ? -1 : order.back(); }
  // The entry before the first position (from the second on) that holds id; -1 when none.
  int32_t PreviousRoom(int32_t id) const;
  // The entry after the last position (before the last entry) that holds id; -1 when none.
  int32_t NextRoom(int32_t id) const;

 private:
  const CRoomTable& rooms_;
};

}  // namespace zorvex
