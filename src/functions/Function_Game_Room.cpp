// Built-in functions of the game family for rooms and the game: room changes, the end and the
// restart of the game, saving and loading, and waiting.
#include "functions/Function_Game_Room.h"

#include "code/Code_Function.h"
#include "code/Code_Round.h"
#include "game/Game.h"
#include "run/Run_Command.h"
#include "run/Run_Main.h"
#include "run/Run_Save.h"

namespace zorvex {

namespace {

int32_t Int(const RValue& v) {
  return RoundToInt32(v.real);
}

void F_room_goto(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue&) {
  RoomGoto(g, Int(a[0]));
}
void F_room_goto_previous(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue*, RValue&) {
  RoomGotoPrevious(g);
}
void F_room_goto_next(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue*, RValue&) {
  RoomGotoNext(g);
}
void F_room_restart(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue*, RValue&) {
  RoomRestart(g);
}
void F_room_previous(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue& r) {
  r.SetReal(RoomPrevious(g, Int(a[0])));
}
void F_room_next(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue& r) {
  r.SetReal(RoomNext(g, Int(a[0])));
}
void F_game_end(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue*, RValue&) {
  GameEnd(g);
}
void F_game_restart(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue*, RValue&) {
  GameRestart(g);
}
void F_game_save(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue&) {
  SaveGame(g, a[0].str);
}
void F_game_load(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue&) {
  GameLoad(g, a[0].str);
}
void F_sleep(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue&) {
  g.graphics.clock.Wait(RoundToInt64(a[0].real * 1000));
}

struct RoomFunction {
  const char* name;
  BuiltinHandler handler;
  int32_t argc;
};

constexpr RoomFunction kRoomFunctions[] = {
    {"room_goto", F_room_goto, 1},
    {"room_goto_previous", F_room_goto_previous, 0},
    {"room_goto_next", F_room_goto_next, 0},
    {"room_restart", F_room_restart, 0},
    {"room_previous", F_room_previous, 1},
    {"room_next", F_room_next, 1},
    {"game_end", F_game_end, 0},
    {"game_restart", F_game_restart, 0},
    {"game_save", F_game_save, 1},
    {"game_load", F_game_load, 1},
    {"sleep", F_sleep, 1},
};

}  // namespace

void RegisterGameRoomFunctions(CFunctionTable& table) {
  for (const RoomFunction& f : kRoomFunctions)
    table.Register(f.name, f.handler, f.argc);
}

}  // namespace zorvex
