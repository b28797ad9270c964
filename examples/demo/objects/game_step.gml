// When the last coin of a room is taken, the next room starts; after the last room, the game ends.
if (instance_number(obj_coin) == 0) {
  if (room == room_last) {
    show_message("Every coin collected! Score: " + string(score));
    game_end();
  } else {
    room_goto_next();
  }
}
