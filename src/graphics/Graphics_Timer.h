// The microsecond clock that paces the step loop, and the wait that sleeps in the kernel for
// all but the last millisecond and spins (processing window messages) for the rest.
#pragma once

#include <cstdint>
#include <functional>

namespace zorvex {

// Where time comes from; tests put a simulated clock here.
class ITimeSource {
 public:
  virtual ~ITimeSource() = default;
  virtual int64_t MonotonicMicros() = 0;
  virtual void SleepMicros(int64_t us) = 0;
};

// CLOCK_MONOTONIC and nanosleep.
class CSystemTimeSource final : public ITimeSource {
 public:
  int64_t MonotonicMicros() override;
  void SleepMicros(int64_t us) override;
};

class CClock {
 public:
  CClock();
  // Uses `source` from now on (null: the system clock). The caller keeps it alive.
  void SetSource(ITimeSource* source);

  // TimerStart: remembers the origin.
  void Start();
  // TimerNow: microseconds since Start.
  int64_t Now();
  // TimerWait: returns after t microseconds (at once for t <= 0), processing window messages at
  // least once; ends early if the clock goes back.
  void Wait(int64_t t);
  // Sleeps to the next refresh tick of a display running at `refresh_rate` Hz (60 when 0).
  void WaitVerticalBlank(int refresh_rate);

  // Processes pending window messages; set by the window code.
  std::function<void()> process_messages;

 private:
  CSystemTimeSource system_;
  ITimeSource* source_;
  int64_t origin_ = 0;
};

}  // namespace zorvex
