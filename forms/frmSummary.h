// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#pragma once

#include "WindowRuntime.h"

class Forms;

class frmSummary : public WindowRuntime::Form
{
    Q_OBJECT

public:
    explicit frmSummary(Forms &forms);

private:
    void Form_Activate() override;
    void cmdOK_Click();
    void closeRequested() override;

    Forms &m_forms;
    const WindowRuntime::LabelControl lblSumFinNum;
    const WindowRuntime::LabelControl lblAvgPunch;
    const WindowRuntime::LabelControl lblAvgApple;
    const WindowRuntime::LabelControl lblSumFinWin;
};
