#include "resources/Object_Class.h"

#include <algorithm>

namespace zorvex {

namespace {

auto FindEntry(std::vector<CEventEntry>& list, int32_t number) {
  return std::lower_bound(list.begin(), list.end(), number,
                          [](const CEventEntry& e, int32_t n) { return e.number < n; });
}

}  // namespace

void CObject::Clear() {
  *this = CObject();
}

void CObject::ClearEvents() {
  for (auto& list : events_)
    list.clear();
}

bool CObject::ReadFrom(CStream& s) {
  Clear();
  int32_t version = s.ReadInt();
  if (version != kVersionPlain && version != kVersionEvents) return false;
  sprite_index = s.ReadInt();
  solid = s.ReadBool();
  visible = s.ReadBool();
  depth = s.ReadInt();
  persistent = s.ReadBool();
  parent_index = s.ReadInt();
  mask_index = s.ReadInt();
  int32_t last_type = version == kVersionEvents ? s.ReadInt() : 8;
  if (last_type < 0) return true;
  if (last_type >= kEventTypeCount) return false;
  for (int32_t t = 0; t <= last_type; ++t) {
    auto& list = events_[static_cast<size_t>(t)];
    int32_t limit = t == kEventCollision ? kMaxCollisionEventNumber : kMaxEventNumber;
    for (;;) {
      int32_t n = s.ReadInt();
      if (n < 0) break;
      if (n > limit) return false;
      auto event = std::make_unique<CEvent>();
      if (!event->ReadFrom(s)) return false;
      list.push_back(CEventEntry{n, std::move(event)});
    }
    // Stored in ascending order in practice; a number stored twice keeps its last record.
    std::stable_sort(list.begin(), list.end(), [](const CEventEntry& a, const CEventEntry& b) {
      return a.number < b.number;
    });
    auto out = list.begin();
    for (auto it = list.begin(); it != list.end(); ++it) {
      if (out != list.begin() && std::prev(out)->number == it->number)
        *std::prev(out) = std::move(*it);
      else if (out++ != it)
        *std::prev(out) = std::move(*it);
    }
    list.erase(out, list.end());
  }
  return true;
}

void CObject::WriteTo(CStream& s) const {
  s.WriteInt(kVersionEvents);
  s.WriteInt(sprite_index);
  s.WriteBool(solid);
  s.WriteBool(visible);
  s.WriteInt(depth);
  s.WriteBool(persistent);
  s.WriteInt(parent_index);
  s.WriteInt(mask_index);
  s.WriteInt(kEventTypeCount - 1);
  for (const auto& list : events_) {
    for (const CEventEntry& e : list) {
      s.WriteInt(e.number);
      e.event->WriteTo(s);
    }
    s.WriteInt(-1);
  }
}

CEvent* CObject::EventAt(int32_t type, int32_t number) {
  if (type < 0 || type >= kEventTypeCount || number < 0) return nullptr;
  auto& list = events_[static_cast<size_t>(type)];
  auto it = FindEntry(list, number);
  if (it != list.end() && it->number == number) return it->event.get();
  it = list.insert(it, CEventEntry{number, std::make_unique<CEvent>()});
  return it->event.get();
}

CEvent* CObject::EventOf(int32_t type, int32_t number) {
  return const_cast<CEvent*>(static_cast<const CObject*>(this)->EventOf(type, number));
}

const CEvent* CObject::EventOf(int32_t type, int32_t number) const {
  if (type < 0 || type >= kEventTypeCount || number < 0) return nullptr;
  auto& list = const_cast<std::vector<CEventEntry>&>(events_[static_cast<size_t>(type)]);
  auto it = FindEntry(list, number);
  if (it == list.end() || it->number != number || it->event->actions.empty()) return nullptr;
  return it->event.get();
}

bool CObject::HasOwnEventsOfType(int32_t type) const {
  if (type < 0 || type >= kEventTypeCount) return false;
  for (const CEventEntry& e : events_[static_cast<size_t>(type)])
    if (!e.event->actions.empty()) return true;
  return false;
}

int32_t CObject::EventListLength(int32_t type) const {
  if (type < 0 || type >= kEventTypeCount) return 0;
  const auto& list = events_[static_cast<size_t>(type)];
  return list.empty() ? 0 : list.back().number + 1;
}

void CObject::ResolveFunctions(const FunctionResolver& find, std::vector<std::string>& missing) {
  for (auto& list : events_)
    for (CEventEntry& e : list)
      e.event->ResolveFunctions(find, missing);
}

}  // namespace zorvex
