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

namespace {
// The window an event belongs to, or 0.
uint32_t EventWindowId(const SDL_Event& e) {
  switch (e.type) {
    case SDL_WINDOWEVENT:
      return e.window.windowID;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      return e.key.windowID;
    case SDL_TEXTINPUT:
      return e.text.windowID;
    case SDL_TEXTEDITING:
      return e.edit.windowID;
    case SDL_MOUSEMOTION:
      return e.motion.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      return e.button.windowID;
    case SDL_MOUSEWHEEL:
      return e.wheel.windowID;
    default:
      return 0;
  }
}
}  // namespace

void CMessageLoop::RouteWindowEvents(uint32_t window_id, WindowHandler handler) {
  UnrouteWindowEvents(window_id);
  if (window_id != 0) routes_.emplace_back(window_id, std::move(handler));
}

void CMessageLoop::UnrouteWindowEvents(uint32_t window_id) {
  std::erase_if(routes_, [window_id](const auto& r) { return r.first == window_id; });
}

bool CMessageLoop::RouteToWindow(const SDL_Event& e) {
  if (routes_.empty()) return false;
  const uint32_t id = EventWindowId(e);
  if (id == 0) return false;
  for (const auto& r : routes_) {
    if (r.first != id) continue;
    WindowHandler handler = r.second;  // the handler may change the routes
    handler(e);
    return true;
  }
  return false;
}

void CMessageLoop::DeliverInput(const InputMessage& m) {
  if (on_input) on_input(m);
}

void CMessageLoop::ProcessMessages() {
  if (sdl_events_) {
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
      if (RouteToWindow(e)) continue;
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
