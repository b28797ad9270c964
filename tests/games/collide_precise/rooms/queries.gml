// The L (100001) covers x 100 and y 107 of its box 100..107 x 100..107.
show_debug_message(string(collision_point(103, 103, obj_l, true, false)));
show_debug_message(string(collision_point(103, 103, obj_l, false, false)));
show_debug_message(string(collision_point(100, 103, obj_l, true, false)));
show_debug_message(string(collision_line(101, 99, 108, 106, obj_l, true, false)));
show_debug_message(string(collision_line(99, 101, 108, 110, obj_l, true, false)));
show_debug_message(string(collision_rectangle(101, 100, 107, 106, obj_l, true, false)));
show_debug_message(string(collision_rectangle(101, 100, 107, 107, obj_l, true, false)));
show_debug_message(string(collision_ellipse(101, 101, 121, 121, obj_l, true, false)));
show_debug_message(string(collision_circle(112, 112, 6, obj_l, false, false)));
show_debug_message(string(collision_circle(111, 111, 6, obj_l, false, false)));
show_debug_message(string(instance_position(103, 103, obj_l)));
show_debug_message(string(position_empty(103, 103)));
