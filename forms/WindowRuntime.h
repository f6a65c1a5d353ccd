// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#pragma once

#include "core/Summary.h"

#include <QColor>
#include <QDialog>
#include <QPointer>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

// A small forms runtime over Qt Widgets: each window is described as data (caption, client size,
// border and a table of controls with twip positions) and becomes a QDialog with the behaviour of a
// classic form: modal and modeless show, hide, unload, message boxes, default and cancel buttons,
// accelerators, tab order and an activate event.
namespace WindowRuntime {

// A twip is 1/1440 inch; at 96 logical dots per inch that is 15 twips to a logical pixel.
inline constexpr int kTwipsPerPixel = 15;

struct TwipPoint
{
    int x = 0;
    int y = 0;
};

struct TwipRect
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct TwipSize
{
    int width = 0;
    int height = 0;
};

enum class FontStyle { Regular, Bold, Italic, BoldItalic };

struct FontChoice
{
    const char *face = "MS Sans Serif";
    double points = 8.25;
    FontStyle style = FontStyle::Regular;
};

enum class ControlKind { Label, TextBox, CommandButton, Image, Frame, Line };
enum class Alignment { Left, Right, Centre };

// One row of a form's control table. Built with the functions below and refined with the
// chained setters, e.g. Label("lblPunch", "&Prune Punch", {1320, 720, 1215, 255}).tab(0).
struct ControlEntry
{
    const char *name = "";
    ControlKind kind = ControlKind::Label;
    const char *caption = "";
    TwipRect rect; // a Line's from and to are its top-left corner and the opposite one
    int tabIndex = -1; // -1 for controls outside the tab order
    FontChoice font;
    Alignment alignment = Alignment::Left;
    bool autoSize = false;
    bool isDefault = false; // a CommandButton pressed by Enter unless another button has the focus
    bool isCancel = false; // a CommandButton pressed by Esc
    const char *container = nullptr; // the Frame holding it; rect is then relative to the frame
    const char *picture = nullptr; // an Image's picture, a PNG resource at 1x (see PictureBox)
    const char *description = nullptr; // what a screen reader says for an Image
    const char *captioned = nullptr; // for a Label naming the value another Label shows

