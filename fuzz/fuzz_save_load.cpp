// Arbitrary bytes as a saved game of a small running game. A file that is refused must leave the
// game exactly as it was; one that is accepted must write back to a form that reads again to the
// same state, and the game must be able to run a step with it.
//
// The input is put behind a valid version and game id, so that the records are reached.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "game/Game.h"
#include "run/Event_Action.h"
#include "run/Run_Main.h"
#include "run/Run_Save.h"
#include "runner/Support_Stream.h"

namespace {

using namespace zorvex;

void Check(bool ok) {
  if (!ok) std::abort();
}

std::vector<uint8_t> State(const CGame& game) {
  CStream s;
  WriteSavedGame(game, s);
  return s.Bytes();
}

std::unique_ptr<CGame> NewGame() {
  auto game = std::make_unique<CGame>();
  InstallRuntime(*game);
  game->errors.show_window = [](const std::string&, bool) { return false; };
  game->game_id = 77;
  auto o = std::make_unique<CObject>();
  o->EventAt(3, 0)->AddCodeAction("x += 1");
  const int32_t object = game->resources.objects.Append(std::move(o), "o");
  auto room = std::make_unique<CRoom>();
  CRoomInstance placed;
  placed.object = object;
  placed.id = 100001;
  room->instances.push_back(placed);
  game->resources.room_order.order.push_back(game->resources.rooms.Append(std::move(room), "r"));
  game->resources.rooms.last_instance_id = 100001;
  PrepareObjects(*game);
  game->running = true;
  StartGame(*game);
  return game;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static std::unique_ptr<CGame> game = NewGame();
  const std::vector<uint8_t> before = State(*game);
  CStream s;
  s.WriteInt(kSaveVersion);
  s.WriteInt(game->game_id);
  s.WriteBytes(data, size);
  s.Seek(0);
  CSavedGame saved;
  if (ReadSavedGame(*game, s, saved) != SaveReadResult::kOk) {
    Check(State(*game) == before);
    return 0;
  }
  ApplySavedGame(*game, std::move(saved));
  const std::vector<uint8_t> loaded = State(*game);
  CStream again(loaded);
  CSavedGame reread;
  Check(ReadSavedGame(*game, again, reread) == SaveReadResult::kOk);
  ApplySavedGame(*game, std::move(reread));
  Check(State(*game) == loaded);
  RunStep(*game);
  game->run.request = kRequestNone;
  return 0;
}
