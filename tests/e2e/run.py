#!/usr/bin/python3

# SPDX-FileCopyrightText: 2026 The Sipster team
#
# SPDX-License-Identifier: MIT

"""Runs the end-to-end checks of one desktop on the program, each on the same throwaway desktop.
Usage: run.py DESKTOP PROGRAM [FORMS-TESTS]
  x11            Xvfb and openbox: the walk read back through AT-SPI, close requests, placement
                 at three times the scale
  metacity       Xvfb and metacity: windows shown again stay put
  orca           Xvfb and openbox with the Orca screen reader: what it says of each window
  wayland        a headless weston: the walk through AT-SPI actions alone
  kwin, mutter   KDE's and GNOME's compositors, headless: that walk, and the window tests
                 FORMS-TESTS for a compositor that draws the title bars (KWin) or does not
  weston-nested  weston as a window on Xvfb: Qt's own title bars, and the window tests
                 FORMS-TESTS that need a compositor
  wine           the Windows program (PROGRAM.exe, and the window tests FORMS-TESTS.exe) under
                 Wine: its command line, the walk at two scales, and installed from the MSI that
                 SIPSTER_MSI names
  installed      the program installed on this machine, PROGRAM looked up on the PATH
  web-chromium, web-firefox, web-webkit
                 the browser build, index.html beside PROGRAM (sipster.js, or their folder), in a
                 headless Chromium, Firefox or WebKitGTK: the walk, read off the screen; Chromium
                 also with the page in German and a screen reader's view of it, and by touch on
                 two tablets' pages
  web            web-chromium"""

import sys

import desktop
import walks
import web
import wine

DESKTOPS = {
    "x11": (desktop.Desktop, [walks.walk_through, walks.close_requests,
                              walks.placed_on_a_small_screen]),
    "metacity": (desktop.MetacityDesktop, [walks.stays_put]),
    "orca": (desktop.OrcaDesktop, [walks.read_aloud]),
    "wayland": (desktop.WaylandDesktop, [walks.walk_by_actions]),
    "kwin": (desktop.KWinDesktop, [walks.walk_by_actions, walks.window_tests_on("kwin")]),
    "mutter": (desktop.MutterDesktop, [walks.walk_by_actions, walks.window_tests_on("mutter")]),
    "weston-nested": (desktop.NestedWestonDesktop, [walks.title_bars,
                                                     walks.window_tests_on("weston")]),
    "wine": (desktop.WineDesktop, [wine.command_line, wine.at_scale(96), wine.at_scale(144),
                                   wine.installed_from_the_package]),
    "installed": (desktop.Desktop, [walks.installed]),
    "web-chromium": (web.ChromiumDesktop, [
        web.walk("chromium"), web.walk("chromium", "de-DE", decimal=",", screen_reader=True),
        web.walk("chromium", tablet=(1024, 768)), web.walk("chromium", tablet=(768, 1024))]),
    "web-firefox": (web.FirefoxDesktop, [web.walk("firefox")]),
    "web-webkit": (web.WebKitDesktop, [web.walk("webkit")]),
}
DESKTOPS["web"] = DESKTOPS["web-chromium"]

if __name__ == "__main__":
    if len(sys.argv) < 3 or sys.argv[1] not in DESKTOPS:
        sys.exit(__doc__)
    kind, checks = DESKTOPS[sys.argv[1]]
    sys.exit(desktop.run_checks(kind, f"end-to-end on {sys.argv[1]}", checks, *sys.argv[2:]))
