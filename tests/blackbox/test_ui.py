#!/usr/bin/env python3
"""vexa.exe driven from outside, as a user would: under Wine on an X display
with a window manager, keys typed with xdotool, the clipboard set by the
probe program (as another Windows program would) and read back from X (see
x_selection), and the window's texts read back with the probe.

    test_ui.py --exe vexa.exe --probe probe.exe [unittest options]

Environment: DISPLAY (with a window manager; run under scripts/with-display),
WINEPREFIX (default ~/.wine-vexa), VEXA_WINE (the command that runs a Windows
program, default scripts/wine-run).
"""
import argparse
import contextlib
import ctypes
import ctypes.util
import locale
import os
import select
import shlex
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import types
import unittest
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))

TITLE = "Veltrano Diagnostics"
USAGE = ("Usage: vexa [+prefix | -prefix string | -noprefix] "
         "[-clipview | -noclipview] [file]")
BANNER = "Veltrano Diagnostics/W32, version 1.0.1.4, compiled at Jan 28 2001 19:53:30"
RULE = "-" * 76
FROM_CLIPBOARD = "Report from clipboard"
VIEWER_ON = "Clipboard Viewer On"
VIEWER_OFF = "Clipboard Viewer Off"
NO_TEXT = "no text data in clipboard available!"
NO_STATISTICS = "no statistics data in clipboard available!"
# The status bar's text while the File menu is open on its first item.
SAVE_HELP = "Save the decoded report to file..."

# Modem answers and what the report view shows for them (without prefix).
CALL = "DIAG <2A4D3263 0=10 1=0 2=0 3=0 11=1A 10=1C 60=3C>\r\nOK\r\n"
CALL_LINES = [
    "Diag Command Specification rev.: 1.0",
    "Call Setup Result code         : No previous call",
    "Multi-media mode               : Data Only",
    "DTE-DCE interface mode         : Async data",
    "TX/RX signal power level, -dBm : 26/28",
    "Termination Cause              : Carrier Lost",
]
LOST = "DIAG <2A4D3263 60=3C>\r\nOK\r\n"
LOST_LINES = ["Termination Cause              : Carrier Lost"]
SETUP = "DIAG<2A4D3263 0=10 1=0>\r\nOK\r\n"
SETUP_LINES = CALL_LINES[:2]
RATE = "at&v1\r\nOK\r\nDIAG <2A4D3263 22=D65 23=D65>\r\nOK\r\n"
RATE_LINES = ["TX/RX Symbol Rate              : 3429/3429"]
ODD = "DIAG <2A4D3263 70=1 2=0>\r\nOK\r\n"
ODD_LINES = ["unrecognized key 70!", "Multi-media mode               : Data Only"]
# Log names as people name them; the last begins with a character Windows
# would once have made a "?" of.
NAMES = ["Дмитрий-modem.log", "日本-call.log", "modem-\U0001F4DE.log", "modem-Müller.log",
         "my modem.log", "\uFF1Fmodem.log"]
# The ANSI code page Wine gives the system for LANG (C.UTF-8 by default),
# which our manifest (UTF-8) overrides for vexa alone.
SYSTEM_CODE_PAGE = "cp1251" if os.environ.get("LANG", "").startswith("ru_RU") else "cp1252"

CONFIG = {"exe": None, "probe": None, "wine": None}
# How long a wait may take before it counts as a failure. Generous: in the
# emulated machine of scripts/guest, on a loaded host, a window can take half
# a minute to come up; a passing test never waits this out.
PATIENCE = 120
# The probe's results besides 0 (done).
NOT_THERE = 10
MISSING = 11
# X's event code.
SELECTION_NOTIFY = 31


def lines(text_lines, prefix=""):
    return "".join(prefix + line + "\r\n" for line in text_lines).encode()


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def tiny_png():
    """A 2x2 red picture, made without any imaging library."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    rows = b"".join(b"\0" + b"\xff\0\0" * 2 for _ in range(2))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 2, 2, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def eventually(read, expected, timeout=PATIENCE):
    """Polls read() until it gives expected; returns the last value so the
    caller's assertEqual shows what was there instead."""
    deadline = time.monotonic() + timeout
    while True:
        value = read()
        if value == expected or time.monotonic() > deadline:
            return value
        time.sleep(0.2)


