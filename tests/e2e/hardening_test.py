"""End-to-end hardening tests: discs that are broken in some way, and what pages and viewer
command lines must not be able to do. The real program on the real GTK and WebKitGTK under
Xvfb, as in e2e_test.py.

Run from tests/e2e:
    ORVANE_BINARY=../../build/platform/gtk/orvanestart python3 -m unittest -v hardening_test
"""

import json
import os
import shutil
import subprocess
import time
import unittest
from pathlib import Path

import harness as h
from e2e_test import MESSAGE_BOX, NO_RESULTS, NOTICE, message_text, viewer_disc
from harness import block_link_page, command_txt, page

INVALID = "Unable to run DICOM Viewer. Command is invalid:\n  {}."
NO_START_PAGE = "This medium has no start page."


def close_message_box(s):
    s.key(s.wait_dialog(MESSAGE_BOX), "Return")
    s.wait_no_dialog(MESSAGE_BOX)


def view_images(s):
    s.key(s.main, "alt+v", "Return")  # View > Images


# --- processes, read from /proc


def process_table():
    """{pid: (ppid, state, argv)} of every process that can be read."""
    table = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            stat = Path(f"/proc/{entry}/stat").read_text()
            argv = Path(f"/proc/{entry}/cmdline").read_bytes().split(b"\0")
        except OSError:
            continue
        fields = stat[stat.rindex(")") + 2:].split()
        table[int(entry)] = (int(fields[1]), fields[0],
                             [a.decode(errors="replace") for a in argv if a])
    return table


def descendants(table, pid):
    """Pids of every process below `pid`."""
    children = {}
    for p, (ppid, _, _) in table.items():
        children.setdefault(ppid, []).append(p)
    out, stack = [], list(children.get(pid, []))
    while stack:
        p = stack.pop()
        out.append(p)
        stack.extend(children.get(p, []))
    return out


def program_name(table, pid):
    argv = table.get(pid, (0, "", []))[2]
    return os.path.basename(argv[0]) if argv else ""


def zombies_below(pid):
    table = process_table()
    return [(p, table[p][2]) for p in descendants(table, pid) if table[p][1] == "Z"]


# --- watching the notices


def watch_notices(s, quiet=4.0, limit=120.0):
    """Polls the visible windows until neither a notice nor a new viewer start has been seen
    for `quiet` seconds. Returns (distinct notices seen, most notices at once)."""
    seen, most = set(), 0
    last_change = time.monotonic()
    deadline = last_change + limit
    records = 0
    while True:
        if s.exited():
            raise AssertionError(f"the program exited ({s.proc.returncode}):\n" + s.log_tail())
        notices = s.find_windows(NOTICE)
        now = time.monotonic()
        count = len(s.viewer_records())
        if notices or count != records:
            last_change = now
        records = count
        most = max(most, len(notices))
        seen.update(notices)
        if now - last_change >= quiet:
            return seen, most
        if now >= deadline:
            raise AssertionError(f"the notices did not settle within {limit:.0f} s")
        time.sleep(h.POLL)


# --- disc contents


def pe_program():
    """The first bytes of a Windows program: an MZ header pointing at a PE header."""
    mz = bytearray(128)
    mz[0:2] = b"MZ"
    mz[2:4] = b"\x90\x00"
    mz[0x3C:0x40] = (0x40).to_bytes(4, "little")
    stub = b"This program cannot be run in DOS mode.\r\r\n$"
    mz[0x40:0x44] = b"PE\0\0"
    mz[0x44:0x46] = (0x14C).to_bytes(2, "little")  # i386
    mz[0x4E:0x4E + len(stub)] = stub
    return bytes(mz)


def binfmt_runs_mz():
    """Whether this system has been told to run MZ files (binfmt_misc), as some do."""
    folder = Path("/proc/sys/fs/binfmt_misc")
    try:
        entries = [p for p in folder.iterdir() if p.name not in ("register", "status")]
    except OSError:
        return False
    for entry in entries:
        try:
            text = entry.read_text()
        except OSError:
            continue
        if text.startswith("enabled") and "magic 4d5a" in text:
            return True
    return False


