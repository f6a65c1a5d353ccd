#!/usr/bin/python3

# SPDX-FileCopyrightText: 2026 The Sipster team
#
# SPDX-License-Identifier: MIT

"""Walks the Windows program under Wine on Xvfb with openbox, typing with xdotool and finding
each window by its title, at 96 and 144 dpi. At each scale the window tests' layout checks run
on that display too, and a picture of each window the walk meets is kept in e2e-pictures beside
the program. With SIPSTER_MSI naming the installer, the program is also installed from it,
started from where its Start-menu shortcut points, walked and removed again. WINEPREFIX names a
prepared Wine prefix.
Usage: windows.py PATH-TO-SIPSTER.EXE PATH-TO-FORMS_TESTS.EXE"""

import os
import pathlib
import struct
import subprocess
import sys

from desktop import Desktop, run_checks

PROGRAM = sys.argv[1] if len(sys.argv) > 1 else "build-windows/sipster.exe"
FORMS_TESTS = sys.argv[2] if len(sys.argv) > 2 else "build-windows/tests/forms_tests.exe"
PICTURES = pathlib.Path(PROGRAM).parent / "e2e-pictures"
PREFIX = pathlib.Path(os.environ.get("WINEPREFIX", pathlib.Path.home() / ".wine"))


class WineDesktop(Desktop):
    """The X11 desktop without the screen readers' bus, which Wine programs do not reach."""

    def _start(self):
        self.env["XDG_RUNTIME_DIR"] = self._tmp
        self._start_display()
        # Qt for Windows has a platform of its own.
        self.env.pop("QT_QPA_PLATFORM", None)

    def wine(self, *args, env=None, **kwargs):
        """Runs a Windows program to its end, with `env` added to the desktop's environment."""
        return subprocess.run(["wine", *args], env={**self.env, "WINEDEBUG": "-all", **(env or {})},
                              capture_output=True, text=True, **kwargs)

    def set_scale(self, dpi):
        """Sets the display scale Windows programs started from now on see."""
        for key in (r"HKCU\Control Panel\Desktop", r"HKCC\Software\Fonts"):
            self.wine("reg", "add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi),
                      "/f", check=True)
        subprocess.run(["wineserver", "-w"], env=self.env, check=True)

    def picture(self, name):
        PICTURES.mkdir(exist_ok=True)
        subprocess.run(["import", "-window", "root", str(PICTURES / f"{name}.png")],
                       env=self.env, check=True)


def windows(desktop):
    """The program's visible windows, by window id: their titles."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--classname", "sipster.exe"],
                           env=desktop.env, capture_output=True, text=True).stdout.split()
    return {window: subprocess.run(["xdotool", "getwindowname", window], env=desktop.env,
                                   capture_output=True, text=True).stdout.strip()
            for window in found}


def shows(desktop, title, picture=None):
    """Waits for the program to show just one window, with the title given, and for it to take
    the keyboard; returns its id. With `picture`, keeps a picture of the screen by that name."""
    def shown():
        visible = windows(desktop)
        return list(visible.values()) == [title] and next(iter(visible))
    window = desktop.wait_for(shown, f"the window {title!r} alone; showing: "
                              f"{list(windows(desktop).values())}", timeout=60)

    def active():
        return subprocess.run(["xdotool", "getactivewindow"], env=desktop.env,
                              capture_output=True, text=True).stdout.strip() == window
    desktop.wait_for(active, f"the window {title!r} to take the keyboard")
    if picture:
        desktop.picture(picture)
    return window


def walk(desktop, program, pictures=None):
    """Walks the program from its title card through a tester and the summary to Exit; with
    `pictures`, keeps a picture of each window, named after it with that prefix."""
    def named(window):
        return pictures and f"{pictures}-{window}"
    with desktop.running(["wine", program], env={"WINEDEBUG": "-all"}) as sipster:
        # Windows names a window without a caption, the title card, after the program.
        title_card = shows(desktop, "Sipster", named("title-card"))
        desktop.key("alt+c")
        desktop.wait_for(lambda: title_card not in windows(desktop), "the title card to go")
        shows(desktop, "Sipster", named("main"))
        desktop.key("alt+f", "n")
        shows(desktop, "New Tester")
        desktop.type("8")
        desktop.key("Tab")
        desktop.type("6")
        if pictures:
            desktop.picture(named("new-tester"))
        desktop.key("Return", "Escape")
        shows(desktop, "Sipster")
        desktop.key("alt+f", "s")
        shows(desktop, "Tester Summary", named("summary"))
        desktop.key("Return")
        shows(desktop, "Sipster")
        desktop.exit_program(sipster, timeout=30)


def at_scale(dpi):
    """At this display scale every caption fits its box in a scalable face, as the window
    tests check it on this display, and the walk passes."""
    def check(desktop):
        desktop.set_scale(dpi)
        layout = desktop.wine(FORMS_TESTS, "--gtest_filter=Layout.*", timeout=120,
                              env={"QT_QPA_PLATFORM": "windows"})
        assert layout.returncode == 0, f"the layout checks ended with status " \
            f"{layout.returncode} at {dpi} dpi:\n" + "\n".join(
                (layout.stdout + layout.stderr).splitlines()[-40:])
        walk(desktop, PROGRAM, pictures=f"{dpi}dpi")
    check.__name__ = f"walk_at_{dpi}_dpi"
    return check


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


def installed_from_the_package(desktop):
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
    walk(desktop, target)
    assert desktop.wine("msiexec", "/x", package, "/qn").returncode == 0, "msiexec /x failed"
    assert not link.exists(), "the shortcut is left"
    left = list(folder.rglob("*")) if folder.exists() else []
    assert not left and not folder.exists(), f"left behind: {left or folder}"
    assert "Sipster" not in uninstall_entries(desktop), "still listed among the programs"


if __name__ == "__main__":
    sys.exit(run_checks(WineDesktop, "end-to-end under Wine",
                        [at_scale(96), at_scale(144), installed_from_the_package]))
