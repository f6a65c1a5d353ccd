#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Sipster team
#
# SPDX-License-Identifier: MIT
"""Uses the real program on a headless Wayland compositor through AT-SPI alone, as a screen
reader's user would: buttons pressed, texts set and menu items chosen by their actions. With
"nested", uses it on weston running as a window on Xvfb instead, with keys and clicks.
Usage: wayland.py PATH-TO-SIPSTER [nested]"""

import sys

from desktop import NestedWestonDesktop, Screen, WaylandDesktop, run_checks

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


def title_bars(desktop):
    """Where Qt draws the title bars, the title card has none, and maximising a message box (its
    title bar has the button, fixed size or not) keeps the program and its tallies."""
    with desktop.running([PROGRAM]) as sipster:
        screen = Screen(desktop, sipster, active=False)
        extents = screen.window("Taste Test STUDY").queryComponent().getExtents(
            screen.pyatspi.DESKTOP_COORDS)
        left, top, right, bottom = desktop.view("Sipster")
        assert (right - left, bottom - top) == (extents.width, extents.height), \
            f"the title card is {right - left}x{bottom - top}, its contents " \
            f"{extents.width}x{extents.height}: it has a title bar"
        desktop.key("alt+c")
        screen.window("Sipster", role="frame")
        desktop.key("alt+f", "n")
        screen.window("New Tester")
        desktop.type("8")
        desktop.key("Tab")
        desktop.type("6")
        desktop.key("Return")
        desktop.type("11")
        desktop.key("Return")
        screen.window("Invalid score")
        left, top, right, bottom = desktop.view("Invalid score")
        desktop.click(right - 40, top + 15)  # the maximise button
        desktop.key("Tab")
        desktop.wait_for(lambda: sipster.poll() is not None
                         or desktop.views().get("Invalid score", (0, 0, 0, 0))[2] > right,
                         "the message box to grow")
        assert sipster.poll() is None, "maximising the message box ended the program"
        desktop.key("Return")
        screen.gone("Invalid score")
        desktop.key("Escape")
        screen.window("Sipster")
        desktop.key("alt+f", "s")
        summary = screen.window("Tester Summary")
        assert "8.00" in screen.labels(summary), screen.labels(summary)
        desktop.key("Return")
        screen.window("Sipster")
        desktop.exit_program(sipster)


if __name__ == "__main__":
    if sys.argv[2:] == ["nested"]:
        sys.exit(run_checks(NestedWestonDesktop, "end-to-end on weston in Xvfb", [title_bars]))
    sys.exit(run_checks(WaylandDesktop, "end-to-end on Wayland", [walk_through]))
