// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#pragma once

#include "Forms.h"
#include "core/RunTallies.h"

#include <QObject>

// The start-up module: owns the run's tallies and its windows.
class Zestra
{
public:
    Zestra();

    // Shows the title card; the main window and the window icon are loaded once the card is on
    // screen, or once it goes, if that comes first. The program then lives in the event loop
    // until a window ends it.
    void Main();

    Forms &forms() { return m_forms; }

private:
    void loadBehindTitleCard();

    sipster::RunTallies m_tallies;
    Forms m_forms;
    // The context of the connections to the title card: it goes, and they with it, before the
    // forms do.
    QObject m_titleCardWatch;
    bool m_loadedBehindTitleCard = false;
};
