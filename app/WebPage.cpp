// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "WebPage.h"

#include <emscripten.h>

namespace {

const sipster::RunTallies *g_shared = nullptr;

} // namespace

void shareWithPage(const sipster::RunTallies &tallies)
{
    g_shared = &tallies;
}

void tellPageStarted()
{
    EM_ASM({ dispatchEvent(new Event('sipster-started')); });
}

// Called by the page (index.html) as it is about to be left.
extern "C" EMSCRIPTEN_KEEPALIVE int sipster_testers_recorded()
{
    return g_shared ? g_shared->intTesterCount : 0;
}
