// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#pragma once

#include "WindowRuntime.h"

class Forms;

class frmSplash : public WindowRuntime::Form
{
    Q_OBJECT

public:
    explicit frmSplash(Forms &forms);

private:
    void cmdClose_Click();
    void closeRequested() override;

    Forms &m_forms;
};
