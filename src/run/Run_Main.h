// The main loop: starting and ending the game and its rooms, one step after another at the
// room's speed, and the room and game requests that steps raise.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "graphics/Graphics_Timer.h"
#include "resources/Room_Class.h"
#include "run/Collision_Index.h"
#include "run/Event_Main.h"
#include "run/Object_Lists.h"

namespace zorvex {

class CGame;
class CObjectTable;

// Pending requests besides a room index (>= 0).
inline constexpr int32_t kRequestNone = -1;
inline constexpr int32_t kRequestEndGame = -100;
inline constexpr int32_t kRequestRestart = -200;
inline constexpr int32_t kRequestLoad = -300;
inline constexpr int32_t kRequestAbort = -400;  // a fatal error or an impossible room change

// The running state of one room: the room record (copied from the resource at the first visit)
// and its instances. The record's placed instances are not used once the room runs.
struct CRoomState {
  explicit CRoomState(const CObjectTable& objects) : instances(objects) {}
  CRoom room;
  CInstanceLists instances;
  // The spatial index of the collision tests over these lists (destroyed first).
  CCollisionIndex collision{instances};
};

// What the main loop leaves to other subsystems. A hook that is not set is skipped.
struct CRunHooks {
  // Draws the current room (room drawing sorts the active list by depth and runs the draw
  // events). Without it a step still runs the draw events of the visible instances, in depth
  // order, and presents nothing.
  std::function<void(CGame&)> draw_room;
  // F1: shows the game information (the loop clears the input afterwards).
  std::function<void(CGame&)> show_information;
  // F4: switches between full screen and a window.
  std::function<void(CGame&)> toggle_fullscreen;
  // F5 / F6: saves the game to / loads it from the file; also used by load requests.
  std::function<void(CGame&, const std::string& file)> save_game;
  std::function<void(CGame&, const std::string& file)> load_game;
  // F9: writes the drawing region as a BMP file; false when that fails.
  std::function<bool(CGame&, const std::string& file)> save_screenshot;
  // Room changes: the current screen is captured before the room ends, and shown as the
  // transition of `transition_kind` once the new room is drawn.
  std::function<void(CGame&)> prepare_transition;
  std::function<void(CGame&)> show_transition;
  // Whether the game window is the active window (freeze_unfocused); active without it.
  std::function<bool(CGame&)> window_active;
  // The passes of other subsystems within a step: collisions after the boundary events,
  // particles after the end-step events.
  std::function<void(CGame&)> collision_pass;
  std::function<void(CGame&)> particles_step;
  // Room start removes the particles of the effect systems.
  std::function<void(CGame&)> clear_effects;
  // The extension packages' initialisation (false: the game does not start) and final
  // functions (false: the cursor stays as it is).
  std::function<bool(CGame&)> start_extensions;
  std::function<bool(CGame&)> end_extensions;
  // Whatever else must be refreshed after each step (the debugger window).
  std::function<void(CGame&)> after_step;
};

// Time for --fast: the clock runs on, but every wait of the loop is added at once instead of
// slept, so the game sees room-speed time while steps run back to back.
class CFastTimeSource final : public ITimeSource {
 public:
  int64_t MonotonicMicros() override { return system_.MonotonicMicros() + skipped_; }
  void SleepMicros(int64_t us) override {
    if (us > 0) skipped_ += us;
  }

 private:
  CSystemTimeSource system_;
  int64_t skipped_ = 0;
};

class CRunState {
 public:
  bool running = false;
  bool paused = false;
  int32_t request = kRequestNone;
  std::string load_file_name;
  int32_t room_index = -1;
  // One slot per room index: rooms being visited and persistent rooms left earlier.
  std::vector<std::unique_ptr<CRoomState>> rooms;
  CRoomState* current = nullptr;
  // Persistent instances between leaving one room and entering the next.
  std::vector<std::unique_ptr<CInstance>> carried;

  int32_t fps = 0;
  int32_t cursor_frame = 0;
  int32_t cursor_sprite = -1;
  int32_t score = 0;
  int32_t lives = -1;
  double health = 100;
  int32_t transition_kind = 0;
  int32_t transition_steps = 80;
  bool show_score = true;
  bool show_lives = false;
  bool show_health = false;
  bool score_forced = false;  // show_score was written, so a score of 0 shows too
  std::string caption_score = "Score: ";
  std::string caption_lives = "Lives: ";
  std::string caption_health = "Health: ";

  // The relative choice of the action being executed (argument_relative).
  bool argument_relative = false;
  CEventLists events;
  // The mouse in room coordinates as the mouse pass saw it, this step and the one before.
  double mouse_x = 0, mouse_y = 0;
  double mouse_previous_x = 0, mouse_previous_y = 0;

  // Steps run since the program started (--max-steps, --input, --screenshot count them).
  int64_t steps = 0;
  // The first --input line not delivered yet.
  size_t next_input = 0;
  CFastTimeSource fast_clock;
  CRunHooks hooks;

  // The current room's instance lists; null while no room runs.
  CInstanceLists* Instances() { return current ? &current->instances : nullptr; }
  bool Pending() const { return request != kRequestNone; }
};

// Wires the runtime into the game: built-in variables, the language's view of the instances,
// the error path's names and hooks, the start seed. Called once before the preparation steps.
void InstallRuntime(CGame& game);

// RunGame starts the game unless it is running (paused) and runs the loop until it ends or
// pauses; the other operations are its parts, also used by the debugger and by tests.
void RunGame(CGame& game);
void StopGame(CGame& game);
void PauseGame(CGame& game);
void SingleStep(CGame& game);
void StartGame(CGame& game);
void EndGame(CGame& game);
void StartRoom(CGame& game, int32_t room, bool game_start);
void EndRoom(CGame& game, bool game_end);
void RunStep(CGame& game);
// Carries out the pending request; false when the game is to end.
bool HandleRequest(CGame& game);
// Delivers the --input lines of steps up to `step` that are still due.
void DeliverScriptedInput(CGame& game, int64_t step);
// Delivers the lines of the next step that has any at once (a wait for the player in a headless
// run); false when none is left.
bool DeliverNextScriptedInput(CGame& game);

// Makes the state the current room (the language's instances follow); null for none.
void SetCurrentRoom(CGame& game, CRoomState* state);
// FitRegionToRoom with the current room's size and visible view ports.
void FitRegionToCurrentRoom(CGame& game);

// A free-standing instance for code that has no instance (room creation code, library
// initialisation code, constants): id 0, object 0, at (0, 0), in no list.
std::unique_ptr<CInstance> NewTemporaryInstance(CGame& game);
// Runs each library's initialisation code with a temporary instance.
void RunLibraryInitCode(CGame& game);
// The window caption: the room caption with score, lives and health as the settings ask.
std::string ComposeWindowCaption(const CGame& game);

}  // namespace zorvex