def run(command, timeout=PATIENCE):
    """Runs a command and returns its CompletedProcess with the output.
    The output goes through files, not pipes: a Wine program may start Wine's
    own services, which inherit its handles and outlive it, and a pipe would
    then stay open until the timeout."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        result = subprocess.run(command, stdout=out, stderr=err, timeout=timeout)
        out.seek(0)
        err.seek(0)
        result.stdout, result.stderr = out.read(), err.read()
    return result


X11 = None


def x_selection(timeout):
    """The CLIPBOARD selection as UTF-8, or None without an answer in time;
    b"" when the owner refused (its window was replaced while the request
    was on its way, as Wine does on every clipboard change).

    A second request follows the real one: Wine's desktop process handles
    the last X event of a batch after it flushed its output, and then sleeps
    with that answer unsent until something else wakes it -- seconds at
    best, forever when nothing else happens. The second request is that
    last event, so the one asked for is always sent."""
    global X11
    if X11 is None:
        X11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        ptr, ulong = ctypes.c_void_p, ctypes.c_ulong
        for name, restype, argtypes in [
                ("XOpenDisplay", ptr, [ctypes.c_char_p]),
                ("XDefaultRootWindow", ulong, [ptr]),
                ("XCreateSimpleWindow", ulong, [ptr, ulong, ctypes.c_int, ctypes.c_int]
                 + [ctypes.c_uint] * 3 + [ulong] * 2),
                ("XInternAtom", ulong, [ptr, ctypes.c_char_p, ctypes.c_int]),
                ("XConvertSelection", ctypes.c_int, [ptr] + [ulong] * 5),
                ("XPending", ctypes.c_int, [ptr]), ("XFlush", ctypes.c_int, [ptr]),
                ("XConnectionNumber", ctypes.c_int, [ptr]), ("XCloseDisplay", ctypes.c_int, [ptr]),
                ("XNextEvent", ctypes.c_int, [ptr, ptr]), ("XFree", ctypes.c_int, [ptr]),
                ("XGetWindowProperty", ctypes.c_int,
                 [ptr, ulong, ulong, ctypes.c_long, ctypes.c_long, ctypes.c_int, ulong] + [ptr] * 5)]:
            getattr(X11, name).restype, getattr(X11, name).argtypes = restype, argtypes
    x = X11
    display = x.XOpenDisplay(None)
    if not display:
        raise AssertionError("cannot open the X display")
    try:
        window = x.XCreateSimpleWindow(display, x.XDefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0)
        atom = lambda name: x.XInternAtom(display, name, 0)
        utf8, data = atom(b"UTF8_STRING"), atom(b"VEXA_DATA")
        x.XConvertSelection(display, atom(b"CLIPBOARD"), utf8, data, window, 0)
        x.XConvertSelection(display, atom(b"CLIPBOARD"), atom(b"TIMESTAMP"), atom(b"VEXA_WAKE"),
                            window, 0)
        x.XFlush(display)
        # An XEvent; a SelectionNotify's fields are longs: type, serial,
        # send_event, display, requestor, selection, target, property.
        event = (ctypes.c_long * 24)()
        deadline = time.monotonic() + timeout
        while event[0] & 0xFFFFFFFF != SELECTION_NOTIFY or event[6] != utf8:
            while not x.XPending(display):
                left = deadline - time.monotonic()
                if left <= 0 or not select.select([x.XConnectionNumber(display)], [], [], left)[0]:
                    return None
            x.XNextEvent(display, event)
        if event[7] == 0:
            return b""
        kind, size, count, rest, value = (ctypes.c_ulong(), ctypes.c_int(), ctypes.c_ulong(),
                                          ctypes.c_ulong(), ctypes.c_void_p())
        x.XGetWindowProperty(display, window, data, 0, 1 << 24, 0, 0, ctypes.byref(kind),
                             ctypes.byref(size), ctypes.byref(count), ctypes.byref(rest),
                             ctypes.byref(value))
        if not value.value:
            return b""
        text = ctypes.string_at(value, count.value * size.value // 8)
        x.XFree(value)
        return text
    finally:
        x.XCloseDisplay(display)


class Probe:
    """One probe process for the whole run, answering over a pipe: starting
    Wine for every question would cost more than all the questions."""

    def __init__(self):
        self.proc = None
        self.pending = b""

    def ask(self, args, timeout):
        """Returns the probe's result and output."""
        try:
            return self._ask(args, timeout)
        except OSError as trouble:
            self.stop()
            raise AssertionError("probe %s: %s" % (" ".join(args), trouble))

    def _ask(self, args, timeout):
        if self.proc is None:
            self.proc = subprocess.Popen(CONFIG["wine"] + [CONFIG["probe"], "serve"],
                                         stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                         stderr=subprocess.DEVNULL)
            self.pending = b""
        self.proc.stdin.write(("\t".join(args) + "\n").encode())
        self.proc.stdin.flush()
        deadline = time.monotonic() + timeout
        header = self._read(lambda data: b"\n" in data, deadline)
        line, _, self.pending = header.partition(b"\n")
        returncode, length = (int(n) for n in line.split())
        body = self._read(lambda data: len(data) >= length, deadline)
        out, self.pending = body[:length], body[length:]
        return returncode, out

    def _read(self, enough, deadline):
        data = self.pending
        while not enough(data):
            remaining = deadline - time.monotonic()
            if remaining <= 0:
                raise OSError("no answer in time")
            ready, _, _ = select.select([self.proc.stdout], [], [], remaining)
            if ready:
                chunk = os.read(self.proc.stdout.fileno(), 65536)
                if not chunk:
                    raise OSError("the probe ended")
                data += chunk
        return data

    def stop(self):
        if self.proc is None:
            return
        try:
            self.proc.stdin.close()
            self.proc.wait(5)
        except (OSError, subprocess.TimeoutExpired):
            self.proc.kill()
            self.proc.wait(10)
        self.proc.stdout.close()
        self.proc = None


PROBE = Probe()
# The desktops not closed yet: an interrupted test skips its clean-up.
LIVE = []


