// Every primitive kind built vertex by vertex, and a textured strip from a sprite's texture.
draw_set_color(c_white);
draw_primitive_begin(pr_pointlist);
for (i = 0; i < 10; i += 1) draw_vertex(4 + i * 3, 4);
draw_primitive_end();
draw_primitive_begin(pr_linelist);
draw_vertex_color(4, 10, c_red, 1); draw_vertex_color(40, 30, c_yellow, 1);
draw_vertex_color(4, 30, c_lime, 1); draw_vertex_color(40, 10, c_aqua, 1);
draw_primitive_end();
draw_set_color(c_orange);
draw_primitive_begin(pr_linestrip);
draw_vertex(50, 30); draw_vertex(60, 6); draw_vertex(70, 30); draw_vertex(80, 6);
draw_primitive_end();
draw_primitive_begin(pr_trianglelist);
draw_vertex_color(90, 30, c_red, 1); draw_vertex_color(105, 4, c_lime, 1);
draw_vertex_color(120, 30, c_blue, 1);
draw_primitive_end();
draw_primitive_begin(pr_trianglestrip);
draw_vertex_color(4, 60, c_red, 1); draw_vertex_color(4, 40, c_red, 1);
draw_vertex_color(40, 60, c_yellow, 0.5); draw_vertex_color(40, 40, c_yellow, 0.5);
draw_vertex_color(76, 60, c_blue, 1); draw_vertex_color(76, 40, c_blue, 1);
draw_primitive_end();
draw_primitive_begin(pr_trianglefan);
draw_vertex_color(120, 60, c_white, 1);
for (i = 0; i <= 8; i += 1)
  draw_vertex_color(120 + 18 * cos(i * pi / 4), 60 - 18 * sin(i * pi / 4),
                    make_color_hsv(i * 28, 255, 255), 1);
draw_primitive_end();
tex = sprite_get_texture(spr_box, 0);
draw_primitive_begin_texture(pr_trianglestrip, tex);
draw_vertex_texture(4, 112, 0, 1); draw_vertex_texture(4, 80, 0, 0);
draw_vertex_texture(68, 112, 1, 1); draw_vertex_texture(68, 80, 1, 0);
draw_primitive_end();
draw_set_color(c_red);
draw_primitive_begin_texture(pr_trianglelist, tex);
draw_vertex_texture(80, 112, 0, 1); draw_vertex_texture(112, 80, 0.5, 0);
draw_vertex_texture(144, 112, 1, 1);
draw_primitive_end();
