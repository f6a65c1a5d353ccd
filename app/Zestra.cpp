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
    m_forms.splash().Show(WindowRuntime::ShowModeless);
    m_forms.main(); // referring to a form loads it, hidden
}
