#!/usr/bin/env python3
"""vexa.exe at 96, 144 and 192 DPI and without a "Courier New" face, driven
with test_ui.py's helpers; and both programs' manifests.

    test_dpi.py --exe vexa.exe --probe probe.exe [unittest options]

The probe sets the Wine prefix's DPI and font replacement for the programs
started next; each test sets back what scripts/wine-prefix made.
"""
import os
import re
import sys
import unittest
import xml.etree.ElementTree as ET

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
import test_ui  # noqa: E402
from test_ui import CALL, CALL_LINES, CONFIG, UiTest, lines  # noqa: E402

NS = {"v1": "urn:schemas-microsoft-com:asm.v1", "v2": "urn:schemas-microsoft-com:asm.v2",
      "v3": "urn:schemas-microsoft-com:asm.v3", "c": "urn:schemas-microsoft-com:compatibility.v1",
      "s5": "http://schemas.microsoft.com/SMI/2005/WindowsSettings",
      "s16": "http://schemas.microsoft.com/SMI/2016/WindowsSettings",
      "s19": "http://schemas.microsoft.com/SMI/2019/WindowsSettings"}
# The elements each manifest must hold; supportedOS: Vista, 7, 8, 8.1, 10 and 11.
COMMON = ["v2:trustInfo/v2:security/v3:requestedPrivileges/"
          "v3:requestedExecutionLevel[@level='asInvoker']",
          "v3:application/v3:windowsSettings/s19:activeCodePage[.='UTF-8']"] + [
    "c:compatibility/c:application/c:supportedOS[@Id='{%s}']" % id for id in [
        "e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
        "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
        "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"]]
WINDOW = ["v1:dependency/v1:dependentAssembly/v1:assemblyIdentity"
          "[@name='Microsoft.Windows.Common-Controls'][@version='6.0.0.0']",
          "v3:application/v3:windowsSettings/s16:dpiAwareness[.='PerMonitorV2, PerMonitor']",
          "v3:application/v3:windowsSettings/s5:dpiAware[.='true']"]


class DisplayTest(UiTest):
    def setting(self, key, name, value, restored):
        self.desk.probe("setting", key, name, *value)
        self.addCleanup(self.desk.probe, "setting", key, name, restored)

    def colons(self):
        """The x of the first colon of each report line."""
        report = self.desk.report().decode().split("\r\n")[:-1]
        starts = [sum(len(line) + 2 for line in report[:i]) for i in range(len(report))]
        spots = [str(start + line.index(":")) for start, line in zip(starts, report)]
        return [int(row.split()[0]) for row in self.desk.text("pos", *spots).splitlines()]

    def test_pane_edge_follows_the_dpi(self):
        self.write("call.log", CALL)
        for dpi in [96, 144, 192]:
            with self.subTest(dpi=dpi):
                self.setting(r"Control Panel\Desktop", "LogPixels", ["#%d" % dpi], "#96")
                self.desk.start("call.log")
                try:
                    self.assertReport(lines(CALL_LINES))
                    edge = self.desk.geometry()["client"][0] - round(150 * dpi / 96)
                    self.assertEqual(self.desk.text("parts").split(), [b"%d" % edge, b"-1"])
                finally:
                    self.desk.stop()

    def test_report_lines_up_without_a_courier_new_face(self):
        self.setting(r"Software\Wine\Fonts\Replacements", "Courier New", [], "Liberation Mono")
        log = os.path.join(test_ui.REPO, "examples", "v34-call.log")
        self.desk.start(log)
        self.assertSource(log)
        xs = self.colons()
        self.assertEqual((len(xs), len(set(xs))), (35, 1), xs)


class ManifestTest(unittest.TestCase):
    def test_manifests_read_from_the_programs(self):
        for name, wanted in [("vexa.exe", COMMON + WINDOW), ("vexa-decode.exe", COMMON)]:
            path = os.path.join(os.path.dirname(CONFIG["exe"]), name)
            # Resource type 24 holds id 1, the manifest Windows reads at start.
            dump = test_ui.run(["x86_64-w64-mingw32-objdump", "-p", path]).stdout.decode()
            entries = r"\n\S+ {3}Entry: ID: 0x000018,.*\n.*\n\S+ {5}Entry: ID: 0x000001,"
            self.assertTrue(re.search(entries, dump), name)
            with open(path, "rb") as f:
                root = ET.fromstring(re.search(rb"<assembly .*</assembly>", f.read(), re.S)[0])
            for element in wanted:
                self.assertIsNotNone(root.find(element, NS), (name, element))


if __name__ == "__main__":
    test_ui.main()
