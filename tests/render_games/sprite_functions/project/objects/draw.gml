// The sprite drawing forms: tiled (behind everything), plain, transformed, stretched, a part,
// four corner colours.
draw_sprite_tiled_ext(spr_box, 0, 4, 4, 1, 1, c_gray, 0.5);
draw_sprite(spr_arrow, 0, 20, 12);
draw_sprite_ext(spr_arrow, 0, 60, 20, 1, 2, 30, c_white, 1);
draw_sprite_ext(spr_arrow, 0, 120, 20, 0.5, 0.5, -90, c_lime, 1);
draw_sprite_stretched(spr_box, 0, 4, 40, 60, 20);
draw_sprite_stretched_ext(spr_box, 0, 70, 40, 20, 40, c_red, 0.8);
draw_sprite_part(spr_arrow, 0, 16, 0, 16, 16, 100, 40);
draw_sprite_part_ext(spr_arrow, 0, 0, 0, 16, 16, 120, 40, 2, 2, c_aqua, 1);
draw_sprite_general(spr_box, 0, 0, 0, 16, 16, 10, 70, 3, 3, 0, c_red, c_lime, c_blue, c_yellow, 1);
draw_sprite_general(spr_arrow, 0, 0, 0, 32, 16, 80, 110, 2, 2, 20, c_white, c_white, c_red, c_red, 1);
