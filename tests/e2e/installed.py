#!/usr/bin/python3

# SPDX-FileCopyrightText: 2026 The Sipster team
#
# SPDX-License-Identifier: MIT

"""Starts the installed program from the PATH on a real X server and checks that its title card
appears and that it ends cleanly."""

import shutil
import sys

from desktop import Desktop, Screen


def main():
    program = shutil.which("sipster")
    if program is None:
        print("installed: 0 passed, 1 failed (sipster is not on the PATH)")
        return 1
    with Desktop() as desktop:
        with desktop.running([program]) as sipster:
            screen = Screen(desktop, sipster)
            screen.window("Taste Test STUDY")
            desktop.key("alt+c")
            screen.window("Sipster")
            desktop.key("alt+f", "x")
            status = sipster.wait(timeout=10)
    ok = status == 0
    print(f"installed {program}: {1 if ok else 0} passed, {0 if ok else 1} failed")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
