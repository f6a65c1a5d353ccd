// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#pragma once

// A small forms runtime over Qt Widgets: each window is described as data (caption, client size,
// border and a table of controls with twip positions) and becomes a QDialog with the behaviour of a
// classic form: modal and modeless show, hide, unload, message boxes, default and cancel buttons,
// accelerators, tab order and an activate event.
// The runtime's parts, each in a file of its own: FormDescription.h (the description types),
// Controls.h (controls, twips, fonts, captions, the text box and label handles), Form.h (the
// window: building, tab order, show, hide and unload, placement, events), MessageBox.h,
// Accessibility.h (roles, caret reports) and Platform.h (font stand-ins, Wayland, numbers, End).

#include "Controls.h"
#include "Form.h"
#include "FormDescription.h"
#include "Platform.h"
