#include "run/Run_Main.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdio>

#include "code/Code_Main.h"
#include "game/Game.h"
#include "run/Event_Name.h"
#include "run/IO_Main.h"
#include "run/Run_Save.h"
#include "run/Run_Handle_Collision.h"
#include "run/Run_Variables.h"

namespace zorvex {

namespace {

constexpr char kCR = '\r';

// Runs code with a temporary instance as self and other; false when it does not compile (the
// compiler's message is in the language's error).
bool CompileAndRun(CGame& game, const std::string& text, CInstance* self) {
  CCode code(text, false);
  if (!code.Compile(game.language)) return false;
  RValue result;
  code.ExecuteAndReport(game.language, self, self, result);
  return true;
}

void ReportCompileError(CGame& game, const char* what, bool fatal) {
  game.errors.ReportInContext(std::string(what) + kCR + game.language.error.message, fatal);
  ClearError(game.language);
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0;
}

// The room drawing of a step: the room drawing of the graphics when it is there; until then
// the draw events of the visible instances run in depth order and nothing is presented.
void DrawRoom(CGame& game) {
  if (game.run.hooks.draw_room) {
    game.run.hooks.draw_room(game);
    return;
  }
  CInstanceLists* lists = game.run.Instances();
  if (!lists) return;
  lists->SortInstancesByDepth();
  const int count = lists->ActiveCount();
  for (int i = 0; i < count && i < lists->ActiveCount(); ++i) {
    CInstance* inst = lists->ActiveAt(i);
    if (!inst->marked && inst->visible) PerformEvent(game, inst, inst, kEventDraw, 0);
  }
}

void HandleFunctionKey(CGame& game) {
  CInputState& in = game.input;
  CRunHooks& hooks = game.run.hooks;
  const FunctionKeyAction action = FunctionKeyActionFor(game.settings, in.keyboard_lastkey);
  if (action == FunctionKeyAction::kNone) return;
  in.keyboard_lastkey = 0;
  switch (action) {
    case FunctionKeyAction::kShowInformation:
      if (hooks.show_information) hooks.show_information(game);
      ClearInput(game);
      break;
    case FunctionKeyAction::kEndGame:
      game.run.request = kRequestEndGame;
      break;
    case FunctionKeyAction::kToggleFullscreen:
      if (hooks.toggle_fullscreen) hooks.toggle_fullscreen(game);
      break;
    case FunctionKeyAction::kSaveGame:
      if (hooks.save_game) hooks.save_game(game, SaveGameFileName(game.game_id));
      break;
    case FunctionKeyAction::kLoadGame:
      // At once, not through a request.
      if (hooks.load_game) hooks.load_game(game, SaveGameFileName(game.game_id));
      break;
    case FunctionKeyAction::kScreenshot:
      if (hooks.save_screenshot) hooks.save_screenshot(game, NextScreenshotFileName(FileExists));
      break;
    case FunctionKeyAction::kNone:
      break;
  }
}

void WriteRequestedScreenshots(CGame& game, int64_t step) {
  for (const ScreenshotRequest& r : game.options.screenshots) {
    if (r.step != step) continue;
    if (!SaveScreenshotPng(game.graphics, r.file))
      std::fprintf(stderr, "zorvex-run: cannot write the screenshot %s\n", r.file.c_str());
  }
}

void MainLoop(CGame& game) {
  CRunState& run = game.run;
  CClock& clock = game.graphics.clock;
  if (!HandleRequest(game)) return;
  clock.Start();
  int64_t last = clock.Now();
  int64_t second_start = last;
  int32_t counter = 0;
  run.fps = 0;
  game.loop.ProcessMessages();
  while (game.running && !run.paused) {
    try {
      DeliverScriptedInput(game, run.steps + 1);
      RunStep(game);
      ++run.steps;
      // --max-steps: the game ends as by game_end() after that many steps.
      if (game.options.max_steps >= 0 && run.steps >= game.options.max_steps &&
          run.request != kRequestAbort)
        run.request = kRequestEndGame;
      WriteRequestedScreenshots(game, run.steps);
      int64_t now = clock.Now();
      if (now < last) last = now;
      int32_t speed = 1;
      if (run.current) {
        if (run.current->room.speed < 1) run.current->room.speed = 1;
        speed = run.current->room.speed;
      }
      const int64_t frame = 1000000 / speed;
      const int64_t wait = std::clamp<int64_t>(frame - (now - last), 0, 1000000);
      if (game.options.fast)
        run.fast_clock.SleepMicros(wait);  // the game's clock moves on without sleeping
      else
        clock.Wait(wait);
      last = now + wait;
      if (last < second_start) second_start = last;
      if (last / 1000000 > second_start / 1000000) {
        run.fps = counter;
        counter = 0;
        second_start = last;
      }
      ++counter;
      if (!run.Pending() && game.graphics.automatic_draw) {
        game.graphics.PresentFrame();
        game.graphics.BeginFrame();
      }
      if (!HandleRequest(game)) break;
      game.loop.ProcessMessages();
    } catch (...) {
      // A failure inside one repetition is dropped and the game goes on.
    }
  }
}

}  // namespace

void SetCurrentRoom(CGame& game, CRoomState* state) {
  game.run.current = state;
  game.language.world = state ? &state->instances : nullptr;
}

void FitRegionToCurrentRoom(CGame& game) {
  const CRoomState* state = game.run.current;
  if (!state) return;
  CScreenRect ports[kRoomViewCount];
  int count = 0;
  for (const CView& v : state->room.views)
    if (v.visible) ports[count++] = CScreenRect{v.xport, v.yport, v.wport, v.hport};
  game.graphics.FitRegionToRoom(state->room.views_enabled, ports, count, state->room.width,
                                state->room.height);
}

void DeliverScriptedInput(CGame& game, int64_t step) {
  const std::vector<ScriptedInput>& input = game.options.input;
  size_t& next = game.run.next_input;
  if (next >= input.size() || input[next].step > step) return;
  while (next < input.size() && input[next].step <= step)
    game.loop.Post(input[next++].message);
  game.loop.ProcessMessages();
}

bool DeliverNextScriptedInput(CGame& game) {
  const std::vector<ScriptedInput>& input = game.options.input;
  if (game.run.next_input >= input.size()) return false;
  DeliverScriptedInput(game, input[game.run.next_input].step);
  return true;
}

std::unique_ptr<CInstance> NewTemporaryInstance(CGame& game) {
  auto inst = std::make_unique<CInstance>();
  inst->Create(game.resources, 0, 0, 0, 0);
  return inst;
}

void RunLibraryInitCode(CGame& game) {
  for (const std::string& text : game.resources.library_init.code) {
    if (text.empty()) continue;
    std::unique_ptr<CInstance> temp = NewTemporaryInstance(game);
    if (!CompileAndRun(game, text, temp.get()))
      ReportCompileError(game, "COMPILATION ERROR in library initialization code", true);
  }
}

void InstallRuntime(CGame& game) {
  RegisterBuiltinVariables(game);
  CErrorReporter& errors = game.errors;
  errors.object_name = [&game](int32_t object) { return game.resources.objects.Name(object); };
  errors.timeline_name = [&game](int32_t tl) { return game.resources.time_lines.Name(tl); };
  errors.event_name = [&game](int32_t type, int32_t number) {
    return EventName(type, number,
                     [&game](int32_t object) { return game.resources.objects.Name(object); });
  };
  errors.clear_input = [&game]() { ClearInput(game); };
  // A fatal error ends the game through the request the loop handles after the step.
  errors.end_game = [&game]() { game.run.request = kRequestAbort; };
  game.language.uninitialised_as_zero = game.settings.uninitialised_as_zero;
  if (game.options.has_seed) game.random.FixStartSeed(static_cast<uint32_t>(game.options.seed));
  if (game.options.fast) game.graphics.clock.SetSource(&game.run.fast_clock);
  // freeze_unfocused: a headless run has no desktop to take the focus away.
  game.run.hooks.window_active = [](CGame& g) {
    return g.options.headless || g.window.HasInputFocus();
  };
  InstallSaveLoad(game);
  InstallCollisionPass(game);
}

void RunGame(CGame& game) {
  if (!game.running) {
    game.running = true;
    StartGame(game);
  }
  game.running = true;
  game.run.paused = false;
  MainLoop(game);
  if (!game.running) EndGame(game);
}

void StopGame(CGame& game) {
  if (game.run.paused) EndGame(game);
  game.running = false;
  game.run.paused = false;
}

void PauseGame(CGame& game) {
  game.run.paused = true;
}

void SingleStep(CGame& game) {
  if (!game.running || !game.run.paused) return;
  game.loop.ProcessMessages();
  RunStep(game);
  ++game.run.steps;
  if (game.graphics.automatic_draw) {
    game.graphics.PresentFrame();
    game.graphics.BeginFrame();
  }
  if (!HandleRequest(game)) StopGame(game);
  game.loop.ProcessMessages();
}

void StartGame(CGame& game) {
  CRunState& run = game.run;
  BuildEventLists(game);
  game.language.globals.Initialise();
  run.score = 0;
  run.lives = -1;
  run.cursor_sprite = -1;
  run.cursor_frame = 0;
  run.transition_kind = 0;
  game.random.SeedFromClock();
  RunLibraryInitCode(game);
  if (run.hooks.start_extensions && !run.hooks.start_extensions(game)) return;
  game.window.SetCursor(game.settings.show_cursor ? 0 : -1);
  SetCurrentRoom(game, nullptr);
  run.rooms.clear();
  run.rooms.resize(static_cast<size_t>(std::max(0, game.resources.rooms.Count())));
  run.carried.clear();
  StartRoom(game, game.resources.room_order.FirstRoom(), true);
  // --max-steps 0: the game ends before its first step.
  if (game.options.max_steps == 0 && run.request != kRequestAbort) run.request = kRequestEndGame;
}

void EndGame(CGame& game) {
  CRunState& run = game.run;
  EndRoom(game, true);
  SetCurrentRoom(game, nullptr);
  run.rooms.clear();
  run.carried.clear();
  if (!run.hooks.end_extensions || run.hooks.end_extensions(game)) game.window.SetCursor(0);
}

void EndRoom(CGame& game, bool game_end) {
  CRunState& run = game.run;
  if (run.hooks.prepare_transition) run.hooks.prepare_transition(game);
  CRoomState* state = run.current;
  if (!state) return;
  CInstanceLists& lists = state->instances;
  lists.RemoveMarkedInstances();
  const int32_t saved = run.request;
  run.request = kRequestNone;
  PerformEventForAll(game, kEventOther, kOtherRoomEnd);
  if (game_end) PerformEventForAll(game, kEventOther, kOtherGameEnd);
  run.request = saved;
  run.carried.clear();
  for (int i = 0; i < lists.ActiveCount(); ++i) {
    CInstance* inst = lists.ActiveAt(i);
    if (inst->marked || !inst->persistent) continue;
    auto copy = std::make_unique<CInstance>();
    copy->Create(game.resources, inst->id, inst->object_index, inst->x, inst->y);
    copy->CopyState(*inst);
    run.carried.push_back(std::move(copy));
    inst->marked = true;
  }
  if (!state->room.persistent) {
    SetCurrentRoom(game, nullptr);
    const size_t slot = static_cast<size_t>(run.room_index);
    if (slot < run.rooms.size()) run.rooms[slot].reset();
  }
}

void StartRoom(CGame& game, int32_t index, bool game_start) {
  CRunState& run = game.run;
  run.request = kRequestNone;
  ClearInput(game);
  if (run.hooks.clear_effects) run.hooks.clear_effects(game);
  const CRoom* resource = game.resources.rooms.Get(index);
  if (index < 0 || (!resource && (static_cast<size_t>(index) >= run.rooms.size() ||
                                  !run.rooms[static_cast<size_t>(index)]))) {
    // Nothing to enter (the room is gone): the game cannot go on.
    run.request = kRequestAbort;
    return;
  }
  if (static_cast<size_t>(index) >= run.rooms.size()) run.rooms.resize(static_cast<size_t>(index) + 1);
  run.room_index = index;
  std::unique_ptr<CRoomState>& slot = run.rooms[static_cast<size_t>(index)];
  const bool first_visit = !slot;
  if (first_visit) {
    slot = std::make_unique<CRoomState>(game.resources.objects);
    slot->room.Assign(*resource);
    for (const CRoomInstance& placed : slot->room.instances) {
      CInstance* inst =
          slot->instances.AddWithId(game.resources, placed.id, placed.object, placed.x, placed.y);
      inst->creation_code = placed.creation_code;
    }
    slot->room.instances.clear();
  }
  SetCurrentRoom(game, slot.get());
  CRoomState& state = *slot;
  CInstanceLists& lists = state.instances;
  FitRegionToCurrentRoom(game);
  if (game_start) game.window.SetVisible(true);
  const int own = lists.ActiveCount();
  for (std::unique_ptr<CInstance>& carried : run.carried) {
    for (int i = 0; i < lists.ActiveCount(); ++i)
      if (lists.ActiveAt(i)->id == carried->id) lists.ActiveAt(i)->marked = true;
    CInstance* inst = lists.AddInstance(game.resources, carried->object_index, carried->x,
                                        carried->y, game.resources.rooms.last_instance_id);
    inst->CopyState(*carried);
  }
  if (first_visit) {
    for (int i = 0; i < own && i < lists.ActiveCount(); ++i) {
      CInstance* inst = lists.ActiveAt(i);
      if (inst->marked) continue;
      if (!inst->creation_code.empty() && !CompileAndRun(game, inst->creation_code, inst))
        ReportCompileError(game, "COMPILATION ERROR in initialization code for instance", false);
      PerformEvent(game, inst, inst, kEventCreate, 0);
    }
  }
  run.carried.clear();
  if (game_start) PerformEventForAll(game, kEventOther, kOtherGameStart);
  if (first_visit && !state.room.creation_code.empty()) {
    std::unique_ptr<CInstance> temp = NewTemporaryInstance(game);
    if (!CompileAndRun(game, state.room.creation_code, temp.get()))
      ReportCompileError(game, "COMPILATION ERROR in room script", false);
  }
  PerformEventForAll(game, kEventOther, kOtherRoomStart);
  if (!run.Pending() && game.graphics.automatic_draw) {
    DrawRoom(game);
    if (run.hooks.show_transition)
      run.hooks.show_transition(game);
    else
      game.graphics.PresentFrame();
    game.graphics.BeginFrame();
    run.transition_kind = 0;
  }
}

bool HandleRequest(CGame& game) {
  CRunState& run = game.run;
  const int32_t r = run.request;
  switch (r) {
    case kRequestNone:
      return true;
    case kRequestEndGame:
    case kRequestAbort:
      game.running = false;
      return false;
    case kRequestLoad:
      run.request = kRequestNone;
      ClearInput(game);
      if (run.hooks.load_game) run.hooks.load_game(game, run.load_file_name);
      return true;
    case kRequestRestart:
      EndGame(game);
      StartGame(game);
      return true;
    default:
      if (r < 0) {
        run.request = kRequestNone;
        return true;
      }
      EndRoom(game, false);
      StartRoom(game, r, false);
      return true;
  }
}

void RunStep(CGame& game) {
  CRunState& run = game.run;
  CInputState& in = game.input;
  if (in.information_shown || in.splash_shown) return;
  if (game.settings.freeze_unfocused && run.hooks.window_active && !run.hooks.window_active(game))
    return;
  HandleFunctionKey(game);
  CInstanceLists* lists = run.Instances();
  if (!lists) return;
  for (int i = 0; i < lists->ActiveCount(); ++i) {
    CInstance* inst = lists->ActiveAt(i);
    inst->xprevious = inst->x;
    inst->yprevious = inst->y;
    inst->SetPathPositionPrevious(inst->path_position);
  }
  StepPass(game, kStepBegin);
  if (run.Pending()) return;
  TimeLinePass(game);
  if (run.Pending()) return;
  AlarmPass(game);
  if (run.Pending()) return;
  KeyboardPass(game);
  if (run.Pending()) return;
  JoystickPass(game);
  if (run.Pending()) return;
  MousePass(game);
  if (run.Pending()) return;
  StepPass(game, kStepNormal);
  if (run.Pending()) return;
  {
    const int count = lists->ActiveCount();
    for (int i = 0; i < count && i < lists->ActiveCount(); ++i) {
      CInstance* inst = lists->ActiveAt(i);
      if (inst->marked) continue;
      inst->ApplyFrictionAndGravity();
      if (inst->StepPath()) PerformEvent(game, inst, inst, kEventOther, kOtherEndOfPath);
      inst->SetPosition(inst->x + inst->hspeed, inst->y + inst->vspeed);
    }
  }
  BoundaryPass(game);
  if (run.Pending()) return;
  if (run.hooks.collision_pass) run.hooks.collision_pass(game);
  if (run.Pending()) return;
  StepPass(game, kStepEnd);
  if (run.Pending()) return;
  if (run.hooks.particles_step) run.hooks.particles_step(game);
  lists->RemoveMarkedInstances();
  if (game.graphics.automatic_draw) DrawRoom(game);
  run.current->room.MoveBackgrounds();
  {
    const int count = lists->ActiveCount();
    for (int i = 0; i < count && i < lists->ActiveCount(); ++i) {
      CInstance* inst = lists->ActiveAt(i);
      if (inst->marked) continue;
      inst->image_index += inst->image_speed;
      const int32_t images = inst->ImageCount();
      if (std::floor(inst->image_index) >= images) {
        inst->image_index -= images;
        PerformEvent(game, inst, inst, kEventOther, kOtherAnimationEnd);
      }
    }
  }
  ++run.cursor_frame;
  if (run.hooks.after_step) run.hooks.after_step(game);
  EndStepInput(game);
}

std::string ComposeWindowCaption(const CGame& game) {
  const CRunState& run = game.run;
  std::string caption = run.current ? run.current->room.caption : std::string();
  if (run.show_score && (run.score_forced || run.score > 0))
    caption += " " + run.caption_score + std::to_string(run.score);
  if (run.show_lives) caption += " " + run.caption_lives + std::to_string(run.lives);
  if (run.show_health) caption += " " + run.caption_health + std::to_string(Nearest(run.health));
  return caption;
}

}  // namespace zorvex
