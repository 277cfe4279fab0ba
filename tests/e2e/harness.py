"""Drives the real game binary on a private X server, the way a player at the keyboard would.

Standard library only, plus Xvfb, xdotool, xwd, xwininfo and xprop (and openbox where a test needs a window
manager). A test script is run as `python3 tests/e2e/test_x.py --binary build/voidskirmish` from the repository root:

    class WindowTest(unittest.TestCase):
        def test_escape_ends_the_game(self):
            with Game(harness.binary(), stdin="n\\n") as game:
                game.wait_for_window()
                self.assertEqual(game.quit_with_escape(), 0)

    if __name__ == "__main__":
        harness.main()

Screenshots are written under $VOIDSKIRMISH_SCREENSHOTS (default /tmp/voidskirmish-e2e).
"""

import argparse
import ctypes
import os
import re
import signal
import struct
import subprocess
import sys
import tempfile
import threading
import time
import unittest
import zlib

SCREEN = (1280, 1024)
WINDOW_TITLE = "Voidskirmish"
_binary = None


def binary():
    """Path of the game binary given on the command line."""
    return _binary


def main():
    """Parses --binary and runs the unittest cases of the calling script."""
    global _binary
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    args, rest = parser.parse_known_args()
    _binary = os.path.abspath(args.binary)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


def screenshot_dir():
    path = os.environ.get("VOIDSKIRMISH_SCREENSHOTS", os.path.join(tempfile.gettempdir(), "voidskirmish-e2e"))
    os.makedirs(path, exist_ok=True)
    return path


