"""Helpers for the end-to-end tests of the start program.

Each `Session` makes a disc folder in a temporary directory, copies the program into it, starts
an X server of its own (Xvfb) and the program on it, and offers bounded waits on what the
program shows: windows by name, window titles, pixels, the stand-in viewer's log and, for
sessions started with `atspi=True`, the accessibility tree read by `atspi_probe.py`.

Nothing here mocks the program: it is the real binary on the real GTK and WebKitGTK.
"""

import json
import os
import re
import select
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent
REPO = HERE.parent.parent
PROBE = HERE / "atspi_probe.py"

# Generous bounds: they only matter when something is wrong.
START_TIMEOUT = 30.0
WAIT_TIMEOUT = 15.0
POLL = 0.05


def _first_existing(*candidates):
    for c in candidates:
        if c and Path(c).exists():
            return str(Path(c).resolve())
    return None


def program_binary():
    """The program under test: ORVANE_BINARY, else a build in the usual folders."""
    path = _first_existing(
        os.environ.get("ORVANE_BINARY"),
        REPO / "build-e2e" / "platform" / "gtk" / "orvanestart",
        REPO / "build" / "platform" / "gtk" / "orvanestart",
    )
    if not path:
        raise unittest.SkipTest("program not built: set ORVANE_BINARY")
    return path


def sample_disc():
    path = _first_existing(os.environ.get("ORVANE_SAMPLE_DISC"), REPO / "examples" / "disc")
    if not path:
        raise unittest.SkipTest("sample disc not found: set ORVANE_SAMPLE_DISC")
    return Path(path)


def stand_in_viewer():
    """The text of the sample disc's stand-in viewer script."""
    return (sample_disc() / "viewer" / "dicomviewer").read_bytes()


def _python_with_pyatspi():
    candidates = [os.environ.get("ORVANE_ATSPI_PYTHON"), sys.executable, "/usr/bin/python3"]
    for py in candidates:
        if not py or not Path(py).exists():
            continue
        probe = subprocess.run([py, "-c", "import pyatspi"], capture_output=True, timeout=30)
        if probe.returncode == 0:
            return py
    return None


_ATSPI_PYTHON = []


def atspi_python():
    if not _ATSPI_PYTHON:
        _ATSPI_PYTHON.append(_python_with_pyatspi())
    if not _ATSPI_PYTHON[0]:
        raise unittest.SkipTest("no python3 with pyatspi (install python3-pyatspi)")
    return _ATSPI_PYTHON[0]


def require_tools(*names):
    missing = [n for n in names if not shutil.which(n)]
    if missing:
        raise unittest.SkipTest("missing tools: " + ", ".join(missing))


