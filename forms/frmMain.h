// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#pragma once

#include "WindowRuntime.h"

class Forms;

class frmMain : public WindowRuntime::Form
{
    Q_OBJECT

public:
    explicit frmMain(Forms &forms);

private:
    void Tester_Click();
    void Summary_Click();
    void Exit_Click();
    void About_Click();
    void closeRequested() override;

    Forms &m_forms;
};
