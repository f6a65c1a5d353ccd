// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "frmAbout.h"

using namespace WindowRuntime;

namespace {

const ControlEntry kControls[] = {
    Label("lblTitle3", "Made by the Sipster team", {1680, 1320, 2535, 255}).tab(0),
    Label("lblTitle2", "Version 1.0", {1680, 960, 1815, 255}).tab(1),
    Label("lblTitle1", "Sipster Survey", {1440, 480, 2775, 375})
        .tab(2)
        .withFont({"MS Sans Serif", 12, FontStyle::BoldItalic}),
    CommandButton("cmdOK", "&OK", {3480, 2760, 1215, 495}).tab(3),
    Line("Line1", {840, 1800}, {4800, 1800}),
    Image("Image1", {960, 2160, 1215, 1575}, ":/pictures/about.png",
          "A glass of punch with a straw"),
};

const FormDescription kForm {
    .name = "frmAbout", .caption = "About Sipster", .client = {5520, 3930}, .controls = kControls};

} // namespace

frmAbout::frmAbout(Forms &)
    : Form(kForm)
{
    onClick("cmdOK", this, &frmAbout::cmdOK_Click);
}

void frmAbout::cmdOK_Click()
{
    Hide();
}

void frmAbout::closeRequested()
{
    cmdOK_Click();
}
