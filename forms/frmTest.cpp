// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "frmTest.h"

#include "Forms.h"
#include "frmMain.h"

using namespace WindowRuntime;

namespace {

const ControlEntry kControls[] = {
    Label("lblPunch", "&Prune Punch", {1320, 720, 1215, 255}).tab(0).aligned(Alignment::Centre),
    TextBox("txtPunch", {1560, 1080, 615, 285}).tab(1),
    Label("lblApple", "&Apple Ade", {3480, 720, 855, 255}).tab(2),
    TextBox("txtApple", {3600, 1080, 615, 285}).tab(3),
    CommandButton("cmdOK", "&OK", {1440, 1800, 975, 375}).tab(4).defaultButton(),
    CommandButton("cmdCancel", "&Cancel", {3480, 1800, 975, 375}).tab(5).cancelButton(),
    Label("lblDesc", "Enter score 1 to 10 with 10 as high score", {360, 120, 5295, 375})
        .tab(6)
        .aligned(Alignment::Centre)
        .withFont({"MS Sans Serif", 12, FontStyle::Bold}),
};

const FormDescription kForm {
    .name = "frmTest", .caption = "New Tester", .client = {5790, 2940}, .controls = kControls};

} // namespace

frmTest::frmTest(Forms &forms)
    : Form(kForm)
    , m_forms(forms)
    , txtPunch(textBox("txtPunch"))
    , txtApple(textBox("txtApple"))
{
    onClick("cmdOK", this, &frmTest::cmdOK_Click);
    onClick("cmdCancel", this, &frmTest::cmdCancel_Click);
}

void frmTest::cmdOK_Click()
{
    const sipster::Verdict verdict
        = sipster::ScoreEntry(m_forms.tallies(), txtPunch.Text(), txtApple.Text());
    if (verdict == sipster::Verdict::Accepted) {
        txtPunch.SetText("");
        txtApple.SetText("");
        txtPunch.SetFocus();
        return;
    }
    const sipster::VerdictMessage message = sipster::messageFor(verdict);
    MsgBox(message.prompt, message.title);
    (verdict == sipster::Verdict::AppleInvalid ? txtApple : txtPunch).SetFocus();
}

void frmTest::cmdCancel_Click()
{
    Hide();
    m_forms.main().Show(ShowModeless);
}

void frmTest::closeRequested()
{
    cmdCancel_Click();
}
