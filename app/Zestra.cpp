// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "Zestra.h"

#include "frmMain.h"
#include "frmSplash.h"

Zestra::Zestra()
    : m_forms(m_tallies)
{ }

void Zestra::Main()
{
    frmSplash &splash = m_forms.splash();
    splash.Show(WindowRuntime::ShowModeless);
    // Referring to a form loads it, hidden. The main window is loaded once the title card is on
    // screen, so that building it does not hold the card back; a Close pressed before that
    // loads it at once.
    QObject::connect(
        &splash, &WindowRuntime::Form::firstFrameDrawn, &splash, [this] { m_forms.main(); },
        Qt::SingleShotConnection);
}