class Desktop:
    """The X display, Wine and one running vexa: everything a test or the
    screenshot script does to the program goes through here."""

    def __init__(self, workdir):
        self.workdir = workdir
        self.vexa = None
        self.started = []
        self.log = open(os.path.join(workdir, "wine.log"), "wb")
        LIVE.append(self)

    # -- programs -------------------------------------------------------------

    def start(self, *args, exe=None, wait=True):
        # Left open by a case of a table that failed: the next case starts
        # on its own.
        if self.vexa is not None and self.vexa.poll() is None:
            self.stop()
        if self.window_exists(TITLE):
            raise AssertionError("a vexa window is already open; the probe would read that one")
        self.vexa = subprocess.Popen(CONFIG["wine"] + [exe or CONFIG["exe"]] + list(args),
                                     cwd=self.workdir, stdin=subprocess.DEVNULL,
                                     stdout=self.log, stderr=self.log)
        self.started.append(self.vexa)
        if wait:
            self.wait_window(TITLE)
        return self.vexa

    def stop(self):
        """Ends the running vexa at once, for the next case of a table."""
        self.vexa.kill()
        self.vexa.wait(10)
        self.wait_gone(TITLE)

    def exit_code(self, timeout=PATIENCE):
        return self.vexa.wait(timeout)

    def close(self):
        for proc in self.started:
            if proc and proc.poll() is None:
                proc.kill()
                try:
                    proc.wait(10)
                except subprocess.TimeoutExpired:
                    # A Wine process that ignores SIGKILL is stuck in the
                    # server: stopping the server is all that is left.
                    run(["wineserver", "-k"], timeout=30)
        if self.started:
            # Wine removes a killed program's windows once it has noticed,
            # which takes seconds in the emulated machine (scripts/guest);
            # the next test must not find them.
            self.probe("wait-gone", TITLE, str(PATIENCE), check=False, timeout=2 * PATIENCE)
        self.log.close()
        if self in LIVE:
            LIVE.remove(self)

    def probe(self, *args, check=True, timeout=PATIENCE):
        """Asks the probe; a result other than 0 fails unless check is off."""
        returncode, out = PROBE.ask(args, timeout)
        if check and returncode != 0:
            raise AssertionError("probe %s failed (%d): %s" % (
                " ".join(args), returncode, out.decode(errors="replace")))
        return types.SimpleNamespace(returncode=returncode, stdout=out)

    def text(self, *args):
        return self.probe(*args).stdout

    def report(self):
        return self.text("report")

    def source(self):
        return self.text("source").decode()

    def pane(self, number):
        return self.text("pane", str(number)).decode()

    def geometry(self):
        values = {}
        for row in self.text("geometry").decode().splitlines():
            name, numbers = row.split("=")
            values[name] = [int(n) for n in numbers.split()]
        return values

    def screen_point(self, control, dx=None):
        """A point inside a control ("view" or "bar"), on the screen: its
        middle, or dx pixels from its left edge."""
        g = self.geometry()
        left, top, right, bottom = g[control]
        origin_x = g["bar-screen"][0] - g["bar"][0]
        origin_y = g["bar-screen"][1] - g["bar"][1]
        x = left + (dx if dx is not None else (right - left) // 2)
        return origin_x + x, origin_y + (top + bottom) // 2

    def window_exists(self, title):
        return self.probe("wait-window", title, "0", check=False).returncode == 0

    def wait_window(self, title, timeout=PATIENCE):
        if self.probe("wait-window", title, str(timeout), check=False,
                      timeout=2 * timeout).returncode != 0:
            shown = self.text("windows").decode(errors="replace")
            raise AssertionError("no window %r within %ss; visible: %r" % (title, timeout, shown))

    def wait_gone(self, title, timeout=PATIENCE):
        if self.probe("wait-gone", title, str(timeout), check=False,
                      timeout=2 * timeout).returncode != 0:
            raise AssertionError("window %r still shown after %ss" % (title, timeout))

    eventually = staticmethod(eventually)

    # -- keyboard and mouse ---------------------------------------------------

    def x_window(self, title):
        """The X window of a Wine window; it may be mapped a little after
        Windows calls it visible."""
        deadline = time.monotonic() + PATIENCE
        while True:
            result = run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % title])
            ids = result.stdout.split()
            if ids:
                return ids[0].decode()
            if time.monotonic() > deadline:
                raise AssertionError("X has no window %r" % title)
            time.sleep(0.1)

    def take_keyboard(self, title):
        """Returns once keys typed now reach the window: X's input focus is
        on its X window, where the X server sends them, and Wine has made it
        the foreground window, to which Wine passes them on. X's focus, not
        the window manager's word (_NET_ACTIVE_WINDOW), decides where a key
        goes; while it is elsewhere a key is lost for good. Once both hold
        nothing moves the focus until the test acts again, and Wine reads
        every later key after the focus change that led here."""
        window = self.x_window(title)
        focus = lambda: run(["xdotool", "getwindowfocus"]).stdout.strip().decode()
        if focus() != window:
            # Once: each activation makes the window manager and Wine hand
            # the focus round again.
            run(["xdotool", "windowactivate", window])
            if eventually(focus, window) != window:
                raise AssertionError("window %r does not get X's input focus" % title)
        if eventually(lambda: self.text("foreground").decode(), title + "\n") != title + "\n":
            raise AssertionError("Wine does not make %r the foreground window" % title)
        if title == TITLE and eventually(lambda: self.text("focus") != b"none\n", True) is not True:
            raise AssertionError("no control of vexa's window has the keyboard focus")

    def keys(self, *names, title=TITLE):
        """Presses keys in the window, once each; the caller waits for what
        they do. A key that does not arrive fails the test."""
        self.take_keyboard(title)
        run(["xdotool", "key", "--delay", "60"] + list(names))

    def close_box(self, title, key="Return"):
        self.keys(key, title=title)
        self.wait_gone(title)

    def type(self, text, title):
        self.take_keyboard(title)
        run(["xdotool", "type", "--delay", "20", text])

    def resize(self, width, height):
        """Sizes vexa's window on the screen; returns once it is laid out
        anew, its status bar and report view as wide as the client area,
        which in Wine is as wide as the X window."""
        run(["xdotool", "windowsize", self.x_window(TITLE), str(width), str(height)])
        def widths():
            g = self.geometry()
            return g["client"][0], g["bar"][2] - g["bar"][0], g["view"][2]
        if eventually(widths, (width,) * 3) != (width,) * 3:
            raise AssertionError("no layout for the width %d: %r" % (width, self.geometry()))

    def click(self, x, y):
        # No --sync: it waits for motion, and there is none when the pointer
        # is already there.
        run(["xdotool", "mousemove", str(x), str(y), "sleep", "0.2", "click", "1"])

    def frame(self, title=TITLE):
        """The window on screen with the window manager's frame, x, y, w, h,
        and the height of the frame's title bar."""
        window = self.x_window(title)
        field = {}
        for row in run(["xwininfo", "-id", window]).stdout.decode().splitlines():
            name, _, value = row.strip().partition(":")
            field[name] = value.strip()
        extents = run(["xprop", "-id", window, "_NET_FRAME_EXTENTS"]).stdout.decode()
        left, right, top, bottom = [int(n) for n in extents.split("=")[1].split(",")]
        x = int(field["Absolute upper-left X"]) - left
        y = int(field["Absolute upper-left Y"]) - top
        return (x, y, int(field["Width"]) + left + right,
                int(field["Height"]) + top + bottom), top

    # -- clipboard ------------------------------------------------------------

    def set_clipboard(self, data, format="text"):
        """Copies data as another Windows program would: the probe puts it
        on the clipboard itself (see its copy command)."""
        if isinstance(data, str):
            data = data.encode()
        self.probe("copy", format, data.hex())

    def x_clipboard(self):
        """The clipboard as X programs get it. Wine's desktop process answers
        at once; silence is a fault, reported as such, not waited out. A
        refusal comes from the selection window Wine replaced while the
        request was on its way (it replaces it on every clipboard change):
        the new one is asked, as xclip does."""
        for _ in range(2):
            text = x_selection(30)
            if text is None:
                raise AssertionError("the clipboard's owner gave no answer in 30 s")
            if text:
                return text
        return b""


class UiTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="vexa-ui-")
        self.desk = Desktop(self.dir)
        self.addCleanup(shutil.rmtree, self.dir, ignore_errors=True)
        self.addCleanup(self.desk.close)

    def write(self, name, data):
        if isinstance(data, str):
            data = data.encode()
        with open(os.path.join(self.dir, name), "wb") as f:
            f.write(data)
        return os.path.join(self.dir, name)

    def copy_program(self, ini):
        """vexa.exe in a folder of its own, next to a vexa.ini."""
        folder = os.path.join(self.dir, "program")
        os.mkdir(folder)
        exe = os.path.join(folder, "vexa.exe")
        shutil.copy(CONFIG["exe"], exe)
        with open(os.path.join(folder, "vexa.ini"), "w", newline="\r\n", encoding="utf-8") as f:
            f.write("[Default]\n" + ini)
        return exe

    def assertReport(self, expected, timeout=PATIENCE):
        self.assertEqual(self.desk.eventually(self.desk.report, expected, timeout), expected)

    def assertSource(self, expected, timeout=PATIENCE):
        self.assertEqual(self.desk.eventually(self.desk.source, expected, timeout), expected)

    def assertViewerPane(self, expected, timeout=PATIENCE):
        self.assertEqual(self.desk.eventually(lambda: self.desk.pane(1), expected, timeout),
                         expected)

    def assertStaysOpen(self):
        time.sleep(0.5)
        self.assertIsNone(self.desk.vexa.poll(), "vexa ended")
        self.assertTrue(self.desk.window_exists(TITLE))

    def assertClosesWithZero(self):
        self.assertEqual(self.desk.exit_code(), 0)
        self.assertFalse(self.desk.window_exists(TITLE))


