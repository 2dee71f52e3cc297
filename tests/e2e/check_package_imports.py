#!/usr/bin/env python3
"""The portable zip's executables import no DLL but Windows' own: they run on a clean Windows.

usage: check_package_imports.py OBJDUMP PACKAGE.zip
"""
import re
import subprocess
import sys
import tempfile
import zipfile
from pathlib import Path

# DLLs every Windows from 7 on has in its system folder; MinGW's runtime (libstdc++-6.dll,
# libgcc_s_seh-1.dll, libwinpthread-1.dll) is not among them.
WINDOWS_DLLS = {
    "advapi32.dll", "bcrypt.dll", "cfgmgr32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll",
    "imm32.dll", "kernel32.dll", "msftedit.dll", "msimg32.dll", "msvcrt.dll", "ntdll.dll",
    "ole32.dll", "oleaut32.dll", "rpcrt4.dll", "setupapi.dll", "shell32.dll", "shlwapi.dll",
    "user32.dll", "uxtheme.dll", "version.dll", "winmm.dll", "ws2_32.dll",
}


def imports(objdump, exe):
    out = subprocess.run([objdump, "-p", str(exe)], check=True, capture_output=True, text=True)
    return re.findall(r"DLL Name: (\S+)", out.stdout)


def main():
    objdump, package = sys.argv[1], sys.argv[2]
    failures = []
    with tempfile.TemporaryDirectory() as folder, zipfile.ZipFile(package) as archive:
        executables = [n for n in archive.namelist() if n.lower().endswith(".exe")]
        if "QM7xx.exe" not in executables:
            failures.append(f"{package} holds no QM7xx.exe")
        for name in executables:
            dlls = imports(objdump, archive.extract(name, folder))
            print(f"{name}: {', '.join(dlls)}")
            failures += [f"{name} imports {dll}, which Windows does not have"
                         for dll in dlls if dll.lower() not in WINDOWS_DLLS]
    for failure in failures:
        print(failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