def wait_until(condition, timeout, interval=0.1, what="condition"):
    """Polls condition() until it returns something true; returns that value or raises TimeoutError."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise TimeoutError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


def _die_with_parent():
    """Runs in each child before exec: if the test process is killed (e.g. by a timeout), so is the child."""
    ctypes.CDLL(None).prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG


def _stop(process, grace=5.0):
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(grace)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


class Xvfb:
    """A private X server on a free display number, chosen by the server itself."""

    def __init__(self, size=SCREEN):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{size[0]}x{size[1]}x24", "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            preexec_fn=_die_with_parent)
        os.close(write_end)
        try:
            with os.fdopen(read_end) as announced:
                number = announced.readline().strip()
            if not number:
                raise RuntimeError("Xvfb did not start")
        except BaseException:
            self.close()
            raise
        self.display = f":{number}"

    def close(self):
        _stop(self.process)


class WindowManager:
    """Openbox on the given X server: minimising and the close button need a window manager."""

    def __init__(self, xvfb):
        self.display = xvfb.display
        self.process = subprocess.Popen(["openbox", "--sm-disable"], env={**os.environ, "DISPLAY": self.display},
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                        preexec_fn=_die_with_parent)
        # Openbox names itself on the root window once it manages the screen.
        wait_until(lambda: self.process.poll() is not None or _root_property(self.display, "_NET_SUPPORTING_WM_CHECK"),
                   30, what="openbox to manage the screen")
        if self.process.poll() is not None:
            raise RuntimeError(f"openbox ended with {self.process.returncode}")

    def close(self):
        _stop(self.process)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


def _root_property(display, name):
    result = subprocess.run(["xprop", "-root", "-display", display, name], capture_output=True, text=True,
                            timeout=10)
    return result.returncode == 0 and "not found" not in result.stdout and "no such atom" not in result.stdout


class _XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class _XEvent(ctypes.Union):
    _fields_ = [("xclient", _XClientMessageEvent), ("pad", ctypes.c_long * 24)]


def send_root_message(display, window, message_type, *data):
    """Sends an EWMH request about `window` to the window manager, as pagers and wmctrl do."""
    xlib = ctypes.CDLL("libX11.so.6")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XDefaultRootWindow.restype = ctypes.c_ulong
    xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    xlib.XInternAtom.restype = ctypes.c_ulong
    xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    xlib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                ctypes.POINTER(_XEvent)]
    xlib.XFlush.argtypes = xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
    connection = xlib.XOpenDisplay(display.encode())
    if not connection:
        raise RuntimeError(f"cannot open display {display}")
    try:
        event = _XEvent()
        message = event.xclient
        message.type, message.send_event, message.format = 33, 1, 32  # ClientMessage
        message.window = int(window)
        message.message_type = xlib.XInternAtom(connection, message_type.encode(), 0)
        for index, value in enumerate(data):
            message.data[index] = value
        substructure_masks = (1 << 19) | (1 << 20)  # SubstructureNotify | SubstructureRedirect
        xlib.XSendEvent(connection, xlib.XDefaultRootWindow(connection), 0, substructure_masks, ctypes.byref(event))
        xlib.XFlush(connection)
    finally:
        xlib.XCloseDisplay(connection)


class Image:
    """An RGB picture with its top-left pixel at (0, 0)."""

    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, bytes(rgb)

    @classmethod
    def from_xwd(cls, data):
        (header_size, _version, _format, _depth, width, height, _xoffset, byte_order, _unit, _bit_order, _pad,
         bits_per_pixel, bytes_per_line, _visual, red_mask, green_mask, blue_mask, _bits_per_rgb, _entries,
         colours) = struct.unpack(">20I", data[:80])
        pixels = data[header_size + 12 * colours:]
        step = bits_per_pixel // 8
        if step not in (3, 4):
            raise ValueError(f"unsupported xwd pixel size {bits_per_pixel}")
        endian = "little" if byte_order == 0 else "big"
        shifts = [(mask & -mask).bit_length() - 1 for mask in (red_mask, green_mask, blue_mask)]
        rgb = bytearray(width * height * 3)
        if endian == "little" and shifts == [16, 8, 0]:
            # The usual BGR(X) layouts, 24 bits a pixel while a GL window is shown, else 32: slice whole rows.
            for y in range(height):
                row = pixels[y * bytes_per_line:y * bytes_per_line + width * step]
                out = y * width * 3
                for channel, offset in ((0, 2), (1, 1), (2, 0)):
                    rgb[out + channel:out + width * 3:3] = row[offset::step]
        else:
            for y in range(height):
                for x in range(width):
                    start = y * bytes_per_line + x * step
                    value = int.from_bytes(pixels[start:start + step], endian)
                    for channel, shift in enumerate(shifts):
                        rgb[(y * width + x) * 3 + channel] = (value >> shift) & 0xFF
        return cls(width, height, rgb)

    def pixel(self, x, y):
        start = (y * self.width + x) * 3
        return tuple(self.rgb[start:start + 3])

    def crop(self, x, y, width, height):
        x, y = max(0, x), max(0, y)
        width, height = min(width, self.width - x), min(height, self.height - y)
        rows = (self.rgb[((y + row) * self.width + x) * 3:((y + row) * self.width + x + width) * 3]
                for row in range(height))
        return Image(width, height, b"".join(rows))

    def mean(self):
        """Average (r, g, b) over the whole picture."""
        count = self.width * self.height
        return tuple(sum(self.rgb[channel::3]) / count for channel in range(3))

    def fraction_lit(self, threshold=24):
        """Share of pixels whose r + g + b exceeds threshold: 0 for a black picture."""
        channels = (self.rgb[0::3], self.rgb[1::3], self.rgb[2::3])
        lit = sum(1 for r, g, b in zip(*channels) if r + g + b > threshold)
        return lit / (self.width * self.height)

    def mean_difference(self, other):
        """Mean absolute difference per channel value between two pictures of the same size."""
        if (self.width, self.height) != (other.width, other.height):
            raise ValueError("pictures differ in size")
        return sum(abs(a - b) for a, b in zip(self.rgb, other.rgb)) / len(self.rgb)

    def pixels(self):
        """The (r, g, b) tuples row by row."""
        return zip(self.rgb[0::3], self.rgb[1::3], self.rgb[2::3])

    def count(self, predicate):
        """Number of pixels whose (r, g, b) satisfies predicate."""
        return sum(1 for rgb in self.pixels() if predicate(rgb))

    def changed_fraction(self, other, threshold=48):
        """Share of pixels where some channel differs from `other` by more than threshold: unlike the mean
        difference it ignores faint noise and counts what visibly moved."""
        if (self.width, self.height) != (other.width, other.height):
            raise ValueError("pictures differ in size")
        changed = sum(1 for (r, g, b), (r2, g2, b2) in zip(self.pixels(), other.pixels())
                      if abs(r - r2) > threshold or abs(g - g2) > threshold or abs(b - b2) > threshold)
        return changed / (self.width * self.height)

    def save_png(self, path):
        def chunk(kind, payload):
            return (struct.pack(">I", len(payload)) + kind + payload
                    + struct.pack(">I", zlib.crc32(kind + payload) & 0xFFFFFFFF))
        stride = self.width * 3
        raw = b"".join(b"\0" + self.rgb[y * stride:(y + 1) * stride] for y in range(self.height))
        with open(path, "wb") as png:
            png.write(b"\x89PNG\r\n\x1a\n")
            png.write(chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)))
            png.write(chunk(b"IDAT", zlib.compress(raw, 6)))
            png.write(chunk(b"IEND", b""))
        return path


class _StreamReader(threading.Thread):
    """Collects one output stream of the game as it arrives, so tests can wait for text."""

    def __init__(self, stream, changed):
        super().__init__(daemon=True)
        self.stream, self.changed, self.chunks = stream, changed, []

    def run(self):
        while True:
            data = os.read(self.stream.fileno(), 4096)
            if not data:
                break
            with self.changed:
                self.chunks.append(data)
                self.changed.notify_all()
        with self.changed:
            self.changed.notify_all()

    def text(self):
        return b"".join(self.chunks).decode("utf-8", "replace")


class Game:
    """The game binary started with the given standard input on its own X server (display=False: none).

    Standard input (text or bytes) is closed after `stdin`, so the game sees it end there. `cwd` is the working
    directory the game reads its run-time files from (default: the current one), `env` adds variables, and
    `xvfb` lends an X server that outlives the game (many short runs need not start one each). Leaving the
    `with` block kills whatever still runs, the game first and then its own X server.
    """

    def __init__(self, binary_path=None, stdin="n\n", display=True, screen=SCREEN, cwd=None, env=None, xvfb=None):
        self.binary_path = binary_path or binary()
        self.stdin_text, self.use_display, self.screen = stdin, display, screen
        self.cwd, self.extra_env, self.shared_xvfb = cwd, env or {}, xvfb
        self.xvfb = self.process = self._window = None
        self._changed = threading.Condition()
        self._readers = {}

    def __enter__(self):
        try:
            self.start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()

    def start(self):
        env = dict(os.environ)
        env.pop("DISPLAY", None)
        env.update(self.extra_env)
        if self.shared_xvfb is not None:
            self.xvfb = self.shared_xvfb
            env["DISPLAY"] = self.xvfb.display
        elif self.use_display:
            self.xvfb = Xvfb(self.screen)
            env["DISPLAY"] = self.xvfb.display
        self.process = subprocess.Popen([self.binary_path], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=subprocess.PIPE, env=env, cwd=self.cwd, preexec_fn=_die_with_parent)
        for name in ("stdout", "stderr"):
            self._readers[name] = _StreamReader(getattr(self.process, name), self._changed)
            self._readers[name].start()
        try:
            data = self.stdin_text
            self.process.stdin.write(data if isinstance(data, bytes) else data.encode())
            self.process.stdin.close()
        except BrokenPipeError:
            pass  # the game stopped reading, e.g. it ended before the dialogue was through

    def close(self):
        if self.process is not None:
            _stop(self.process)
            for reader in self._readers.values():
                reader.join(5)
                reader.stream.close()
        if self.xvfb is not None and self.xvfb is not self.shared_xvfb:
            self.xvfb.close()

    # --- console ---------------------------------------------------------------------------------------------

    @property
    def stdout(self):
        return self._readers["stdout"].text()

    @property
    def stderr(self):
        return self._readers["stderr"].text()

    def wait_for_output(self, pattern, timeout=60, stream="stdout"):
        """Waits until the stream so far matches the regular expression; returns the match."""
        return self._wait_for_text(re.compile(pattern).search, timeout, stream, repr(pattern))

    def wait_for_count(self, pattern, count, timeout=60, stream="stdout"):
        """Waits until the regular expression has matched `count` times on the stream so far."""
        regex = re.compile(pattern)
        return self._wait_for_text(lambda text: len(regex.findall(text)) >= count, timeout, stream,
                                   f"{count} times {pattern!r}")

    def _wait_for_text(self, found, timeout, stream, what):
        deadline = time.monotonic() + timeout
        reader = self._readers[stream]
        with self._changed:
            while True:
                result = found(reader.text())
                if result:
                    return result
                remaining = deadline - time.monotonic()
                if remaining <= 0 or (not reader.is_alive() and self.process.poll() is not None):
                    raise TimeoutError(f"no {what} on {stream} after {timeout} s; it had:\n{reader.text()}"
                                       f"\nexit code {self.process.poll()}; stderr:\n{self.stderr}")
                self._changed.wait(min(remaining, 0.5))

    def wait_exit(self, timeout=60):
        """Waits for the game to end and returns its exit code (255 for exit(-1))."""
        try:
            code = self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise TimeoutError(f"game still running after {timeout} s; stdout:\n{self.stdout}") from None
        for reader in self._readers.values():
            reader.join(5)
        return code

    def running(self):
        return self.process.poll() is None

    # --- window ----------------------------------------------------------------------------------------------

    def xdotool(self, *args, check=True, timeout=30):
        result = subprocess.run(["xdotool", *map(str, args)], env={**os.environ, "DISPLAY": self.xvfb.display},
                                capture_output=True, text=True, timeout=timeout)
        if check and result.returncode != 0:
            raise RuntimeError(f"xdotool {' '.join(map(str, args))} failed: {result.stderr.strip()}")
        return result.stdout

    def wait_for_window(self, timeout=90):
        """Waits until the game's window is shown; returns its X id. Fails at once if the game ends first."""
        def find():
            if not self.running():
                raise AssertionError(f"game ended with {self.process.returncode} before its window appeared;"
                                     f" stdout:\n{self.stdout}\nstderr:\n{self.stderr}")
            ids = self.xdotool("search", "--onlyvisible", "--name", f"^{WINDOW_TITLE}$", check=False).split()
            return ids[0] if ids else None
        self._window = wait_until(find, timeout, interval=0.2, what="the game window")
        return self._window

    @property
    def window(self):
        return self._window or self.wait_for_window()

    def geometry(self):
        """(x, y, width, height) of the game window on the screen."""
        # xwininfo, not xdotool: under a window manager xdotool counts the frame's offset twice.
        out = subprocess.run(["xwininfo", "-display", self.xvfb.display, "-id", str(self.window)],
                             capture_output=True, text=True, check=True, timeout=30).stdout
        keys = ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")
        return tuple(int(re.search(rf"{key}:\s+(-?\d+)", out).group(1)) for key in keys)

    def resize(self, width, height):
        self.xdotool("windowsize", "--sync", self.window, width, height)

    # The next three need a WindowManager on the game's X server.
    def minimise(self):
        self.xdotool("windowminimize", "--sync", self.window)

    def restore(self):
        self.xdotool("windowactivate", "--sync", self.window)

    def close_window(self):
        """Clicks the title bar's close button, in effect: asks the window manager to close the window."""
        send_root_message(self.xvfb.display, self.window, "_NET_CLOSE_WINDOW", 0, 2)  # 2: a user's request

    def window_state(self):
        """The window's ICCCM state: "Normal" or "Iconic" (minimised)."""
        out = subprocess.run(["xprop", "-display", self.xvfb.display, "-id", str(self.window), "WM_STATE"],
                             capture_output=True, text=True, timeout=10).stdout
        match = re.search(r"window state: (\w+)", out)
        return match.group(1) if match else None

    def resident_kib(self):
        """The game's resident memory (VmRSS) in KiB; None once it has ended."""
        try:
            with open(f"/proc/{self.process.pid}/status") as status:
                match = re.search(r"^VmRSS:\s+(\d+) kB", status.read(), re.M)
        except FileNotFoundError:
            return None
        return int(match.group(1)) if match else None

    # --- input -----------------------------------------------------------------------------------------------

    def key(self, name):
        """Press and release at once: both may land in one frame, so prefer hold() for anything polled."""
        self.xdotool("key", "--window", self.window, name)

    def hold(self, name, seconds):
        """Keeps the key down for the given time; a few frames at llvmpipe speed need seconds."""
        self.key_down(name)
        try:
            time.sleep(seconds)
        finally:
            self.key_up(name)

    def key_down(self, name):
        self.xdotool("keydown", "--window", self.window, name)

    def key_up(self, name):
        # The game may already be gone (ESC), together with its window.
        self.xdotool("keyup", "--window", self.window, name, check=False)

    def quit_with_escape(self, timeout=90):
        """Holds ESC until the game has ended, however slow its frames; returns the exit code."""
        self.key_down("Escape")
        try:
            return self.wait_exit(timeout)
        finally:
            self.key_up("Escape")

    def move_mouse(self, x, y):
        """Moves the pointer to (x, y) inside the game window."""
        self.xdotool("mousemove", "--window", self.window, x, y)

    def click(self, button=1):
        self.xdotool("click", "--window", self.window, button)

    def pointer(self):
        """(x, y) of the pointer on the screen."""
        values = dict(line.split("=", 1) for line in self.xdotool("getmouselocation", "--shell").split())
        return int(values["X"]), int(values["Y"])

    def steer_with_mouse(self, dx, dy=0, timeout=60):
        """With mouse steering on (P), moves the pointer dx, dy from the window centre and waits until the game
        has turned the ship and put the pointer back. GLFW drops a report equal to the last one it passed on,
        so two moves in a row need different offsets (e.g. 392 then 393)."""
        x, y, width, height = self.geometry()
        centre = (x + width // 2, y + height // 2)
        self.move_mouse(width // 2 + dx, height // 2 + dy)
        wait_until(lambda: self.pointer() == centre, timeout, what="the game to re-centre the pointer")

    # --- pictures --------------------------------------------------------------------------------------------

    def screenshot(self, name=None, window_only=True):
        """The screen (or only the game window) as an Image; with a name it is also saved as a PNG."""
        dump = subprocess.run(["xwd", "-root", "-silent", "-display", self.xvfb.display],
                              capture_output=True, check=True, timeout=30).stdout
        image = Image.from_xwd(dump)
        if window_only:
            image = image.crop(*self.geometry())
        if name:
            image.save_png(os.path.join(screenshot_dir(), f"{name}.png"))
        return image

    def screenshot_burst(self, seconds):
        """Screenshots taken back to back for the given time, to catch short events (a beam lives half a second)."""
        shots, end = [], time.monotonic() + seconds
        while time.monotonic() < end:
            shots.append(self.screenshot())
        return shots

    def wait_for_picture(self, condition, timeout=90, name=None):
        """Takes screenshots until condition(image) holds (frames are slow); returns that image."""
        def shot():
            image = self.screenshot(name)
            return image if condition(image) else None
        return wait_until(shot, timeout, interval=0.5, what="the expected picture")

    def wait_for_still_picture(self, threshold=0.015, timeout=60, name=None):
        """Takes screenshots until three in a row differ pairwise in less than `threshold` of their pixels (see
        Image.changed_fraction): whatever was set going has been drawn and has come to rest, even if one frame
        outlasts two screenshots. Returns the last picture."""
        previous, calm = [self.screenshot()], [0]

        def settled(image):
            calm[0] = calm[0] + 1 if image.changed_fraction(previous[0]) < threshold else 0
            previous[0] = image
            return calm[0] >= 2
        return self.wait_for_picture(settled, timeout, name)


signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))  # CTest's timeout still runs the clean-up
