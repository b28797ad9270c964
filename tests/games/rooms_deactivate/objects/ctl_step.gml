// Each step moves instances between the lists, then prints the active list as it is now.
if (global.t == 1) instance_deactivate_region(40, 0, 50, 100, true, true);
if (global.t == 2) instance_activate_region(0, 0, 60, 60, true);
if (global.t == 3) instance_deactivate_object(obj_unit);
if (global.t == 4) instance_activate_object(100004);
if (global.t == 5) instance_deactivate_region(215, 215, 0, 0, true, false);
if (global.t == 6) instance_deactivate_all(true);
if (global.t == 7) instance_activate_all();
if (global.t == 8) {
  // A deactivated persistent instance stays behind in its room.
  instance_deactivate_object(obj_keep);
  room_goto(r_two);
}
s = 'step ' + string(global.t) + ':';
for (i = 0; i < instance_count; i += 1) s += ' ' + string(instance_id[i]);
show_debug_message(s + ' units ' + string(instance_number(obj_unit)));
if (global.t == 10) game_end();
