draw_set_font(fnt_hud);
draw_set_color(c_white);
draw_set_halign(fa_left);
draw_text(40, 40, DEMO_TITLE + " - " + room_caption);
draw_text(40, 60, "Score: " + string(score));
if (won) {
  draw_set_halign(fa_center);
  draw_set_color(c_yellow);
  draw_text(room_width / 2, room_height / 2, "Every coin collected!#Score: " + string(score));
  draw_set_halign(fa_left);
}