class BrokenViewerTest(h.SessionTestCase):
    """ViewerCommand names something that cannot be run: the user gets the message, no notice
    shows, nothing starts and the page stays."""

    # A script that tells on itself if anything ever runs it.
    TELLTALE = b'echo hi\necho ran >> "$ORVANE_VIEWER_LOG"\n'

    def test_program_that_cannot_run(self):
        cases = [
            # (what, files beside COMMAND.TXT: {path: (content, mode)} or a folder marker)
            ("missing", {}),
            ("not executable (644)", {"viewer/dicomviewer": (h.stand_in_viewer(), 0o644)}),
            ("a folder of that name", {"viewer/dicomviewer/inside.txt": (b"x", 0o644)}),
            ("Windows program (755)", {"viewer/dicomviewer": (pe_program(), 0o755)}),
            ("script without interpreter line (755)",
             {"viewer/dicomviewer": (self.TELLTALE, 0o755)}),
        ]
        for what, extra in cases:
            with self.subTest(what):
                if what.startswith("Windows") and binfmt_runs_mz():
                    self.skipTest("this system runs MZ files through binfmt_misc")
                s = self.session({}, start=False, atspi=True)
                s.write("COMMAND.TXT", command_txt(ViewerCommand=r"viewer\dicomviewer --study 1",
                                                   WaitInterval=1))
                s.write("START.HTM", block_link_page("Links", "ORVANERUNVIEWER"))
                for rel, (content, mode) in extra.items():
                    s.write(rel, content, executable=False).chmod(mode)
                s.start()
                s.wait_main()
                s.wait_page_ready()
                s.wait_title("Links - Orvane Start")
                expected = INVALID.format(f"{s.disc}/viewer/dicomviewer --study 1")
                for how in ("View Images", "keyword link"):
                    with self.subTest(what=what, how=how):
                        if how == "View Images":
                            view_images(s)
                        else:
                            s.click_centre()
                        self.assertEqual(message_text(self, s), expected)
                        self.assertEqual(s.find_windows(NOTICE), [], "a notice without a viewer")
                        close_message_box(s)
                        self.assertTitleStays(s, "Links - Orvane Start")
                        self.assertEqual(s.find_windows(NOTICE), [])
                self.assertFalse(s.viewer_log.exists() and s.viewer_log.read_text(),
                                 "something was started")
                s.stop()


class WorkingFolderTest(h.SessionTestCase):
    def test_viewer_starts_in_settings_folder_unless_working_folder_is_usable(self):
        # The program sits in run/ below the settings folder and is started from the temporary
        # folder, so the settings folder, the program's folder and the current folder differ.
        cases = [
            # (what, ViewerWorkingDir, working folder relative to the disc)
            ("missing folder", "absent", ""),
            ("missing nested folder", r"absent\deeper", ""),
            ("a file, not a folder", "notes.txt", ""),
            ("ends in a separator", "work/", ""),
            ("usable folder, other case", "WORK", "work"),
        ]
        for what, value, folder in cases:
            with self.subTest(what):
                files = {**viewer_disc(ViewerWorkingDir=value, WaitInterval=0,
                                       SplashPage="START.HTM"),
                         "START.HTM": page("Start"), "notes.txt": "not a folder",
                         "work/keep.txt": "a folder"}
                s = self.session(files, program_path="run/orvanestart")
                s.wait_title("Start - Orvane Start")
                view_images(s)
                record = s.wait_viewer_records(1)[0]
                self.assertEqual(record["cwd"], str(s.disc / folder).rstrip("/"))
                s.stop()