def wait_until(predicate, timeout=WAIT_TIMEOUT, what="condition", interval=POLL):
    """Polls `predicate` until it returns something true; returns that or fails after timeout."""
    deadline = time.monotonic() + timeout
    last = None
    while True:
        last = predicate()
        if last:
            return last
        if time.monotonic() >= deadline:
            raise AssertionError(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(interval)


def command_txt(**keys):
    """COMMAND.TXT in the INI form, keys in the order given."""
    lines = ["[Orvane]"] + [f"{k}={v}" for k, v in keys.items()]
    return "\r\n".join(lines) + "\r\n"


def page(title, body="", script="", style=""):
    """A small HTML page. `script` runs in the load handler, after the title is set."""
    return f"""<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>{title}</title>
<style>html,body{{margin:0;height:100%}}{style}</style>
<script>window.addEventListener('load', function () {{ {script} }});</script>
</head><body>{body}</body></html>
"""


def block_link_page(title, href):
    """A page whose one link covers the whole view, so a click anywhere in the view follows it.
    Once loaded, its background turns pure green (a sign the tests can wait for)."""
    return page(
        title,
        body=f'<a id="l" href="{href}">link</a>',
        style="a{display:block;position:fixed;left:0;top:0;right:0;bottom:0;"
        "background:#fff}",
        script="document.getElementById('l').style.background='rgb(0,255,0)';",
    )


class Session:
    """One disc folder, one X server, one run of the program."""

    def __init__(self, files, *, program_path="orvanestart", atspi=False, env=None, cwd=None):
        require_tools("Xvfb", "xdotool", "xprop", "xwininfo", "import")
        if atspi:
            require_tools("dbus-run-session")
            self.atspi_python = atspi_python()
        self.atspi = atspi
        self.tmp = Path(tempfile.mkdtemp(prefix="orvane-e2e-")).resolve()
        self.disc = self.tmp / "disc"
        self.home = self.tmp / "home"
        self.runtime = self.tmp / "runtime"
        self.viewer_log = self.tmp / "viewer.log"
        self.program_log = self.tmp / "program.log"
        self.xvfb = None
        self.proc = None
        self.pid = None
        self.display = None
        self.bus_address = None
        self.disc.mkdir()
        self.home.mkdir()
        self.runtime.mkdir(mode=0o700)
        for rel, content in files.items():
            self.write(rel, content)
        self.program = self.disc / program_path
        self.program.parent.mkdir(parents=True, exist_ok=True)
        shutil.copy2(program_binary(), self.program)
        self.extra_env = dict(env or {})
        # The folder the program is started in: the temporary folder, or one in it.
        self.cwd = self.tmp / cwd if cwd else self.tmp
        self.cwd.mkdir(parents=True, exist_ok=True)

    # --- the disc

    def write(self, rel, content, executable=None):
        path = self.disc / rel
        path.parent.mkdir(parents=True, exist_ok=True)
        data = content.encode("utf-8") if isinstance(content, str) else content
        path.write_bytes(data)
        if executable is None:
            executable = data.startswith(b"#!")
        if executable:
            path.chmod(path.stat().st_mode | stat.S_IXUSR | stat.S_IXGRP | stat.S_IXOTH)
        return path

    def listing(self, root):
        """Every path under `root`, relative, sorted."""
        root = Path(root)
        return sorted(str(p.relative_to(root)) for p in root.rglob("*"))

    # --- start and stop

    def start(self):
        self._start_xvfb()
        env = {
            k: v
            for k, v in os.environ.items()
            if not k.startswith(("XDG_", "DBUS_", "GTK_", "WEBKIT_", "GSETTINGS_"))
            and k not in ("DISPLAY", "WAYLAND_DISPLAY", "NO_AT_BRIDGE", "HOME")
        }
        env.update(
            DISPLAY=self.display,
            HOME=str(self.home),
            XDG_RUNTIME_DIR=str(self.runtime),
            GDK_BACKEND="x11",
            LANG="C.UTF-8",
            LC_ALL="C.UTF-8",
            ORVANE_VIEWER_LOG=str(self.viewer_log),
            ORVANE_VIEWER_SECONDS="0",
        )
        env.update(self.extra_env)
        self.env = env
        pidfile = self.tmp / "program.pid"
        if self.atspi:
            busfile = self.tmp / "bus.address"
            # The program and the probe share one private session bus; the program's own pid
            # is the shell's, which execs it.
            script = 'echo "$DBUS_SESSION_BUS_ADDRESS" > "$1"; echo $$ > "$2"; exec "$3"'
            argv = ["dbus-run-session", "--", "sh", "-c", script, "sh", str(busfile),
                    str(pidfile), str(self.program)]
        else:
            env.update(NO_AT_BRIDGE="1", DBUS_SESSION_BUS_ADDRESS="disabled:")
            argv = [str(self.program)]
        with open(self.program_log, "wb") as log:
            self.proc = subprocess.Popen(
                argv, cwd=str(self.cwd), env=env, stdin=subprocess.DEVNULL, stdout=log,
                stderr=subprocess.STDOUT, start_new_session=True)
        if self.atspi:
            wait_until(lambda: self._read(pidfile) and self._read(busfile), START_TIMEOUT,
                       "the private session bus")
            self.pid = int(self._read(pidfile))
            self.bus_address = self._read(busfile)
        else:
            self.pid = self.proc.pid
        return self

    @staticmethod
    def _read(path):
        try:
            text = Path(path).read_text().strip()
        except OSError:
            return ""
        return text if text else ""

    def _start_xvfb(self):
        r, w = os.pipe()
        try:
            with open(self.tmp / "xvfb.log", "wb") as log:
                self.xvfb = subprocess.Popen(
                    ["Xvfb", "-displayfd", str(w), "-screen", "0", "1280x1024x24", "-nolisten",
                     "tcp", "-noreset"],
                    pass_fds=(w,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                    stderr=log, start_new_session=True)
            os.close(w)
            w = None
            data = b""
            deadline = time.monotonic() + START_TIMEOUT
            while not data.endswith(b"\n"):
                left = deadline - time.monotonic()
                if left <= 0 or not select.select([r], [], [], left)[0]:
                    raise AssertionError("Xvfb did not start")
                chunk = os.read(r, 64)
                if not chunk:
                    raise AssertionError("Xvfb exited: " + (self.tmp / "xvfb.log").read_text())
                data += chunk
            self.display = ":" + data.decode().strip()
        finally:
            os.close(r)
            if w is not None:
                os.close(w)

    def exited(self):
        return self.proc is not None and self.proc.poll() is not None

    def stop(self):
        for p in (self.proc, self.xvfb):
            if p is None:
                continue
            if p.poll() is None:
                try:
                    os.killpg(p.pid, signal.SIGTERM)
                except ProcessLookupError:
                    pass
                try:
                    p.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    try:
                        os.killpg(p.pid, signal.SIGKILL)
                    except ProcessLookupError:
                        pass
                    p.wait(timeout=5)
            else:
                # The leader is gone; children it left in its group go too.
                try:
                    os.killpg(p.pid, signal.SIGKILL)
                except (ProcessLookupError, PermissionError):
                    pass

    def cleanup(self, keep):
        self.stop()
        if keep or os.environ.get("ORVANE_E2E_KEEP"):
            sys.stderr.write(f"\n[e2e] kept {self.tmp}\n")
        else:
            shutil.rmtree(self.tmp, ignore_errors=True)

    # --- X: windows, keys, pixels

    def x(self, *args, check=True, timeout=20):
        env = dict(os.environ, DISPLAY=self.display)
        res = subprocess.run(list(args), env=env, capture_output=True, text=True,
                             timeout=timeout)
        if check and res.returncode != 0:
            raise AssertionError(f"{args[0]} failed ({res.returncode}): {res.stderr.strip()}")
        return res.stdout

    def windows(self):
        """{window id: name} of the program's visible top-level windows."""
        out = self.x("xdotool", "search", "--onlyvisible", "--pid", str(self.pid), "--name",
                     ".", check=False)
        found = {}
        for wid in out.split():
            if wid == self.root_window():
                continue
            name = self.x("xdotool", "getwindowname", wid, check=False).rstrip("\n")
            if name:  # GTK's helper windows have no name
                found[wid] = name
        return found

    def root_window(self):
        if getattr(self, "_root", None) is None:
            out = self.x("xwininfo", "-root")
            self._root = str(int(re.search(r"Window id: (0x[0-9a-f]+)", out).group(1), 16))
        return self._root

    def window_type(self, wid):
        """The window's _NET_WM_WINDOW_TYPE, e.g. "DIALOG", "NORMAL", "POPUP_MENU"."""
        out = self.x("xprop", "-id", wid, "_NET_WM_WINDOW_TYPE", check=False)
        m = re.search(r"_NET_WM_WINDOW_TYPE_(\w+)", out)
        return m.group(1) if m else ""

    def dialogs(self, pattern="."):
        """Ids of the program's visible dialog windows (not menus) named like `pattern`."""
        rx = re.compile(pattern)
        return [w for w, name in self.windows().items()
                if rx.search(name) and self.window_type(w) == "DIALOG"]

    def wait_dialog(self, pattern, timeout=WAIT_TIMEOUT):
        def find():
            if self.exited():
                raise AssertionError(f"the program exited ({self.proc.returncode}):\n"
                                     + self.log_tail())
            found = self.dialogs(pattern)
            return found[0] if found else None
        return wait_until(find, timeout, f"a dialog named /{pattern}/ (have {self.windows()})")

    def wait_no_dialog(self, pattern, timeout=WAIT_TIMEOUT):
        wait_until(lambda: not self.dialogs(pattern), timeout,
                   f"no dialog named /{pattern}/ (have {self.windows()})")

    def find_windows(self, pattern):
        rx = re.compile(pattern)
        return [w for w, name in self.windows().items() if rx.search(name)]

    def wait_window(self, pattern, timeout=WAIT_TIMEOUT):
        """The id of a visible window of the program whose name matches `pattern`."""
        def find():
            if self.exited():
                raise AssertionError(f"the program exited ({self.proc.returncode}):\n"
                                     + self.log_tail())
            found = self.find_windows(pattern)
            return found[0] if found else None
        return wait_until(find, timeout, f"a window named /{pattern}/ (have {self.windows()})")

    def wait_no_window(self, pattern, timeout=WAIT_TIMEOUT):
        wait_until(lambda: not self.find_windows(pattern), timeout,
                   f"no window named /{pattern}/ (have {self.windows()})")

    def wait_main(self, timeout=START_TIMEOUT):
        """The main window: the first visible window, once the program shows one."""
        def find():
            if self.exited():
                raise AssertionError(f"the program exited ({self.proc.returncode}):\n"
                                     + self.log_tail())
            wins = self.windows()
            return next(iter(wins)) if len(wins) == 1 else None
        self.main = wait_until(find, timeout, "the main window")
        return self.main

    def title(self, wid=None):
        return self.x("xdotool", "getwindowname", wid or self.main).rstrip("\n")

    def wait_title(self, expected, wid=None, timeout=WAIT_TIMEOUT):
        wait_until(lambda: self.title(wid) == expected, timeout,
                   f"title {expected!r} (is {self.title(wid)!r})")

    def focus(self, wid):
        self.x("xdotool", "windowfocus", "--sync", wid)

    def key(self, wid, *keys):
        """Focuses `wid`, then presses each key in turn."""
        self.focus(wid)
        for k in keys:
            self.x("xdotool", "key", "--clearmodifiers", k)
            time.sleep(0.15)

    def geometry(self, wid):
        out = self.x("xdotool", "getwindowgeometry", "--shell", wid)
        vals = dict(line.split("=", 1) for line in out.split() if "=" in line)
        return int(vals["X"]), int(vals["Y"]), int(vals["WIDTH"]), int(vals["HEIGHT"])

    def click(self, wid, dx, dy):
        """A left click at (dx, dy) inside window `wid`."""
        x, y, _, _ = self.geometry(wid)
        self.x("xdotool", "mousemove", "--sync", str(x + dx), str(y + dy))
        self.x("xdotool", "click", "1")

    def click_centre(self, wid=None):
        wid = wid or self.main
        _, _, w, h = self.geometry(wid)
        self.click(wid, w // 2, h // 2)

    def pixel(self, wid, dx, dy):
        """(r, g, b) of the screen at (dx, dy) inside window `wid`."""
        x, y, _, _ = self.geometry(wid)
        out = self.x("import", "-window", "root", "-crop", f"1x1+{x + dx}+{y + dy}",
                     "-depth", "8", "txt:-")
        m = re.search(r"\(\s*(\d+(?:\.\d+)?)\s*,\s*(\d+(?:\.\d+)?)\s*,\s*(\d+(?:\.\d+)?)", 
                      out.splitlines()[-1])
        if not m:
            raise AssertionError("cannot read pixel: " + out)
        return tuple(int(round(float(v))) for v in m.groups())

    def row(self, wid, dy):
        """The distinct colours of one pixel row inside window `wid` (a few columns)."""
        _, _, w, _ = self.geometry(wid)
        return {self.pixel(wid, dx, dy) for dx in (2, w // 4, w // 2, 3 * w // 4, w - 3)}

    def wait_pixel(self, wid, dx, dy, rgb, timeout=WAIT_TIMEOUT):
        wait_until(lambda: self.pixel(wid, dx, dy) == tuple(rgb), timeout,
                   f"colour {rgb} at {dx},{dy} (is {self.pixel(wid, dx, dy)})")

    def wait_page_ready(self, wid=None, timeout=START_TIMEOUT):
        """Waits until the middle of the view turns pure green (see `block_link_page`)."""
        wid = wid or self.main
        _, _, w, h = self.geometry(wid)
        self.wait_pixel(wid, w // 2, h // 2, (0, 255, 0), timeout)

    def screenshot(self, name="failure.png"):
        path = self.tmp / name
        if self.display:
            self.x("import", "-window", "root", str(path), check=False)
        return path

    def xprop(self, wid, *props):
        return self.x("xprop", "-id", wid, *props)

    # --- the stand-in viewer's log

    def viewer_records(self):
        """The records the stand-in viewer wrote: dicts with cwd, argc, args, fds."""
        try:
            text = self.viewer_log.read_text()
        except FileNotFoundError:
            return []
        records, cur = [], None
        for line in text.split("\n"):
            key, _, value = line.partition(" ")
            if key == "start":
                cur = {"start": value, "args": []}
            elif cur is None:
                continue
            elif key == "arg":
                cur["args"].append(value)
            elif key == "end":
                records.append(cur)
                cur = None
            else:
                cur[key] = value
        return records

    def wait_viewer_records(self, count, timeout=WAIT_TIMEOUT):
        return wait_until(lambda: len(self.viewer_records()) >= count and self.viewer_records(),
                          timeout, f"{count} viewer start(s)")

    # --- accessibility

    def accessible_tree(self, timeout=WAIT_TIMEOUT):
        """The program's accessible tree (see atspi_probe.py), read over its session bus."""
        if not self.atspi:
            raise AssertionError("the session was not started with atspi=True")
        env = dict(os.environ, DISPLAY=self.display, DBUS_SESSION_BUS_ADDRESS=self.bus_address)
        env.pop("NO_AT_BRIDGE", None)
        res = subprocess.run([self.atspi_python, str(PROBE), "orvanestart", str(timeout)],
                             env=env, capture_output=True, text=True, timeout=timeout + 30)
        if res.returncode != 0:
            raise AssertionError("AT-SPI probe failed: " + res.stderr[-2000:])
        return json.loads(res.stdout)

    def wait_accessible(self, predicate, what, timeout=WAIT_TIMEOUT):
        """Re-reads the tree until `predicate(tree)` gives something true; returns that."""
        return wait_until(lambda: predicate(self.accessible_tree()), timeout, what,
                          interval=0.2)

    def log_tail(self, lines=40):
        try:
            return "\n".join(self.program_log.read_text(errors="replace").splitlines()[-lines:])
        except OSError:
            return ""


# --- reading the accessible tree


def nodes(tree):
    """Every node of a tree from `Session.accessible_tree`, depth first."""
    stack = [tree]
    while stack:
        n = stack.pop()
        yield n
        stack.extend(reversed(n.get("children", [])))


def top_windows(tree):
    return [c for c in tree.get("children", [])]


def window_named(tree, name):
    for w in top_windows(tree):
        if w.get("name") == name and "showing" in w.get("states", []):
            return w
    return None


def texts(node):
    """Names and texts of the labels under `node`."""
    out = []
    for n in nodes(node):
        if n.get("role") == "label":
            out.append(n.get("text") or n.get("name") or "")
    return out


def find_role(node, role, name=None):
    return [n for n in nodes(node)
            if n.get("role") == role and (name is None or n.get("name") == name)]


class SessionTestCase(unittest.TestCase):
    """Starts sessions that end with the test; on failure, keeps the temporary folder with a
    screenshot and the program's output."""

    def session(self, files, *, start=True, **kw):
        s = Session(files, **kw)
        self.addCleanup(self._finish, s)
        if start:
            s.start()
            s.wait_main()
        return s

    def assertTitleStays(self, s, expected, seconds=1.0, msg="the page should stay"):
        """The main window's title is `expected` now and for `seconds` more (a navigation that
        should not happen would change it)."""
        deadline = time.monotonic() + seconds
        while True:
            self.assertEqual(s.title(), expected, msg)
            if time.monotonic() >= deadline:
                return
            time.sleep(0.1)

    def _failed(self):
        outcome = getattr(self, "_outcome", None)
        if outcome is None:
            return True
        if getattr(outcome, "success", True) is False:
            return True
        result = getattr(outcome, "result", None)
        for kind in ("failures", "errors"):
            for test, _ in getattr(result, kind, []) or []:
                if test is self or getattr(test, "test_case", None) is self:
                    return True
        return False

    def _finish(self, s):
        failed = self._failed()
        if failed:
            try:
                s.screenshot()
            except Exception:  # a screenshot is a courtesy, never a second failure
                pass
            sys.stderr.write(f"\n[e2e] program output:\n{s.log_tail()}\n")
        s.cleanup(keep=failed)
