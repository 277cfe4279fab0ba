"""Runs the real game on a private X server and drives it as a player would: xdotool for keys, the mouse and
the window, openbox as window manager. The conftest sets the binary."""

import contextlib
import ctypes
import os
import re
import signal
import subprocess
import tempfile
import time

binary = None


def _interrupted(*_):
    # An exception the runners pass on (pytest stops and exits 2): SystemExit would count as one failed test
    # and the killed run would go on with the next.
    raise KeyboardInterrupt("terminated")


signal.signal(signal.SIGTERM, _interrupted)


def wait_until(condition, timeout, what, interval=0.1):
    deadline = time.monotonic() + timeout
    while not (value := condition()):
        if time.monotonic() >= deadline:
            raise TimeoutError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)
    return value


def die_with_parent():
    ctypes.CDLL(None).prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG: a killed test takes its children along


def stop(process):
    """SIGTERM first, so that an X server removes its lock files."""
    process.terminate()  # nothing when it has ended
    try:
        process.wait(5)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


@contextlib.contextmanager
def running(command, **options):
    process = subprocess.Popen(list(map(str, command)), preexec_fn=die_with_parent, **options)
    try:
        yield process
    finally:
        stop(process)


@contextlib.contextmanager
def xvfb():
    """A private X server on a display number it picks itself; yields the display name."""
    read_end, write_end = os.pipe()
    with running(["Xvfb", "-displayfd", write_end, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                 pass_fds=(write_end,), stderr=subprocess.DEVNULL):
        os.close(write_end)
        with os.fdopen(read_end) as announced:
            display = ":" + announced.readline().strip()
        # Xvfb resets when its last client leaves, and a game connecting during the reset cannot open the display:
        # one client that stays connected keeps it from resetting.
        with running(["xprop", "-display", display, "-root", "-spy"], stdout=subprocess.DEVNULL,
                     stderr=subprocess.DEVNULL):
            yield display


@contextlib.contextmanager
def window_manager(display):
    """Openbox: minimising and closing need a window manager."""
    with running(["openbox", "--sm-disable"], env={**os.environ, "DISPLAY": display}, stdout=subprocess.DEVNULL,
                 stderr=subprocess.DEVNULL) as openbox:
        # Openbox names itself on the root window once it manages the screen.
        wait_until(lambda: openbox.poll() is not None or "window id" in subprocess.run(
            ["xprop", "-root", "-display", display, "_NET_SUPPORTING_WM_CHECK"], capture_output=True,
            text=True, timeout=10).stdout, 30, "openbox to manage the screen")
        assert openbox.poll() is None, f"openbox ended with {openbox.returncode}"
        try:
            yield
        finally:
            stop(openbox)
            # Openbox leaves its check window's name on the root window; GLFW 3.3.8 then fails an assertion at
            # start (a stale window manager is outside these tests), so the server gets back its state before it.
            subprocess.run(["xprop", "-root", "-display", display, "-remove", "_NET_SUPPORTING_WM_CHECK"],
                           capture_output=True, timeout=10)


class Game:
    """The game started with `args` on the X server `display` (None: no display), given `stdin` and then the end of
    its input. Leaving the `with` block ends it if it still runs."""

    def __init__(self, display, stdin="n\n", cwd=None, env=None, args=()):
        self.display, self.cwd, self._window = display, cwd, None
        # No sound device is looked for unless a test names one: OpenAL's null output plays into nothing.
        environment = {"ALSOFT_DRIVERS": "null", **{key: value for key, value in os.environ.items() if key != "DISPLAY"}}
        # Never the player's own settings: the game looks in the test's folder (or an empty one) instead.
        self._config = tempfile.TemporaryDirectory()
        environment["XDG_CONFIG_HOME"] = str(cwd or self._config.name)
        environment.update(env or {}, **({"DISPLAY": display} if display else {}))
        # Files, not pipes: the game never waits for a reader, and the text so far can be read at any time.
        self.streams = {"stdout": tempfile.TemporaryFile(), "stderr": tempfile.TemporaryFile()}
        self.process = subprocess.Popen([binary, *map(str, args)], stdin=subprocess.PIPE, env=environment, cwd=cwd,
                                        preexec_fn=die_with_parent, **self.streams)
        try:  # the game may stop reading, e.g. when it ends before the dialogue is through
            self.process.stdin.write(stdin if isinstance(stdin, bytes) else stdin.encode())
            self.process.stdin.close()
        except BrokenPipeError:
            pass

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        stop(self.process)

    def text(self, stream):
        """The text so far; bytes that are no UTF-8 come back as surrogates, so equal texts are equal bytes."""
        descriptor = self.streams[stream].fileno()  # pread leaves the offset the game writes at alone
        return os.pread(descriptor, os.fstat(descriptor).st_size, 0).decode("utf-8", "surrogateescape")

    stdout = property(lambda self: self.text("stdout"))
    stderr = property(lambda self: self.text("stderr"))

    def wait_for_output(self, pattern, count=1, timeout=120):
        """Waits until standard output holds `pattern` `count` times in all."""
        def seen():
            ended = self.process.poll() is not None
            found = len(re.findall(pattern, self.stdout)) >= count
            assert found or not ended, f"the game ended ({self.process.returncode}) without {count} x {pattern!r}:" \
                                       f"\n{self.stdout}\nstderr:\n{self.stderr}"
            return found
        wait_until(seen, timeout, f"{count} x {pattern!r}", 0.05)

    def frames(self, count=1):
        """Waits until the game has run `count` more frames with F2 on: it prints a frame-time line each."""
        self.wait_for_output("Frame time: ", self.stdout.count("Frame time: ") + count)

    def wait_exit(self, timeout=60):
        return self.process.wait(timeout)

    def xdotool(self, *args, check=True):
        return subprocess.run(["xdotool", *map(str, args)], env={**os.environ, "DISPLAY": self.display},
                              capture_output=True, text=True, timeout=30, check=check).stdout

    @property
    def window(self):
        def shown():
            assert self.process.poll() is None, f"the game ended ({self.process.returncode}) before its window " \
                                                f"showed:\n{self.stdout}\nstderr:\n{self.stderr}"
            return self.xdotool("search", "--onlyvisible", "--name", "^Voidskirmish$", check=False).split()
        self._window = self._window or wait_until(shown, 90, "the game window", 0.2)[0]
        return self._window

    def _numbers(self, *args):
        return dict((name, int(value)) for name, value in re.findall(r"^(\w+)=(-?\d+)$", self.xdotool(*args), re.M))

    def geometry(self):
        """(x, y, width, height) of the window (x and y count a window manager's frame twice)."""
        found = self._numbers("getwindowgeometry", "--shell", self.window)
        return found["X"], found["Y"], found["WIDTH"], found["HEIGHT"]

    def pointer(self):
        found = self._numbers("getmouselocation", "--shell")
        return found["X"], found["Y"]

    def steer(self, *move):
        """Moves the cursor (xdotool's words) with steering on; waits until the game has read it and re-centred it."""
        x, y, width, height = self.geometry()
        self.xdotool(*move)
        wait_until(lambda: self.pointer() == (x + width // 2, y + height // 2), 30, "the cursor back at the centre")

    def key(self, *names):
        """Taps each key: press and release, well inside one frame."""
        self.xdotool("key", "--window", self.window, *names)
