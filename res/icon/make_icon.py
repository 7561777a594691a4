#!/usr/bin/env python3
"""Draw the Tavrel application icon and write it as a multi-size .ico file.

Usage: python3 res/icon/make_icon.py OUT.ico

The artwork is a single keyboard keycap seen slightly from the front: a dark
amber skirt with a taller front wall, a lighter top face, and a bold
cream lightning bolt as the key legend.  Every size is rendered directly from
signed-distance functions (one sample per pixel, coverage taken from the
distance to the edge), so edges are anti-aliased and small sizes can use their
own pixel-snapped proportions instead of being downscaled.

Only the standard library is used and the output is byte-for-byte
reproducible: no timestamps, no randomness, fixed zlib settings, and the
pixel maths needs nothing beyond basic float arithmetic and sqrt.
"""

import math
import struct
import sys
import zlib

SIZES = (16, 20, 24, 32, 40, 48, 64, 96, 128, 256)

# Palette (sRGB).
ACCENT = (184, 94, 38)          # brand amber: the key's top face
FACE_TOP = (206, 118, 60)       # top of the face gradient, catching the light
SKIRT_BACK = (164, 80, 32)      # key walls: the far one faces the light,
SKIRT_SIDE = (140, 66, 26)      # the sides are in half shade,
SKIRT_FRONT = (118, 55, 22)     # and the tall front wall is darkest
INK = (60, 43, 35)              # dark brown: outline and shadows
PAPER = (255, 254, 252)         # cream legend
RIM = (236, 160, 104)           # highlight along the top edge of the face

# The lightning bolt in a unit box (x right, y down), traced clockwise.
# A flat-topped upper stroke, a notch, and a long tapering lower stroke.
BOLT = (
    (0.44, 0.00), (0.96, 0.00), (0.68, 0.36), (0.96, 0.36),
    (0.28, 1.00), (0.42, 0.56), (0.06, 0.56),
)


# The same bolt redrawn by hand on the pixel grid for the smallest sizes, so
# its flat edges land on pixel boundaries and the strokes stay 2+ px wide.
SMALL_BOLTS = {
    16: ((7, 3), (11.5, 3), (9, 7), (12, 7), (6.5, 13), (7.5, 9), (4.5, 9)),
    20: ((9, 4), (14.5, 4), (11.5, 9), (15, 9), (8, 16.5), (9.5, 11), (5.5, 11)),
    24: ((10.5, 4), (16.5, 4), (13, 10), (18, 10), (9, 20), (11, 13), (6, 13)),
}


# --- signed distance helpers (negative inside, in pixels) -------------------

def sd_round_rect(px, py, x0, y0, x1, y1, r):
    """Distance to an axis-aligned rectangle with corner radius r."""
    cx, cy = (x0 + x1) * 0.5, (y0 + y1) * 0.5
    qx = abs(px - cx) - ((x1 - x0) * 0.5 - r)
    qy = abs(py - cy) - ((y1 - y0) * 0.5 - r)
    if qx > 0.0 and qy > 0.0:
        return math.sqrt(qx * qx + qy * qy) - r
    return max(qx, qy) - r


def sd_polygon(px, py, pts):
    """Exact distance to a simple polygon (even-odd inside test)."""
    best = float("inf")
    inside = False
    n = len(pts)
    ax, ay = pts[n - 1]
    for bx, by in pts:
        ex, ey = ax - bx, ay - by
        wx, wy = px - bx, py - by
        t = (wx * ex + wy * ey) / (ex * ex + ey * ey)
        t = 0.0 if t < 0.0 else 1.0 if t > 1.0 else t
        dx, dy = wx - ex * t, wy - ey * t
        d = dx * dx + dy * dy
        if d < best:
            best = d
        if (by > py) != (ay > py) and px < bx + (py - by) * ex / ey:
            inside = not inside
        ax, ay = bx, by
    d = math.sqrt(best)
    return -d if inside else d


def coverage(d):
    """Fraction of a pixel covered by a shape whose edge is d pixels away."""
    c = 0.5 - d
    return 0.0 if c <= 0.0 else 1.0 if c >= 1.0 else c


def mix(a, b, t):
    return (a[0] + (b[0] - a[0]) * t,
            a[1] + (b[1] - a[1]) * t,
            a[2] + (b[2] - a[2]) * t)


# --- layout -----------------------------------------------------------------

