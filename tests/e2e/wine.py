# SPDX-FileCopyrightText: 2026 The Sipster team
#
# SPDX-License-Identifier: MIT

"""The end-to-end checks of the Windows program under Wine on Xvfb: its command line, the walk at
96 and 144 dpi, with the window tests' layout checks on that display, and the program installed
from its MSI.
Each check is check(desktop, program, forms_tests); WINEPREFIX names a prepared Wine prefix."""

import os
import pathlib
import struct

from walks import basic_walk

PREFIX = pathlib.Path(os.environ.get("WINEPREFIX", pathlib.Path.home() / ".wine"))


def walk(desktop, program, window):
    """The basic walk under Wine, which names the title card after the program, then Exit."""
    with desktop.running(["wine", program]) as sipster:
        basic_walk(desktop, window, title_card="Sipster")
        desktop.exit_program(sipster, timeout=30)


def at_scale(dpi):
    """At this display scale every caption fits its box in a face drawn from outlines, as the
    window tests check it on this display, and the walk passes; a picture of each window it
    meets is kept in e2e-pictures beside the program, numbered in the order met."""
    def check(desktop, program, forms_tests):
        desktop.set_scale(dpi)
        desktop.window_tests(forms_tests, "Layout.*")
        pictures = pathlib.Path(program).parent / "e2e-pictures"
        pictures.mkdir(exist_ok=True)
        met = []

        def window(title):
            found = desktop.window(title)
            if found not in met:
                met.append(found)
                name = f"{dpi}dpi-{len(met)}-{title.lower().replace(' ', '-')}.png"
                desktop.picture(pictures / name)
        walk(desktop, program, window)
    check.__name__ = f"walk_at_{dpi}_dpi"
    return check


def command_line(desktop, program, forms_tests):
    """Windows answers --version, --help and --help-all in a message box named after the program,
    with Qt's own options beside them; once it is answered, the program ends with status 0. A
    program that cannot start its window system shows none."""
    desktop.set_scale(96)
    for arguments in (["--version"], ["--help-all"], ["--version", "-reverse"],
                      ["-platform", "windows", "--help"]):
        with desktop.running(["wine", program, *arguments]) as sipster:
            try:
                desktop.window("Sipster", program_started=True)
            except AssertionError as error:
                raise AssertionError(f"{' '.join(arguments)}: {error}") from None
            desktop.key("Return")
            status = sipster.wait(timeout=30)
            assert status == 0, f"{' '.join(arguments)} ended with status {status}"


def shortcut_target(link):
    """The program a Windows shortcut (.lnk) points at: the local path in its link info."""
    data = link.read_bytes()
    flags = struct.unpack_from("<I", data, 0x14)[0]
    offset = 0x4C
    if flags & 0x1:  # a list of shell items comes first
        offset += 2 + struct.unpack_from("<H", data, offset)[0]
    assert flags & 0x2, f"{link} names no local path"
    local_path = offset + struct.unpack_from("<I", data, offset + 16)[0]
    return data[local_path:data.index(b"\0", local_path)].decode("latin-1")


def uninstall_entries(desktop):
    """The names, versions and publishers of the programs Windows lists to remove."""
    listed = ""
    for hive in ("HKCU", "HKLM"):
        listed += desktop.wine("reg", "query", hive + r"\Software\Microsoft\Windows"
                               r"\CurrentVersion\Uninstall", "/s").stdout
    return [line.split(None, 2)[2] for line in listed.splitlines()
            if line.split()[:2] in (["DisplayName", "REG_SZ"], ["DisplayVersion", "REG_SZ"],
                                    ["Publisher", "REG_SZ"])]


def installed_from_the_package(desktop, program, forms_tests):
    """Installed from the MSI without asking anything, Sipster has a Start-menu shortcut to the
    program it installed and an entry to remove it; it walks; removed, it leaves nothing."""
    package = os.environ.get("SIPSTER_MSI")
    if not package:
        print("note: SIPSTER_MSI is not set; the installer is not tried")
        return
    version = pathlib.Path(package).name.split("-")[1]
    user = PREFIX / "drive_c" / "users" / os.environ.get("USER", "root")
    link = user / "AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Sipster.lnk"
    folder = user / "AppData/Local/Programs/Sipster"
    desktop.set_scale(96)
    assert desktop.wine("msiexec", "/i", package, "/qn").returncode == 0, "msiexec /i failed"
    assert link.exists(), f"no shortcut {link}"
    target = shortcut_target(link)
    assert target.lower().endswith(r"\appdata\local\programs\sipster\sipster.exe"), target
    entries = uninstall_entries(desktop)
    for shown in ("Sipster", version, "The Sipster team"):
        assert shown in entries, f"{shown!r} is not in the list of programs: {entries}"
    walk(desktop, target, desktop.window)
    assert desktop.wine("msiexec", "/x", package, "/qn").returncode == 0, "msiexec /x failed"
    assert not link.exists(), "the shortcut is left"
    left = list(folder.rglob("*")) if folder.exists() else []
    assert not left and not folder.exists(), f"left behind: {left or folder}"
    assert "Sipster" not in uninstall_entries(desktop), "still listed among the programs"
