"""Runs the real game on a private X server and drives it as a player would: xdotool for keys, the mouse and
the window, openbox as window manager, ImageMagick's `import` for screenshots. The conftest sets the binary."""

import argparse
import ctypes
import io
import os
import re
import signal
import subprocess
import sys
import tempfile
import time
import unittest

from PIL import Image as Picture

SCREEN = (1280, 1024)
WINDOW_TITLE = "Voidskirmish"
_binary = None


def binary():
    return _binary


def main():
    global _binary
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    args, rest = parser.parse_known_args()
    _binary = os.path.abspath(args.binary)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


def _interrupted(*_):
    # An exception the runners pass on (pytest stops and exits 2): SystemExit would count as one failed test
    # and the killed run would go on with the next.
    raise KeyboardInterrupt("terminated")


signal.signal(signal.SIGTERM, _interrupted)


def wait_until(condition, timeout, interval=0.1, what="condition"):
    deadline = time.monotonic() + timeout
    while not (value := condition()):
        if time.monotonic() >= deadline:
            raise TimeoutError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)
    return value


def _die_with_parent():
    ctypes.CDLL(None).prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG: a killed test takes its children along


def start(command, **options):
    return subprocess.Popen(list(map(str, command)), preexec_fn=_die_with_parent, **options)


def stop(process, grace=5.0):
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(grace)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def x_env(display):
    return {**os.environ, "DISPLAY": display}


