// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "frmSplash.h"

#include "Forms.h"
#include "frmMain.h"

using namespace WindowRuntime;

namespace {

constexpr FontChoice kArialSmall {"Arial", 8.25};

const ControlEntry kControls[] = {
    Frame("Frame1", {150, 60, 7080, 4050}),
    Image("imgLogo", {360, 795, 1815, 2385}, ":/pictures/logo.png",
          "Two glasses, one of prune punch and one of apple ade")
        .inside("Frame1"),
    Label("lblLicenseTo", "Apple Ade", {720, 480, 1215, 255})
        .inside("Frame1")
        .aligned(Alignment::Centre)
        .withFont(kArialSmall),
    Label("lblWarning", "Prune Punch", {600, 3360, 1335, 195})
        .inside("Frame1")
        .aligned(Alignment::Centre)
        .withFont(kArialSmall),
    Label("lblCopyright", "\u00a9 2026 Sipster", {4320, 3060, 1215, 255})
        .inside("Frame1")
        .withFont(kArialSmall),
    Label("lblVersion", "Version 1", {4365, 2640, 1080, 285})
        .inside("Frame1")
        .aligned(Alignment::Right)
        .autoSized()
        .withFont({"Arial", 12, FontStyle::Bold}),
    Label("lblCompanyProduct", "Taste Test", {2880, 705, 1770, 435})
        .inside("Frame1")
        .autoSized()
        .withFont({"Arial", 18, FontStyle::Bold}),
    Label("lblProductName", "STUDY", {2760, 1140, 2190, 765})
        .inside("Frame1")
        .autoSized()
        .withFont({"Arial", 32.25, FontStyle::Bold}),
    CommandButton("cmdClose", "&Close", {3000, 4320, 1215, 495}).tab(0),
};

const FormDescription kForm {.name = "frmSplash",
                             .caption = "",
                             .client = {7380, 4920},
                             .controls = kControls,
                             .border = Border::FixedDialog,
                             .titleBar = false,
                             .accessibleName = "Taste Test STUDY"};

} // namespace

frmSplash::frmSplash(Forms &forms)
    : Form(kForm)
    , m_forms(forms)
{
    onClick("cmdClose", this, &frmSplash::cmdClose_Click);
}

void frmSplash::cmdClose_Click()
{
    m_forms.Unload(*this);
    m_forms.main().Show(ShowModal);
}

void frmSplash::closeRequested()
{
    cmdClose_Click();
}
