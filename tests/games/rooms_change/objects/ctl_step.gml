// One room change per step; the pending request stops the step after this event.
if (global.t == 2) room_goto_next();
if (global.t == 3) {
  // Two requests in one piece of code: the second wins.
  room_goto(r_first);
  room_goto(r_third);
}
if (global.t == 4) room_goto_previous();
if (global.t == 5) {
  // Read when the room is left: this visit of the persistent room is not kept.
  room_persistent = false;
  room_restart();
}
if (global.t == 6) room_goto(r_first);
if (global.t == 7) {
  show_debug_message('prev/next ' + string(room_previous(r_first)) + ' ' + string(room_next(r_third))
    + ' ' + string(room_next(r_first)) + ' ' + string(room_previous(r_third)) + ' ' + string(room_next(42)));
  room_goto_previous();
}