class Layout:
    """Pixel geometry for one icon size.

    Proportions are defined on a 256 px canvas; the edges of the key are
    snapped to whole pixels so small sizes stay sharp, and strokes never get
    thinner than one pixel.
    """

    def __init__(self, s):
        k = s / 256.0
        self.small = s <= 24

        # Outer edge of the key: square, centred, nudged up when there is
        # room for a drop shadow underneath.
        pad = max(1, round(12 * k))
        lift = round(4 * k) if s >= 48 else 0
        self.key = (pad, pad - lift, s - pad, s - pad - lift)
        self.key_r = 46 * k + (0.5 if self.small else 0.0)

        # Thin ink outline keeps the silhouette readable on any background.
        # Up to 48 px it is softened towards the wall colour so it does not
        # overpower the tiny key.
        self.outline = 0.0 if self.small else max(1.0, round(4 * k))
        self.outline_color = INK if s > 48 else mix(INK, SKIRT_FRONT, 0.35)

        # Top face: inset a little on the sides and top, a lot at the front,
        # which is what makes it read as a key rather than a button.
        x0, y0, x1, y1 = self.key
        side = max(1, round(20 * k))
        top = max(1, round(12 * k))
        front = max(2, round(44 * k))
        if self.small:
            side, top, front = 1, 1, round(36 * k)
        self.face = (x0 + side, y0 + top, x1 - side, y1 - front)
        self.face_r = max(1.0, self.key_r - side * 0.8)

        # Light rim along the top of the face (large sizes only).
        self.rim = 3 * k if s >= 40 else 0.0

        # Soft shadow below the key.
        self.shadow = (4 * k, 8 * k) if s >= 48 else None

        # Bolt: fills most of the face height, centred on the face.  Small
        # sizes take a bigger share so the stroke stays at least ~2 px wide.
        fx0, fy0, fx1, fy1 = self.face
        fh = fy1 - fy0
        bh = fh * (0.86 if s <= 40 else 0.80)
        bw = bh * 0.74
        bx = (fx0 + fx1) * 0.5 - bw * 0.5
        by = (fy0 + fy1) * 0.5 - bh * 0.5
        self.bolt = [(bx + u * bw, by + v * bh) for u, v in BOLT]
        snap = s < 64
        if snap:
            # Flat edges on whole pixels (the diagonals anti-alias anyway).
            self.bolt = [(x, round(y)) for x, y in self.bolt]
        if s in SMALL_BOLTS:
            self.bolt = SMALL_BOLTS[s]
            xs = [x for x, _ in self.bolt]
            ys = [y for _, y in self.bolt]
            bx, by, bw, bh = min(xs), min(ys), max(xs) - min(xs), max(ys) - min(ys)
        self.bolt_round = 0.0 if snap else 3 * k
        self.bolt_drop = 0.0 if s < 32 else max(1.0, 3 * k)
        self.bolt_box = (bx - 2, by - 2, bx + bw + 2, by + bh + 2 + self.bolt_drop)


# --- rendering --------------------------------------------------------------

def over(dst, color, alpha):
    """Composite a colour with the given alpha over a premultiplied pixel."""
    if alpha <= 0.0:
        return dst
    r, g, b, a = dst
    keep = 1.0 - alpha
    return (color[0] * alpha + r * keep,
            color[1] * alpha + g * keep,
            color[2] * alpha + b * keep,
            alpha + a * keep)


def skirt_color(L, px, py):
    """Colour of the key's walls: each pixel belongs mostly to the wall it is
    relatively closest to, blended softly so the mitred seams stay smooth."""
    x0, y0, x1, y1 = L.key
    fx0, fy0, fx1, fy1 = L.face
    # The front wall deepens a little towards its bottom edge.
    depth = min(1.0, max(0.0, (py - fy1) / (y1 - fy1)))
    walls = (
        ((px - x0) / (fx0 - x0), SKIRT_SIDE),
        ((x1 - px) / (x1 - fx1), SKIRT_SIDE),
        ((py - y0) / (fy0 - y0), SKIRT_BACK),
        ((y1 - py) / (y1 - fy1), mix(SKIRT_FRONT, INK, 0.3 * depth)),
    )
    total = r = g = b = 0.0
    for u, c in walls:
        # Steep falloff, w = (1 + u)^-12, in plain arithmetic so it rounds
        # identically everywhere.
        q = 1.0 / (1.0 + max(u, 0.0))
        q *= q
        q *= q
        w = q * q * q
        total += w
        r += c[0] * w
        g += c[1] * w
        b += c[2] * w
    return (r / total, g / total, b / total)


