// The common shape of the resource sections: version, slot count, then per slot a present flag
// and, when present, the name and the resource's own record. Empty slots keep their place, so
// ids never move.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "runner/Support_Stream.h"

namespace zorvex {

// Reads a table into parallel lists (an empty slot is a null entry with an empty name).
// read_record(CStream&, T&) -> bool reads one record. False on a wrong version or a record that
// fails; the lists are cleared first. A negative count means no slots.
template <class T, class ReadRecord>
bool ReadResourceTable(CStream& s, int32_t version, std::vector<std::unique_ptr<T>>& items,
                       std::vector<std::string>& names, ReadRecord read_record) {
  items.clear();
  names.clear();
  if (s.ReadInt() != version) return false;
  const int32_t count = s.ReadInt();
  // Every slot takes at least its 4-byte flag; a larger count is corrupt data.
  if (count > 0 && static_cast<size_t>(count) > s.Remaining() / 4)
    throw StreamReadError("slot count past the end");
  for (int32_t i = 0; i < count; ++i) {
    if (!s.ReadBool()) {
      items.push_back(nullptr);
      names.emplace_back();
      continue;
    }
    names.push_back(s.ReadString());
    auto item = std::make_unique<T>();
    if (!read_record(s, *item)) return false;
    items.push_back(std::move(item));
  }
  return true;
}

// The builder's side: write_record(CStream&, const T&) writes one record.
template <class T, class WriteRecord>
void WriteResourceTable(CStream& s, int32_t version, const std::vector<std::unique_ptr<T>>& items,
                        const std::vector<std::string>& names, WriteRecord write_record) {
  s.WriteInt(version);
  s.WriteInt(static_cast<int32_t>(items.size()));
  for (size_t i = 0; i < items.size(); ++i) {
    s.WriteBool(items[i] != nullptr);
    if (items[i] == nullptr) continue;
    s.WriteString(i < names.size() ? names[i] : std::string());
    write_record(s, *items[i]);
  }
}

}  // namespace zorvex
