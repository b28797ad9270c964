#!/usr/bin/env python3
"""Draws the pictures of the render-test projects with nothing but the standard library (PNG
through zlib). Rewrites them in place, byte for byte the same each time.

    tests/render_games/make-media.py
"""

import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


class Picture:
    def __init__(self, width, height, fill=(0, 0, 0, 0)):
        self.width, self.height = width, height
        self.pixels = [list(fill) for _ in range(width * height)]

    def rect(self, x0, y0, x1, y1, rgba):
        """Fills x0..x1, y0..y1, edges included."""
        for y in range(max(0, y0), min(self.height, y1 + 1)):
            for x in range(max(0, x0), min(self.width, x1 + 1)):
                self.pixels[y * self.width + x] = list(rgba)

    def png(self):
        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
        rows = bytearray()
        for y in range(self.height):
            rows.append(0)
            for x in range(self.width):
                rows.extend(self.pixels[y * self.width + x])
        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 6, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))


def write(path, picture):
    full = os.path.join(HERE, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, "wb") as f:
        f.write(picture.png())


RED, GREEN, BLUE = (255, 0, 0, 255), (0, 200, 0, 255), (0, 64, 255, 255)
YELLOW, WHITE, BLACK = (255, 255, 0, 255), (255, 255, 255, 255), (0, 0, 0, 255)
ORANGE, PURPLE, CYAN = (255, 128, 0, 255), (160, 0, 200, 255), (0, 220, 220, 255)


def arrow():
    """32 x 16: a red shaft with a yellow head pointing right and a white mark at the top left."""
    p = Picture(32, 16)
    p.rect(0, 5, 21, 10, RED)
    for i in range(8):
        p.rect(22 + i, i, 22 + i, 15 - i, YELLOW)
    p.rect(0, 0, 3, 3, WHITE)
    return p


def box(colour):
    """16 x 16: a white square with a 2-pixel border of the colour."""
    p = Picture(16, 16, colour)
    p.rect(2, 2, 13, 13, WHITE)
    return p


def frame(colour, mark):
    """16 x 16 in one colour with `mark` + 1 black dots along the top, so frames tell apart."""
    p = Picture(16, 16, colour)
    for i in range(mark + 1):
        p.rect(1 + 4 * i, 1, 2 + 4 * i, 2, BLACK)
    return p


def checker():
    """32 x 24: four 16 x 12 cells, blue/white over orange/green, a black dot at the top left."""
    p = Picture(32, 24)
    p.rect(0, 0, 15, 11, BLUE)
    p.rect(16, 0, 31, 11, WHITE)
    p.rect(0, 12, 15, 23, ORANGE)
    p.rect(16, 12, 31, 23, GREEN)
    p.rect(0, 0, 1, 1, BLACK)
    return p


def tileset():
    """64 x 32: two 32 x 32 tiles, a green one with a dark frame and a brown brick."""
    p = Picture(64, 32)
    p.rect(0, 0, 31, 31, (0, 90, 0, 255))
    p.rect(3, 3, 28, 28, GREEN)
    p.rect(32, 0, 63, 31, (140, 80, 30, 255))
    p.rect(32, 15, 63, 16, (60, 30, 10, 255))
    p.rect(47, 0, 48, 15, (60, 30, 10, 255))
    return p


def sky():
    """40 x 30: bands from dark blue at the top to light blue, a yellow sun at the right."""
    p = Picture(40, 30)
    for y in range(30):
        p.rect(0, y, 39, y, (0, 40 + 5 * y, 120 + 4 * y, 255))
    p.rect(30, 4, 35, 9, YELLOW)
    return p


def window_frame():
    """24 x 24: a frame 3 pixels wide, see-through inside (for a foreground layer)."""
    p = Picture(24, 24, PURPLE)
    p.rect(3, 3, 20, 20, (0, 0, 0, 0))
    return p


def main():
    write("sprites_instances/project/sprites/spr_arrow/0.png", arrow())
    write("sprite_functions/project/sprites/spr_arrow/0.png", arrow())
    write("sprite_functions/project/sprites/spr_box/0.png", box(BLUE))
    write("view_rotated/project/sprites/spr_arrow/0.png", arrow())
    for i, colour in enumerate([RED, GREEN, BLUE, YELLOW]):
        write("sprite_animation/project/sprites/spr_anim/%d.png" % i, frame(colour, i))
    for name, colour in [("spr_red", RED), ("spr_green", GREEN), ("spr_blue", BLUE),
                         ("spr_yellow", YELLOW)]:
        write("depth_order/project/sprites/%s/0.png" % name, box(colour))
    for project in ["views_split", "view_follow", "view_rotated"]:
        write("%s/project/backgrounds/bg_checker.png" % project, checker())
    write("view_follow/project/sprites/spr_box/0.png", box(RED))
    write("views_split/project/sprites/spr_box/0.png", box(RED))
    write("backgrounds_tiled/project/backgrounds/bg_checker.png", checker())
    write("backgrounds_stretched/project/backgrounds/bg_sky.png", sky())
    write("backgrounds_stretched/project/backgrounds/bg_frame.png", window_frame())
    write("tiles/project/backgrounds/bg_tiles.png", tileset())
    write("depth_order/project/backgrounds/bg_tiles.png", tileset())
    write("prim_script/project/sprites/spr_box/0.png", box(GREEN))


main()