class ResultsComeAndGoTest(h.SessionTestCase):
    def results_item(self, s):
        """Whether View > Results is enabled, read from the open View menu."""
        s.key(s.main, "alt+v")
        item = s.wait_accessible(
            lambda t: next((n for n in h.find_role(t, "menu item", "Results")
                            if "showing" in n["states"]), None),
            "the View menu's Results item")
        s.key(s.main, "Escape")
        h.wait_until(lambda: len(s.windows()) == 1, what="the menu to close")
        return "sensitive" in item["states"]

    def results_button_after_hover(self, s, expected):
        """Whether the View Results button is enabled once the pointer has passed over the
        toolbar (the View Images button), read through AT-SPI; waits a while for `expected`."""
        images = h.find_role(s.accessible_tree(), "push button", "View Images")[0]
        x, y, w, hgt = images["extents"]
        s.x("xdotool", "mousemove", "--sync", str(x + w // 2), str(y + hgt // 2))

        def enabled(tree):
            return "sensitive" in h.find_role(tree, "push button", "View Results")[0]["states"]
        try:
            s.wait_accessible(lambda t: enabled(t) == expected, "the View Results button",
                              timeout=5)
        except AssertionError:
            pass
        state = enabled(s.accessible_tree())
        # Back to the page, away from the toolbar.
        wx, wy, ww, wh = s.geometry(s.main)
        s.x("xdotool", "mousemove", "--sync", str(wx + ww // 2), str(wy + wh // 2))
        return state

    def test_results_removed_and_put_back_while_open(self):
        cases = [
            # (what, path that is moved away and back)
            ("results page deleted", "ORVANE/FRAMESET.HTM"),
            ("results folder deleted", "ORVANE"),
        ]
        for what, moved in cases:
            with self.subTest(what):
                files = {**viewer_disc(), "START.HTM": block_link_page("Links", "ORVANE/FRAMESET.HTM"),
                         "ORVANE/FRAMESET.HTM": page("Results")}
                s = self.session(files, atspi=True)
                s.wait_page_ready()
                s.wait_title("Links - Orvane Start")
                self.assertTrue(self.results_item(s), "Results disabled with results present")
                self.assertTrue(self.results_button_after_hover(s, True))

                aside = s.tmp / "aside"
                shutil.move(str(s.disc / moved), str(aside))
                self.assertFalse(self.results_item(s), "View > Results still enabled")
                self.assertFalse(self.results_button_after_hover(s, False),
                                 "the View Results button still enabled")
                s.click_centre()
                self.assertEqual(message_text(self, s), NO_RESULTS)
                close_message_box(s)
                self.assertTitleStays(s, "Links - Orvane Start")

                shutil.move(str(aside), str(s.disc / moved))
                self.assertTrue(self.results_item(s), "View > Results still disabled")
                self.assertTrue(self.results_button_after_hover(s, True),
                                "the View Results button still disabled")
                s.click_centre()
                s.wait_title("Results - Orvane Start")
                self.assertEqual(s.dialogs(), [])
                s.stop()


class NoStartPageTest(h.SessionTestCase):
    CAPTION = f"{NO_START_PAGE} - Orvane Start"

    def test_program_page_when_disc_has_no_start_page(self):
        cases = [
            # (what, COMMAND.TXT keys, other files)
            ("named page missing", {"SplashPage": "nothere.htm"}, {"other.htm": page("Other")}),
            ("no page named", {"SplashPage": ""}, {}),
            ("start page is a folder", {"SplashPage": "START.HTM"},
             {"START.HTM/index.htm": page("Inside a folder")}),
            ("fallback names are folders", {"SplashPage": "nothere.htm"},
             {"index.html/x.htm": page("In index.html"), "start.htm/x.htm": page("In start")}),
        ]
        for what, keys, extra in cases:
            with self.subTest(what):
                s = self.session({**viewer_disc(**keys), **extra})
                s.wait_title(self.CAPTION)
                self.assertTitleStays(s, self.CAPTION, seconds=1.0)
                # View > Start Page shows it again.
                s.key(s.main, "alt+v", "s")
                self.assertTitleStays(s, self.CAPTION, seconds=1.5)
                self.assertEqual(s.dialogs(), [])
                s.stop()

    # Refresh and View > Refresh bring the program's own page back, never a blank window.
    def test_refresh_keeps_program_page(self):
        for keys in (["F5"], ["alt+v", "e"]):
            with self.subTest(keys=keys):
                s = self.session(viewer_disc(SplashPage="nothere.htm"))
                s.wait_title(self.CAPTION)
                s.key(s.main, *keys)
                self.assertTitleStays(s, self.CAPTION, seconds=1.5)
                s.stop()


class KeywordBurstTest(h.SessionTestCase):
    # One click anywhere starts ten keyword navigations, 30 ms apart; the page stays.
    SCRIPTED = page(
        "Burst", style="body{background:#fff}",
        script="document.body.addEventListener('click', function () {"
        " var n = 0; var t = setInterval(function () {"
        " n++; location.href = 'ORVANERUNVIEWER?' + n; if (n >= 10) clearInterval(t); }, 30);"
        "});")

    def test_many_requests_in_a_burst(self):
        cases = [
            # (what, start page, xdotool click arguments)
            ("10 clicks in 0.3 s", block_link_page("Burst", "ORVANERUNVIEWER"),
             ["--repeat", "10", "--delay", "30"]),
            ("10 clicks over 4 s", block_link_page("Burst", "ORVANERUNVIEWER"),
             ["--repeat", "10", "--delay", "400"]),
            ("one click, page navigates 10 times", self.SCRIPTED, []),
        ]
        for what, start_page, click_args in cases:
            with self.subTest(what):
                files = {**viewer_disc(ViewerCommand=r"viewer\dicomviewer go", WaitInterval=1),
                         "START.HTM": start_page}
                s = self.session(files)
                s.wait_title("Burst - Orvane Start")
                time.sleep(1.0)  # the load handler has run
                x, y, w, hgt = s.geometry(s.main)
                s.x("xdotool", "mousemove", "--sync", str(x + w // 2), str(y + hgt // 2))
                env = dict(os.environ, DISPLAY=s.display)
                clicker = subprocess.Popen(["xdotool", "click", *click_args, "1"], env=env)
                try:
                    notices, most = watch_notices(s)
                finally:
                    clicker.wait(timeout=30)
                records = s.viewer_records()
                print(f"\n[hardening] {what}: {len(records)} viewer(s), {len(notices)} "
                      f"notice(s), at most {most} at once")
                self.assertGreaterEqual(len(records), 1, "no viewer started")
                self.assertLessEqual(most, 1, "two notices at once")
                self.assertEqual(len(records), len(notices),
                                 "each started viewer has its own notice")
                self.assertEqual([r["args"] for r in records], [["go"]] * len(records))
                # Still alive and answering.
                self.assertEqual(s.title(), "Burst - Orvane Start")
                s.key(s.main, "alt+h", "a")
                s.key(s.wait_dialog("^About$"), "Escape")
                s.wait_no_dialog("^About$")
                self.assertFalse(s.exited())
                s.stop()


class NoShellTest(h.SessionTestCase):
    def test_command_line_reaches_viewer_literally(self):
        marks = ["mark_semi", "mark_pipe", "mark_amp", "mark_dollar", "mark_tick", "mark_redir",
                 "mark_glued"]
        cases = [
            # (what, ViewerCommand, arguments the viewer gets, or None: nothing may start)
            ("shell characters as arguments",
             r'viewer\dicomviewer ; touch mark_semi | touch mark_pipe & touch mark_amp '
             r'"$(touch mark_dollar)" "`touch mark_tick`" > mark_redir * ~ $HOME',
             [";", "touch", "mark_semi", "|", "touch", "mark_pipe", "&", "touch", "mark_amp",
              "$(touch mark_dollar)", "`touch mark_tick`", ">", "mark_redir", "*", "~", "$HOME"]),
            ("unquoted command substitution", r"viewer\dicomviewer $(touch mark_dollar) "
             r"`touch mark_tick`", ["$(touch", "mark_dollar)", "`touch", "mark_tick`"]),
            ("separator glued to the program", r"viewer\dicomviewer;touch mark_glued", None),
        ]
        for what, command, args in cases:
            with self.subTest(what):
                files = {**viewer_disc(ViewerCommand=command, WaitInterval=0),
                         "START.HTM": page("Start")}
                s = self.session(files)
                s.wait_title("Start - Orvane Start")
                view_images(s)
                if args is None:
                    s.key(s.wait_dialog(MESSAGE_BOX), "Return")
                    s.wait_no_dialog(MESSAGE_BOX)
                    time.sleep(1.0)
                    self.assertEqual(s.viewer_records(), [])
                else:
                    record = s.wait_viewer_records(1)[0]
                    self.assertEqual(record["args"], args)
                    self.assertEqual(record["cwd"], str(s.disc))
                    time.sleep(1.0)  # what a shell would have run has run by now
                made = [p for p in s.tmp.rglob("*") if p.name in marks]
                self.assertEqual(made, [], "a shell ran the command line")
                s.stop()


class DescriptorTest(h.SessionTestCase):
    def start_with_inherited_descriptors(self, s):
        """Starts the program through a wrapper that leaves descriptors 7 and 9 open, as a
        careless parent (a file manager, an autorun helper) might."""
        real = s.program.with_name(s.program.name + ".real")
        s.program.rename(real)
        s.write(s.program.name, f'#!/bin/sh\nexec 7<"{real}" 9>>"{s.tmp / "inherited.txt"}"\n'
                f'exec "{real}" "$@"\n')
        s.start()
        s.wait_main()
        fds = os.listdir(f"/proc/{s.pid}/fd")
        self.assertIn("7", fds, "the wrapper did not leave descriptor 7 open")
        self.assertIn("9", fds)

    def test_viewer_gets_only_standard_streams(self):
        cases = [
            # (what, accessibility bus, inherited descriptors, how the viewer is started)
            ("View Images", False, False, "menu"),
            ("keyword link", False, False, "link"),
            ("with the accessibility bus", True, False, "menu"),
            ("descriptors inherited by the program", False, True, "menu"),
        ]
        for what, atspi, inherit, how in cases:
            with self.subTest(what):
                files = {**viewer_disc(WaitInterval=0),
                         "START.HTM": block_link_page("Links", "ORVANERUNVIEWER")}
                s = self.session(files, start=not inherit, atspi=atspi)
                if inherit:
                    self.start_with_inherited_descriptors(s)
                s.wait_page_ready()
                if how == "menu":
                    view_images(s)
                else:
                    s.click_centre()
                record = s.wait_viewer_records(1)[0]
                self.assertEqual(record["fds"], "0 1 2")
                s.stop()


class ZombieTest(h.SessionTestCase):
    # A click starts twenty keyword navigations, one every 150 ms; the page stays.
    SCRIPTED = page(
        "Twenty", style="body{background:#fff}",
        script="document.body.addEventListener('click', function () {"
        " var n = 0; var t = setInterval(function () {"
        " n++; location.href = 'ORVANERUNVIEWER?' + n; if (n >= 20) clearInterval(t); }, 150);"
        "});")

    def test_no_zombies_after_twenty_launches(self):
        for how in ("View Images", "keyword navigations"):
            with self.subTest(how):
                files = {**viewer_disc(WaitInterval=0), "START.HTM": self.SCRIPTED}
                s = self.session(files)
                s.wait_title("Twenty - Orvane Start")
                if how == "View Images":
                    for n in range(1, 21):
                        view_images(s)
                        s.wait_viewer_records(n)
                        s.wait_no_window(NOTICE)
                else:
                    time.sleep(0.5)  # the load handler has run
                    s.click_centre()
                    s.wait_viewer_records(20, timeout=90)
                    s.wait_no_window(NOTICE)
                time.sleep(1.0)
                self.assertEqual(len(s.viewer_records()), 20)
                h.wait_until(lambda: not zombies_below(s.pid), timeout=10,
                             what=f"no zombies below the program (have {zombies_below(s.pid)})")
                self.assertFalse(s.exited())
                s.stop()


class SandboxTest(h.SessionTestCase):
    def test_web_process_runs_in_sandbox(self):
        bwrap = Path("/usr/bin/bwrap")
        if not bwrap.exists():
            self.skipTest("no /usr/bin/bwrap: WebKit cannot sandbox its web process here")
        try:
            works = subprocess.run([str(bwrap), "--ro-bind", "/", "/", "true"],
                                   capture_output=True, timeout=30).returncode == 0
        except (OSError, subprocess.TimeoutExpired):
            works = False
        if not works:
            self.skipTest("bwrap --ro-bind / / true fails here: no sandbox possible")
        s = self.session({**viewer_disc(), "START.HTM": page("Start")})
        s.wait_title("Start - Orvane Start")

        def web_process():
            table = process_table()
            found = [p for p in descendants(table, s.pid)
                     if program_name(table, p) == "WebKitWebProcess"]
            return (table, found[0]) if found else None

        table, web = h.wait_until(web_process, what="the program's WebKitWebProcess")
        chain, p = [], table[web][0]
        while p and p != s.pid:
            chain.append(program_name(table, p))
            p = table[p][0]
        own_ns = os.readlink(f"/proc/{s.pid}/ns/mnt")
        web_ns = os.readlink(f"/proc/{web}/ns/mnt")
        print(f"\n[hardening] web process {web}: parents below the program {chain}, "
              f"mount namespace {web_ns} (program {own_ns})")
        self.assertTrue("bwrap" in chain or web_ns != own_ns,
                        "the web process runs outside the sandbox")


class LocalFilesTest(h.SessionTestCase):
    # Reads each target with fetch() and XMLHttpRequest, and the outside file through an
    # <iframe>; writes "read:" and name=outcome pairs into the title.
    READER = """
var targets = %s, out = {}, pending = 0;
function finish() {
  document.title = 'read:' + Object.keys(out).sort().map(function (k) {
    return k + '=' + out[k]; }).join(',');
}
function done() { if (--pending === 0) finish(); }
function judge(name, text) { out[name] = text ? 'read' : 'empty'; done(); }
function fail(name) { out[name] = 'blocked'; done(); }
Object.keys(targets).forEach(function (k) {
  out['fetch-' + k] = out['xhr-' + k] = 'unanswered';
  pending += 2;
  fetch(targets[k]).then(function (r) { return r.text(); })
    .then(function (t) { judge('fetch-' + k, t); }, function () { fail('fetch-' + k); });
  try {
    var x = new XMLHttpRequest();
    x.open('GET', targets[k]);
    x.onload = function () { judge('xhr-' + k, x.responseText); };
    x.onerror = function () { fail('xhr-' + k); };
    x.send();
  } catch (e) { fail('xhr-' + k); }
});
out.iframe = 'unanswered';
pending += 1;
var f = document.createElement('iframe');
f.onload = function () {
  try {
    var d = f.contentDocument;
    if (d && d.body) judge('iframe', d.body.textContent); else fail('iframe');
  } catch (e) { fail('iframe'); }
};
f.src = targets.outside;
document.body.appendChild(f);
setTimeout(function () { if (pending > 0) { pending = 1; done(); } }, 10000);
"""

    def test_pages_cannot_read_other_local_files(self):
        s = self.session({**viewer_disc()}, start=False)
        secret = s.tmp / "secret.txt"
        secret.write_text("not for the page\n")
        system_file = next(p for p in ("/etc/hostname", "/etc/passwd")
                           if Path(p).is_file() and Path(p).stat().st_size)
        s.write("inside.txt", "beside the start page\n")
        targets = {"outside": secret.as_uri(), "etc": Path(system_file).as_uri(),
                   "same": (s.disc / "inside.txt").as_uri(), "relative": "inside.txt"}
        s.write("START.HTM", page("Reader", script=self.READER % json.dumps(targets)))
        s.start()
        s.wait_main()
        title = h.wait_until(lambda: s.title().startswith("read:") and s.title(), timeout=40,
                             what=f"the page's report (title is {s.title()!r})")
        report = dict(item.split("=", 1)
                      for item in title[len("read:"):].rsplit(" - ", 1)[0].split(","))
        print(f"\n[hardening] {system_file}, outside and same-folder reads: {report}")
        outside = {k: v for k, v in report.items()
                   if k.endswith(("-outside", "-etc")) or k == "iframe"}
        self.assertEqual(outside, {k: "blocked" for k in outside}, report)
        self.assertEqual(len(outside), 5, report)


if __name__ == "__main__":
    unittest.main()
