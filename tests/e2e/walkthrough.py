#!/usr/bin/python3

# SPDX-FileCopyrightText: 2026 The Sipster team
#
# SPDX-License-Identifier: MIT

"""Uses the real program as a person would, on a real X server, and reads it back as a screen
reader does. With "metacity", checks under that window manager that windows stay put instead.
Usage: walkthrough.py PATH-TO-SIPSTER [metacity]"""

import sys

from desktop import Desktop, MetacityDesktop, Screen, run_checks

PROGRAM = sys.argv[1] if len(sys.argv) > 1 else "build/sipster"


def check_accessible_names(screen, window, entries=(), buttons=(), pictures=()):
    p = screen.pyatspi
    for name in entries:
        screen.named(window, p.ROLE_TEXT, name)
    for name in buttons:
        screen.named(window, p.ROLE_PUSH_BUTTON, name)
    for name in pictures:
        screen.named(window, p.ROLE_IMAGE, name)


def walk_through(desktop):
    with desktop.running([PROGRAM]) as sipster:
        screen = Screen(desktop, sipster)
        p = screen.pyatspi
        splash = screen.window("Taste Test STUDY", role="dialog|frame")
        assert {"Taste Test", "STUDY", "Version 1"} <= set(screen.labels(splash)), \
            screen.labels(splash)
        check_accessible_names(screen, splash, buttons=["Close"],
                               pictures=["Two glasses, one of prune punch and one of apple ade"])
        # Read out when the window opens, with the name: every text on it.
        assert splash.description == "Apple Ade, Version 1, \u00a9 2026 Sipster, Prune Punch", \
            splash.description
        assert screen.labelled_by(screen.named(splash, p.ROLE_PUSH_BUTTON, "Close")) == []
        desktop.key("alt+c")
        main = screen.window("Sipster", role="frame")
        assert "Taste Test Challenge" in screen.labels(main)

        desktop.key("alt+f", "n")
        entry = screen.window("New Tester", role="dialog")
        check_accessible_names(screen, entry, entries=["Prune Punch", "Apple Ade"],
                               buttons=["OK", "Cancel"])
        assert entry.description == "Enter score 1 to 10 with 10 as high score", entry.description
        punch = screen.named(entry, p.ROLE_TEXT, "Prune Punch")
        apple = screen.named(entry, p.ROLE_TEXT, "Apple Ade")
        assert screen.labelled_by(punch) == ["Prune Punch"], screen.labelled_by(punch)
        assert screen.labelled_by(apple) == ["Apple Ade"], screen.labelled_by(apple)
        # Every move into a box reports the focus before any caret move.
        def focus_reported_first(keys, box, move):
            reports = screen.reports_moving_into(lambda: desktop.key(keys), box)
            assert reports == ["focus"], f"{move} into {box!r} reported {reports}"

        desktop.type("8")
        focus_reported_first("Tab", "Apple Ade", "Tab")
        desktop.type("6")
        focus_reported_first("Return", "Prune Punch", "an accepted tester")
        desktop.wait_for(lambda: screen.text_of(punch) == "" and screen.text_of(apple) == "",
                         "both boxes to clear after an accepted tester")

        desktop.type("7")
        focus_reported_first("alt+a", "Apple Ade", "an access key")
        desktop.type("11")
        desktop.key("Return")
        alert = screen.window("Invalid score", role="alert")
        assert "Enter an Apple Adescore from 1 to 10" in screen.labels(alert), \
            screen.labels(alert)
        focus_reported_first("Return", "Apple Ade", "closing the message box")
        screen.gone("Invalid score")
        screen.window("New Tester")
        assert screen.text_of(punch) == "7", screen.text_of(punch)
        desktop.key("Escape")
        screen.window("Sipster")

        desktop.key("alt+f", "s")
        summary = screen.window("Tester Summary", role="dialog")
        figures = screen.labels(summary)
        for expected in ["Number of Sipsters:", "1", "8.00", "6.00", "Prune Punch"]:
            assert expected in figures, figures
        assert summary.description == "Number of Sipsters: 1, Average Prune Punch rating: 8.00, " \
            "Average Apple Ade rating: 6.00, The winner is: Prune Punch", summary.description
        assert screen.labelled_by(screen.named(summary, p.ROLE_LABEL, "8.00")) \
            == ["Average Prune Punch rating:"]
        desktop.key("Escape")
        screen.window("Sipster")

        desktop.key("alt+h", "a")
        about = screen.window("About Sipster", role="dialog")
        assert "Sipster Survey" in screen.labels(about)
        check_accessible_names(screen, about, buttons=["OK"],
                               pictures=["A glass of punch with a straw"])
        assert about.description == "Sipster Survey, Version 1.0, Made by the Sipster team", \
            about.description
        assert screen.labelled_by(screen.named(about, p.ROLE_PUSH_BUTTON, "OK")) == []
        desktop.key("Return")
        screen.gone("About Sipster")

        # The window manager's close box on the score window acts as its Cancel.
        desktop.key("alt+f", "n")
        screen.window("New Tester")
        desktop.close_window("New Tester")
        screen.window("Sipster")
        screen.gone("New Tester")

        desktop.exit_program(sipster)


