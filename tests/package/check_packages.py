#!/usr/bin/python3
"""Checks what scripts/package made, without running it: the zips hold exactly
what a user runs, byte for byte as built; SHA256SUMS matches the four files;
both installers are Windows programs of their architecture carrying the
version; every shipped PE file carries the version too; no program that ships
(the zips' and the installers' files) refers to the virtual card, whose hook
the test builds have and the Release builds do not.

check_packages.py PACKAGE_DIR BIN64 BIN32 VERSION_CMAKE RESULT_XML
Writes GoogleTest-style XML and exits non-zero on a failure."""
import hashlib
import os
import re
import struct
import sys
import zipfile
from xml.sax.saxutils import quoteattr

PROGRAM = "Orvane Sound.exe"
MACHINES = {"x64": 0x8664, "x86": 0x14C}


def pe_machine(data):
    if data[:2] != b"MZ":
        return None
    offset = struct.unpack_from("<I", data, 0x3C)[0]
    if data[offset:offset + 4] != b"PE\0\0":
        return None
    return struct.unpack_from("<H", data, offset + 4)[0]


def carries_version(data, version):
    """The VERSIONINFO's ProductVersion string, as windres and makensis write it."""
    key = "ProductVersion".encode("utf-16-le")
    at = data.find(key)
    return at >= 0 and version.encode("utf-16-le") in data[at:at + 96]


class Checks:
    def __init__(self):
        self.cases = []

    def case(self, name, failures):
        self.cases.append((name, [f for f in failures if f]))

    def write(self, path):
        failed = sum(1 for _, f in self.cases if f)
        with open(path, "w", encoding="utf-8") as out:
            out.write('<?xml version="1.0" encoding="UTF-8"?>\n')
            out.write('<testsuites tests="%d" failures="%d" disabled="0" errors="0" name="AllTests">\n'
                      % (len(self.cases), failed))
            out.write('  <testsuite name="Packages" tests="%d" failures="%d" disabled="0" errors="0">\n'
                      % (len(self.cases), failed))
            for name, failures in self.cases:
                out.write('    <testcase name="%s" status="run" result="completed" classname="Packages">\n' % name)
                for f in failures:
                    out.write("      <failure message=%s type=\"\"/>\n" % quoteattr(f))
                out.write("    </testcase>\n")
            out.write("  </testsuite>\n</testsuites>\n")
        for name, failures in self.cases:
            print("%s Packages.%s" % ("[  FAILED  ]" if failures else "[       OK ]", name))
            for f in failures:
                print("    " + f)
        return failed


def check_zip(arch, package_dir, bin_dir, version):
    failures = []
    path = os.path.join(package_dir, "Orvane Sound %s.zip" % arch)
    expected = ["CorrantApi.dll", "ST.WAV"]
    if os.path.exists(os.path.join(bin_dir, PROGRAM)):
        expected.append(PROGRAM)
    try:
        with zipfile.ZipFile(path) as z:
            bad = z.testzip()
            failures.append(bad and "%s: %s is damaged" % (path, bad))
            names = sorted(z.namelist())
            want = sorted("Orvane Sound/" + n for n in expected)
            failures.append(names != want and "%s holds %s, not %s" % (path, names, want))
            for name in expected:
                if "Orvane Sound/" + name not in names:
                    continue
                data = z.read("Orvane Sound/" + name)
                with open(os.path.join(bin_dir, name), "rb") as f:
                    failures.append(data != f.read() and "%s: %s differs from the build" % (path, name))
                if name.endswith((".dll", ".exe")):
                    failures.append(pe_machine(data) != MACHINES[arch] and "%s: %s is not %s" % (path, name, arch))
                    failures.append(not carries_version(data, version)
                                    and "%s: %s carries no version %s" % (path, name, version))
    except (OSError, zipfile.BadZipFile) as e:
        failures.append("%s: %s" % (path, e))
    return failures


SIMULATOR_NAMES = ("ORVANE_VIRTUAL_CARD", "OrvaneVirtualCard")


def check_no_simulator(arch, bin_dir):
    """The files the installer and the zip of ARCH take from BIN_DIR name
    neither the simulator's switch nor its DLL, as text of either width."""
    failures = []
    for name in (PROGRAM, "CorrantApi.dll", "corractl.exe"):
        path = os.path.join(bin_dir, name)
        if name == PROGRAM and not os.path.exists(path):
            continue
        try:
            with open(path, "rb") as f:
                data = f.read()
        except OSError as e:
            failures.append(str(e))
            continue
        for text in SIMULATOR_NAMES:
            for encoding in ("ascii", "utf-16-le"):
                failures.append(text.encode(encoding) in data
                                and "%s %s refers to %s (%s)" % (arch, name, text, encoding))
    return failures


def check_installer(arch, package_dir, version):
    path = os.path.join(package_dir, "Orvane Sound Setup %s.exe" % arch)
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError as e:
        return [str(e)]
    return [pe_machine(data) != MACHINES[arch] and "%s is not a %s Windows program" % (path, arch),
            not carries_version(data, version) and "%s carries no version %s" % (path, version)]


def check_sums(package_dir):
    failures = []
    wanted = ["Orvane Sound Setup x64.exe", "Orvane Sound Setup x86.exe",
              "Orvane Sound x64.zip", "Orvane Sound x86.zip"]
    try:
        with open(os.path.join(package_dir, "SHA256SUMS"), encoding="utf-8") as f:
            lines = [l.rstrip("\n") for l in f if l.strip()]
    except OSError as e:
        return [str(e)]
    listed = []
    for line in lines:
        m = re.fullmatch(r"([0-9a-f]{64})  (.+)", line)
        if not m:
            failures.append("not a sha256sum line: %r" % line)
            continue
        listed.append(m.group(2))
        try:
            with open(os.path.join(package_dir, m.group(2)), "rb") as f:
                actual = hashlib.sha256(f.read()).hexdigest()
            failures.append(actual != m.group(1) and "%s: checksum does not match" % m.group(2))
        except OSError as e:
            failures.append(str(e))
    failures.append(sorted(listed) != sorted(wanted) and "SHA256SUMS lists %s" % listed)
    return failures


def main():
    package_dir, bin64, bin32, version_cmake, result = sys.argv[1:6]
    with open(version_cmake, encoding="utf-8") as f:
        version = re.search(r"set\(ORVANE_VERSION ([0-9.]+)\)", f.read()).group(1)
    checks = Checks()
    checks.case("ZipX64HoldsExactlyWhatAUserRuns", check_zip("x64", package_dir, bin64, version))
    checks.case("ZipX86HoldsExactlyWhatAUserRuns", check_zip("x86", package_dir, bin32, version))
    checks.case("InstallersAreWindowsProgramsOfTheirArchitecture",
                check_installer("x64", package_dir, version) + check_installer("x86", package_dir, version))
    checks.case("Sha256SumsMatchTheFourFiles", check_sums(package_dir))
    checks.case("NoShippedProgramRefersToTheVirtualCard",
                check_no_simulator("x64", bin64) + check_no_simulator("x86", bin32))
    return 1 if checks.write(result) else 0


if __name__ == "__main__":
    sys.exit(main())