class StartUpTest(UiTest):
    def test_without_arguments_decodes_the_clipboard_once(self):
        self.desk.set_clipboard("abc " + CALL)
        self.desk.start()
        self.assertReport(lines(CALL_LINES))
        self.assertSource(FROM_CLIPBOARD)
        self.assertEqual(self.desk.pane(1), VIEWER_OFF)
        self.assertEqual(self.desk.text("focus"), b"1000\n")
        # Viewer mode is off, so a later change is not picked up.
        self.desk.set_clipboard(LOST)
        time.sleep(1.5)
        self.assertEqual(self.desk.report(), lines(CALL_LINES))

    def test_file_argument_and_prefix_options(self):
        self.write("call.log", CALL)
        cases = [
            ([], ""),
            (["+p"], "p "),
            (["+"], " "),
            (["-prefix", "s"], "s "),
            (["-PREFIX", "> "], ">  "),
            (["-prefix", "-clipview"], "-clipview "),
            (["-noprefix"], ""),
        ]
        self.desk.set_clipboard(LOST)
        for options, prefix in cases:
            with self.subTest(options=options):
                self.desk.start(*options, "call.log")
                self.assertReport(lines(CALL_LINES, prefix))
                self.assertSource("call.log")
                self.assertEqual(self.desk.pane(1), VIEWER_OFF)
                self.desk.stop()

    def test_settings_file_next_to_the_program(self):
        self.write("call.log", CALL)
        exe = self.copy_program("ClipboardViewer=1\nPrefix=#\nOpenFileName=call.log\n")
        self.desk.set_clipboard(LOST)
        self.desk.start(exe=exe)
        # The start-up file's report replaces the one viewer mode made on joining.
        self.assertReport(lines(CALL_LINES, "# "))
        self.assertSource("call.log")
        self.assertViewerPane(VIEWER_ON)
        self.desk.set_clipboard(SETUP)
        self.assertReport(lines(SETUP_LINES, "# "))
        self.assertSource(FROM_CLIPBOARD)

    def test_names_in_any_script(self):
        for name in NAMES:
            with self.subTest(name=name):
                self.write(name, CALL)
                self.desk.start(name)
                self.assertReport(lines(CALL_LINES))
                self.assertSource(name)
                self.desk.stop()
        path = windows_path(os.path.join(self.dir, NAMES[1]))
        self.desk.start(exe=self.copy_program("OpenFileName=%s\n" % path))
        self.assertReport(lines(CALL_LINES))
        self.assertSource(path)

    def test_command_line_wins_over_settings(self):
        self.write("call.log", CALL)
        self.write("other.log", RATE)
        exe = self.copy_program("ClipboardViewer=1\nPrefix=#\nOpenFileName=call.log\n")
        self.desk.set_clipboard(LOST)
        self.desk.start("-noprefix", "/NoClipView", "other.log", exe=exe)
        self.assertReport(lines(RATE_LINES))
        self.assertSource("other.log")
        self.assertEqual(self.desk.pane(1), VIEWER_OFF)

    def test_settings_file_without_start_up_file_joins_the_viewer_chain(self):
        exe = self.copy_program("ClipboardViewer=1\n")
        self.desk.set_clipboard(LOST)
        self.desk.start(exe=exe)
        self.assertReport(lines(LOST_LINES))
        self.assertSource(FROM_CLIPBOARD)
        self.assertViewerPane(VIEWER_ON)

    def test_character_device_as_start_up_file_reads_the_clipboard(self):
        self.desk.set_clipboard(LOST)
        self.desk.start("NUL")
        self.assertReport(lines(LOST_LINES))
        self.assertSource("NUL")

    def test_bad_command_lines_show_the_usage_box(self):
        cases = [
            ["-h"],
            ["/?"],
            ["?x"],
            ["-prefix"],
            ["+a", "-noprefix"],
            ["-clipview", "-noclipview"],
            ["one.log", "two.log"],
        ]
        for options in cases:
            with self.subTest(options=options):
                self.desk.start(*options, wait=False)
                self.desk.wait_window("vexa")
                box_text = lambda: self.desk.probe("box", "vexa", check=False).stdout.decode()
                self.assertEqual(eventually(box_text, USAGE), USAGE)
                self.assertFalse(self.desk.window_exists(TITLE))
                self.desk.close_box("vexa")
                self.assertEqual(self.desk.exit_code(), 0)
                self.assertFalse(self.desk.window_exists(TITLE))

    def test_start_up_file_that_cannot_be_opened(self):
        self.desk.set_clipboard(CALL)
        for name in ["missing.log", "-x"]:
            with self.subTest(name=name):
                self.desk.start(name, wait=False)
                self.desk.wait_window("Cannot open file")
                box_text = lambda: self.desk.text("box", "Cannot open file").decode()
                self.assertEqual(eventually(box_text, "No such file or directory"),
                                 "No such file or directory")
                self.desk.keys("Return", title="Cannot open file")
                self.desk.wait_window(TITLE)
                # A start-up file was named, so the clipboard is not decoded.
                time.sleep(0.5)
                self.assertEqual(self.desk.report(), b"")
                self.assertEqual(self.desk.source(), "")
                self.desk.keys("alt+F4")
                self.assertClosesWithZero()


