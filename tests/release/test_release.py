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
from test_ui import UiTest, run, windows_path  # noqa: E402

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


# What bash offers for the command line $0 "$@", through the completion that
# bash-completion loads on demand.
COMPLETE = r"""words=("$0" "$@")
. /usr/share/bash-completion/bash_completion
__load_completion "$0"
COMP_WORDS=("${words[@]}"); COMP_CWORD=$#; COMP_LINE="${words[*]}"; COMP_POINT=${#COMP_LINE}
function=$(complete -p "$0" | sed 's/.*-F \([^ ]*\).*/\1/')
"$function" "$0" "${words[$#]}" "${words[$# - 1]}"
printf '%s\n' "${COMPREPLY[@]}"
"""


class ReleaseFilesTest(unittest.TestCase):
    def test_checksums_name_every_download(self):
        names = sorted(n for n in os.listdir(DIST) if n != "SHA256SUMS")
        wanted = ["vexa-%s-%s" % (VERSION, end) for end in
                  ["win32.msi", "win32.zip", "win64.msi", "win64.zip"]]
        wanted += ["vexa-%s.html" % VERSION, "vexa-decode_%s_amd64.deb" % VERSION]
        self.assertEqual(names, sorted(wanted))
        output(["sha256sum", "--strict", "-c", "SHA256SUMS"], cwd=DIST)
        with open(os.path.join(DIST, "SHA256SUMS")) as f:
            self.assertEqual([line.split()[1] for line in f], names)

    def test_zips_carry_licences_page_and_the_version(self):
        stamp = ("version=\"%s\"" % VERSION).encode()
        resource = "\0".join(VERSION).encode()  # the version block's UTF-16 text
        for arch in ["win32", "win64"]:
            top = "vexa-%s-%s/" % (VERSION, arch)
            with zipfile.ZipFile(os.path.join(DIST, "vexa-%s-%s.zip" % (VERSION, arch))) as z:
                licences = z.read(top + "THIRD-PARTY-LICENSES.txt")
                self.assertIn(b"nlohmann", licences)
                self.assertIn(b"Jean-loup Gailly", licences)
                self.assertIn(b"MIT License", z.read(top + "LICENSE.txt"))
                with open(os.path.join(DIST, "vexa-%s.html" % VERSION), "rb") as page:
                    self.assertEqual(z.read(top + "vexa.html"), page.read())
                for program in ["vexa.exe", "vexa-decode.exe"]:
                    data = z.read(top + program)
                    self.assertIn(stamp, data, program)
                self.assertIn(resource, z.read(top + "vexa.exe"))

    def test_installers_keep_one_upgrade_code(self):
        for arch in ["win32", "win64"]:
            msi = os.path.join(DIST, "vexa-%s-%s.msi" % (VERSION, arch))
            rows = dict(line.split("\t", 1) for line in
                        output(["msiinfo", "export", msi, "Property"]).splitlines()[3:])
            self.assertEqual(rows["ProductVersion"], VERSION)
            self.assertEqual(rows["UpgradeCode"], "{7D3E5B62-0C1A-4E8B-9F26-5A1C3D9E0B47}")
            self.assertEqual(rows["ALLUSERS"], "1")


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
            offered = output(["bash", "-c", COMPLETE, "vexa-decode", "--js"])
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
