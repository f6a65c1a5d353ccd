#!/usr/bin/python3

# SPDX-FileCopyrightText: 2026 The Sipster team
#
# SPDX-License-Identifier: MIT

"""Walks the Windows program under Wine on Xvfb with openbox, typing with xdotool and finding
each window by its title. WINEPREFIX names a prepared Wine prefix.
Usage: windows.py PATH-TO-SIPSTER.EXE"""

import subprocess
import sys

from desktop import Desktop, run_checks

PROGRAM = sys.argv[1] if len(sys.argv) > 1 else "build-windows/sipster.exe"


class WineDesktop(Desktop):
    """The X11 desktop without the screen readers' bus, which Wine programs do not reach."""

    def _start(self):
        self.env["XDG_RUNTIME_DIR"] = self._tmp
        self._start_display()


def windows(desktop):
    """The program's visible windows, by window id: their titles."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--classname", "sipster.exe"],
                           env=desktop.env, capture_output=True, text=True).stdout.split()
    return {window: subprocess.run(["xdotool", "getwindowname", window], env=desktop.env,
                                   capture_output=True, text=True).stdout.strip()
            for window in found}


def shows(desktop, title):
    """Waits for the program to show just one window, with the title given, and for it to take
    the keyboard; returns its id."""
    def shown():
        visible = windows(desktop)
        return list(visible.values()) == [title] and next(iter(visible))
    window = desktop.wait_for(shown, f"the window {title!r} alone; showing: "
                              f"{list(windows(desktop).values())}", timeout=60)

    def active():
        return subprocess.run(["xdotool", "getactivewindow"], env=desktop.env,
                              capture_output=True, text=True).stdout.strip() == window
    desktop.wait_for(active, f"the window {title!r} to take the keyboard")
    return window


def walk_under_wine(desktop):
    with desktop.running(["wine", PROGRAM], env={"WINEDEBUG": "-all"}) as sipster:
        # Windows names a window without a caption, the title card, after the program.
        title_card = shows(desktop, "Sipster")
        desktop.key("alt+c")
        desktop.wait_for(lambda: title_card not in windows(desktop), "the title card to go")
        shows(desktop, "Sipster")
        desktop.key("alt+f", "n")
        shows(desktop, "New Tester")
        desktop.type("8")
        desktop.key("Tab")
        desktop.type("6")
        desktop.key("Return", "Escape")
        shows(desktop, "Sipster")
        desktop.key("alt+f", "s")
        shows(desktop, "Tester Summary")
        desktop.key("Return")
        shows(desktop, "Sipster")
        desktop.exit_program(sipster, timeout=30)


if __name__ == "__main__":
    sys.exit(run_checks(WineDesktop, "end-to-end under Wine", [walk_under_wine]))
