// When the last coin of a room is taken, the next room starts; after the last room the game
// shows the final score for three seconds and ends.
if (won) exit;
if (instance_number(obj_coin) == 0) {
  if (room == room_last) {
    won = true;
    alarm[0] = 3 * room_speed;
  } else {
    room_goto_next();
  }
}
