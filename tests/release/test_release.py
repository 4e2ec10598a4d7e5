#!/usr/bin/python3
"""The release in dist/ as its users meet it: the Debian package through
lintian, installed with dpkg and removed again; the 64-bit MSI installed
under Wine over one of a lower version, its vexa.exe started on a log and
its vexa-decode.exe run, then removed without a trace.

    scripts/make-release
    scripts/with-display tests/release/test_release.py --probe build/win64/tests/blackbox/probe.exe

Runs as root (dpkg) with test_ui.py's helpers; WINEPREFIX as there.
"""
import getpass
import glob
import importlib.machinery
import os
import shutil
import subprocess
import sys
import unittest
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(REPO, "tests", "blackbox"))
import test_ui  # noqa: E402
from test_ui import CONFIG, UiTest, run, windows_path  # noqa: E402

release = importlib.machinery.SourceFileLoader(
    "make_release", os.path.join(REPO, "scripts", "make-release")).load_module()
VERSION = release.project_version()
DIST = os.path.join(REPO, "dist")
LOG = os.path.join(REPO, "examples", "v34-call.log")
WINE64 = "/usr/lib/wine/wine64"
os.environ.setdefault("WINEPREFIX", os.path.expanduser("~/.wine-vexa"))
DRIVE = os.path.join(os.environ["WINEPREFIX"], "drive_c")


def output(command, **kwargs):
    return subprocess.run(command, check=True, capture_output=True, text=True, **kwargs).stdout


class DebianPackageTest(unittest.TestCase):
    deb = os.path.join(DIST, "vexa-decode_%s_amd64.deb" % VERSION)

    def test_lintian_finds_nothing(self):
        result = subprocess.run(["lintian", "--fail-on", "error,warning", self.deb],
                                capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertNotRegex(result.stdout, r"(?m)^[EW]: ")

    def test_installed_program_manual_and_completion_then_removed(self):
        files = [line.split()[-1].lstrip(".") for line in
                 output(["dpkg-deb", "-c", self.deb]).splitlines() if line.startswith("-")]
        output(["dpkg", "-i", self.deb])
        try:
            self.assertTrue(output(["/usr/bin/vexa-decode", "--version"])
                            .startswith("vexa-decode %s " % VERSION))
            page = output(["man", "-P", "cat", "vexa-decode"], env=dict(os.environ, MANWIDTH="80"))
            self.assertIn("vexa-decode", page)
            self.assertIn(VERSION, page)
            # What bash offers after "vexa-decode --js", through the completion
            # that bash-completion loads on demand.
            offered = output(["bash", "-c", ". /usr/share/bash-completion/bash_completion; "
                              "__load_completion vexa-decode; "
                              "f=$(complete -p vexa-decode | sed 's/.*-F \\([^ ]*\\).*/\\1/'); "
                              "COMP_WORDS=(vexa-decode --js); COMP_CWORD=1; "
                              "COMP_LINE='vexa-decode --js'; COMP_POINT=${#COMP_LINE}; "
                              "$f vexa-decode --js vexa-decode; printf '%s\\n' \"${COMPREPLY[@]}\""])
            self.assertEqual(sorted(offered.split()), ["--json", "--jsonl"])
        finally:
            output(["dpkg", "-r", "vexa-decode"])
        self.assertEqual([f for f in files if os.path.exists(f)], [])


class InstallerTest(UiTest):
    """The 64-bit MSI in the 64-bit prefix: the loader that runs anywhere."""
    folder = os.path.join(DRIVE, "Program Files", "vexa")
    # Windows puts it in every user's Start menu; Wine in the installing user's.
    shortcuts = [os.path.join(DRIVE, where, "Microsoft", "Windows", "Start Menu", "Programs",
                              "vexa.lnk")
                 for where in ["ProgramData",
                               os.path.join("users", getpass.getuser(), "AppData", "Roaming")]]

    def shortcut(self):
        return [path for path in self.shortcuts if os.path.exists(path)]

    def msiexec(self, *args):
        # No menu entries of the desktop for the shortcut: this is a test.
        os.environ["WINEDLLOVERRIDES"] = "winemenubuilder.exe=d"
        result = run([WINE64, "msiexec"] + list(args), timeout=300)
        self.assertEqual(result.returncode, 0, (args, result.stdout, result.stderr))

    def installed(self, version):
        key = ("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{%s}"
               % release.code("vexa", version, "x64", "product"))
        return run([WINE64, "reg", "query", key]).returncode == 0

    def lower_version_msi(self):
        """The same files packed as version 1.0.0: what an upgrade replaces."""
        stage = os.path.join(self.dir, "stage")
        with zipfile.ZipFile(os.path.join(DIST, "vexa-%s-win64.zip" % VERSION)) as z:
            z.extractall(self.dir)
        os.rename(os.path.join(self.dir, "vexa-%s-win64" % VERSION), stage)
        shutil.copy(os.path.join(REPO, "resources", "program.ico"), stage)
        msi = os.path.join(self.dir, "old.msi")
        release.build_msi(stage, msi, "1.0.0", "x64", "ProgramFiles64Folder", 0)
        return msi

    def test_upgrade_start_and_remove(self):
        self.msiexec("/i", windows_path(self.lower_version_msi()), "/qn")
        self.assertTrue(self.installed("1.0.0"))
        msi = windows_path(os.path.join(DIST, "vexa-%s-win64.msi" % VERSION))
        self.msiexec("/i", msi, "/qn")
        try:
            self.assertFalse(self.installed("1.0.0"), "the upgrade left the older version")
            self.assertTrue(self.installed(VERSION))
            self.assertEqual(len(self.shortcut()), 1)
            for name in ["vexa.html", "README.md", "LICENSE.txt", "THIRD-PARTY-LICENSES.txt"]:
                self.assertTrue(os.path.exists(os.path.join(self.folder, name)), name)
            decoded = run(test_ui.CONFIG["wine"] + [os.path.join(self.folder, "vexa-decode.exe"),
                                                    LOG])
            self.assertEqual(decoded.returncode, 0)
            self.assertEqual(decoded.stdout, run([os.path.join(REPO, "build", "native",
                                                               "vexa-decode"), LOG]).stdout)
            self.desk.start(LOG)
            self.assertReport(decoded.stdout)
            self.desk.stop()
        finally:
            self.msiexec("/x", msi, "/qn")
        self.assertFalse(self.installed(VERSION))
        self.assertFalse(os.path.exists(self.folder), glob.glob(self.folder + "/**"))
        self.assertEqual(self.shortcut(), [])


if __name__ == "__main__":
    subprocess.run([os.path.join(REPO, "scripts", "wine-prefix")], check=True)
    sys.argv[1:1] = ["--exe", os.path.join(InstallerTest.folder, "vexa.exe")]
    test_ui.main()
