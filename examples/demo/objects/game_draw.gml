draw_set_font(fnt_hud);
draw_set_color(c_white);
draw_text(40, 40, DEMO_TITLE + " - " + room_caption);
draw_text(40, 60, "Score: " + string(score));
