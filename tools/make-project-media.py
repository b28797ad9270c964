#!/usr/bin/env python3
"""Draws the pictures and sounds of the checked-in projects (examples/demo and the test project
tests/games/all_resources) with nothing but the standard library: PNG through zlib, WAV through
the wave module. Run it from anywhere; it rewrites the files in place, byte for byte the same
each time.

    tools/make-project-media.py
"""

import math
import os
import struct
import wave
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


class Picture:
    """An RGBA picture, all pixels see-through at first."""

    def __init__(self, width, height, fill=(0, 0, 0, 0)):
        self.width = width
        self.height = height
        self.pixels = [list(fill) for _ in range(width * height)]

    def set(self, x, y, rgba):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y * self.width + x] = list(rgba)

    def rect(self, x0, y0, x1, y1, rgba):
        """Fills x0..x1, y0..y1, edges included."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, rgba)

    def ellipse(self, cx, cy, rx, ry, rgba):
        """Fills the pixels whose centres lie inside the ellipse."""
        for y in range(self.height):
            for x in range(self.width):
                dx = (x + 0.5 - cx) / rx if rx > 0 else 2
                dy = (y + 0.5 - cy) / ry if ry > 0 else 2
                if dx * dx + dy * dy <= 1.0:
                    self.set(x, y, rgba)

    def triangle(self, a, b, c, rgba):
        """Fills the pixels whose centres lie inside the triangle a, b, c."""
        def side(p, q, x, y):
            return (q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0])
        for y in range(self.height):
            for x in range(self.width):
                px, py = x + 0.5, y + 0.5
                s1, s2, s3 = side(a, b, px, py), side(b, c, px, py), side(c, a, px, py)
                if (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0):
                    self.set(x, y, rgba)

    def png(self):
        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
        rows = bytearray()
        for y in range(self.height):
            rows.append(0)  # no filter
            for x in range(self.width):
                rows.extend(self.pixels[y * self.width + x])
        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 6, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))


def write(path, data):
    full = os.path.join(ROOT, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, "wb") as f:
        f.write(data)


def write_wav(path, seconds, tone):
    """A mono 8-bit sound; tone(t) gives the sample from -1 to 1 at time t."""
    full = os.path.join(ROOT, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    rate = 22050
    frames = bytes(
        max(0, min(255, int(128 + 127 * tone(i / rate)))) for i in range(int(seconds * rate)))
    with wave.open(full, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(1)
        w.setframerate(rate)
        w.writeframes(frames)


def fade_tone(freq, seconds):
    return lambda t: math.sin(2 * math.pi * freq * t) * max(0.0, 1 - t / seconds) * 0.6


# A tiny standard MIDI file: one track, one note.
MIDI = (b"MThd" + struct.pack(">IHHH", 6, 0, 1, 96) + b"MTrk" + struct.pack(">I", 12) +
        bytes([0x00, 0x90, 0x3C, 0x40, 0x60, 0x80, 0x3C, 0x40, 0x00, 0xFF, 0x2F, 0x00]))

WHITE = (255, 255, 255, 255)
YELLOW = (250, 210, 40, 255)
DARK_YELLOW = (190, 140, 20, 255)


def demo():
    base = "examples/demo"
    ship = Picture(32, 32)
    ship.triangle((16, 2), (29, 29), (3, 29), (60, 200, 230, 255))
    ship.triangle((16, 10), (22, 24), (10, 24), (20, 80, 120, 255))
    ship.rect(12, 28, 19, 30, (250, 140, 40, 255))
    write(base + "/sprites/spr_ship/0.png", ship.png())

    wall = Picture(32, 32, (110, 110, 120, 255))
    for y in range(0, 32, 8):
        wall.rect(0, y, 31, y, (70, 70, 80, 255))
        shift = 0 if (y // 8) % 2 == 0 else 8
        for x in range(shift, 32, 16):
            wall.rect(x, y, x, y + 7, (70, 70, 80, 255))
    write(base + "/sprites/spr_wall/0.png", wall.png())

    # A coin turning: four frames of a narrowing and widening disc.
    for frame, half_width in enumerate([7.0, 5.0, 2.0, 5.0]):
        coin = Picture(16, 16)
        coin.ellipse(8, 8, half_width, 7, DARK_YELLOW)
        coin.ellipse(8, 8, max(1.0, half_width - 1.5), 5.5, YELLOW)
        write(base + "/sprites/spr_coin/%d.png" % frame, coin.png())

    space = Picture(64, 64, (10, 12, 40, 255))
    for i in range(12):
        x = (i * 37 + 11) % 64
        y = (i * 23 + 5) % 64
        space.set(x, y, WHITE if i % 3 else (160, 160, 255, 255))
    write(base + "/backgrounds/bg_space.png", space.png())

    write_wav(base + "/sounds/snd_coin.wav", 0.15, fade_tone(1320, 0.15))


def all_resources():
    base = "tests/games/all_resources"
    # A ball in two frames, see-through around it.
    for frame, colour in enumerate([(220, 40, 40, 255), (40, 40, 220, 255)]):
        ball = Picture(16, 16)
        ball.ellipse(8, 8, 6, 6, colour)
        write(base + "/sprites/spr_ball/%d.png" % frame, ball.png())
    # A block with a magenta surround that the key colour takes out.
    block = Picture(16, 16, (255, 0, 255, 255))
    block.rect(2, 4, 13, 11, (90, 160, 60, 255))
    write(base + "/sprites/spr_block/0.png", block.png())
    mask = Picture(8, 8, WHITE)
    write(base + "/sprites/spr_mask/0.png", mask.png())

    tiles = Picture(32, 16, (0, 0, 0, 255))
    tiles.rect(0, 0, 15, 15, (200, 120, 60, 255))
    tiles.rect(16, 0, 31, 15, (60, 120, 200, 255))
    write(base + "/backgrounds/bg_tiles.png", tiles.png())
    sky = Picture(4, 4, (120, 180, 255, 255))
    write(base + "/backgrounds/bg_sky.png", sky.png())

    write_wav(base + "/sounds/snd_beep.wav", 0.05, fade_tone(880, 0.05))
    write(base + "/sounds/snd_music.mid", MIDI)


if __name__ == "__main__":
    demo()
    all_resources()
