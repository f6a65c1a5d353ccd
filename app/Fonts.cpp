// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "Fonts.h"

#ifdef SIPSTER_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

std::jthread prepareFonts()
{
#ifdef SIPSTER_FONTCONFIG
    // Fontconfig's first call reads its configuration files and font caches, most of the time
    // the title card takes before it can be measured. Read while Qt connects to the window
    // system, they are ready when the card asks for its faces. FcInit may run on any thread, and
    // the thread touches nothing that ending the program tears down.
    return std::jthread([] { FcInit(); });
#else
    return {};
#endif
}
