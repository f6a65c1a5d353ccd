#pragma once

#include "WindowRuntime.h"

class QLabel;
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
    QLabel *const lblSumFinNum;
    QLabel *const lblAvgPunch;
    QLabel *const lblAvgApple;
    QLabel *const lblSumFinWin;
};
