"""userdriver: drive Windows programs under the test harness's Wine as a user does.

Input is real X input (xdotool) on the harness's Xvfb display, into the Wine
virtual desktop, so it takes the path a user's mouse and keys take: the X
server, Wine's driver, the system's message queue, the program's loop. What
the windows are and show is read with wininspect.exe (built beside the tests),
which runs under the same Wine.

    from userdriver import Desktop
    d = Desktop("build/win32", "build/win32/tests/driver/wininspect.exe")
    app = d.start("build/win32/bin/Pendo.exe")
    clock = d.wait_window(cls="Tmainform", pid=app.pid)
    d.right_click(clock, 10, 10)
    menu = d.wait_window(cls="#32768")
    d.screenshot("menu.png")
    d.key("Escape")
    app.stop()

Desktop(build_dir, inspector)   the harness of build_dir (its wine/ folder must be
                                up: ctest's wine.start fixture, or harness.sh start)
  .start(exe, *args, cwd=None, env=None) -> Program   started under the harness's Wine
                                 (env: more variables for it, TZ say)
  .windows() / .children(w)      -> [Window]   top-level windows / w's child windows
  .find_child(w, cls, text=None) -> Window or None   w's first visible child of that
                                 class (and text)
  .child(w, cls, text=None)      -> Window   the same; raises AssertionError when there is none
  .foreground()                  -> Window or None   the window that has the focus
  .reg_value(key, name)          -> str or None   a registry value ("HKLM\\...", "HKCU\\...")
  .wide_texts(w)                 -> [str]   w's text and its children's, read in UTF-16
  .menu_items()                  -> (code page, [str])   the open pop-up menu's items, read
                                 in UTF-16 inside its program, and that program's code page
  .unix(path)                    -> the Linux path of "C:\\..." in the prefix
  .wait_for(predicate, timeout=20, what=...)  -> its first true value; raises TimeoutError
  .find_window(cls=, title=, pid=, visible=True) -> Window or None
  .wait_window(..., timeout=20)  -> Window; raises TimeoutError
  .wait_gone(w, timeout=10)      -> True once w is gone or hidden
  .refresh(w)                    -> Window   w as it is now (None when gone)
  .click(w, x, y, button=1) / .right_click(w, x, y) / .double_click(w, x, y)
                                 at (x, y) from w's top-left corner (window, not client)
  .drag(w, (x0, y0), (x1, y1), button=1)   press, move in steps, release
  .focus(w, x=None, y=None)      click w (its middle unless given) to give it the focus
  .click_child(w, c, button=1)   click the middle of w's child c
  .key(*keys)                    xdotool key names: "Return", "Escape", "alt+F4", "shift+F10"
  .key_down(key) / .key_up(key)  hold a key (a modifier) across other input
  .type(text)                    types ASCII text into the focused window
  .mouse_position()              -> (x, y) on the Windows screen
  .send(w, msg, wp=0, lp=0) -> int / .post(w, msg, wp=0, lp=0)
  .hold(path) -> Held            the file held open without sharing by another
                                 program until .release()
  .watch(cls, ms) -> Watch       counts appearances of visible windows of a class
                                 in the background (from its return on);
                                 .result() -> (count, [Window])
  .screenshot(path, w=None)      PNG of the screen, or of w's rectangle
  .sound_mark() -> int           where the desktop's recording of every sound played
                                 (sound.raw, 8-bit samples as the tests' waves are) ends now
  .sounds_since(mark) -> bytes   the samples recorded since, without the silence (0x80)
                                 the driver fills late buffers with
Program: .pid (the Windows process id), .running(), .wait(timeout) -> exit code,
  .stop(timeout=10, message=WM_CLOSE) -> exit code (posts message to its visible
  top-level windows, kills it when it does not end), .kill(),
  .suspend() / .resume()         SIGSTOP / SIGCONT to its Linux process: the whole
                                 program stands still, as in a stall or a sleep
Window: .hwnd .pid .visible .rect (l, t, r, b) .client (l, t, r, b, on the screen)
  .id .cls .text, .width, .height

Coordinates are the Windows screen's; the virtual desktop's offset on the X
screen is taken into account. Texts are the system's code page (932) decoded.
"""
import atexit
import os
import signal
import subprocess
import tempfile
import threading
import time

