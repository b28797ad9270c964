// A time line: moments in ascending order of their time steps, each with an event that runs
// when an instance's time line position passes that step.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "resources/Event_Class.h"
#include "runner/Support_Stream.h"

namespace zorvex {

struct CMoment {
  int32_t step = 0;
  std::unique_ptr<CEvent> event;  // on the heap: a running moment stays put when others change
};

class CTimeLine {
 public:
  static constexpr int32_t kRecordVersion = 500;

  std::vector<CMoment> moments;

  void Clear() { moments.clear(); }
  // False on a wrong version, moment steps that are not strictly ascending, or an event that
  // fails.
  bool ReadFrom(CStream& s);
  void WriteTo(CStream& s) const;

  int32_t MomentCount() const { return static_cast<int32_t>(moments.size()); }
  CEvent* MomentEvent(int32_t i) {
    return i >= 0 && i < MomentCount() ? moments[static_cast<size_t>(i)].event.get() : nullptr;
  }
  int32_t MomentStep(int32_t i) const {
    return i >= 0 && i < MomentCount() ? moments[static_cast<size_t>(i)].step : 0;
  }
  int32_t FindMoment(int32_t step) const;
  // The first moment whose step is at least position; the count when there is none.
  int32_t MomentIndexAt(double position) const;
  // The moment of that step, made empty at its place when missing.
  CEvent* AddMoment(int32_t step);
  void DeleteMoment(int32_t step);
  void ResolveFunctions(const FunctionResolver& find, std::vector<std::string>& missing);
};

}  // namespace zorvex
