// Nine alignments around red crosses, two lines each.
draw_set_font(fnt_small);
for (h = 0; h < 3; h += 1) {
  for (v = 0; v < 3; v += 1) {
    px = 40 + h * 80;
    py = 25 + v * 55;
    draw_set_color(c_red);
    draw_line(px - 4, py, px + 5, py);
    draw_line(px, py - 4, px, py + 5);
    draw_set_halign(h);
    draw_set_valign(v);
    draw_set_color(c_white);
    draw_text(px, py, "Align#h" + string(h) + " v" + string(v));
  }
}
draw_set_halign(fa_left);
draw_set_valign(fa_top);