WM_CLOSE = 0x0010
_HERE = os.path.dirname(os.path.abspath(__file__))
_ENV_SCRIPT = os.path.join(_HERE, "..", "..", "scripts", "wine", "wine-env.sh")


class Window:
    def __init__(self, line):
        f = line.split("\t")
        self.hwnd = int(f[0], 16) if f[0].startswith("0x") else int(f[0])
        self.pid = int(f[1])
        self.visible = f[2] == "1"
        self.rect = tuple(int(v) for v in f[3].split(","))
        self.client = tuple(int(v) for v in f[4].split(","))
        self.id = int(f[5])
        self.cls = f[6]
        self.text = f[7] if len(f) > 7 else ""

    @property
    def width(self):
        return self.rect[2] - self.rect[0]

    @property
    def height(self):
        return self.rect[3] - self.rect[1]

    def __repr__(self):
        return "Window(%#x %s %r %s%s)" % (self.hwnd, self.cls, self.text, self.rect, "" if self.visible else " hidden")


class Program:
    def __init__(self, desktop, popen, pid, exe=None):
        self._desktop = desktop
        self._popen = popen
        self.pid = pid
        self._exe = exe

    def _unix_pid(self):
        # Wine names the Linux process after the program's path.
        for entry in os.listdir("/proc"):
            if not entry.isdigit():
                continue
            try:
                with open("/proc/%s/cmdline" % entry, "rb") as f:
                    first = f.read().split(b"\0")[0]
            except OSError:
                continue
            if os.path.abspath(first.decode("utf-8", "replace")) == self._exe:
                return int(entry)
        raise RuntimeError("no Linux process runs %s" % (self._exe or "the program"))

    def suspend(self):
        os.kill(self._unix_pid(), signal.SIGSTOP)

    def resume(self):
        os.kill(self._unix_pid(), signal.SIGCONT)

    def running(self):
        return self._popen.poll() is None

    def wait(self, timeout=20):
        code = self._popen.wait(timeout)
        self._popen.stdout.close()
        return code

    def stop(self, timeout=10, message=WM_CLOSE):
        if self.running():
            for w in self._desktop.windows():
                if w.pid == self.pid and w.visible:
                    self._desktop.post(w, message)
            try:
                return self.wait(timeout)
            except subprocess.TimeoutExpired:
                self.kill()
        return self._popen.returncode

    def kill(self):
        if self.running():
            self._desktop.inspect("kill", str(self.pid))
            try:
                self._popen.wait(10)
            except subprocess.TimeoutExpired:
                self._popen.kill()
                self._popen.wait()
            self._popen.stdout.close()