class CommandTest(UiTest):
    def test_open_dialog_loads_the_chosen_file(self):
        log = self.write("call.log", CALL)
        self.write("first.log", LOST)
        self.desk.start("first.log")
        self.assertReport(lines(LOST_LINES))
        self.desk.keys("ctrl+l")
        self.desk.wait_window("Open")
        self.desk.type(windows_path(log), title="Open")
        self.desk.keys("Return", title="Open")
        self.desk.wait_gone("Open")
        self.assertReport(lines(CALL_LINES))
        self.assertSource(windows_path(log))

    def test_open_dialog_cancelled_keeps_the_report(self):
        self.write("call.log", CALL)
        self.desk.start("call.log")
        self.assertReport(lines(CALL_LINES))
        self.desk.keys("ctrl+l")
        self.desk.wait_window("Open")
        self.desk.keys("Escape", title="Open")
        self.desk.wait_gone("Open")
        self.assertEqual(self.desk.report(), lines(CALL_LINES))
        self.assertEqual(self.desk.source(), "call.log")

    def save_as(self, name):
        """Saves through Ctrl+S and the dialog; returns the folder's files."""
        self.desk.keys("ctrl+s")
        self.desk.wait_window("Save As")
        path = windows_path(os.path.join(self.dir, name))
        if path.isascii():
            self.desk.type(path, title="Save As")
        else:
            # xdotool types no such name. After a first save only: set once
            # the dialog has put that name into its name box, a moment after
            # it shows.
            eventually(lambda: self.desk.text("text", "Save As", "1148") != b"", True)
            self.desk.probe("set-text", "Save As", "1148", path)
        self.desk.keys("Return", title="Save As")
        self.desk.wait_gone("Save As")
        # The window answers only once the save has run to its end.
        self.desk.report()
        return sorted(os.listdir(self.dir))

    def read(self, name):
        with open(os.path.join(self.dir, name), "rb") as f:
            return f.read()

    def test_save_adds_the_extension_and_writes_header_and_report(self):
        self.write("call.log", ODD)
        self.desk.start("+p", "call.log")
        self.assertReport(lines(ODD_LINES, "p "))
        self.assertIn("saved.log", self.save_as("saved"))
        self.assertNotIn("saved", os.listdir(self.dir))
        banner, notice, rule, report = self.read("saved.log").split(b"\r\n", 3)
        self.assertEqual(banner, b"p " + BANNER.encode())
        self.assertTrue(notice.startswith(b"p ") and len(notice) > 2, notice)
        self.assertNotIn(b"\n", notice)
        self.assertEqual(rule, b"p " + RULE.encode())
        self.assertEqual(report, lines(ODD_LINES, "p "))
        self.assertIn("Дмитрий.log", self.save_as("Дмитрий"))
        self.assertEqual(self.read("Дмитрий.log"), self.read("saved.log"))

    def test_save_before_any_report_writes_the_header_only(self):
        self.desk.start("missing.log", wait=False)
        self.desk.wait_window("Cannot open file")
        self.desk.keys("Return", title="Cannot open file")
        self.desk.wait_window(TITLE)
        self.assertIn("empty.txt", self.save_as("empty.txt"))
        saved = self.read("empty.txt")
        self.assertTrue(saved.startswith(BANNER.encode() + b"\r\n"), saved)
        self.assertTrue(saved.endswith(b"\r\n" + RULE.encode() + b"\r\n"), saved)
        self.assertEqual(saved.count(b"\r\n"), 3, saved)

    def assertProposedName(self, keys, title, expected):
        self.desk.keys(keys)
        self.desk.wait_window(title)
        # The name box of the common file dialogs (cmb13), which the dialog
        # fills a moment after it shows.
        name = eventually(lambda: self.desk.text("text", title, "1148").decode(), expected)
        self.desk.keys("Escape", title=title)
        self.desk.wait_gone(title)
        self.assertEqual(name, expected)

    def test_dialogs_propose_their_own_last_names(self):
        log = self.write("call.log", CALL)
        self.desk.start("call.log")
        self.assertReport(lines(CALL_LINES))
        # A file from the command line is not the open dialog's choice.
        self.assertProposedName("ctrl+l", "Open", "")
        self.assertIn("first.log", self.save_as("first"))
        self.assertProposedName("ctrl+s", "Save As", "first.log")
        self.assertProposedName("ctrl+l", "Open", "")

        self.desk.keys("ctrl+l")
        self.desk.wait_window("Open")
        self.desk.type(windows_path(log), title="Open")
        self.desk.keys("Return", title="Open")
        self.desk.wait_gone("Open")
        self.assertSource(windows_path(log))
        self.assertProposedName("ctrl+l", "Open", "call.log")
        self.assertProposedName("ctrl+s", "Save As", "first.log")

    def test_clipboard_keys_decode_the_clipboard(self):
        self.write("call.log", CALL)
        self.desk.start("call.log")
        self.assertReport(lines(CALL_LINES))
        # Click into the report view first: the accelerators must work while
        # it has the focus.
        self.desk.click(*self.desk.screen_point("view"))
        self.assertEqual(self.desk.text("focus"), b"1000\n")
        # The last two quote a copy beyond ASCII: one in UTF-16 (as programs of
        # today copy), one in the system's code page (as older ones do).
        bad = "DIAG <2A4D3263 0%s>\r\nOK\r\n"
        for key, text, expected, form in [
            ("F5", LOST, LOST_LINES, "text"),
            ("ctrl+v", SETUP, SETUP_LINES, "text"),
            ("shift+Insert", RATE, RATE_LINES, "text"),
            ("F5", "no marker here", [NO_STATISTICS], "text"),
            ("F5", bad % "Дм", ["unrecognized format 'DIAG <2A4D3263 0Дм'!"], "unicode"),
            ("F5", (bad % "é").encode(SYSTEM_CODE_PAGE),
             ["unrecognized format 'DIAG <2A4D3263 0é'!"], "text"),
        ]:
            with self.subTest(key=key, text=text):
                self.desk.set_clipboard(text, format=form)
                self.desk.keys(key)
                self.assertReport(lines(expected))
                self.assertSource(FROM_CLIPBOARD)

    def test_picture_on_the_clipboard(self):
        self.write("call.log", CALL)
        self.desk.start("-prefix", "x", "call.log")
        self.assertReport(lines(CALL_LINES, "x "))
        self.desk.set_clipboard(tiny_png(), format="PNG")
        self.desk.keys("F5")
        self.assertReport(lines([NO_TEXT], "x "))
        self.assertSource(FROM_CLIPBOARD)

    def test_log_is_read_up_to_ctrl_z(self):
        self.write("cut.log", "DIAG <2A4D3263 0=10 1=0>\r\n\x1aDIAG <2A4D3263 60=3C>\r\nOK\r\n")
        self.desk.start("cut.log")
        self.assertReport(lines(SETUP_LINES))

    def copy(self, *selection_keys):
        """Selects with the keys, copies with Ctrl+C and returns the copied
        text as Windows programs get it. The clipboard is read once its
        change count moved: reading it earlier would hold it open while vexa
        wants to copy."""
        count = lambda: self.desk.text("sequence")
        before = count()
        self.desk.keys(*selection_keys, "ctrl+c")
        if eventually(lambda: count() != before, True) is not True:
            self.fail("nothing copied")
        return self.desk.text("clipboard")

    def test_select_all_and_copy_puts_header_and_report_on_the_clipboard(self):
        self.write("call.log", CALL)
        for prefix in ["", "p", "Müller", "Дмитрий"]:
            with self.subTest(prefix=prefix):
                self.desk.start(*(["+" + prefix] if prefix else []), "call.log")
                shown = lines(CALL_LINES, prefix + " " if prefix else "")
                self.assertReport(shown)
                # CF_TEXT, as the probe (no UTF-8 manifest) reads it: in the
                # system's code page, "?" for what it lacks.
                text = self.copy("ctrl+a")
                banner, notice, rule, report = text.split(b"\r\n", 3)
                self.assertEqual(banner, BANNER.encode())
                self.assertTrue(notice and not notice.startswith(b"p "), notice)
                self.assertEqual(rule, RULE.encode())
                self.assertEqual(report, shown.decode().encode(SYSTEM_CODE_PAGE, "replace"))
                # Other X programs get the UTF-16 text, every character whole.
                header = text[:len(text) - len(report)]
                self.assertEqual(self.desk.x_clipboard().replace(b"\r\n", b"\n"),
                                 (header + shown).replace(b"\r\n", b"\n"))
                # Copying did not change the report, the clipboard is not re-read.
                self.assertEqual(self.desk.report(), shown)
                characters = str(len(shown.decode())).encode()
                self.assertEqual(self.desk.text("sel").split(), [b"0", characters])
                self.desk.stop()

    def test_copy_gives_the_header_and_exactly_the_selection(self):
        self.write("call.log", CALL)
        self.desk.start("call.log")
        self.assertReport(lines(CALL_LINES))
        text = self.copy("ctrl+a")
        self.assertTrue(text.endswith(lines(CALL_LINES)), text)
        header = b"\r\n".join(text.split(b"\r\n", 3)[:3]) + b"\r\n"
        for keys, selected in [
            (["ctrl+Home"], b""),
            (["ctrl+Home", "shift+End"], CALL_LINES[0].encode()),
            (["ctrl+Home", "Down", "shift+Right", "shift+Right", "shift+Right", "shift+Right"],
             b"Call"),
            (["ctrl+End", "shift+Up"], CALL_LINES[-1].encode() + b"\r\n"),
        ]:
            with self.subTest(keys=keys):
                text = self.copy(*keys)
                self.assertEqual(text, header + selected)

    def test_about_box(self):
        self.write("call.log", CALL)
        self.desk.start("call.log")
        self.assertReport(lines(CALL_LINES))
        for key in ["Escape", "Return"]:
            with self.subTest(closed_by=key):
                self.desk.keys("F1")
                self.desk.wait_window("About")
                banner, maker, contact = self.desk.text("about").decode().split("\n")[:3]
                self.assertEqual(banner, BANNER)
                self.assertTrue(maker and contact and maker != contact, (maker, contact))
                self.assertEqual(self.desk.text("enabled"), b"0\n")
                self.desk.keys(key, title="About")
                self.desk.wait_gone("About")
                self.assertEqual(self.desk.text("enabled"), b"1\n")
                self.assertEqual(self.desk.report(), lines(CALL_LINES))

    def test_enter_does_not_close_the_window(self):
        # The dialog handling turns Enter into IDOK, which the window ignores.
        # (Escape in the multi-line report view makes the edit control itself
        # post WM_CLOSE, so it does close the window.)
        self.write("call.log", CALL)
        self.desk.start("call.log")
        self.assertReport(lines(CALL_LINES))
        self.desk.keys("Return", "KP_Enter")
        self.assertStaysOpen()
        self.assertEqual(self.desk.report(), lines(CALL_LINES))

    def test_menu_help_in_the_status_bar(self):
        self.write("call.log", CALL)
        self.desk.start("call.log")
        self.assertSource("call.log")
        self.desk.keys("alt+f")
        expected = [
            (SAVE_HELP, None),
            ("Load modem statistics from file and decode...", "Down"),
            ("Decode modem statistics from clipboard", "Down"),
            ("Toggle clipboard viewer mode", "Down"),
            ("Close program", "Down"),
            ("About Veltrano Statistics", "Right"),
        ]
        for help_text, key in expected:
            with self.subTest(help=help_text):
                if key:
                    run(["xdotool", "key", key])
                # In simple mode Wine answers for any pane with the simple text.
                self.assertEqual(self.desk.eventually(lambda: self.desk.pane(0), help_text),
                                 help_text)
                self.assertEqual(self.desk.text("simple"), b"1\n")
        run(["xdotool", "key", "Escape", "Escape"])
        self.assertEqual(self.desk.eventually(lambda: self.desk.text("simple"), b"0\n"), b"0\n")
        self.assertEqual(self.desk.source(), "call.log")
        self.assertEqual(self.desk.pane(1), VIEWER_OFF)
        self.assertStaysOpen()

    def test_resizing_lays_out_view_and_status_bar(self):
        self.desk.set_clipboard(CALL)
        self.desk.start()
        self.assertReport(lines(CALL_LINES))
        for width, height in [(700, 500), (220, 200), (420, 300)]:
            with self.subTest(size=(width, height)):
                self.desk.resize(width, height)
                g = self.desk.geometry()
                client_w, client_h = g["client"]
                bar, view = g["bar"], g["view"]
                self.assertEqual(bar[2] - bar[0], client_w)
                self.assertEqual(bar[3], client_h)
                self.assertEqual(view[:3], [0, 0, client_w])
                self.assertEqual(view[3], bar[1])
                edge = max(50, client_w - 150)
                self.assertEqual(self.desk.text("parts").decode().split(), [str(edge), "-1"])
                self.assertEqual(self.desk.pane(1), VIEWER_OFF)
                self.assertEqual(self.desk.source(), FROM_CLIPBOARD)


