// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "frmSummary.h"

#include "Forms.h"
#include "frmMain.h"

using namespace WindowRuntime;

namespace {

constexpr FontChoice kLabelFont {"MS Sans Serif", 8.25, FontStyle::Bold};

constexpr ControlEntry SummaryLabel(const char *name, const char *caption, TwipRect rect,
                                    Alignment alignment)
{
    return Label(name, caption, rect).withFont(kLabelFont).aligned(alignment);
}

const ControlEntry kControls[] = {
    CommandButton("cmdOK", "OK", {2760, 3360, 975, 375}).tab(0).defaultButton().cancelButton(),
    SummaryLabel("lblSumNum", "Number of Sipsters:", {360, 960, 3015, 255}, Alignment::Right)
        .tab(1)
        .captionOf("lblSumFinNum"),
    SummaryLabel("lblSumRate", "Average Prune Punch rating:", {240, 1560, 3135, 255},
                 Alignment::Right)
        .tab(2)
        .captionOf("lblAvgPunch"),
    SummaryLabel("lblSumWinner", "The winner is:", {1320, 2640, 2055, 255}, Alignment::Right)
        .tab(3)
        .captionOf("lblSumFinWin"),
    SummaryLabel("lblSumFinNum", "", {3840, 960, 735, 255}, Alignment::Right).tab(4),
    SummaryLabel("lblAvgPunch", "", {3840, 1560, 735, 255}, Alignment::Right).tab(5),
    SummaryLabel("lblSumFinWin", "", {3840, 2640, 2532, 252}, Alignment::Left).tab(6),
    SummaryLabel("Label1", "Average Apple Ade rating:", {960, 2160, 2415, 255}, Alignment::Right)
        .tab(7)
        .captionOf("lblAvgApple"),
    SummaryLabel("lblAvgApple", "", {3840, 2160, 735, 255}, Alignment::Right).tab(8),
};

const FormDescription kForm {.name = "frmSummary",
                             .caption = "Tester Summary",
                             .client = {6690, 4140},
                             .controls = kControls,
                             .background = QColor(192, 192, 192)};

} // namespace

frmSummary::frmSummary(Forms &forms)
    : Form(kForm)
    , m_forms(forms)
    , lblSumFinNum(label("lblSumFinNum"))
    , lblAvgPunch(label("lblAvgPunch"))
    , lblAvgApple(label("lblAvgApple"))
    , lblSumFinWin(label("lblSumFinWin"))
{
    onClick("cmdOK", this, &frmSummary::cmdOK_Click);
}

void frmSummary::Form_Activate()
{
    const sipster::TallySummary summary = sipster::ComputeSummary(m_forms.tallies(), numberStyle());
    lblSumFinNum.SetCaption(summary.countText);
    lblAvgPunch.SetCaption(summary.punchAverageText);
    lblAvgApple.SetCaption(summary.appleAverageText);
    lblSumFinWin.SetCaption(summary.winnerText);
}

void frmSummary::cmdOK_Click()
{
    Hide();
    m_forms.main().Show(ShowModeless);
}

void frmSummary::closeRequested()
{
    cmdOK_Click();
}
