// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#pragma once

#include "WindowRuntime.h"

class Forms;

class frmAbout : public WindowRuntime::Form
{
    Q_OBJECT

public:
    explicit frmAbout(Forms &forms);

private:
    void cmdOK_Click();
    void closeRequested() override;
};
