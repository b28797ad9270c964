#include "run/Run_Command.h"

#include <string>

#include "game/Game.h"
#include "run/Run_Main.h"
#include "run/Run_Variables.h"

namespace zorvex {

void SetPendingRequest(CGame& game, int32_t request) {
  if (game.run.request != kRequestAbort) game.run.request = request;
}

void RoomGoto(CGame& game, int32_t room) {
  if (!game.resources.rooms.Exists(room)) {
    game.errors.ReportInContext(kUnexistingRoomMessage + std::to_string(room), true);
    game.run.request = kRequestAbort;
    return;
  }
  SetPendingRequest(game, room);
}

void RoomGotoPrevious(CGame& game) {
  const int32_t current = game.run.room_index;
  if (current == game.resources.room_order.FirstRoom()) {
    game.errors.ReportInContext(kMovingBeforeFirstRoomMessage, true);
    game.run.request = kRequestAbort;
    return;
  }
  RoomGoto(game, game.resources.room_order.PreviousRoom(current));
}

void RoomGotoNext(CGame& game) {
  const int32_t current = game.run.room_index;
  if (current == game.resources.room_order.LastRoom()) {
    game.errors.ReportInContext(kMovingAfterLastRoomMessage, true);
    game.run.request = kRequestAbort;
    return;
  }
  RoomGoto(game, game.resources.room_order.NextRoom(current));
}

void RoomRestart(CGame& game) {
  RoomGoto(game, game.run.room_index);
}

int32_t RoomPrevious(const CGame& game, int32_t room) {
  if (!game.resources.rooms.Exists(room)) return -1;
  return game.resources.room_order.PreviousRoom(room);
}

int32_t RoomNext(const CGame& game, int32_t room) {
  if (!game.resources.rooms.Exists(room)) return -1;
  return game.resources.room_order.NextRoom(room);
}

void GameEnd(CGame& game) {
  SetPendingRequest(game, kRequestEndGame);
}

void GameRestart(CGame& game) {
  SetPendingRequest(game, kRequestRestart);
}

void GameLoad(CGame& game, const std::string& file) {
  game.run.load_file_name = file;
  SetPendingRequest(game, kRequestLoad);
}

CInstance* CreateInstance(CGame& game, double x, double y, int32_t object) {
  if (!game.resources.objects.Exists(object)) {
    game.errors.ReportInContext(kCreateMissingObjectMessage + std::to_string(object), false);
    return nullptr;
  }
  CInstanceLists* lists = game.run.Instances();
  if (!lists) return nullptr;
  CInstance* inst =
      lists->AddInstance(game.resources, object, x, y, game.resources.rooms.last_instance_id);
  PerformEvent(game, inst, inst, kEventCreate, 0);
  return inst;
}

}  // namespace zorvex
