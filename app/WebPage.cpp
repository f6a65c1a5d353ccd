// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "WebPage.h"

#include <QByteArray>
#include <emscripten.h>

namespace {

const sipster::RunTallies *g_shared = nullptr;

} // namespace

void scaleForTouch()
{
    // The score boxes are 19 CSS pixels high at scale 1 and the buttons 25; a finger wants 36.
    // The scale stops where the largest window, the title card (496 x 332 CSS pixels at scale 1,
    // frame included), would no longer lie wholly on the page, and never goes below 1. Both are
    // taken to two places, the one rounded up and the other down.
    const double scale = EM_ASM_DOUBLE({
        if (!matchMedia('(pointer: coarse)').matches) {
            return 1;
        }
        const finger = Math.ceil(36 / 19 * 100) / 100;
        const fit = Math.floor(Math.min(innerWidth / 496, innerHeight / 332) * 100) / 100;
        return Math.max(1, Math.min(finger, fit));
    });
    if (scale > 1) {
        qputenv("QT_SCALE_FACTOR", QByteArray::number(scale, 'f', 2));
    }
}

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
