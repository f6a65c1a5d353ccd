// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#pragma once

// Begins reading the system's font configuration on a thread of its own, where Qt finds its
// fonts through fontconfig.
void startReadingFonts();

// Returns once that reading is done; at once where it never began. Where the program has fonts
// of its own built in (in a browser), adds them: call it once the application exists and before
// any form is built.
void waitForFonts();
