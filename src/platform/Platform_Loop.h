// The application's message loop: our own pump over SDL's event queue, with the timers checked
// in the pump itself (never on another thread), so every handler runs on the one GUI thread.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <utility>
#include <vector>

#include "platform/Platform_Clock.h"
#include "platform/Platform_Input.h"

union SDL_Event;

namespace zorvex {

class CMessageLoop {
 public:
  explicit CMessageLoop(IClock& clock) : clock_(&clock) {}
  // Timers run on this clock from now on (tests put a manual one in).
  void SetClock(IClock& clock) { clock_ = &clock; }

  // Timers tick as messages: a due timer's handler runs in the next ProcessMessages, once per
  // call however late it is (missed ticks are not caught up), and never inside itself.
  using TimerId = int32_t;
  TimerId AddTimer(int32_t interval_ms, std::function<void()> on_tick, bool enabled);
  // Enabling (again) starts a fresh interval; disabling drops a pending tick.
  void SetTimerEnabled(TimerId id, bool enabled);
  bool TimerEnabled(TimerId id) const;
  void SetTimerInterval(TimerId id, int32_t interval_ms);
  void RemoveTimer(TimerId id);

  // Handles every message waiting now, and the due timers, then returns.
  void ProcessMessages();
  // Runs until Terminate, sleeping until the next message or timer.
  void Run();
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }

  // Queues a message as if the window system had sent it (scripted input, injected keys).
  void Post(const InputMessage& message) { posted_.push_back(message); }

  // Polls SDL's queue as well (off in unit tests and wherever SDL is not started).
  void UseSdlEvents(bool on) { sdl_events_ = on; }
  bool UsesSdlEvents() const { return sdl_events_; }

  // Events of another of our own windows (the error window, ...) go to that window's handler
  // instead of becoming the game's input.
  using WindowHandler = std::function<void(const SDL_Event& event)>;
  void RouteWindowEvents(uint32_t window_id, WindowHandler handler);
  void UnrouteWindowEvents(uint32_t window_id);

  std::function<void(const InputMessage&)> on_input;
  // A window (by its SDL id) needs painting.
  std::function<void(uint32_t window_id)> on_paint;

  IClock& clock() { return *clock_; }

 private:
  struct Timer {
    TimerId id;
    int64_t interval_us;
    int64_t due_us;
    bool enabled;
    bool running;
    std::function<void()> on_tick;
  };
  Timer* Find(TimerId id);
  const Timer* Find(TimerId id) const;
  void DeliverInput(const InputMessage& m);
  int64_t MicrosToNextTimer();

  bool RouteToWindow(const SDL_Event& e);

  IClock* clock_;
  std::vector<std::pair<uint32_t, WindowHandler>> routes_;
  std::vector<Timer> timers_;
  TimerId next_id_ = 1;
  std::deque<InputMessage> posted_;
  std::vector<InputMessage> scratch_;
  bool terminated_ = false;
  bool sdl_events_ = false;
};

}  // namespace zorvex
