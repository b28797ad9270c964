// Scaled and turned text about its start point, centred turned text, and colours.
draw_set_font(fnt_text);
draw_set_color(c_white);
draw_text_transformed(10, 10, "Scaled", 2, 1.5, 0);
draw_set_color(c_lime);
draw_text_transformed(20, 150, "Up we go", 1, 1, 90);
draw_set_color(c_yellow);
draw_text_transformed(60, 60, "Slanted", 1, 1, 30);
draw_set_halign(fa_center);
draw_set_valign(fa_middle);
draw_set_color(c_red);
draw_point(140, 110);
draw_set_color(c_aqua);
draw_text_transformed(140, 110, "Centred#two", 1, 1, -45);
draw_text_transformed_color(140, 40, "Mirror", -1, 1, 0, c_red, c_red, c_blue, c_blue, 1);
draw_set_halign(fa_left);
draw_set_valign(fa_top);
