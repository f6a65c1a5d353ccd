#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Sipster team
#
# SPDX-License-Identifier: MIT
"""Uses the real program on a headless Wayland compositor through AT-SPI alone, as a screen
reader's user would: buttons pressed, texts set and menu items chosen by their actions.
Usage: wayland.py PATH-TO-SIPSTER"""

import sys

from desktop import Screen, WaylandDesktop, run_checks

PROGRAM = sys.argv[1] if len(sys.argv) > 1 else "build/sipster"


def walk_through(desktop):
    with desktop.running([PROGRAM]) as sipster:
        screen = Screen(desktop, sipster, active=False)
        p = screen.pyatspi
        splash = screen.window("Taste Test STUDY", role="dialog|frame")
        screen.press(screen.named(splash, p.ROLE_PUSH_BUTTON, "Close"))
        main = screen.window("Sipster", role="frame")
        screen.gone("Taste Test STUDY")

        screen.press(screen.named(main, p.ROLE_MENU_ITEM, "New Tester"))
        entry = screen.window("New Tester", role="dialog")
        punch = screen.named(entry, p.ROLE_TEXT, "Prune Punch")
        apple = screen.named(entry, p.ROLE_TEXT, "Apple Ade")
        punch.queryEditableText().setTextContents("8")
        apple.queryEditableText().setTextContents("6")
        screen.press(screen.named(entry, p.ROLE_PUSH_BUTTON, "OK"))
        desktop.wait_for(lambda: screen.text_of(punch) == "" and screen.text_of(apple) == "",
                         "both boxes to clear after an accepted tester")
        screen.press(screen.named(entry, p.ROLE_PUSH_BUTTON, "Cancel"))
        screen.gone("New Tester")

        main = screen.window("Sipster")
        screen.press(screen.named(main, p.ROLE_MENU_ITEM, "Summary"))
        summary = screen.window("Tester Summary", role="dialog")
        figures = screen.labels(summary)
        for expected in ["1", "8.00", "6.00", "Prune Punch"]:
            assert expected in figures, figures
        screen.press(screen.named(summary, p.ROLE_PUSH_BUTTON, "OK"))
        screen.gone("Tester Summary")

        main = screen.window("Sipster")
        screen.press(screen.named(main, p.ROLE_MENU_ITEM, "Exit"))
        status = sipster.wait(timeout=10)
        assert status == 0, f"Exit ended with status {status}"


if __name__ == "__main__":
    sys.exit(run_checks(WaylandDesktop, "end-to-end on Wayland", [walk_through]))
