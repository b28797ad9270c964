#include "platform/Platform_Loop.h"

#include <SDL.h>

#include <algorithm>

namespace zorvex {

CMessageLoop::TimerId CMessageLoop::AddTimer(int32_t interval_ms, std::function<void()> on_tick,
                                             bool enabled) {
  TimerId id = next_id_++;
  int64_t interval = std::max<int64_t>(interval_ms, 1) * 1000;
  timers_.push_back(
      {id, interval, clock_->NowMicros() + interval, enabled, false, std::move(on_tick)});
  return id;
}

CMessageLoop::Timer* CMessageLoop::Find(TimerId id) {
  for (Timer& t : timers_)
    if (t.id == id) return &t;
  return nullptr;
}

const CMessageLoop::Timer* CMessageLoop::Find(TimerId id) const {
  for (const Timer& t : timers_)
    if (t.id == id) return &t;
  return nullptr;
}

void CMessageLoop::SetTimerEnabled(TimerId id, bool enabled) {
  Timer* t = Find(id);
  if (t == nullptr) return;
  if (enabled && !t->enabled) t->due_us = clock_->NowMicros() + t->interval_us;
  t->enabled = enabled;
}

bool CMessageLoop::TimerEnabled(TimerId id) const {
  const Timer* t = Find(id);
  return t != nullptr && t->enabled;
}

void CMessageLoop::SetTimerInterval(TimerId id, int32_t interval_ms) {
  Timer* t = Find(id);
  if (t == nullptr) return;
  t->interval_us = std::max<int64_t>(interval_ms, 1) * 1000;
  t->due_us = clock_->NowMicros() + t->interval_us;
}

void CMessageLoop::RemoveTimer(TimerId id) {
  Timer* t = Find(id);
  if (t == nullptr) return;
  // A handler may remove its own timer; keep the entry until it returns.
  t->enabled = false;
  t->on_tick = nullptr;
  if (!t->running)
    timers_.erase(
        std::remove_if(timers_.begin(), timers_.end(), [id](const Timer& x) { return x.id == id; }),
        timers_.end());
}

void CMessageLoop::DeliverInput(const InputMessage& m) {
  if (on_input) on_input(m);
}

void CMessageLoop::ProcessMessages() {
  if (sdl_events_) {
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
      if (e.type == SDL_WINDOWEVENT && (e.window.event == SDL_WINDOWEVENT_EXPOSED ||
                                        e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)) {
        if (on_paint) on_paint(e.window.windowID);
        continue;
      }
      scratch_.clear();
      TranslateSdlEvent(e, scratch_);
      // Handlers may pump again; work on a copy.
      std::vector<InputMessage> batch(scratch_);
      for (const InputMessage& m : batch)
        DeliverInput(m);
    }
  }
  while (!posted_.empty()) {
    InputMessage m = posted_.front();
    posted_.pop_front();
    DeliverInput(m);
  }
  // Timers last, as the window system gives them the lowest priority. Ids rather than
  // references: a handler may add or remove timers.
  const int64_t now = clock_->NowMicros();
  std::vector<TimerId> due;
  for (const Timer& t : timers_)
    if (t.enabled && !t.running && t.due_us <= now) due.push_back(t.id);
  for (TimerId id : due) {
    Timer* t = Find(id);
    if (t == nullptr || !t->enabled || t->running) continue;
    t->due_us = clock_->NowMicros() + t->interval_us;
    t->running = true;
    std::function<void()> tick = t->on_tick;
    if (tick) tick();
    t = Find(id);
    if (t == nullptr) continue;
    t->running = false;
    if (!t->on_tick) RemoveTimer(id);
  }
}

int64_t CMessageLoop::MicrosToNextTimer() {
  int64_t best = 100000;  // look at the queue at least ten times a second
  int64_t now = clock_->NowMicros();
  for (const Timer& t : timers_)
    if (t.enabled && !t.running) best = std::min(best, std::max<int64_t>(t.due_us - now, 0));
  return best;
}

void CMessageLoop::Run() {
  while (!terminated_) {
    ProcessMessages();
    if (terminated_ || !posted_.empty()) continue;
    int64_t wait = MicrosToNextTimer();
    if (wait <= 0) continue;
    if (sdl_events_) {
      SDL_WaitEventTimeout(nullptr, static_cast<int>((wait + 999) / 1000));
    } else {
      clock_->SleepMicros(wait);
    }
  }
}

}  // namespace zorvex
