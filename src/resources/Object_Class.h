// An object: the template instances are made from, with its events.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "resources/Event_Class.h"
#include "runner/Support_Stream.h"

namespace zorvex {

inline constexpr int32_t kEventTypeCount = 11;  // create 0 ... key release 10
inline constexpr int32_t kEventCollision = 4;
// No real event number comes near these: key codes end at 255, and object ids (the numbers of
// collision events) below 100000.
inline constexpr int32_t kMaxEventNumber = 255;
inline constexpr int32_t kMaxCollisionEventNumber = 99999;

// An event of an object with its number. The event lives on the heap so that a running event
// stays where it is when code adds other events to the same object.
struct CEventEntry {
  int32_t number = 0;
  std::unique_ptr<CEvent> event;
};

class CObject {
 public:
  static constexpr int32_t kVersionPlain = 400;   // event types 0-8 only
  static constexpr int32_t kVersionEvents = 430;  // stores its last event type

  int32_t sprite_index = -1;
  bool solid = false;
  bool visible = true;
  int32_t depth = 0;
  bool persistent = false;
  int32_t parent_index = -1;
  int32_t mask_index = -1;

  void Clear();
  // False on a wrong version, an event type above 10, event numbers far beyond any real event,
  // or an event record that fails.
  bool ReadFrom(CStream& s);
  void WriteTo(CStream& s) const;

  // The event, made empty when missing; none for a type outside 0-10 or a negative number.
  CEvent* EventAt(int32_t type, int32_t number);
  // The event only when it exists and has at least one action.
  CEvent* EventOf(int32_t type, int32_t number);
  const CEvent* EventOf(int32_t type, int32_t number) const;
  // Whether any event of the type has actions (this object only; the table adds the ancestors).
  bool HasOwnEventsOfType(int32_t type) const;
  // Highest event number of the type + 1 (0 without events of the type).
  int32_t EventListLength(int32_t type) const;
  // The events of a type in ascending order of number, empty ones included.
  const std::vector<CEventEntry>& Events(int32_t type) const {
    return events_[static_cast<size_t>(type)];
  }
  std::vector<CEventEntry>& Events(int32_t type) { return events_[static_cast<size_t>(type)]; }
  void ClearEvents();

  void ResolveFunctions(const FunctionResolver& find, std::vector<std::string>& missing);

 private:
  std::array<std::vector<CEventEntry>, kEventTypeCount> events_;
};

}  // namespace zorvex
