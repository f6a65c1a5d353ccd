// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "frmMain.h"

#include "Forms.h"
#include "frmAbout.h"
#include "frmSummary.h"
#include "frmTest.h"

using namespace WindowRuntime;

namespace {

const ControlEntry kControls[] = {
    Label("Label1", "Taste Test Challenge", {1320, 1440, 4215, 855})
        .withFont({"MS Sans Serif", 18, FontStyle::BoldItalic}),
};

const MenuEntry kMenu[] = {
    Menu("File", "&File"),
    MenuItem("File", "Tester", "&New Tester"),
    MenuItem("File", "Summary", "&Summary"),
    MenuItem("File", "mnuSpa1", "-"),
    MenuItem("File", "Exit", "E&xit"),
    Menu("Help", "&Help"),
    MenuItem("Help", "About", "&About"),
};

const FormDescription kForm {.name = "frmMain",
                             .caption = "Sipster",
                             .client = {6690, 4140},
                             .controls = kControls,
                             .menu = kMenu};

} // namespace

frmMain::frmMain(Forms &forms)
    : Form(kForm)
    , m_forms(forms)
{
    onClick("Tester", this, &frmMain::Tester_Click);
    onClick("Summary", this, &frmMain::Summary_Click);
    onClick("Exit", this, &frmMain::Exit_Click);
    onClick("About", this, &frmMain::About_Click);
}

void frmMain::Tester_Click()
{
    Hide();
    m_forms.test().Show(ShowModal);
}

void frmMain::Summary_Click()
{
    if (m_forms.tallies().intTesterCount < 1) {
        MsgBox("No data to summarize", "Input Requested");
        return;
    }
    Hide();
    m_forms.summary().Show(ShowModal);
}

void frmMain::Exit_Click()
{
    End();
}

void frmMain::About_Click()
{
    m_forms.about().Show(ShowModal);
}

void frmMain::closeRequested()
{
    Exit_Click();
}
