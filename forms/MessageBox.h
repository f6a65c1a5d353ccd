// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

class QWidget;

namespace WindowRuntime {

// Shows a modal warning with the prompt, the title and one OK button over the parent, and
// returns once it is answered (in a browser, at once); the parent then takes the keyboard back.
void showMessageBox(QWidget *parent, const QString &prompt, const QString &title);

} // namespace WindowRuntime
