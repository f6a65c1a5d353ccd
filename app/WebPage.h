// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#pragma once

#include "core/RunTallies.h"

// On a touch screen, scales the program's windows up for a finger: set before the application
// is made, which reads the scale once.
void scaleForTouch();

// In a browser, what the page around the program may ask of it: whether any tester is recorded,
// so that leaving or reloading the page, which would lose them, asks first. The tallies must
// outlive the program's run.
void shareWithPage(const sipster::RunTallies &tallies);

// Tells the page that the title card is on screen ("sipster-started" on its window): what the
// page does for the next visit waits until then, so as not to hold the card back.
void tellPageStarted();
