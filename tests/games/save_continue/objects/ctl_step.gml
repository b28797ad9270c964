if (global.t == 3) room_goto(r_side);
if (global.t == 5) room_goto(r_main);
if (global.t == 6) instance_deactivate_object(obj_sleeper);
if (global.t == 10) instance_activate_object(obj_sleeper);
if (global.t == 11) room_goto(r_side);
if (global.t == 13) room_goto(r_main);
