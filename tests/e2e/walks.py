# SPDX-FileCopyrightText: 2026 The Sipster team
#
# SPDX-License-Identifier: MIT

"""The end-to-end checks on Linux desktops: the program used as a person would, with keys on
X11, through AT-SPI actions alone on a headless Wayland compositor, and read back as a screen
reader does. Each check is check(desktop, program), or check(desktop, program, forms_tests) on a
desktop that is also given the window tests."""

import os
import shutil
import time

from desktop import Screen

TITLE_CARD = "Taste Test STUDY"
# What a screen reader calls each window the walks meet.
ROLES = {TITLE_CARD: "dialog|frame", "Sipster": "frame", "Input Requested": "alert",
         "New Tester": "dialog", "Invalid score": "alert", "Tester Summary": "dialog",
         "About Sipster": "dialog"}


# The walk every desktop takes by keys, after the title card: the keys pressed or the text typed,
# and the window that follows, if one does. Close, Summary with no tester yet (a message box),
# one tester of 8 and 6, a score of 0 turned down (a message box), Summary, About.
BASIC_WALK = [
    (("alt+c",), "Sipster"),
    (("alt+f", "s"), "Input Requested"),
    (("Return",), "Sipster"),
    (("alt+f", "n"), "New Tester"),
    ("8", None),
    (("Tab",), None),
    ("6", None),
    (("Return",), None),
    ("0", None),
    (("Return",), "Invalid score"),
    (("Return",), "New Tester"),
    (("Escape",), "Sipster"),
    (("alt+f", "s"), "Tester Summary"),
    (("Return",), "Sipster"),
    (("alt+h", "a"), "About Sipster"),
    (("Return",), "Sipster"),
]


def basic_walk(desktop, window, title_card=TITLE_CARD):
    """Takes the basic walk from the title card to the main window. `window(title)` waits for
    that window to take the keyboard, and may look at it."""
    window(title_card)
    for action, title in BASIC_WALK:
        if isinstance(action, str):
            desktop.type(action)
        else:
            desktop.key(*action)
        if title:
            window(title)


def check_accessible_names(screen, window, entries=(), buttons=(), pictures=()):
    p = screen.pyatspi
    for name in entries:
        screen.named(window, p.ROLE_TEXT, name)
    for name in buttons:
        screen.named(window, p.ROLE_PUSH_BUTTON, name)
    for name in pictures:
        screen.named(window, p.ROLE_IMAGE, name)


def read_out(screen, window, labels, button, picture, description):
    """What a screen reader hears of a window of texts, a picture and one button: the texts, the
    picture and the button by name, the button labelled by none of the texts, and, when the
    window opens, every text on it, once."""
    assert set(labels) <= set(screen.labels(window)), screen.labels(window)
    check_accessible_names(screen, window, buttons=[button], pictures=[picture])
    assert screen.read_on_opening(window) == [description], screen.read_on_opening(window)
    assert screen.labelled_by(screen.named(window, screen.pyatspi.ROLE_PUSH_BUTTON, button)) == []


def walk_through(desktop, program):
    with desktop.running([program]) as sipster:
        screen = Screen(desktop, sipster)
        p = screen.pyatspi
        read_out(screen, screen.window("Taste Test STUDY", role="dialog|frame"),
                 ["Taste Test", "STUDY", "Version 1"], "Close",
                 "Two glasses, one of prune punch and one of apple ade",
                 "Apple Ade, Version 1, \u00a9 2026 Sipster, Prune Punch")
        desktop.key("alt+c")
        main = screen.window("Sipster", role="frame")
        assert "Taste Test Challenge" in screen.labels(main)

        desktop.key("alt+f", "n")
        entry = screen.window("New Tester", role="dialog")
        check_accessible_names(screen, entry, entries=["Prune Punch", "Apple Ade"],
                               buttons=["OK", "Cancel"])
        assert screen.read_on_opening(entry) == ["Enter score 1 to 10 with 10 as high score"], \
            screen.read_on_opening(entry)
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
        assert screen.read_on_opening(summary) == [
            "Number of Sipsters: 1, Average Prune Punch rating: 8.00, Average Apple Ade rating: "
            "6.00, The winner is: Prune Punch"], screen.read_on_opening(summary)
        assert screen.labelled_by(screen.named(summary, p.ROLE_LABEL, "8.00")) \
            == ["Average Prune Punch rating:"]
        desktop.key("Escape")
        screen.window("Sipster")

        desktop.key("alt+h", "a")
        read_out(screen, screen.window("About Sipster", role="dialog"), ["Sipster Survey"], "OK",
                 "A glass of punch with a straw",
                 "Sipster Survey, Version 1.0, Made by the Sipster team")
        desktop.key("Return")
        screen.gone("About Sipster")

        # The window manager's close box on the score window acts as its Cancel.
        desktop.key("alt+f", "n")
        screen.window("New Tester")
        desktop.close_window("New Tester")
        screen.window("Sipster")
        screen.gone("New Tester")

        desktop.exit_program(sipster)


