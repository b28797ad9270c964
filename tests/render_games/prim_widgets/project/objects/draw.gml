// Buttons up and down, health bars in every direction, colour gradients and a coarse circle.
draw_set_color(c_silver);
draw_button(4, 4, 44, 24, true);
draw_button(50, 4, 90, 24, false);
draw_healthbar(4, 30, 74, 38, 75, c_black, c_red, c_lime, 0, true, true);
draw_healthbar(4, 42, 74, 50, 25, c_black, c_red, c_lime, 1, true, false);
draw_healthbar(80, 30, 88, 70, 50, c_navy, c_red, c_lime, 2, true, true);
draw_healthbar(94, 30, 102, 70, 100, c_navy, c_red, c_lime, 3, false, false);
draw_circle_color(130, 18, 14, c_white, c_blue, false);
draw_ellipse_color(108, 38, 156, 62, c_yellow, c_red, false);
draw_roundrect_color(4, 56, 74, 80, c_white, c_purple, false);
draw_line_color(4, 88, 74, 88, c_red, c_aqua);
draw_line_width_color(4, 96, 74, 110, 4, c_yellow, c_blue);
draw_set_circle_precision(8);
draw_set_color(c_lime);
draw_circle(128, 92, 20, false);
draw_set_color(c_black);
draw_circle(128, 92, 20, true);
