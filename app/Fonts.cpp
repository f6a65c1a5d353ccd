// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "Fonts.h"

#include <thread>

#ifdef SIPSTER_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace {

// Kept for the whole run: a program that ends while the fonts are still being read (a mistyped
// option) waits for the thread as it ends, rather than end with fontconfig half read.
std::jthread &reader()
{
    static std::jthread thread;
    return thread;
}

} // namespace

void startReadingFonts()
{
#ifdef SIPSTER_FONTCONFIG
    // Fontconfig's first call reads its configuration files and font caches, most of the time
    // the title card takes before it can be measured. Read while Qt connects to the window
    // system, they are ready when the card asks for its faces. FcInit may run on any thread.
    reader() = std::jthread([] { FcInit(); });
#endif
}

void waitForFonts()
{
    if (reader().joinable()) {
        reader().join();
    }
}
