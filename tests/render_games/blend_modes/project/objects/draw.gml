// Three colour bars crossed by squares in each blend mode; the last two rows use alpha and
// factor pairs of their own.
draw_set_color(c_red);    draw_rectangle(0, 0, 159, 19, false);
draw_set_color(c_lime);   draw_rectangle(0, 20, 159, 39, false);
draw_set_color(make_color_rgb(64, 64, 255)); draw_rectangle(0, 40, 159, 59, false);
draw_set_color(make_color_rgb(128, 128, 128)); draw_rectangle(0, 60, 159, 119, false);
draw_set_color(make_color_rgb(100, 100, 100));
draw_set_blend_mode(bm_normal);   draw_rectangle(4, 4, 34, 114, false);
draw_set_blend_mode(bm_add);      draw_rectangle(40, 4, 70, 114, false);
draw_set_blend_mode(bm_max);      draw_rectangle(76, 4, 106, 114, false);
draw_set_blend_mode(bm_subtract); draw_rectangle(112, 4, 142, 114, false);
draw_set_blend_mode(bm_normal);
draw_set_alpha(0.5);
draw_set_color(c_white);
draw_rectangle(0, 66, 159, 80, false);
draw_set_alpha(1);
draw_set_blend_mode_ext(bm_dest_color, bm_zero);
draw_set_color(c_yellow);
draw_rectangle(0, 86, 159, 100, false);
draw_set_blend_mode_ext(bm_inv_dest_color, bm_zero);
draw_set_color(c_white);
draw_rectangle(0, 104, 159, 116, false);
draw_set_blend_mode(bm_normal);
