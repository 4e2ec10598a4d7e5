#!/usr/bin/env python3
"""The application manifests embedded in vexa.exe and vexa-decode.exe, read
out of the programs' resources and checked element by element.

    test_manifest.py --exe vexa.exe --decode vexa-decode.exe
"""
import argparse
import struct
import sys
import unittest
import xml.etree.ElementTree as ET

ASM1 = "{urn:schemas-microsoft-com:asm.v1}"
ASM2 = "{urn:schemas-microsoft-com:asm.v2}"
ASM3 = "{urn:schemas-microsoft-com:asm.v3}"
COMPAT = "{urn:schemas-microsoft-com:compatibility.v1}"
SMI2005 = "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}"
SMI2016 = "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}"
# Vista, 7, 8, 8.1, 10 and 11.
WINDOWS = {"{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
           "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
           "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}
PROGRAMS = {}


def manifest(path):
    """The resource of type 24 (RT_MANIFEST), id 1, first language."""
    with open(path, "rb") as f:
        image = f.read()
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    sections, optional_size = struct.unpack_from("<H12xH", image, pe + 6)
    optional = pe + 24
    wide = struct.unpack_from("<H", image, optional)[0] == 0x20B
    rsrc_rva = struct.unpack_from("<I", image, optional + (112 if wide else 96) + 2 * 8)[0]

    def offset(rva):
        for i in range(sections):
            size, address, _, raw = struct.unpack_from("<IIII", image,
                                                       optional + optional_size + 40 * i + 8)
            if address <= rva < address + size:
                return rva - address + raw
        raise AssertionError("%s: address %#x is in no section" % (path, rva))

    root = offset(rsrc_rva)

    def entry(directory, wanted):
        names, ids = struct.unpack_from("<HH", image, directory + 12)
        for i in range(names + ids):
            name, target = struct.unpack_from("<II", image, directory + 16 + 8 * i)
            if wanted is None or name == wanted:
                return root + (target & 0x7FFFFFFF)
        raise AssertionError("%s: no manifest resource %s" % (path, wanted))

    data = entry(entry(entry(root, 24), 1), None)
    rva, size = struct.unpack_from("<II", image, data)
    return ET.fromstring(image[offset(rva):offset(rva) + size])


class ManifestTest(unittest.TestCase):
    def test_both_programs_run_as_invoker_and_know_vista_to_11(self):
        for name in ("vexa", "vexa-decode"):
            with self.subTest(program=name):
                root = manifest(PROGRAMS[name])
                # Windows XP rejects a trustInfo outside the asm.v2 namespace.
                level = root.find("%strustInfo/%ssecurity/%srequestedPrivileges/"
                                  "%srequestedExecutionLevel" % (ASM2, ASM2, ASM3, ASM3))
                self.assertEqual((level.get("level"), level.get("uiAccess")),
                                 ("asInvoker", "false"))
                ids = {os.get("Id") for os in root.iter(COMPAT + "supportedOS")}
                self.assertEqual(ids, WINDOWS)

    def test_window_program_has_visual_styles_and_per_monitor_dpi(self):
        root = manifest(PROGRAMS["vexa"])
        controls = root.find("%sdependency/%sdependentAssembly/%sassemblyIdentity"
                             % (ASM1, ASM1, ASM1))
        self.assertEqual({k: controls.get(k) for k in ("name", "version", "publicKeyToken")},
                         {"name": "Microsoft.Windows.Common-Controls", "version": "6.0.0.0",
                          "publicKeyToken": "6595b64144ccf1df"})
        settings = root.find("%sapplication/%swindowsSettings" % (ASM3, ASM3))
        self.assertEqual(settings.find(SMI2016 + "dpiAwareness").text, "PerMonitorV2, PerMonitor")
        self.assertEqual(settings.find(SMI2005 + "dpiAware").text, "true")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--exe", required=True)
    parser.add_argument("--decode", required=True)
    options, rest = parser.parse_known_args()
    PROGRAMS.update({"vexa": options.exe, "vexa-decode": options.decode})
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