class Xvfb:
    """A private X server on a display number the server picks itself."""
    def __init__(self, size=SCREEN):
        read_end, write_end = os.pipe()
        self.process = start(["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{size[0]}x{size[1]}x24",
                              "-nolisten", "tcp"], pass_fds=(write_end,), stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as announced:
            self.display = ":" + announced.readline().strip()

    def close(self):
        stop(self.process)


class WindowManager:
    """Openbox: minimising and closing need a window manager."""

    def __init__(self, xvfb):
        self.process = start(["openbox", "--sm-disable"], env=x_env(xvfb.display), stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
        # Openbox names itself on the root window once it manages the screen.
        wait_until(lambda: self.process.poll() is not None or "window id" in subprocess.run(
            ["xprop", "-root", "-display", xvfb.display, "_NET_SUPPORTING_WM_CHECK"], capture_output=True,
            text=True, timeout=10).stdout, 30, what="openbox to manage the screen")
        if self.process.poll() is not None:
            raise RuntimeError(f"openbox ended with {self.process.returncode}")

    def close(self):
        stop(self.process)


class Image:
    """An RGB picture with (0, 0) at the top left."""

    def __init__(self, picture):
        self.picture = picture.convert("RGB")
        self.width, self.height = self.picture.size

    def pixel(self, x, y):
        return self.picture.getpixel((x, y))

    def crop(self, x, y, width, height):
        return Image(self.picture.crop((x, y, x + width, y + height)))

    def fraction_lit(self, threshold=24):
        """Share of pixels whose r + g + b exceeds threshold: 0 for a black picture."""
        return sum(1 for rgb in self.picture.getdata() if sum(rgb) > threshold) / (self.width * self.height)


class Game:
    """The game started with `args` and the given standard input (closed after it) on its own X server, or on a
    lent one (`xvfb`), or on none (display=False). Leaving the `with` block ends whatever still runs."""

    def __init__(self, binary_path=None, stdin="n\n", display=True, cwd=None, env=None, xvfb=None, args=()):
        self.command, self.stdin_text = [os.path.abspath(binary_path or binary()), *args], stdin
        self.cwd, self.extra_env, self.xvfb, self.own_xvfb = cwd, env or {}, xvfb, xvfb is None and display
        self.process, self._window = None, None
        # Files, not pipes: the game never waits for a reader, and the text so far can be read at any time.
        self.streams = {"stdout": tempfile.TemporaryFile(), "stderr": tempfile.TemporaryFile()}

    def __enter__(self):
        try:
            env = dict(os.environ, **self.extra_env)
            env.pop("DISPLAY", None)
            if self.own_xvfb:
                self.xvfb = Xvfb()
            if self.xvfb:
                env["DISPLAY"] = self.xvfb.display
            self.process = start(self.command, stdin=subprocess.PIPE, env=env, cwd=self.cwd, **self.streams)
            try:  # the game may stop reading, e.g. when it ends before the dialogue is through
                data = self.stdin_text
                self.process.stdin.write(data if isinstance(data, bytes) else data.encode())
                self.process.stdin.close()
            except BrokenPipeError:
                pass
        except BaseException:
            self.__exit__()
            raise
        return self

    def __exit__(self, *exc):
        if self.process is not None:
            stop(self.process)
        if self.own_xvfb and self.xvfb:
            self.xvfb.close()

    def text(self, stream):
        descriptor = self.streams[stream].fileno()  # pread leaves the offset the game writes at alone
        return os.pread(descriptor, os.fstat(descriptor).st_size, 0).decode("utf-8", "replace")

    stdout = property(lambda self: self.text("stdout"))
    stderr = property(lambda self: self.text("stderr"))

    def wait_for_output(self, pattern, timeout=60, stream="stdout"):
        return self._wait_for_text(re.compile(pattern).search, timeout, stream, repr(pattern))

    def wait_for_count(self, pattern, count, timeout=60, stream="stdout"):
        regex = re.compile(pattern)
        return self._wait_for_text(lambda text: len(regex.findall(text)) >= count, timeout, stream,
                                   f"{count} times {pattern!r}")

    def _wait_for_text(self, found, timeout, stream, what):
        def check():
            ended = not self.running()
            if not (result := found(self.text(stream))) and ended:
                raise AssertionError(f"the game ended ({self.process.returncode}) without {what} on {stream}:\n"
                                     f"{self.stdout}\nstderr:\n{self.stderr}")
            return result
        return wait_until(check, timeout, 0.05, f"{what} on {stream}")

    def wait_exit(self, timeout=60):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise TimeoutError(f"game still running after {timeout} s; stdout:\n{self.stdout}") from None

    def running(self):
        return self.process.poll() is None

    # --- window ----------------------------------------------------------------------------------------------

    def xdotool(self, *args, check=True):
        result = subprocess.run(["xdotool", *map(str, args)], env=x_env(self.xvfb.display), capture_output=True,
                                text=True, timeout=30)
        if check and result.returncode != 0:
            raise RuntimeError(f"xdotool {' '.join(map(str, args))} failed: {result.stderr.strip()}")
        return result.stdout

    def wait_for_window(self, timeout=90):
        def find():
            if not self.running():
                raise AssertionError(f"game ended with {self.process.returncode} before its window appeared;"
                                     f" stdout:\n{self.stdout}\nstderr:\n{self.stderr}")
            return self.xdotool("search", "--onlyvisible", "--name", f"^{WINDOW_TITLE}$", check=False).split()
        self._window = wait_until(find, timeout, interval=0.2, what="the game window")[0]
        return self._window

    @property
    def window(self):
        return self._window or self.wait_for_window()

    def _xinfo(self, *args):
        return subprocess.run([args[0], "-display", self.xvfb.display, "-id", str(self.window), *args[1:]],
                              capture_output=True, text=True, timeout=30).stdout

    def geometry(self):
        """(x, y, width, height) of the window; xwininfo, as xdotool counts a window manager's frame twice."""
        out = self._xinfo("xwininfo")
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
        """Asks the window manager to close the focused game window, with its own ALT+F4."""
        self.restore()
        self.xdotool("key", "alt+F4")

    def window_state(self):
        """"Normal", or "Iconic" when minimised."""
        match = re.search(r"window state: (\w+)", self._xinfo("xprop", "WM_STATE"))
        return match.group(1) if match else None

    def resident_kib(self):
        """VmRSS; None once the game has ended."""
        try:
            with open(f"/proc/{self.process.pid}/status") as status:
                return int(re.search(r"^VmRSS:\s+(\d+) kB", status.read(), re.M).group(1))
        except (FileNotFoundError, AttributeError):
            return None

    # --- input and pictures ----------------------------------------------------------------------------------

    def key_down(self, *names):
        self.xdotool("keydown", "--window", self.window, *names)

    def key_up(self, *names):
        # The game may already be gone (ESC), together with its window.
        self.xdotool("keyup", "--window", self.window, *names, check=False)

    def quit_with_escape(self, timeout=90):
        """Holds ESC until the game has ended, however slow its frames."""
        self.key_down("Escape")
        try:
            return self.wait_exit(timeout)
        finally:
            self.key_up("Escape")

    def pointer(self):
        values = dict(line.split("=", 1) for line in self.xdotool("getmouselocation", "--shell").split())
        return int(values["X"]), int(values["Y"])

    def screenshot(self, name=None):
        """The game window as an Image (`name` is accepted for older callers and not used)."""
        png = subprocess.run(["import", "-display", self.xvfb.display, "-window", str(self.window), "png:-"],
                             capture_output=True, check=True, timeout=30).stdout
        return Image(Picture.open(io.BytesIO(png)))

    def wait_for_picture(self, condition, timeout=90, name=None):
        def shot():
            image = self.screenshot(name)
            return image if condition(image) else None
        return wait_until(shot, timeout, interval=0.5, what="the expected picture")
