"""Pictures of the screen: the few comparisons the tests need, and PNG copies kept in the
artefacts folder so that a failure can be looked at after the run."""

import os
import re
import struct
import sys
import tempfile
import time
import zlib

from .processes import HarnessError

_artifacts = None


def artifacts_dir():
    """$PLINTOR_E2E_ARTIFACTS, or a folder of its own for this run when that is not set."""
    global _artifacts
    if _artifacts is None:
        path = os.environ.get("PLINTOR_E2E_ARTIFACTS")
        if path:
            os.makedirs(path, exist_ok=True)
            _artifacts = os.path.abspath(path)
        else:
            _artifacts = tempfile.mkdtemp(prefix="plintor-e2e-artifacts-")
    return _artifacts


def near(colour, expected, tolerance=40):
    """Whether two colours agree within tolerance in every channel: anti-aliasing and the
    server's colour depth keep a drawn colour from matching exactly."""
    return all(abs(a - b) <= tolerance for a, b in zip(colour, expected))


class Image:
    """An RGB picture of the screen with the few comparisons the tests need."""

    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data
        self.path = None

    @classmethod
    def from_ppm(cls, raw):
        match = re.match(rb"P6\s+(?:#[^\n]*\n\s*)*(\d+)\s+(\d+)\s+(\d+)\s", raw)
        if not match or int(match.group(3)) != 255:
            raise HarnessError("import did not deliver an 8-bit PPM picture")
        width, height = int(match.group(1)), int(match.group(2))
        data = raw[match.end():match.end() + width * height * 3]
        if len(data) != width * height * 3:
            raise HarnessError("the screenshot is cut short")
        return cls(width, height, data)

    @classmethod
    def from_png(cls, raw):
        """An 8-bit RGB or RGBA PNG, not interlaced (what the kiosk writes), as an RGB picture;
        alpha is dropped, the kiosk's window being opaque."""
        if raw[:8] != b"\x89PNG\r\n\x1a\n":
            raise HarnessError("not a PNG file")
        at, header, packed = 8, None, b""
        while at < len(raw):
            (size,) = struct.unpack(">I", raw[at:at + 4])
            kind, body = raw[at + 4:at + 8], raw[at + 8:at + 8 + size]
            at += 12 + size
            if kind == b"IHDR":
                header = struct.unpack(">IIBBBBB", body)
            elif kind == b"IDAT":
                packed += body
        if header is None or header[2] != 8 or header[3] not in (2, 6) or header[6] != 0:
            raise HarnessError(f"a PNG of a kind the tests do not read: {header}")
        width, height, channels = header[0], header[1], 3 if header[3] == 2 else 4
        rows, stride = zlib.decompress(packed), width * channels
        previous, data = bytearray(stride), bytearray()
        for y in range(height):
            kind, line = rows[y * (stride + 1)], bytearray(rows[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
            for i in range(stride):
                left = line[i - channels] if i >= channels else 0
                up, corner = previous[i], previous[i - channels] if i >= channels else 0
                if kind == 1:
                    line[i] = (line[i] + left) & 0xFF
                elif kind == 2:
                    line[i] = (line[i] + up) & 0xFF
                elif kind == 3:
                    line[i] = (line[i] + (left + up) // 2) & 0xFF
                elif kind == 4:
                    estimate = left + up - corner
                    near_left, near_up, near_corner = abs(estimate - left), abs(estimate - up), abs(estimate - corner)
                    best = left if near_left <= near_up and near_left <= near_corner else up if near_up <= near_corner else corner
                    line[i] = (line[i] + best) & 0xFF
            previous = line
            data += line if channels == 3 else b"".join(line[i:i + 3] for i in range(0, stride, 4))
        return cls(width, height, bytes(data))

    def keep(self, name):
        """Saves the picture as a PNG in the artefacts folder and prints where."""
        safe = re.sub(r"[^A-Za-z0-9_.-]+", "_", name)
        self.path = os.path.join(artifacts_dir(), f"{time.strftime('%H%M%S')}-{safe}.png")
        self.save_png(self.path)
        print(f"  screenshot: {self.path}", file=sys.stderr, flush=True)
        return self

    def save_png(self, path):
        stride = self.width * 3
        rows = b"".join(b"\0" + self.data[y * stride:(y + 1) * stride] for y in range(self.height))

        def chunk(kind, body):
            return (struct.pack(">I", len(body)) + kind + body
                    + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        with open(path, "wb") as out:
            out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                      + chunk(b"IDAT", zlib.compress(rows, 3)) + chunk(b"IEND", b""))

    def pixel(self, x, y):
        offset = (y * self.width + x) * 3
        return tuple(self.data[offset:offset + 3])

    def _clip(self, box):
        left, top, right, bottom = box
        return max(0, left), max(0, top), min(self.width, right), min(self.height, bottom)

    def changed_pixels(self, other, box=None, tolerance=24):
        """How many pixels inside box (left, top, right, bottom) differ from other by more
        than tolerance in some channel."""
        left, top, right, bottom = self._clip(box or (0, 0, self.width, self.height))
        count = 0
        for y in range(top, bottom):
            start = (y * self.width + left) * 3
            end = (y * self.width + right) * 3
            mine, theirs = self.data[start:end], other.data[start:end]
            if mine == theirs:
                continue
            for i in range(0, end - start, 3):
                if (abs(mine[i] - theirs[i]) > tolerance or abs(mine[i + 1] - theirs[i + 1]) > tolerance
                        or abs(mine[i + 2] - theirs[i + 2]) > tolerance):
                    count += 1
        return count

    def varied_rows(self, box, tolerance=16):
        """How many rows inside box hold more than one colour: 0 for an empty stretch of a
        panel, even one with a vertical gradient."""
        left, top, right, bottom = self._clip(box)
        count = 0
        for y in range(top, bottom):
            row = self.data[(y * self.width + left) * 3:(y * self.width + right) * 3]
            first = row[0:3]
            if any(abs(row[i + c] - first[c]) > tolerance for i in range(3, len(row), 3) for c in range(3)):
                count += 1
        return count

    def colour_share(self, colour, box=None, tolerance=24, step=4):
        """The share (0 to 1) of the pixels inside box that show colour, looking at every
        step-th pixel of every step-th row: enough to tell a covered screen from an uncovered one."""
        left, top, right, bottom = self._clip(box or (0, 0, self.width, self.height))
        seen = hits = 0
        for y in range(top, bottom, step):
            for x in range(left, right, step):
                offset = (y * self.width + x) * 3
                seen += 1
                if all(abs(self.data[offset + c] - colour[c]) <= tolerance for c in range(3)):
                    hits += 1
        return hits / seen if seen else 0.0