def read_aloud(desktop, program):
    """What Orca says as each window opens: its texts, each once, and a box by its label. Keys
    come at a person's pace: Orca takes a window's activation before the keys that led to it."""
    def says_once(keys, text, said=None, timeout=10):
        said = len(desktop.spoken()) if said is None else said
        for key in keys:
            desktop.key(key)
            time.sleep(0.5)
        desktop.wait_for(lambda: any(text in line for line in desktop.spoken()[said:]),
                         f"Orca to say {text!r}; it said {desktop.spoken()[said:]}", timeout)
        time.sleep(1.5)
        phrases = desktop.spoken()[said:]
        assert sum(line.count(text) for line in phrases) == 1, f"read twice: {phrases}"
        assert not any("&" in line for line in phrases), f"an access key read out: {phrases}"

    with desktop.running([program]) as sipster:
        # A first window may take a while on a machine that starts it for the first time.
        says_once((), "Apple Ade, Version 1, \u00a9 2026 Sipster, Prune Punch", said=0, timeout=30)
        says_once(("alt+c",), "Sipster frame")
        says_once(("alt+h", "a"), "Sipster Survey, Version 1.0, Made by the Sipster team")
        says_once(("Return", "alt+f", "n"), "Enter score 1 to 10 with 10 as high score")
        desktop.type("8")
        says_once(("Tab",), "Apple Ade text")
        desktop.type("6")
        says_once(("Return",), "Prune Punch text")
        says_once(("Escape", "alt+f", "s"), "Number of Sipsters: 1, Average Prune Punch rating: "
                  "8.00, Average Apple Ade rating: 6.00, The winner is: Prune Punch")
        says_once(("Return",), "Sipster frame")
        desktop.exit_program(sipster, timeout=30)


def close_requests(desktop, program):
    """Alt+F4 on the title card acts as its Close; the main window's close box ends the run."""
    with desktop.running([program]) as sipster:
        screen = Screen(desktop, sipster)
        screen.window("Taste Test STUDY")
        desktop.key("alt+F4")
        screen.window("Sipster")
        desktop.close_window("Sipster")
        status = sipster.wait(timeout=10)
        assert status == 0, f"closing the main window ended with status {status}"


def placed_on_a_small_screen(desktop, program):
    """At three times the scale, a 1024x768 screen is 341x256 logical pixels: smaller than the
    main window. Every window still opens with its top-left corner on the screen."""
    with desktop.running([program], env={"QT_SCALE_FACTOR": "3"}) as sipster:
        screen = Screen(desktop, sipster)

        def on_screen(name):
            x, y = screen.top_left(screen.window(name, role=ROLES[name]))
            assert x >= 0 and y >= 0, f"{name!r} opens at ({x}, {y}), off the screen"

        basic_walk(desktop, on_screen)
        desktop.exit_program(sipster)


def stays_put(desktop, program):
    """A window shown again comes back where it was, however often: some window managers move a
    window they stop managing to where its frame was."""
    with desktop.running([program]) as sipster:
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


def walk_by_actions(desktop, program, forms_tests=None):
    with desktop.running([program]) as sipster:
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


def title_bars(desktop, program, forms_tests=None):
    """Where Qt draws the title bars, the title card has none, and maximising a message box (its
    title bar has the button, fixed size or not) keeps the program and its tallies."""
    with desktop.running([program]) as sipster:
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


# The window tests that need a compositor, by who draws the title bars: the program (weston,
# mutter) or the compositor (KWin).
COMPOSITOR_TESTS = {"weston": "Wayland.*", "mutter": "Wayland.*", "kwin": "CompositorTitleBars.*"}


def window_tests_on(compositor):
    def window_tests_on_wayland(desktop, program, forms_tests=None):
        """The window tests that need a real compositor, skipped elsewhere, pass on this one."""
        if not forms_tests:
            print("note: no window tests were built; those on Wayland are not run")
            return
        # Qt's Wayland platform leaves objects of its connection to the end of the process,
        # where a sanitizer build would report them as leaks; the window tests that run
        # offscreen check for leaks.
        sanitizer = ":".join(filter(None, [os.environ.get("ASAN_OPTIONS"), "detect_leaks=0"]))
        desktop.window_tests(forms_tests, COMPOSITOR_TESTS[compositor],
                             env={"ASAN_OPTIONS": sanitizer})
    return window_tests_on_wayland


def installed(desktop, program):
    """The program installed on this machine, found on the PATH, takes the walk."""
    found = shutil.which(program)
    assert found, f"{program} is not on the PATH"
    with desktop.running([found]) as sipster:
        screen = Screen(desktop, sipster)
        basic_walk(desktop, screen.window)
        desktop.exit_program(sipster)
