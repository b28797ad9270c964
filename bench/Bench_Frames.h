// Runs whole frames of a drawing scene and reports frames per second and draw calls per frame.
#pragma once

#include <benchmark/benchmark.h>

#include <string>

namespace zorvex {

// Scene: Start(std::string* error, bool variant), Frame(), gl() with ResetStats() and Stats().
template <class Scene>
void RunFrames(benchmark::State& state, const char* per_frame_name, int per_frame) {
  Scene scene;
  std::string error;
  if (!scene.Start(&error, state.range(0) == 1)) {
    state.SkipWithError(error.c_str());
    return;
  }
  int64_t frames = 0, calls = 0;
  for (auto _ : state) {
    scene.gl().ResetStats();
    scene.Frame();
    calls += scene.gl().Stats().draw_calls;
    ++frames;
  }
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
  state.counters["draw_calls_per_frame"] = static_cast<double>(calls) / static_cast<double>(frames);
  state.counters[per_frame_name] = per_frame;
}

}  // namespace zorvex
