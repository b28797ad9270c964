// Saved at t = 3 and loaded back at t = 5 (once: the list of loads is no part of a saved game).
if (global.t == 3) {
  game_save('rewind.sav');
  show_debug_message('saved');
}
if (global.t == 5 && ds_list_size(global.loads) == 0) {
  ds_list_add(global.loads, 1);
  game_load('rewind.sav');
  show_debug_message('load asked');
}
// Files that do not load leave the game as it is.
if (global.t == 7) game_load('truncated.sav');
if (global.t == 8) {
  show_debug_message('truncated: ' + string(error_occurred) + ' '
    + string(string_pos('Failed to load game from file truncated.sav', error_last) > 0));
  error_occurred = false;
  game_load('othergame.sav');
}
if (global.t == 9) {
  show_debug_message('other game: ' + string(error_occurred) + ' '
    + string(string_pos('This is a save file for a different game!', error_last) > 0));
  error_occurred = false;
  game_load('missing.sav');
}
if (global.t == 10) {
  show_debug_message('missing: ' + string(error_occurred));
  game_end();
}
