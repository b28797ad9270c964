#include "graphics/Graphics_Timer.h"

#include <ctime>

namespace zorvex {

int64_t CSystemTimeSource::MonotonicMicros() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

void CSystemTimeSource::SleepMicros(int64_t us) {
  if (us <= 0) return;
  timespec ts{static_cast<time_t>(us / 1000000), static_cast<long>((us % 1000000) * 1000)};
  while (nanosleep(&ts, &ts) != 0) {
  }
}

CClock::CClock() : source_(&system_) {}

void CClock::SetSource(ITimeSource* source) {
  source_ = source ? source : &system_;
}

void CClock::Start() {
  origin_ = source_->MonotonicMicros();
}

int64_t CClock::Now() {
  return source_->MonotonicMicros() - origin_;
}

void CClock::Wait(int64_t t) {
  if (t <= 0) return;
  const int64_t start = Now();
  // Kernel sleeps are coarse: sleep only when at least 2 ms remain, and leave the last one.
  if (t >= 2000) source_->SleepMicros((t - 1000) / 1000 * 1000);
  for (;;) {
    if (process_messages) process_messages();
    int64_t now = Now();
    if (now < start || now >= start + t) break;
  }
}

void CClock::WaitVerticalBlank(int refresh_rate) {
  const int64_t period = 1000000 / (refresh_rate > 0 ? refresh_rate : 60);
  int64_t now = Now();
  if (now < 0) return;
  int64_t next = (now / period + 1) * period;
  source_->SleepMicros(next - now);
}

}  // namespace zorvex
