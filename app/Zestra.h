// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#pragma once

#include "Forms.h"
#include "core/RunTallies.h"

// The start-up module: owns the run's tallies and its windows.
class Zestra
{
public:
    Zestra();

    // Shows the title card and loads the main window behind it; the program then lives in the
    // event loop until a window ends it.
    void Main();

    Forms &forms() { return m_forms; }

private:
    sipster::RunTallies m_tallies;
    Forms m_forms;
};