    constexpr ControlEntry tab(int i) const { return with(&ControlEntry::tabIndex, i); }
    constexpr ControlEntry withFont(FontChoice f) const { return with(&ControlEntry::font, f); }
    constexpr ControlEntry aligned(Alignment a) const { return with(&ControlEntry::alignment, a); }
    constexpr ControlEntry autoSized() const { return with(&ControlEntry::autoSize, true); }
    constexpr ControlEntry defaultButton() const { return with(&ControlEntry::isDefault, true); }
    constexpr ControlEntry cancelButton() const { return with(&ControlEntry::isCancel, true); }
    constexpr ControlEntry inside(const char *f) const { return with(&ControlEntry::container, f); }
    constexpr ControlEntry captionOf(const char *label) const
    {
        return with(&ControlEntry::captioned, label);
    }

private:
    template<class T> constexpr ControlEntry with(T ControlEntry::*field, T value) const
    {
        ControlEntry copy = *this;
        copy.*field = value;
        return copy;
    }
};

constexpr ControlEntry makeControl(ControlKind kind, const char *name, const char *caption,
                                   TwipRect rect)
{
    ControlEntry entry;
    entry.kind = kind;
    entry.name = name;
    entry.caption = caption;
    entry.rect = rect;
    return entry;
}

constexpr ControlEntry Label(const char *name, const char *caption, TwipRect rect)
{
    return makeControl(ControlKind::Label, name, caption, rect);
}

constexpr ControlEntry TextBox(const char *name, TwipRect rect)
{
    return makeControl(ControlKind::TextBox, name, "", rect);
}

constexpr ControlEntry CommandButton(const char *name, const char *caption, TwipRect rect)
{
    return makeControl(ControlKind::CommandButton, name, caption, rect);
}

constexpr ControlEntry Frame(const char *name, TwipRect rect)
{
    return makeControl(ControlKind::Frame, name, "", rect);
}

// A stretched picture; description is what a screen reader says for it.
constexpr ControlEntry Image(const char *name, TwipRect rect, const char *picture,
                             const char *description)
{
    ControlEntry entry = makeControl(ControlKind::Image, name, "", rect);
    entry.picture = picture;
    entry.description = description;
    return entry;
}

// A horizontal or vertical rule.
constexpr ControlEntry Line(const char *name, TwipPoint from, TwipPoint to)
{
    return makeControl(ControlKind::Line, name, "", {from.x, from.y, to.x - from.x, to.y - from.y});
}

// Menu items in tree order; a caption of "-" is a separator.
struct MenuEntry
{
    const char *name;
    const char *caption;
    const char *parent; // nullptr for a menu on the menu bar
};

constexpr MenuEntry Menu(const char *name, const char *caption)
{
    return {name, caption, nullptr};
}

constexpr MenuEntry MenuItem(const char *parent, const char *name, const char *caption)
{
    return {name, caption, parent};
}

enum class Border { Sizable, FixedDialog };

struct FormDescription
{
    const char *name;
    const char *caption;
    TwipSize client;
    std::span<const ControlEntry> controls;
    std::span<const MenuEntry> menu = {};
    Border border = Border::Sizable;
    bool titleBar = true; // false: no title bar at all, on every platform
    std::optional<QColor> background = {};
    const char *accessibleName = nullptr; // for a window without a caption
};

enum ShowMode { ShowModeless, ShowModal };

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

// A window built from its description. Forms with a menu are application windows; the others
// are dialogs to screen readers. Enter presses the default button, or the button with the focus;
// Esc presses the cancel button, if the form has one.
//
// A label with an access key is the label of the next control in tab order that takes focus.
// Every other text on the form (a caption with the value it names read as one) is part of the
// form's description, in reading order, which screen readers speak when the window opens.
class Form : public QDialog
{
    Q_OBJECT

public:
    explicit Form(const FormDescription &form);

    // ShowModal returns once the form is hidden or destroyed; the program's other windows take
    // no input meanwhile. Asked of a form already shown modally, it only brings it forward.
    // ShowModeless returns at once.
    void Show(ShowMode mode);
    // Keeps the controls' contents; ends a modal Show waiting on this form.
    void Hide();
    // Hides the form and destroys it once the event being handled has returned (usually the
    // form's own click handler). A modal Show asked for in the same handler starts after that.
    void Unload();

    // Modal box with the prompt, the title, an exclamation icon and one OK button.
    void MsgBox(std::string_view prompt, std::string_view title);

signals:
    // Emitted once, when the form's first frame has been drawn and handed to the window system.
    void firstFrameDrawn();

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
    template<class Control> Control *find(const char *name) const;
    void connectClick(const char *name, QObject *context, std::function<void()> handler);
    void buildMenu(std::span<const MenuEntry> menu);
    void buildControls(QWidget *client, std::span<const ControlEntry> controls);
    void collectDescription(std::span<const ControlEntry> controls);
    void updateDescription();
    void rememberWindowBeneath();

    QPushButton *m_cancelButton = nullptr;
    // The texts read out as the form's description, each a label and the value label it
    // captions, if any.
    std::vector<std::pair<QLabel *, QLabel *>> m_description;
    QPointer<QWidget> m_windowBeneath;
    bool m_edge = false;
    bool m_frameDrawn = false;
    std::optional<QRect> m_placement; // where the form was when last hidden
};

// Whether the program runs on a Wayland compositor.
bool onWayland();

// Ends the program at once with status 0, whatever windows or modal loops are open.
[[noreturn]] void End();

// How the user's locale writes numbers: QLocale's default, which is the system locale unless
// the program sets another. Read each time it is asked for.
sipster::NumberStyle numberStyle();

} // namespace WindowRuntime
