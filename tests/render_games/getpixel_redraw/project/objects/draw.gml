// Reads back through the view what was just drawn: the second square takes the colour of the
// first, the third that of a pixel outside everything drawn (the room colour). The frame count
// shows which redraw is on screen.
draw_set_color(make_color_rgb(200, 40, 90));
draw_rectangle(105, 5, 115, 15, false);
c = draw_getpixel(110, 10);
draw_set_color(c);
draw_rectangle(120, 5, 130, 15, false);
draw_set_color(draw_getpixel(140, 40));
draw_rectangle(105, 25, 145, 30, false);
draw_set_color(c_white);
draw_text(105, 32, string(frame));
