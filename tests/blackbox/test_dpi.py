#!/usr/bin/env python3
"""vexa.exe at 96, 144 and 192 DPI, and in a Wine prefix without a font for
"Courier New": the sizes meant for 96 DPI scale with the DPI and the report's
columns line up. Runs the way test_ui.py does, and with its helpers.

    test_dpi.py --exe vexa.exe --probe probe.exe [unittest options]

The DPI and the font replacement are settings of the Wine prefix, which the
probe changes for the programs started next and puts back when a test ends.
"""
import argparse
import os
import shlex
import sys
import unittest

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
import test_ui  # noqa: E402
from test_ui import CALL, CALL_LINES, CONFIG, UiTest, lines  # noqa: E402

V34_CALL = os.path.join(test_ui.REPO, "examples", "v34-call.log")


class DpiTest(UiTest):
    def set_dpi(self, dpi):
        before = self.desk.text("set-dpi", str(dpi)).decode().strip()
        self.addCleanup(self.desk.probe, "set-dpi", before or "96")

    def report_metrics(self):
        """The x of the first colon in each report line, and the distance
        from one line to the next."""
        report = self.desk.report().decode().split("\r\n")[:-1]
        starts = [sum(len(line) + 2 for line in report[:i]) for i in range(len(report))]
        colons = [str(start + line.index(":")) for start, line in zip(starts, report)]
        xs = [int(row.split()[0]) for row in self.desk.text("pos", *colons).decode().splitlines()]
        ys = [int(row.split()[1]) for row in self.desk.text("pos", "0", str(starts[1]))
              .decode().splitlines()]
        return xs, ys[1] - ys[0]

    def parts(self):
        return [int(n) for n in self.desk.text("parts").split()]

    def test_pixel_sizes_follow_the_dpi(self):
        self.write("call.log", CALL)
        pitch_at_96 = None
        for dpi in [96, 144, 192]:
            with self.subTest(dpi=dpi):
                scaled = lambda pixels: round(pixels * dpi / 96)
                self.set_dpi(dpi)
                self.desk.start("call.log")
                try:
                    self.assertReport(lines(CALL_LINES))
                    width = self.desk.geometry()["client"][0]
                    self.assertEqual(self.parts(), [width - scaled(150), -1])
                    xs, pitch = self.report_metrics()
                    self.assertEqual(len(set(xs)), 1, xs)
                    if dpi == 96:
                        pitch_at_96 = pitch
                    else:
                        # Within a pixel at 96 DPI: the font's height is rounded.
                        self.assertLessEqual(abs(pitch - pitch_at_96 * dpi / 96), dpi / 96,
                                             (pitch, pitch_at_96))
                    # Narrowed, the source pane keeps its least width.
                    self.desk.resize(scaled(180), scaled(200))
                    self.assertEqual(self.parts(), [scaled(50), -1])
                finally:
                    self.desk.stop()

    def test_report_lines_up_without_a_courier_new_face(self):
        before = self.desk.text("replace-font", "Courier New").decode().strip()
        if before:
            self.addCleanup(self.desk.probe, "replace-font", "Courier New", before)
        self.desk.start(V34_CALL)
        self.assertSource(V34_CALL)
        xs, _ = self.report_metrics()
        self.assertEqual(len(xs), 35)
        self.assertEqual(len(set(xs)), 1, xs)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--exe", required=True)
    parser.add_argument("--probe", required=True)
    options, rest = parser.parse_known_args()
    CONFIG["exe"] = os.path.abspath(options.exe)
    CONFIG["probe"] = os.path.abspath(options.probe)
    CONFIG["wine"] = shlex.split(os.environ.get("VEXA_WINE", "")) or [
        os.path.join(test_ui.REPO, "scripts", "wine-run")]
    os.environ.setdefault("WINEPREFIX", os.path.expanduser("~/.wine-vexa"))
    os.environ.setdefault("WINEDEBUG", "-all")
    if not os.environ.get("DISPLAY"):
        sys.exit("test_dpi.py needs DISPLAY with a window manager (run it under scripts/with-display)")
    try:
        with test_ui.wine_session():
            unittest.main(module=__name__, argv=[sys.argv[0]] + rest, verbosity=2)
    except KeyboardInterrupt:
        sys.exit("test_dpi.py: interrupted")


if __name__ == "__main__":
    main()
