"""Coverage masks and a premultiplied RGBA canvas, with analytic anti-aliasing."""

import math


def clamp01(v):
    return 0.0 if v < 0.0 else 1.0 if v > 1.0 else v


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


class Rng:
    """xorshift32, so every run draws the same numbers."""

    def __init__(self, seed):
        self.state = (seed & 0xFFFFFFFF) or 0x9E3779B9

    def next_u32(self):
        x = self.state
        x ^= (x << 13) & 0xFFFFFFFF
        x ^= x >> 17
        x ^= (x << 5) & 0xFFFFFFFF
        self.state = x
        return x

    def uniform(self, lo=0.0, hi=1.0):
        return lo + (hi - lo) * (self.next_u32() / 4294967296.0)


class Mask:
    """Per-pixel coverage 0..1; shapes combine by maximum, so overlaps stay solid."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.data = [0.0] * (w * h)

    def _box(self, x0, y0, x1, y1):
        return (max(0, int(math.floor(x0))), max(0, int(math.floor(y0))),
                min(self.w, int(math.ceil(x1))), min(self.h, int(math.ceil(y1))))

    def capsule(self, x0, y0, x1, y1, r, value=1.0):
        """A round-ended stroke; coverage from the exact distance to the segment."""
        xa, ya, xb, yb = self._box(min(x0, x1) - r - 1, min(y0, y1) - r - 1,
                                   max(x0, x1) + r + 1, max(y0, y1) + r + 1)
        dx, dy = x1 - x0, y1 - y0
        ll = dx * dx + dy * dy
        data, w = self.data, self.w
        for py in range(ya, yb):
            cy = py + 0.5
            base = py * w
            for px in range(xa, xb):
                cx = px + 0.5
                if ll > 0.0:
                    t = ((cx - x0) * dx + (cy - y0) * dy) / ll
                    t = 0.0 if t < 0.0 else 1.0 if t > 1.0 else t
                else:
                    t = 0.0
                ex = cx - x0 - t * dx
                ey = cy - y0 - t * dy
                c = r - math.sqrt(ex * ex + ey * ey) + 0.5
                if c > 0.0:
                    c = (1.0 if c > 1.0 else c) * value
                    if c > data[base + px]:
                        data[base + px] = c

    def disc(self, cx, cy, r, value=1.0):
        self.capsule(cx, cy, cx, cy, r, value)

    def polygon(self, contours, sub=8, value=1.0):
        """Even-odd fill of one or more closed contours: exact across, `sub` samples down."""
        if contours and isinstance(contours[0][0], (int, float)):
            contours = [contours]
        edges = []
        for pts in contours:
            for i, (ax, ay) in enumerate(pts):
                bx, by = pts[(i + 1) % len(pts)]
                if ay != by:
                    edges.append((ax, ay, bx, by))
        ys = [p[1] for c in contours for p in c]
        xs = [p[0] for c in contours for p in c]
        xa, ya, xb, yb = self._box(min(xs), min(ys), max(xs), max(ys))
        w, data = self.w, self.data
        step = 1.0 / sub
        for py in range(ya, yb):
            acc = [0.0] * (w + 1)
            for s in range(sub):
                sy = py + (s + 0.5) * step
                cross = sorted(ax + (sy - ay) * (bx - ax) / (by - ay)
                               for ax, ay, bx, by in edges
                               if (ay <= sy < by) or (by <= sy < ay))
                for k in range(0, len(cross) - 1, 2):
                    a = max(0.0, cross[k])
                    b = min(float(w), cross[k + 1])
                    i = int(a)
                    while i < b:
                        acc[i] += (min(b, i + 1.0) - max(a, float(i))) * step
                        i += 1
            base = py * w
            for px in range(xa, xb):
                c = acc[px]
                if c > 0.0:
                    c = (1.0 if c > 1.0 else c) * value
                    if c > data[base + px]:
                        data[base + px] = c

    def round_rect(self, x0, y0, x1, y1, radius, value=1.0):
        pts = []
        corners = ((x1 - radius, y0 + radius, -90), (x1 - radius, y1 - radius, 0),
                   (x0 + radius, y1 - radius, 90), (x0 + radius, y0 + radius, 180))
        for cx, cy, start in corners:
            for k in range(9):
                a = math.radians(start + k * 90 / 8)
                pts.append((cx + radius * math.cos(a), cy + radius * math.sin(a)))
        self.polygon(pts, 4, value)

    def blurred(self, radius, passes=3):
        """Three box passes approach a Gaussian; only the region the blur can
        reach is worked on, which keeps big pictures quick."""
        w, h = self.w, self.h
        out = Mask(w, h)
        r = int(radius)
        rows = [y for y in range(h) if any(self.data[y * w:(y + 1) * w])]
        if r < 1 or not rows:
            out.data = list(self.data)
            return out
        cols = [x for x in range(w) if any(self.data[x::w])]
        reach = r * passes
        x0, x1 = max(0, cols[0] - reach), min(w, cols[-1] + reach + 1)
        y0, y1 = max(0, rows[0] - reach), min(h, rows[-1] + reach + 1)
        bw = x1 - x0
        block = []
        for y in range(y0, y1):
            block += self.data[y * w + x0:y * w + x1]
        n = 2 * r + 1
        for _ in range(passes):
            for y in range(y1 - y0):
                block[y * bw:(y + 1) * bw] = _box_line(block[y * bw:(y + 1) * bw], r, n)
            for x in range(bw):
                block[x::bw] = _box_line(block[x::bw], r, n)
        for y in range(y0, y1):
            out.data[y * w + x0:y * w + x1] = block[(y - y0) * bw:(y - y0 + 1) * bw]
        return out

    def scaled(self, k):
        out = Mask(self.w, self.h)
        out.data = [v * k for v in self.data]
        return out

    def minus(self, other):
        out = Mask(self.w, self.h)
        out.data = [max(0.0, a - b) for a, b in zip(self.data, other.data)]
        return out

    def times(self, other):
        out = Mask(self.w, self.h)
        out.data = [a * b for a, b in zip(self.data, other.data)]
        return out


def _box_line(line, r, n):
    prefix = [0.0]
    total = 0.0
    for v in line:
        total += v
        prefix.append(total)
    m = len(line)
    return [(prefix[min(m, i + r + 1)] - prefix[max(0, i - r)]) / n for i in range(m)]


class Canvas:
    """Premultiplied RGBA in floats; painting is 'over' compositing."""

    def __init__(self, w, h, background=(0.0, 0.0, 0.0, 0.0)):
        self.w, self.h = w, h
        r, g, b, a = background
        n = w * h
        self.r, self.g, self.b = [r * a] * n, [g * a] * n, [b * a] * n
        self.a = [a] * n

    def paint(self, mask, colour, opacity=1.0):
        """colour: an (r, g, b) tuple or a function of (x, y) giving one."""
        w = self.w
        R, G, B, A = self.r, self.g, self.b, self.a
        fixed = not callable(colour)
        for i, m in enumerate(mask.data):
            if m <= 0.0:
                continue
            s = m * opacity
            if fixed:
                cr, cg, cb = colour
            else:
                cr, cg, cb = colour(i % w, i // w)
            k = 1.0 - s
            R[i] = cr * s + R[i] * k
            G[i] = cg * s + G[i] * k
            B[i] = cb * s + B[i] * k
            A[i] = s + A[i] * k

    def fill(self, colour_at):
        """Paints every pixel opaque with colour_at(x, y)."""
        w = self.w
        for i in range(w * self.h):
            self.r[i], self.g[i], self.b[i] = colour_at(i % w, i // w)
            self.a[i] = 1.0

    def rgba_bytes(self, matte=(0.0, 0.0, 0.0)):
        """Straight-alpha bytes; fully clear pixels take the matte colour, which
        filtering blends in at shape edges."""
        out = bytearray(self.w * self.h * 4)
        mr, mg, mb = (_byte(v) for v in matte)
        for i in range(self.w * self.h):
            a = self.a[i]
            ab = _byte(a)
            j = 4 * i
            if ab == 0:
                out[j:j + 4] = bytes((mr, mg, mb, 0))
            else:
                out[j] = _byte(self.r[i] / a)
                out[j + 1] = _byte(self.g[i] / a)
                out[j + 2] = _byte(self.b[i] / a)
                out[j + 3] = ab
        return bytes(out)

    def rgb_bytes(self):
        """Flattened onto black."""
        out = bytearray(self.w * self.h * 3)
        for i in range(self.w * self.h):
            j = 3 * i
            out[j] = _byte(self.r[i])
            out[j + 1] = _byte(self.g[i])
            out[j + 2] = _byte(self.b[i])
        return bytes(out)


def _byte(v):
    v = int(v * 255.0 + 0.5)
    return 0 if v < 0 else 255 if v > 255 else v
