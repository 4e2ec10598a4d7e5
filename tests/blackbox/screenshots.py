#!/usr/bin/env python3
"""Takes the screenshots in docs/screenshots: vexa.exe under Wine with a
decoded call, narrowed, with its File menu open, with the About box, and in
clipboard viewer mode (also with the menu's check mark). Each picture is cropped to its
window and frame.

    scripts/with-display tests/blackbox/screenshots.py --exe vexa.exe --probe probe.exe

With --dpi 144 or 192 it takes the main window in viewer mode and the About
box at that DPI instead, named main-window-192dpi.png and so on; at 192 the
window needs a larger screen than the default one of scripts/with-display:
VEXA_SCREEN=2560x1600x24 scripts/with-display tests/blackbox/screenshots.py ...

Needs what test_ui.py needs (Wine, xdotool) and ImageMagick.
"""
import argparse
import os
import shlex
import shutil
import sys
import tempfile
import time

import test_ui
from test_ui import CONFIG, TITLE, Desktop, run

# A V.34 call as a modem reports it, with most of the catalogue filled.
V34_CALL = (
    "AT*VXD\r\n"
    "DIAG <2A4D3263 0=10 1=7 2=0 3=0 4=C1 5=C1 10=1C 11=A 12=2D 13=12 14=1E 15=20>\r\n"
    "DIAG <2A4D3263 16=3 17=2C 18=1000A 20=C 21=C 22=D65 23=D65 24=780 25=780>\r\n"
    "DIAG <2A4D3263 26=7080 27=7080 34=7080 35=7080 30=0 31=1 32=2 33=1 40=1 44=1>\r\n"
    "DIAG <2A4D3263 41=100 42=0 43=3 45=800 50=2 51=2 52=3A98 53=1F40 54=0 55=0>\r\n"
    "DIAG <2A4D3263 56=1D4 57=F3 58=0 59=1 60=3C 61=0 81=REV5>\r\n"
    "OK\r\n")
SIZE = (620, 600)


def shoot(desk, title, path):
    """Saves the window with its frame once the picture holds still: two
    captures in a row are the same, so the last repaint has landed."""
    (x, y, width, height), _ = desk.frame(title)
    crop = ["-crop", "%dx%d+%d+%d" % (width, height, x, y), "+repage"]
    before = None
    for attempt in range(50):
        picture = run(["import", "-window", "root"] + crop + ["ppm:-"]).stdout
        if picture and picture == before:
            break
        before = picture
        time.sleep(0.2)
    else:
        sys.exit("screenshots: %r does not hold still" % title)
    with tempfile.NamedTemporaryFile(suffix=".ppm") as raw:
        raw.write(picture)
        raw.flush()
        # No time stamps, so that an unchanged window gives an unchanged file.
        run(["convert", raw.name, "-define", "png:exclude-chunks=date,time", path])
    print("wrote", path)


def wait_for(read, expected, what):
    if test_ui.eventually(read, expected) != expected:
        sys.exit("screenshots: %s did not appear" % what)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--exe", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--out", default=os.path.join(test_ui.REPO, "docs", "screenshots"))
    parser.add_argument("--dpi", type=int, default=96)
    options = parser.parse_args()
    CONFIG["exe"] = os.path.abspath(options.exe)
    CONFIG["probe"] = os.path.abspath(options.probe)
    CONFIG["wine"] = shlex.split(os.environ.get("VEXA_WINE", "")) or [
        os.path.join(test_ui.REPO, "scripts", "wine-run")]
    os.environ.setdefault("WINEPREFIX", os.path.expanduser("~/.wine-vexa"))
    os.environ.setdefault("WINEDEBUG", "-all")
    if not os.environ.get("DISPLAY"):
        sys.exit("screenshots.py needs DISPLAY with a window manager (use scripts/with-display)")
    os.makedirs(options.out, exist_ok=True)
    out = lambda name: os.path.join(options.out, name)

    workdir = tempfile.mkdtemp(prefix="vexa-shots-")
    try:
        with test_ui.wine_session():
            if options.dpi == 96:
                take(Desktop(workdir), out)
            else:
                take_scaled(Desktop(workdir), out, options.dpi)
    except KeyboardInterrupt:
        sys.exit("screenshots: interrupted")
    finally:
        shutil.rmtree(workdir, ignore_errors=True)


def take(desk, out):
    with open(os.path.join(desk.workdir, "v34-call.log"), "w", newline="") as f:
        f.write(V34_CALL)
    desk.start("v34-call.log")
    desk.resize(*SIZE)
    wait_for(desk.source, "v34-call.log", "the decoded call")
    shoot(desk, TITLE, out("main-window.png"))

    desk.keys("alt+f")
    run(["xdotool", "key", "Down"])
    wait_for(lambda: desk.pane(0), "Load modem statistics from file and decode...",
             "the menu help")
    shoot(desk, TITLE, out("file-menu.png"))
    run(["xdotool", "key", "Escape", "Escape"])

    # Narrow enough that the source pane keeps its least width.
    desk.resize(180, 200)
    wait_for(lambda: desk.text("parts"), b"50 -1\n", "the narrow layout")
    shoot(desk, TITLE, out("narrow-window.png"))
    desk.resize(*SIZE)

    desk.keys("F1")
    desk.wait_window("About")
    shoot(desk, "About", out("about-box.png"))
    desk.keys("Escape", title="About")
    desk.wait_gone("About")
    desk.stop()

    desk.set_clipboard(V34_CALL)
    desk.start("-clipview")
    desk.resize(*SIZE)
    wait_for(lambda: desk.pane(1), "Clipboard Viewer On", "viewer mode")
    wait_for(desk.source, "Report from clipboard", "the decoded clipboard")
    shoot(desk, TITLE, out("viewer-mode.png"))
    desk.keys("alt+f")
    run(["xdotool", "key", "Down", "Down", "Down"])
    wait_for(lambda: desk.pane(0), "Toggle clipboard viewer mode", "the menu help")
    shoot(desk, TITLE, out("viewer-mode-menu.png"))
    run(["xdotool", "key", "Escape", "Escape"])


def take_scaled(desk, out, dpi):
    """The main window in viewer mode, its usual size scaled, and the About
    box, at dpi; the Wine prefix is at 96 DPI again afterwards."""
    desk.probe("setting", r"Control Panel\Desktop", "LogPixels", "#%d" % dpi)
    try:
        desk.set_clipboard(V34_CALL)
        desk.start("-clipview")
        desk.resize(SIZE[0] * dpi // 96, SIZE[1] * dpi // 96)
        wait_for(desk.source, "Report from clipboard", "the decoded clipboard")
        shoot(desk, TITLE, out("main-window-%ddpi.png" % dpi))
        desk.keys("F1")
        desk.wait_window("About")
        shoot(desk, "About", out("about-box-%ddpi.png" % dpi))
        desk.stop()
    finally:
        desk.probe("setting", r"Control Panel\Desktop", "LogPixels", "#96")


if __name__ == "__main__":
    main()