def shade_pixel(L, px, py):
    """Premultiplied RGBA (0..255 colour, 0..1 alpha) at pixel centre px, py."""
    x0, y0, x1, y1 = L.key
    fx0, fy0, fx1, fy1 = L.face
    out = (0.0, 0.0, 0.0, 0.0)

    d_key = sd_round_rect(px, py, x0, y0, x1, y1, L.key_r)

    # Drop shadow: the key outline blurred and pushed down.
    if L.shadow:
        off, blur = L.shadow
        d = sd_round_rect(px, py - off, x0, y0, x1, y1, L.key_r)
        t = min(1.0, max(0.0, (d + blur * 0.3) / blur))
        out = over(out, INK, 0.38 * (1.0 - t) * (1.0 - t))

    if d_key > 0.5:
        return out

    # Outline, then the four walls of the key inside it.
    out = over(out, L.outline_color, coverage(d_key))
    out = over(out, skirt_color(L, px, py), coverage(d_key + L.outline))

    # Top face with a vertical gradient from a lit top edge into the accent.
    d_face = sd_round_rect(px, py, fx0, fy0, fx1, fy1, L.face_r)
    if d_face > 0.5:
        return out
    t = min(1.0, max(0.0, (py - fy0) / (fy1 - fy0)))
    out = over(out, mix(FACE_TOP, ACCENT, t), coverage(d_face))

    # Rim light: the part of the face not covered by a copy moved down.
    if L.rim:
        d_low = sd_round_rect(px, py - L.rim, fx0, fy0, fx1, fy1, L.face_r)
        rim = coverage(d_face) - coverage(d_low)
        if rim > 0.0:
            out = over(out, RIM, 0.75 * rim)

    # The legend: a cream bolt with a short ink shadow for depth.
    bx0, by0, bx1, by1 = L.bolt_box
    if bx0 <= px <= bx1 and by0 <= py <= by1:
        if L.bolt_drop:
            d = sd_polygon(px, py - L.bolt_drop, L.bolt) - L.bolt_round
            out = over(out, INK, 0.45 * coverage(d))
        d = sd_polygon(px, py, L.bolt) - L.bolt_round
        out = over(out, PAPER, coverage(d))
    return out


def render(s):
    """Render one size; returns straight (non-premultiplied) RGBA bytes."""
    L = Layout(s)
    buf = bytearray(s * s * 4)
    i = 0
    for y in range(s):
        py = y + 0.5
        for x in range(s):
            r, g, b, a = shade_pixel(L, x + 0.5, py)
            if a > 0.0:
                alpha = min(255, int(a * 255.0 + 0.5))
                if alpha:
                    buf[i] = min(255, int(r / a + 0.5))
                    buf[i + 1] = min(255, int(g / a + 0.5))
                    buf[i + 2] = min(255, int(b / a + 0.5))
                    buf[i + 3] = alpha
            i += 4
    return bytes(buf)


# --- file formats -----------------------------------------------------------

def png_chunk(tag, data):
    body = tag + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def encode_png(s, rgba):
    """Encode RGBA pixels as a PNG, choosing the smaller of the None/Up filters."""
    stride = s * 4
    rows = []
    prev = bytes(stride)
    for y in range(s):
        row = rgba[y * stride:(y + 1) * stride]
        up = bytes((c - p) & 0xFF for c, p in zip(row, prev))
        score_none = sum(v if v < 128 else 256 - v for v in row)
        score_up = sum(v if v < 128 else 256 - v for v in up)
        rows.append(b"\x02" + up if score_up < score_none else b"\x00" + row)
        prev = row
    ihdr = struct.pack(">IIBBBBB", s, s, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n"
            + png_chunk(b"IHDR", ihdr)
            + png_chunk(b"IDAT", zlib.compress(b"".join(rows), 9))
            + png_chunk(b"IEND", b""))


def encode_ico(images):
    """Pack (size, png_bytes) pairs into an .ico container."""
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries, blobs = [], []
    for s, png in images:
        dim = 0 if s >= 256 else s
        entries.append(struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32,
                                   len(png), offset))
        blobs.append(png)
        offset += len(png)
    return header + b"".join(entries) + b"".join(blobs)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: make_icon.py OUT.ico\n")
        return 2
    images = [(s, encode_png(s, render(s))) for s in SIZES]
    with open(argv[1], "wb") as f:
        f.write(encode_ico(images))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
