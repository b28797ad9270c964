// The clock behind timers and waits; tests put a manual one in its place.
#pragma once

#include <cstdint>

namespace zorvex {

class IClock {
 public:
  virtual ~IClock() = default;
  virtual int64_t NowMicros() = 0;  // monotonic
  virtual void SleepMicros(int64_t micros) = 0;
};

class CSystemClock : public IClock {
 public:
  int64_t NowMicros() override;
  void SleepMicros(int64_t micros) override;
};

// Time moves only when told to (or when something sleeps on it).
class CManualClock : public IClock {
 public:
  int64_t NowMicros() override { return now_; }
  void SleepMicros(int64_t micros) override { now_ += micros > 0 ? micros : 0; }
  void Advance(int64_t micros) { now_ += micros; }

 private:
  int64_t now_ = 0;
};

}  // namespace zorvex
