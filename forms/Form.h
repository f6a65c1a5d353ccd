// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#pragma once

#include "Controls.h"
#include "FormDescription.h"

#include <QDialog>
#include <QPointer>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

class QLabel;
class QPushButton;

namespace WindowRuntime {

enum ShowMode { ShowModeless, ShowModal };

// A window built from its description. Forms with a menu are application windows; the others
// are dialogs to screen readers. Enter presses the default button, or the button with the focus;
// Esc presses the cancel button, if the form has one.
//
// A label with an access key is the label of the next control in tab order that takes focus.
// Every other text on the form (a caption with the value it names read as one) is part of what
// screen readers speak when the window opens, in reading order.
class Form : public QDialog
{
    Q_OBJECT

public:
    explicit Form(const FormDescription &form);

    // ShowModal returns once the form is hidden or destroyed; the program's other windows take
    // no input meanwhile. Asked of a form already shown modally, it only brings it forward.
    // In a browser it returns at once, the others blocked all the same: a handler does nothing
    // after a modal Show. ShowModeless returns at once.
    void Show(ShowMode mode);
    // Keeps the controls' contents; ends a modal Show waiting on this form.
    void Hide();
    // Hides the form and lets it go (see letGo) once the event being handled has returned
    // (usually the form's own click handler). A modal Show asked for in the same handler starts
    // after that.
    void Unload();

    // Modal box with the prompt, the title, an exclamation icon and one OK button; returns once
    // it is answered, and the form then takes the keyboard back. In a browser it returns at once:
    // a control given the focus after it has the focus once the box is answered.
    void MsgBox(std::string_view prompt, std::string_view title);

signals:
    // Emitted once, when the form's first frame has been drawn and handed to the window system.
    void firstFrameDrawn();
    // Emitted as the form is unloaded.
    void unloaded();

protected:
    // Calls the handler when the named button is pressed or the named menu item chosen.
    template<class F> void onClick(const char *name, F *form, void (F::*handler)())
    {
        connectClick(name, form, [form, handler] { (form->*handler)(); });
    }
    // The named controls; a name the form does not have stops the program at once.
    TextBoxControl textBox(const char *name) const;
    LabelControl label(const char *name) const;

    // Raised each time the form is shown and each time it becomes the active window: some window
    // managers never activate a newly shown window.
    virtual void Form_Activate() { }
    // The window manager asks to close the form (close box, Alt+F4).
    virtual void closeRequested() = 0;

    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    // The named control; a name the form does not have stops the program at once.
    template<class Control> Control *find(const char *name) const
    {
        auto *found = findChild<Control *>(QString::fromLatin1(name));
        if (!found) {
            missing(Control::staticMetaObject.className(), name);
        }
        return found;
    }
    [[noreturn]] void missing(const char *what, const char *name) const;
    void connectClick(const char *name, QObject *context, std::function<void()> handler);
    void buildMenu(std::span<const MenuEntry> menu);
    void buildControls(QWidget *client, std::span<const ControlEntry> controls);
    // The form's description as screen readers speak it (SpokenDescription.cpp).
    void collectDescription(std::span<const ControlEntry> controls);
    void updateDescription();
    void rememberWindowBeneath();
    // Shows the form over the others, the focus at the given control.
    void showInFront(QWidget *focus);

    QPushButton *m_cancelButton = nullptr;
    // The texts read out as the form's description, each a label and the value label it
    // captions, if any.
    std::vector<std::pair<QLabel *, QLabel *>> m_description;
    // Where screen readers read those texts, as one, when the form opens.
    QLabel *m_spokenText = nullptr;
    QPointer<QWidget> m_windowBeneath;
    bool m_edge = false;
    bool m_frameDrawn = false;
    std::optional<QRect> m_placement; // where the form was when last hidden
};

} // namespace WindowRuntime
