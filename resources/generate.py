#!/usr/bin/env python3
"""Draws the program's icon, cursor, button pictures and cue sounds.

Everything is computed from shapes (no source artwork), so running this script
again writes byte-identical files:

    python3 resources/generate.py

Outputs (next to this script): hotfill.ico, bullseye.cur, zira_expanded.bmp,
zira_collapsed.bmp, picker_bullseye.bmp, picker_empty.bmp, cue_start.wav,
cue_finish.wav, cue_record_start.wav, cue_record_stop.wav. Python 3 standard library only.
"""

import math
import struct
import wave
from pathlib import Path

OUT_DIR = Path(__file__).resolve().parent

TEAL = (121, 209, 200)
TEAL_DARK = (34, 112, 105)
PINK = (255, 168, 255)
PINK_DARK = (160, 50, 160)
WHITE = (255, 255, 255)
RED = (214, 36, 44)
BUTTON_FACE = (240, 240, 240)
FRAME_GREY = (150, 150, 150)

SUPERSAMPLE = 6  # samples per pixel side for anti-aliased edges


# --- shapes: each is a function (x, y) -> bool in pixel coordinates ---------


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        dx = max(x0 + r - x, 0.0, x - (x1 - r))
        dy = max(y0 + r - y, 0.0, y - (y1 - r))
        return dx * dx + dy * dy <= r * r

    return inside


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def polygon(points):
    def inside(x, y):
        result = False
        for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                result = not result
        return result

    return inside


def _segment_distance(px, py, ax, ay, bx, by):
    vx, vy = bx - ax, by - ay
    t = ((px - ax) * vx + (py - ay) * vy) / (vx * vx + vy * vy)
    t = min(1.0, max(0.0, t))
    return math.hypot(px - (ax + t * vx), py - (ay + t * vy))


def stroke(points, width, closed=False):
    """A line of the given width along the points, with round joins and caps."""
    segments = list(zip(points, points[1:] + (points[:1] if closed else [])))
    half = width / 2

    def inside(x, y):
        return any(_segment_distance(x, y, ax, ay, bx, by) <= half for (ax, ay), (bx, by) in segments)

    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


# --- canvas ------------------------------------------------------------------


class Canvas:
    """Straight-alpha RGBA pixels; shapes are painted with 'over' blending."""

    def __init__(self, width, height, background=None):
        self.width, self.height = width, height
        fill = (*background, 1.0) if background else (0.0, 0.0, 0.0, 0.0)
        self.pixels = [[list(fill) for _ in range(width)] for _ in range(height)]

    def paint(self, shape, colour):
        n = SUPERSAMPLE
        offsets = [(i + 0.5) / n for i in range(n)]
        for y in range(self.height):
            for x in range(self.width):
                hits = sum(shape(x + ox, y + oy) for oy in offsets for ox in offsets)
                if hits:
                    self._blend(x, y, colour, hits / (n * n))

    def _blend(self, x, y, colour, coverage):
        r, g, b, a = self.pixels[y][x]
        out_a = coverage + a * (1 - coverage)
        mix = [(c * coverage + d * a * (1 - coverage)) / out_a for c, d in zip(colour, (r, g, b))]
        self.pixels[y][x] = [*mix, out_a]

    def rgba_rows(self):
        """Rows top to bottom of (r, g, b, a) bytes."""
        return [[tuple(round(v) for v in p[:3]) + (round(p[3] * 255),) for p in row] for row in self.pixels]


# --- file formats --------------------------------------------------------------


