#include "frmTest.h"

#include "Forms.h"
#include "frmMain.h"

#include <QLineEdit>

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

const FormDescription kForm("frmTest", "New Tester", {5790, 2940}, kControls);

} // namespace

frmTest::frmTest(Forms &forms)
    : Form(kForm)
    , m_forms(forms)
    , txtPunch(control<QLineEdit>("txtPunch"))
    , txtApple(control<QLineEdit>("txtApple"))
{
    onClick("cmdOK", this, &frmTest::cmdOK_Click);
    onClick("cmdCancel", this, &frmTest::cmdCancel_Click);
}

void frmTest::cmdOK_Click()
{
    const sipster::Verdict verdict = sipster::ScoreEntry(
        m_forms.tallies(), txtPunch->text().toStdString(), txtApple->text().toStdString());
    if (verdict == sipster::Verdict::Accepted) {
        // Setting the text, unlike clear(), also drops the box's undo history, which would
        // otherwise grow with every tester.
        txtPunch->setText(QString());
        txtApple->setText(QString());
        SetFocus(txtPunch);
        return;
    }
    const sipster::VerdictMessage message = sipster::messageFor(verdict);
    MsgBox(message.prompt, message.title);
    SetFocus(verdict == sipster::Verdict::AppleInvalid ? txtApple : txtPunch);
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