def close_requests(desktop):
    """Alt+F4 on the title card acts as its Close; the main window's close box ends the run."""
    with desktop.running([PROGRAM]) as sipster:
        screen = Screen(desktop, sipster)
        screen.window("Taste Test STUDY")
        desktop.key("alt+F4")
        screen.window("Sipster")
        desktop.close_window("Sipster")
        status = sipster.wait(timeout=10)
        assert status == 0, f"closing the main window ended with status {status}"


def placed_on_a_small_screen(desktop):
    """At three times the scale, a 1024x768 screen is 341x256 logical pixels: smaller than the
    main window. Every window still opens with its top-left corner on the screen."""
    with desktop.running([PROGRAM], env={"QT_SCALE_FACTOR": "3"}) as sipster:
        screen = Screen(desktop, sipster)

        def on_screen(name, role):
            x, y = screen.top_left(screen.window(name, role=role))
            assert x >= 0 and y >= 0, f"{name!r} opens at ({x}, {y}), off the screen"

        on_screen("Taste Test STUDY", "dialog|frame")
        desktop.key("alt+c")
        on_screen("Sipster", "frame")
        desktop.key("alt+f", "s")
        on_screen("Input Requested", "alert")
        desktop.key("Return")
        screen.gone("Input Requested")
        desktop.key("alt+f", "n")
        on_screen("New Tester", "dialog")
        desktop.type("8")
        desktop.key("Tab")
        desktop.type("6")
        desktop.key("Return", "Escape")
        screen.window("Sipster")
        desktop.key("alt+f", "s")
        on_screen("Tester Summary", "dialog")
        desktop.key("Escape")
        screen.window("Sipster")
        desktop.key("alt+h", "a")
        on_screen("About Sipster", "dialog")
        desktop.key("Return")
        screen.gone("About Sipster")
        desktop.exit_program(sipster)


def stays_put(desktop):
    """A window shown again comes back where it was, however often: some window managers move a
    window they stop managing to where its frame was."""
    with desktop.running([PROGRAM]) as sipster:
        screen = Screen(desktop, sipster)
        screen.window("Taste Test STUDY")
        desktop.key("alt+c")
        first = {"Sipster": screen.top_left(screen.window("Sipster"))}
        for round in range(1, 21):
            for keys, title in ((("alt+f", "n"), "New Tester"), (("Escape",), "Sipster")):
                desktop.key(*keys)
                window = screen.window(title)
                x0, y0 = first.setdefault(title, screen.top_left(window))

                def in_place():
                    x, y = screen.top_left(window)
                    return abs(x - x0) <= 1 and abs(y - y0) <= 1
                try:
                    desktop.wait_for(in_place, "", timeout=2)
                except AssertionError:
                    raise AssertionError(f"round {round}: {title!r} at "
                                         f"{screen.top_left(window)}, first at ({x0}, {y0})")
        desktop.exit_program(sipster)


if __name__ == "__main__":
    if sys.argv[2:] == ["metacity"]:
        sys.exit(run_checks(MetacityDesktop, "end-to-end under metacity", [stays_put]))
    sys.exit(run_checks(Desktop, "end-to-end",
                        [walk_through, close_requests, placed_on_a_small_screen]))
