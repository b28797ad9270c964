// The room, game and instance commands that game code and actions share: room changes and the
// end or restart of the game only set the pending request, which the main loop carries out.
#pragma once

#include <cstdint>
#include <string>

namespace zorvex {

class CGame;
class CInstance;

inline constexpr const char* kMovingBeforeFirstRoomMessage =
    "Moving to previous room before the first room.";
inline constexpr const char* kMovingAfterLastRoomMessage =
    "Moving to next room after the last room.";
inline constexpr const char* kCreateMissingObjectMessage =
    "Creating instance for non-existing object: ";

// Sets the pending request; the last one set wins, except that the end of the game after a
// fatal error (kRequestAbort) is never taken back.
void SetPendingRequest(CGame& game, int32_t request);
// The request to go to a room; a room that does not exist is a fatal error and ends the game.
void RoomGoto(CGame& game, int32_t room);
void RoomGotoPrevious(CGame& game);
void RoomGotoNext(CGame& game);
void RoomRestart(CGame& game);
// The room before / after it in the room order; -1 when it does not exist or is the first /
// last.
int32_t RoomPrevious(const CGame& game, int32_t room);
int32_t RoomNext(const CGame& game, int32_t room);
void GameEnd(CGame& game);
void GameRestart(CGame& game);
// Remembers the file and asks the main loop to load it.
void GameLoad(CGame& game, const std::string& file);

// A new instance of the object at (x, y) with its create event; null (after the non-fatal
// error) when the object does not exist or no room runs.
CInstance* CreateInstance(CGame& game, double x, double y, int32_t object);

}  // namespace zorvex
