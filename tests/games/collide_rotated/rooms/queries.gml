// The bar turned a quarter counter-clockwise about (100, 100) stands on x 100..101, y 93..100.
show_debug_message(string(position_meeting(100, 93, obj_bar)));
show_debug_message(string(position_meeting(101, 100, obj_bar)));
show_debug_message(string(position_meeting(102, 96, obj_bar)));
show_debug_message(string(position_meeting(100, 92.5, obj_bar)));
// Mirrored and doubled about x 200: box 183..200, pixels 185..200.
show_debug_message(string(position_meeting(184, 100, obj_flipped)));
show_debug_message(string(collision_point(184, 100, obj_flipped, false, false)));
show_debug_message(string(position_meeting(185, 100, obj_flipped)));
show_debug_message(string(position_meeting(200, 101, obj_flipped)));
show_debug_message(string(position_meeting(201, 100, obj_flipped)));
