#include "platform/Platform_Clock.h"

#include <time.h>

namespace zorvex {

int64_t CSystemClock::NowMicros() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

void CSystemClock::SleepMicros(int64_t micros) {
  if (micros <= 0) return;
  timespec ts{static_cast<time_t>(micros / 1000000), static_cast<long>(micros % 1000000) * 1000};
  while (nanosleep(&ts, &ts) != 0) {
  }
}

}  // namespace zorvex
