// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QAccessible>

class QMenu;
class QWidget;

// What the runtime does for screen readers beyond Qt's own: the roles of pictures and of the
// main window, and caret reports held back while a text box takes the focus. (A form's spoken
// description is in SpokenDescription.cpp.)
namespace WindowRuntime {

// Screen readers hear pictures as graphics and the main window (the form with a menu) as an
// application window; every other form keeps QDialog's dialog role.
// Once a run: Qt asks every factory installed, as often as it was installed.
void installAccessibleRoles();

// Tells screen readers that the object's name has changed, where Qt does not.
void reportNameChanged(QObject *object);

// Brings a window's copy in Qt for WebAssembly's mirror of the windows for screen readers up to
// date once the window is on screen (seen in 6.8): the mirror places each control as it is first
// shown, before the window is laid out and placed, off by the window's place on the page; and
// it leaves a menu's items behind in the menu's window of the first opening. Elsewhere it does
// nothing.
void mirrorOnceShown(QWidget &window);

// The same for a menu, each time it opens.
void keepMenuMirrored(QMenu &menu);

// Lays the mirror's copy of each control over the control as drawn, at whatever scale Qt draws
// the windows in the page; once a run, with the application made. Elsewhere it does nothing.
void scaleMirrorWithWindows();

// Qt reports the caret move and selection that a text box makes on taking the focus before it
// reports the focus change, and reports caret moves in boxes without the focus too (seen in 6.4
// and, checked again, in 6.8.2). A screen reader takes such a caret event, handled after the box
// has the focus, for the move into it and then ignores the focus event: moving into a box says
// nothing. Caret and selection reports are
// held back while a box takes the focus or has its text replaced without it; a screen reader
// reads the caret and selection along with the focus.
class CaretReportsHeldBack
{
public:
    CaretReportsHeldBack();
    ~CaretReportsHeldBack();
    CaretReportsHeldBack(const CaretReportsHeldBack &) = delete;
    CaretReportsHeldBack &operator=(const CaretReportsHeldBack &) = delete;

private:
    bool nested() const;

    QAccessible::UpdateHandler m_before;
};

} // namespace WindowRuntime
