// Events: finding an object's event with parent inheritance, performing it for instances, the
// event object lists built at game start, and the event passes of every step.
#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "resources/Object_Class.h"

namespace zorvex {

class CGame;
class CEvent;
class CInstance;
class CObjectTable;

// Event types.
inline constexpr int32_t kEventCreate = 0;
inline constexpr int32_t kEventDestroy = 1;
inline constexpr int32_t kEventAlarm = 2;
inline constexpr int32_t kEventStep = 3;
inline constexpr int32_t kEventKeyboard = 5;
inline constexpr int32_t kEventMouse = 6;
inline constexpr int32_t kEventOther = 7;
inline constexpr int32_t kEventDraw = 8;
inline constexpr int32_t kEventKeyPress = 9;
inline constexpr int32_t kEventKeyRelease = 10;
// Step numbers.
inline constexpr int32_t kStepNormal = 0;
inline constexpr int32_t kStepBegin = 1;
inline constexpr int32_t kStepEnd = 2;
// Other numbers.
inline constexpr int32_t kOtherOutside = 0;
inline constexpr int32_t kOtherBoundary = 1;
inline constexpr int32_t kOtherGameStart = 2;
inline constexpr int32_t kOtherGameEnd = 3;
inline constexpr int32_t kOtherRoomStart = 4;
inline constexpr int32_t kOtherRoomEnd = 5;
inline constexpr int32_t kOtherNoMoreLives = 6;
inline constexpr int32_t kOtherAnimationEnd = 7;
inline constexpr int32_t kOtherEndOfPath = 8;
inline constexpr int32_t kOtherNoMoreHealth = 9;
inline constexpr int32_t kOtherUser0 = 10;
inline constexpr int32_t kOtherCloseButton = 30;
inline constexpr int32_t kOtherOutsideView0 = 40;
inline constexpr int32_t kOtherBoundaryView0 = 50;

// The highest number of each event type for which the object lists are collected; other
// numbers have empty lists (so keys above 128 raise no keyboard events).
inline constexpr std::array<int32_t, kEventTypeCount> kCollectedEventNumbers = {
    0, 0, 12, 16, -1, 128, 128, 128, 0, 128, 128};

struct CFoundEvent {
  CEvent* event = nullptr;
  int32_t object = -1;  // the object that holds the event (the object itself or an ancestor)
};

// The event (type, number) of the object or, failing that, of its nearest ancestor; for a
// collision with object n also the events for n's ancestors (the nearest first).
CFoundEvent FindEvent(CObjectTable& objects, int32_t object, int32_t type, int32_t number);

// Built at game start and after every change of events or parents.
struct CEventLists {
  // [type][number]: the objects, in ascending order, that have or inherit the event.
  std::array<std::vector<std::vector<int32_t>>, kEventTypeCount> objects;
  // The collision pairs (i, j) in ascending order of i, then j.
  std::vector<std::pair<int32_t, int32_t>> collision_pairs;
  // Counts the rebuilds, so that a pass that looked up events notices a change of them.
  uint64_t generation = 0;

  const std::vector<int32_t>& Objects(int32_t type, int32_t number) const {
    static const std::vector<int32_t> kNone;
    if (type < 0 || type >= kEventTypeCount || number < 0) return kNone;
    const auto& byType = objects[static_cast<size_t>(type)];
    return static_cast<size_t>(number) < byType.size() ? byType[static_cast<size_t>(number)]
                                                        : kNone;
  }
};

void BuildEventLists(CGame& game);

// Nothing happens while a request is pending. The event context is set for the event and put
// back afterwards.
void PerformEventForObject(CGame& game, CInstance* self, CInstance* other, int32_t object,
                           int32_t type, int32_t number);
void PerformEvent(CGame& game, CInstance* self, CInstance* other, int32_t type, int32_t number);
// For every active instance that is not marked, in list order, as self and other.
void PerformEventForAll(CGame& game, int32_t type, int32_t number);
// Runs moment `moment` of time line `timeline` for self.
void RunTimeLineMoment(CGame& game, CInstance* self, CInstance* other, int32_t timeline,
                       int32_t moment);

// The event passes of a step, in the order the main loop calls them.
void StepPass(CGame& game, int32_t number);
void TimeLinePass(CGame& game);
void AlarmPass(CGame& game);
void KeyboardPass(CGame& game);
void JoystickPass(CGame& game);
void MousePass(CGame& game);
void BoundaryPass(CGame& game);

}  // namespace zorvex
