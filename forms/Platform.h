// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#pragma once

#include "core/Summary.h"

#include <QString>

class QWidget;

// What differs from one system to the next: the faces the forms ask for and their stand-ins,
// the window system, showing a window, the locale's numbers, and ending the program.
namespace WindowRuntime {

// The face to draw a font the forms name in: that face where the system has it, else a stand-in
// with the same metrics.
QString faceFor(const char *face);

// Whether the program runs on a Wayland compositor.
bool onWayland();

// Whether the Qt the program runs on is older than major.minor: what it was built with may be
// older still (a package built on Debian 12 runs on Debian 13's Qt too). Workarounds for a fault
// of one Qt ask this.
bool qtBefore(int major, int minor);

// Leaves activating a top-level window to showActive(): to be called before it is first made.
void activateOnceMade(QWidget &window);

// Shows a top-level window in front and gives it the keyboard.
void showActive(QWidget &window);

// Lets a tablet bring up its on-screen keyboard only for a control that takes typed text; once
// a run.
void keyboardOnlyForText();

// Lets go of a top-level window hidden for good: destroys it once the event being handled has
// returned.
void letGo(QWidget &window);

// Ends the program at once with status 0, whatever windows or modal loops are open.
[[noreturn]] void End();

// How the user's locale writes numbers: QLocale's default, which is the system locale unless
// the program sets another. Read each time it is asked for.
sipster::NumberStyle numberStyle();

} // namespace WindowRuntime