class ClosingTest(UiTest):
    def test_every_way_to_close_ends_with_code_zero(self):
        def menu_close():
            self.desk.keys("alt+f")
            self.assertEqual(self.desk.eventually(lambda: self.desk.pane(0), SAVE_HELP), SAVE_HELP)
            run(["xdotool", "key", "c"])

        def close_box():
            (x, y, width, _), title_bar = self.desk.frame()
            # The window manager's close button ends its title bar.
            self.desk.click(x + width - title_bar // 2 - 2, y + title_bar // 2)

        for name, close in [("menu Close", menu_close), ("close box", close_box),
                            ("Alt+F4", lambda: self.desk.keys("alt+F4"))]:
            with self.subTest(way=name):
                self.desk.set_clipboard(CALL)
                self.desk.start("-clipview")
                self.assertReport(lines(CALL_LINES))
                close()
                self.assertClosesWithZero()


class ViewerModeTest(UiTest):
    def viewer_pane_point(self):
        edge = int(self.desk.text("parts").split()[0])
        width = self.desk.geometry()["client"][0]
        # Halfway between the pane edge and the size grip.
        return self.desk.screen_point("bar", (edge + width) // 2 - 10)

    def source_pane_point(self):
        return self.desk.screen_point("bar", 20)

    def test_viewer_mode_follows_changes_made_by_other_programs(self):
        self.desk.set_clipboard(CALL)
        self.desk.start("-clipview")
        self.assertReport(lines(CALL_LINES))
        self.assertViewerPane(VIEWER_ON)

        for text, expected in [(LOST, LOST_LINES), (SETUP, SETUP_LINES), (ODD, ODD_LINES)]:
            self.desk.set_clipboard(text)
            self.assertReport(lines(expected))
            self.assertSource(FROM_CLIPBOARD)

        self.desk.set_clipboard(tiny_png(), format="PNG")
        self.assertReport(lines([NO_TEXT]))

        self.desk.keys("F3")
        self.assertViewerPane(VIEWER_OFF)
        self.desk.set_clipboard(RATE)
        time.sleep(1.5)
        self.assertEqual(self.desk.report(), lines([NO_TEXT]))

        # Joining again decodes the clipboard at once.
        self.desk.keys("F3")
        self.assertViewerPane(VIEWER_ON)
        self.assertReport(lines(RATE_LINES))

    def test_own_copy_is_not_decoded_but_the_next_change_is(self):
        self.desk.set_clipboard(LOST)
        self.desk.start("-clipview")
        self.assertReport(lines(LOST_LINES))
        self.desk.keys("ctrl+a", "ctrl+c")
        self.assertEqual(self.desk.eventually(lambda: self.desk.x_clipboard()[:len(BANNER)],
                                              BANNER.encode()), BANNER.encode())
        time.sleep(1)
        # Decoding the copy would have given the no-statistics message and
        # dropped the selection.
        self.assertEqual(self.desk.report(), lines(LOST_LINES))
        self.assertEqual(self.desk.text("sel").split(),
                         [b"0", str(len(lines(LOST_LINES))).encode()])
        # Wine sends two notifications when another program takes the
        # clipboard over from vexa; the second can arrive while the first
        # decode waits for the data, and must not add a second report.
        self.desk.set_clipboard(SETUP)
        self.assertReport(lines(SETUP_LINES))
        time.sleep(1)
        self.assertEqual(self.desk.report(), lines(SETUP_LINES))

    def test_click_on_the_viewer_pane_toggles_the_mode(self):
        self.write("call.log", CALL)
        self.desk.set_clipboard(LOST)
        self.desk.start("call.log")
        self.assertReport(lines(CALL_LINES))
        self.assertEqual(self.desk.pane(1), VIEWER_OFF)

        self.desk.click(*self.source_pane_point())
        time.sleep(0.5)
        self.assertEqual(self.desk.pane(1), VIEWER_OFF)
        self.assertEqual(self.desk.report(), lines(CALL_LINES))

        self.desk.click(*self.viewer_pane_point())
        self.assertViewerPane(VIEWER_ON)
        self.assertReport(lines(LOST_LINES))
        self.assertSource(FROM_CLIPBOARD)

        self.desk.click(*self.viewer_pane_point())
        self.assertViewerPane(VIEWER_OFF)
        self.desk.set_clipboard(SETUP)
        time.sleep(1.5)
        self.assertEqual(self.desk.report(), lines(LOST_LINES))


def interrupted(signum, frame):
    raise KeyboardInterrupt


@contextlib.contextmanager
def wine_session():
    """Starts the Wine server once for the whole run, so each test's start-up
    stays short, and stops everything the run started when it ends, also on
    Ctrl+C or a test runner's TERM."""
    signal.signal(signal.SIGTERM, interrupted)
    signal.signal(signal.SIGHUP, interrupted)
    # It must not hold this script's output open once it is gone. Exit code
    # 0: no server was running, so this run owns the one it started.
    started = subprocess.run(["wineserver", "-p60"], stdin=subprocess.DEVNULL,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                             timeout=30).returncode == 0
    try:
        yield
    finally:
        for desk in list(LIVE):
            desk.close()
        PROBE.stop()
        if started:
            run(["wineserver", "-k"], timeout=30)


def main():
    """Runs the tests of the script that was started (this one, or another
    suite built on it)."""
    suite = sys.modules["__main__"]
    parser = argparse.ArgumentParser(description=suite.__doc__.splitlines()[0])
    parser.add_argument("--exe", required=True)
    parser.add_argument("--probe", required=True)
    options, rest = parser.parse_known_args()
    CONFIG["exe"] = os.path.abspath(options.exe)
    CONFIG["probe"] = os.path.abspath(options.probe)
    CONFIG["wine"] = shlex.split(os.environ.get("VEXA_WINE", "")) or [
        os.path.join(REPO, "scripts", "wine-run")]
    os.environ.setdefault("WINEPREFIX", os.path.expanduser("~/.wine-vexa"))
    os.environ.setdefault("WINEDEBUG", "-all")
    # Wine reads the names in the arguments in the locale's character set,
    # as ASCII where the system lacks the locale.
    os.environ.setdefault("LANG", "C.UTF-8")
    try:
        locale.setlocale(locale.LC_ALL, "")
    except locale.Error:
        sys.exit("test_ui.py: this system has no locale %s (scripts/install-prereqs makes "
                 "ru_RU.UTF-8)" % os.environ["LANG"])
    if not os.environ.get("DISPLAY"):
        sys.exit("test_ui.py needs DISPLAY with a window manager (run it under scripts/with-display)")

    try:
        with wine_session():
            unittest.main(module=suite, argv=[sys.argv[0]] + rest, verbosity=2)
    except KeyboardInterrupt:
        sys.exit("test_ui.py: interrupted")


if __name__ == "__main__":
    main()