def bmp24(canvas):
    """A bottom-up 24-bit BMP file of an opaque canvas."""
    stride = (canvas.width * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(canvas.rgba_rows()):
        line = b"".join(bytes((b, g, r)) for r, g, b, _ in row)
        data += line + bytes(stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return header + info + bytes(data)


def _icon_image(canvas):
    """The DIB of one icon/cursor image: 32-bit BGRA colour plus the 1-bit AND mask."""
    rows = list(reversed(canvas.rgba_rows()))
    colour = b"".join(bytes((b, g, r, a)) for row in rows for r, g, b, a in row)
    mask_stride = ((canvas.width + 31) // 32) * 4
    mask = bytearray()
    for row in rows:
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:  # transparent where the alpha is mostly clear
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack(
        "<IiiHHIIiiII", 40, canvas.width, canvas.height * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0
    )
    return info + colour + bytes(mask)


def icon_file(canvases, hotspot=None):
    """An .ico file of the canvases, or a .cur file (type 2) when a hotspot is given."""
    images = [_icon_image(c) for c in canvases]
    kind = 1 if hotspot is None else 2
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    for canvas, image in zip(canvases, images):
        field1, field2 = (1, 32) if hotspot is None else hotspot  # planes/bits, or hotspot x/y
        out += struct.pack(
            "<BBBBHHII", canvas.width % 256, canvas.height % 256, 0, 0, field1, field2, len(image), offset
        )
        offset += len(image)
    return out + b"".join(images)


# --- pictures ------------------------------------------------------------------


def app_icon(size):
    """A clipboard with a lightning mark: filling things in at one stroke."""
    s = size / 48  # designed on a 48-unit grid
    line = max(1.0, size / 24)
    c = Canvas(size, size)
    c.paint(rounded_rect(6 * s, 5 * s, 42 * s, 47 * s, 6 * s), TEAL_DARK)
    c.paint(rounded_rect(6 * s + line, 5 * s + line, 42 * s - line, 47 * s - line, 6 * s - line), TEAL)
    c.paint(rounded_rect(11 * s, 12 * s, 37 * s, 42 * s, 2.5 * s), WHITE)
    c.paint(rounded_rect(15 * s, 1 * s, 33 * s, 11 * s, 3.5 * s), PINK_DARK)
    c.paint(rounded_rect(15 * s + line, 1 * s + line, 33 * s - line, 11 * s - line, 3.5 * s - line), PINK)
    bolt = [(27, 13), (16, 29), (23, 29), (20, 41), (33, 23), (26, 23), (31, 13)]
    bolt = [(x * s, y * s) for x, y in bolt]
    if size < 24:  # an outlined bolt turns to mush at 16 px: a solid, darker one reads better
        c.paint(polygon(bolt), PINK_DARK)
    else:
        c.paint(union(polygon(bolt), stroke(bolt, line * 1.6, closed=True)), PINK_DARK)
        c.paint(polygon(bolt), PINK)
    return c


def bullseye(canvas, cx, cy, radius):
    """Alternating red and white rings from the outside in, a red centre."""
    for i, fraction in enumerate((1.0, 0.78, 0.56, 0.34, 0.14)):
        canvas.paint(disc(cx, cy, radius * fraction), WHITE if i % 2 else RED)


def cursor_bullseye():
    c = Canvas(32, 32)
    centre = 16.5  # the middle of pixel (16, 16), the hotspot
    c.paint(disc(centre, centre, 14.5), (60, 20, 20))
    bullseye(c, centre, centre, 13.5)
    return c


def button_frame(width, height):
    """A light, softly shaded button face with a rounded grey border."""
    c = Canvas(width, height, BUTTON_FACE)
    outer = rounded_rect(0, 0, width, height, 3)
    inner = rounded_rect(1, 1, width - 1, height - 1, 2)
    for y in range(height):
        shade = round(252 - 24 * y / (height - 1))
        row = rounded_rect(0, y, width, y + 1, 0)
        c.paint(lambda px, py, row=row: row(px, py) and inner(px, py), (shade, shade, shade))
    c.paint(lambda x, y: outer(x, y) and not inner(x, y), FRAME_GREY)
    return c


def zira_button(pointing_up):
    c = button_frame(26, 20)
    top, bottom = 7.5, 12.5
    tip, ends = (top, bottom) if pointing_up else (bottom, top)
    c.paint(stroke([(8, ends), (13, tip), (18, ends)], 2.2), TEAL_DARK)
    return c


def picker(with_bullseye):
    c = button_frame(26, 26)
    if with_bullseye:
        bullseye(c, 13, 13, 10)
    return c


# --- sounds --------------------------------------------------------------------

RATE = 22050
FADE_S = 0.008


def two_tone(first_hz, second_hz, tone_s=0.09, gap_s=0.015, volume=0.45):
    """Two short gliding tones, each faded in and out so nothing clicks."""
    samples = []
    for start_hz in (first_hz, second_hz):
        end_hz = start_hz * (1.08 if second_hz > first_hz else 0.93)  # glide in the run's direction
        count = round(tone_s * RATE)
        fade = round(FADE_S * RATE)
        phase = 0.0
        for i in range(count):
            hz = start_hz + (end_hz - start_hz) * i / count
            phase += 2 * math.pi * hz / RATE
            envelope = min(1.0, i / fade, (count - 1 - i) / fade)
            value = math.sin(phase) + 0.25 * math.sin(2 * phase)  # a touch of overtone, less beepy
            samples.append(volume / 1.25 * envelope * value)
        samples.extend([0.0] * round(gap_s * RATE))
    return samples


def three_notes(notes_hz, note_s=0.28, volume=0.4):
    """A short three-note figure for the macro recorder, about 0.9 s long."""
    samples = []
    fade = round(FADE_S * RATE)
    for hz in notes_hz:
        count = round(note_s * RATE)
        for i in range(count):
            decay = math.exp(-3.0 * i / count)  # a struck, bell-like note
            envelope = min(1.0, i / fade, (count - 1 - i) / fade) * decay
            phase = 2 * math.pi * hz * i / RATE
            samples.append(volume * envelope * (math.sin(phase) + 0.2 * math.sin(3 * phase)) / 1.2)
        samples.extend([0.0] * round(0.02 * RATE))
    return samples


def write_wav(path, samples):
    with wave.open(str(path), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", round(32767 * v)) for v in samples))


def main():
    (OUT_DIR / "hotfill.ico").write_bytes(icon_file([app_icon(n) for n in (16, 32, 48)]))
    (OUT_DIR / "bullseye.cur").write_bytes(icon_file([cursor_bullseye()], hotspot=(16, 16)))
    (OUT_DIR / "zira_expanded.bmp").write_bytes(bmp24(zira_button(pointing_up=True)))
    (OUT_DIR / "zira_collapsed.bmp").write_bytes(bmp24(zira_button(pointing_up=False)))
    (OUT_DIR / "picker_bullseye.bmp").write_bytes(bmp24(picker(with_bullseye=True)))
    (OUT_DIR / "picker_empty.bmp").write_bytes(bmp24(picker(with_bullseye=False)))
    write_wav(OUT_DIR / "cue_start.wav", two_tone(660, 990))
    write_wav(OUT_DIR / "cue_finish.wav", two_tone(990, 660))
    write_wav(OUT_DIR / "cue_record_start.wav", three_notes((523, 659, 784)))
    write_wav(OUT_DIR / "cue_record_stop.wav", three_notes((784, 659, 523)))


if __name__ == "__main__":
    main()
