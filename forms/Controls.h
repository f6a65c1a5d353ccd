// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#pragma once

#include "FormDescription.h"

#include <QRect>
#include <QString>
#include <string>
#include <string_view>

class QFont;
class QLabel;
class QLineEdit;
class QWidget;

// The controls forms are built of: twips to pixels, each kind of control made from its entry,
// fonts, captions that never cut their text, and the handles the windows use them by.
namespace WindowRuntime {

int twipsToPixels(int twips);
QRect twipsToPixels(const TwipRect &rect);

// A form's text box and label, read and written in the program's own strings (UTF-8).
struct TextBoxControl
{
    std::string Text() const;
    // Replacing the text also drops the box's undo history, which would otherwise grow.
    void SetText(std::string_view text) const;
    void SetFocus() const;

    QLineEdit *box;
};

struct LabelControl
{
    void SetCaption(std::string_view caption) const;

    QLabel *label;
};

// The control an entry describes, in its parent; a Line places itself, the form places the rest.
QWidget *createControl(const ControlEntry &entry, QWidget *parent);
QFont fontFor(const FontChoice &choice);
// A label never cuts its caption: where the face in use is wider than the one the form was laid
// out with, or a caption set later is wider than its box, the label grows away from the side it
// is aligned to, shifted back into its container where it would leave it.
void fitCaption(QLabel *label);
bool takesFocus(ControlKind kind);
bool hasAccessKey(const QString &caption);
// The program's own strings are UTF-8.
QString text(std::string_view utf8);

} // namespace WindowRuntime