class Watch:
    def __init__(self, desktop, cls, ms):
        self._proc = subprocess.Popen(["wine", desktop.inspector, "watch", cls, str(ms)], env=desktop.env,
                                      stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self._ms = ms
        # Returns once the watcher has taken its first look.
        self._head = []
        for line in iter(self._proc.stdout.readline, b""):
            if line.strip() == b"watching":
                break
            self._head.append(line)

    def result(self):
        out, _ = self._proc.communicate(timeout=self._ms / 1000 + 30)
        lines = b"".join(self._head + [out]).decode("cp932", "replace").splitlines()
        count = next(int(l.split()[1]) for l in lines if l.startswith("count "))
        return count, [Window(l) for l in lines if "\t" in l]


class Held:
    """A file another program holds open without sharing, until released."""

    def __init__(self, desktop, path):
        self._p = subprocess.Popen(["wine", desktop.inspector, "hold", "Z:" + os.path.abspath(path).replace("/", "\\")],
                                   env=desktop.env, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                   stderr=subprocess.DEVNULL)
        if self._p.stdout.readline().strip() != b"held":
            self._p.wait(20)
            raise RuntimeError("cannot hold " + path)

    def release(self):
        if self._p.poll() is None:
            self._p.stdin.close()
            self._p.wait(20)
        self._p.stdout.close()


class Desktop:
    def __init__(self, build_dir, inspector):
        wine_dir = os.path.join(os.path.abspath(build_dir), "wine")
        # The desktop CTest gave this test (RESOURCE_GROUPS desktop:1).
        given = os.environ.get("CTEST_RESOURCE_GROUP_0_DESKTOP", "")
        if given.startswith("id:") and not given.startswith("id:0,"):
            wine_dir += "-" + given[3:].split(",")[0]
        out = subprocess.run(["bash", "-c", '. "$1" && env -0', "-", _ENV_SCRIPT],
                             env=dict(os.environ, PENDO_WINE_DIR=wine_dir), capture_output=True, check=True).stdout
        self.env = dict(kv.split("=", 1) for kv in out.decode().split("\0") if "=" in kv)
        if "DISPLAY" not in self.env:
            raise RuntimeError("the Wine harness of %s is not running" % build_dir)
        self.inspector = os.path.abspath(inspector)
        self._origin = None
        self._server = None
        self._lock = threading.Lock()
        atexit.register(self.close)

    # Wine and the inspector ------------------------------------------------

    def inspect(self, *args):
        """One command of the inspector (see wininspect.cpp); its output."""
        return self.inspect_code(*args)[1]

    def inspect_code(self, *args, encoding="cp932"):
        # One inspector serves the whole test: a Wine process costs about a
        # second to start, a command to a running one a few milliseconds.
        with self._lock:
            for attempt in (1, 2):
                if self._server is None or self._server.poll() is not None:
                    self._server = subprocess.Popen(["wine", self.inspector, "serve"], env=self.env,
                                                    stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                                    stderr=subprocess.DEVNULL)
                try:
                    self._server.stdin.write(("\t".join(str(a) for a in args) + "\n").encode("cp932"))
                    self._server.stdin.flush()
                    out = []
                    while True:
                        line = self._server.stdout.readline()
                        if not line:
                            raise BrokenPipeError("the inspector ended")
                        if line.startswith(b".end "):
                            return int(line.split()[1]), b"".join(out).decode(encoding, "replace")
                        out.append(line)
                except (BrokenPipeError, OSError):
                    # A Wine process that starts while the desktop itself is
                    # starting may end early (seen after a session end).
                    self.close()
                    if attempt == 2:
                        raise

    def close(self):
        """Ends the inspector (a new one starts at the next command)."""
        if self._server is not None:
            try:
                self._server.stdin.close()
                self._server.wait(10)
            except (OSError, subprocess.TimeoutExpired):
                self._server.kill()
                self._server.wait()
            self._server.stdout.close()
            self._server = None

    def reg_value(self, key, name):
        """A string or DWORD value (as text) of the registry, or None."""
        code, out = self.inspect_code("reg", key, name)
        return out.rstrip("\r\n") if code == 0 else None

    def wide_texts(self, w):
        return self.inspect_code("wtexts", w.hwnd, encoding="utf-8")[1].splitlines()

    def menu_items(self):
        lines = self.inspect_code("menu", encoding="utf-8")[1].splitlines()
        return (int(lines[0].split()[1]), lines[1:]) if lines else (0, [])

    def unix(self, path):
        """The Linux path of a Windows drive path of the prefix."""
        drive = os.path.join(self.env["WINEPREFIX"], "dosdevices", path[:2].lower())
        here = os.path.realpath(drive)
        for part in [p for p in path[2:].split("\\") if p]:
            names = os.listdir(here) if os.path.isdir(here) else []
            match = next((n for n in names if n.lower() == part.lower()), part)
            here = os.path.join(here, match)
        return here

    def start(self, exe, *args, cwd=None, env=None):
        popen = subprocess.Popen(["wine", self.inspector, "run", os.path.abspath(exe)] + [str(a) for a in args],
                                 env=dict(self.env, **(env or {})), cwd=cwd or os.path.dirname(os.path.abspath(exe)),
                                 stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        line = popen.stdout.readline().decode()
        if not line.startswith("pid "):
            popen.wait(10)
            raise RuntimeError("cannot start %s" % exe)
        return Program(self, popen, int(line.split()[1]), os.path.abspath(exe))

    def windows(self):
        return [Window(l) for l in self.inspect("windows").splitlines() if "\t" in l]

    def foreground(self):
        lines = [l for l in self.inspect("foreground").splitlines() if "\t" in l]
        return Window(lines[0]) if lines else None

    def children(self, w):
        return [Window(l) for l in self.inspect("children", w.hwnd).splitlines() if "\t" in l]

    def find_child(self, w, cls, text=None):
        for c in self.children(w):
            if c.cls == cls and (text is None or c.text == text) and c.visible:
                return c
        return None

    def child(self, w, cls, text=None):
        c = self.find_child(w, cls, text)
        if c is None:
            raise AssertionError("no %s %r in %r" % (cls, text, w))
        return c

    def find_window(self, cls=None, title=None, pid=None, visible=True):
        for w in self.windows():
            if ((cls is None or w.cls == cls) and (title is None or w.text == title)
                    and (pid is None or w.pid == pid) and (not visible or w.visible)):
                return w
        return None

    def wait_window(self, cls=None, title=None, pid=None, visible=True, timeout=20):
        end = time.time() + timeout
        while True:
            w = self.find_window(cls, title, pid, visible)
            if w:
                return w
            if time.time() > end:
                raise TimeoutError("no window cls=%r title=%r pid=%r" % (cls, title, pid))
            time.sleep(0.1)

    def wait_for(self, predicate, timeout=20, what="a condition", every=0.05):
        """Polls predicate until it returns a true value, which is returned."""
        end = time.time() + timeout
        while True:
            value = predicate()
            if value:
                return value
            if time.time() > end:
                raise TimeoutError("timed out waiting for %s" % what)
            time.sleep(every)

    def refresh(self, w):
        for now in self.windows():
            if now.hwnd == w.hwnd:
                return now
        return None

    def wait_gone(self, w, timeout=10):
        end = time.time() + timeout
        while time.time() < end:
            now = self.refresh(w)
            if now is None or not now.visible:
                return True
            time.sleep(0.1)
        return False

    def send(self, w, msg, wp=0, lp=0):
        return int(self.inspect("send", w.hwnd, msg, wp, lp).strip() or 0)

    def post(self, w, msg, wp=0, lp=0):
        self.inspect("post", w.hwnd, msg, wp, lp)

    def hold(self, path):
        return Held(self, path)

    def watch(self, cls, ms):
        return Watch(self, cls, ms)

    # X input ----------------------------------------------------------------

    def _xdotool(self, *args):
        subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env, check=True, timeout=30)

    def origin(self):
        """Where the Windows screen's (0, 0) is on the X screen."""
        if self._origin is None:
            self._origin = (0, 0)
            p = subprocess.run(["xdotool", "search", "--name", "Wine desktop"], env=self.env, capture_output=True)
            for xid in p.stdout.split():
                g = subprocess.run(["xdotool", "getwindowgeometry", "--shell", xid], env=self.env,
                                   capture_output=True).stdout.decode()
                v = dict(l.split("=", 1) for l in g.splitlines() if "=" in l)
                if int(v.get("WIDTH", 0)) >= 640:
                    self._origin = (int(v["X"]), int(v["Y"]))
                    break
        return self._origin

    def _screen(self, w, x, y):
        ox, oy = self.origin()
        return w.rect[0] + x + ox, w.rect[1] + y + oy

    def mouse_position(self):
        out = subprocess.run(["xdotool", "getmouselocation", "--shell"], env=self.env, capture_output=True).stdout
        v = dict(l.split("=", 1) for l in out.decode().splitlines() if "=" in l)
        ox, oy = self.origin()
        return int(v["X"]) - ox, int(v["Y"]) - oy

    def _move(self, sx, sy):
        # xdotool's --sync waits for the pointer to move, 15 s in vain when it
        # is there already.
        out = subprocess.run(["xdotool", "getmouselocation", "--shell"], env=self.env, capture_output=True).stdout
        v = dict(l.split("=", 1) for l in out.decode().splitlines() if "=" in l)
        if (int(v.get("X", -1)), int(v.get("Y", -1))) != (sx, sy):
            self._xdotool("mousemove", "--sync", sx, sy)

    def click(self, w, x, y, button=1, repeat=1):
        sx, sy = self._screen(w, x, y)
        self._move(sx, sy)
        time.sleep(0.1)
        self._xdotool("click", "--repeat", repeat, "--delay", 80, button)
        time.sleep(0.2)

    def right_click(self, w, x, y):
        self.click(w, x, y, button=3)

    def double_click(self, w, x, y):
        self.click(w, x, y, repeat=2)

    def drag(self, w, start, end, button=1, steps=10):
        sx, sy = self._screen(w, *start)
        ex, ey = self._screen(w, *end)
        self._move(sx, sy)
        time.sleep(0.1)
        self._xdotool("mousedown", button)
        time.sleep(0.15)
        # A first small step, as a hand makes: a program may take the point
        # of the first movement as the start of the drag.
        self._xdotool("mousemove", sx + (1 if ex > sx else -1 if ex < sx else 0),
                      sy + (1 if ey > sy else -1 if ey < sy else 0))
        time.sleep(0.05)
        for i in range(1, steps + 1):
            self._xdotool("mousemove", sx + (ex - sx) * i // steps, sy + (ey - sy) * i // steps)
            time.sleep(0.03)
        time.sleep(0.15)
        self._xdotool("mouseup", button)
        time.sleep(0.3)

    def focus(self, w, x=None, y=None):
        self.click(w, w.width // 2 if x is None else x, w.height // 2 if y is None else y)

    def click_child(self, w, c, button=1):
        self.click(w, c.rect[0] - w.rect[0] + c.width // 2, c.rect[1] - w.rect[1] + c.height // 2, button)

    def key(self, *keys):
        if not keys:  # e.g. "Down" pressed zero times
            return
        self._xdotool("key", "--delay", 60, *keys)
        time.sleep(0.2)

    def key_down(self, key):
        self._xdotool("keydown", key)
        time.sleep(0.1)

    def key_up(self, key):
        self._xdotool("keyup", key)
        time.sleep(0.1)

    def type(self, text):
        self._xdotool("type", "--delay", 40, text)
        time.sleep(0.2)

    # Sounds -----------------------------------------------------------------

    def _recording(self):
        return os.path.join(self.env["PENDO_WINE_DIR"], "sound.raw")

    def sound_mark(self):
        try:
            return os.path.getsize(self._recording())
        except OSError:
            return 0

    def sounds_since(self, mark):
        try:
            with open(self._recording(), "rb") as f:
                f.seek(mark)
                return f.read().replace(b"\x80", b"")
        except OSError:
            return b""

    # Pictures ---------------------------------------------------------------

    def screenshot(self, path, w=None):
        args = ["import", "-display", self.env["DISPLAY"], "-window", "root"]
        if w is not None:
            sx, sy = self._screen(w, 0, 0)
            args += ["-crop", "%dx%d+%d+%d" % (w.width, w.height, sx, sy), "+repage"]
        subprocess.run(args + [path], env=self.env, check=True, timeout=60)
        return path
