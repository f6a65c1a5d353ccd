// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#pragma once

#include "WindowRuntime.h"

class Forms;

class frmTest : public WindowRuntime::Form
{
    Q_OBJECT

public:
    explicit frmTest(Forms &forms);

private:
    void cmdOK_Click();
    void cmdCancel_Click();
    void closeRequested() override;

    Forms &m_forms;
    const WindowRuntime::TextBoxControl txtPunch;
    const WindowRuntime::TextBoxControl txtApple;
};
