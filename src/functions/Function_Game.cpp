// Built-in functions of the game family: the room and game requests and instance creation.
#include "functions/Function_Game.h"

#include <iterator>

#include "code/Code_Function.h"
#include "code/Code_Round.h"
#include "game/Game.h"
#include "run/Run_Command.h"
#include "run/Run_Main.h"

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
void F_instance_create(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue& r) {
  CInstance* inst = CreateInstance(g, a[0].real, a[1].real, Int(a[2]));
  r.SetReal(inst ? inst->id : -4);
}

struct GameFunction {
  const char* name;
  BuiltinHandler handler;
  int32_t argc;
};

constexpr GameFunction kGameFunctions[] = {
    {"room_goto", F_room_goto, 1},
    {"room_goto_previous", F_room_goto_previous, 0},
    {"room_goto_next", F_room_goto_next, 0},
    {"room_restart", F_room_restart, 0},
    {"room_previous", F_room_previous, 1},
    {"room_next", F_room_next, 1},
    {"game_end", F_game_end, 0},
    {"game_restart", F_game_restart, 0},
    {"instance_create", F_instance_create, 3},
};

}  // namespace

void RegisterGameFunctions(CFunctionTable& table) {
  for (const GameFunction& f : kGameFunctions)
    table.Register(f.name, f.handler, f.argc);
}

}  // namespace zorvex
