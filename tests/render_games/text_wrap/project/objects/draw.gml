// Wrapping at a width (with its box), a larger separation, an escaped #, and colours.
draw_set_font(fnt_small);
draw_set_color(c_gray);
draw_rectangle(4, 4, 4 + 100, 4 + string_height_ext("The quick brown fox jumps over the lazy dog.", -1, 100), true);
draw_set_color(c_white);
draw_text_ext(4, 4, "The quick brown fox jumps over the lazy dog.", -1, 100);
draw_set_color(c_yellow);
draw_text_ext(120, 4, "Wide#spaced lines#and a very-long-hyphenated-word", 20, 110);
draw_set_color(c_aqua);
draw_text(4, 90, "Number \# one#second line");
draw_set_font(fnt_big);
draw_text_color(4, 120, "Gradient text", c_red, c_yellow, c_lime, c_blue, 1);
draw_text_ext_color(130, 100, "Half alpha wrapped", -1, 80, c_white, c_white, c_fuchsia, c_fuchsia, 0.5);
