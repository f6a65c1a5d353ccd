#pragma once

#include "core/Summary.h"

#include <QColor>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>
#include <span>
#include <string_view>

class QEventLoop;
class QPushButton;

// A small forms runtime over Qt Widgets: each window is described as data (caption, client size,
// border and a table of controls with twip positions) and gets the behaviour of a classic form:
// modal and modeless show, hide, message boxes, default and cancel buttons, accelerators,
// tab order and an activate event.
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
    constexpr FontChoice(const char *face = "MS Sans Serif", double points = 8.25,
                         FontStyle style = FontStyle::Regular)
        : face(face)
        , points(points)
        , style(style)
    { }

    const char *face;
    double points;
    FontStyle style;
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
    TwipRect rect;
    int tabIndex = -1; // -1 for controls outside the tab order
    FontChoice font;
    Alignment alignment = Alignment::Left;
    bool autoSize = false;
    bool isDefault = false; // pressed by Enter unless another button has the focus
    bool isCancel = false; // pressed by Esc
    const char *container = nullptr; // the Frame holding it; rect is then relative to the frame
    const char *picture = nullptr; // an Image's drawing, an SVG resource
    const char *description = nullptr; // what a screen reader says for an Image
    TwipPoint from; // a Line's two ends
    TwipPoint to;

    constexpr ControlEntry tab(int index) const { return with(&ControlEntry::tabIndex, index); }
    constexpr ControlEntry withFont(FontChoice choice) const
    {
        return with(&ControlEntry::font, choice);
    }
    constexpr ControlEntry aligned(Alignment a) const { return with(&ControlEntry::alignment, a); }
    constexpr ControlEntry autoSized() const { return with(&ControlEntry::autoSize, true); }
    constexpr ControlEntry defaultButton() const { return with(&ControlEntry::isDefault, true); }
    constexpr ControlEntry cancelButton() const { return with(&ControlEntry::isCancel, true); }
    constexpr ControlEntry inside(const char *frame) const
    {
        return with(&ControlEntry::container, frame);
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

constexpr ControlEntry Line(const char *name, TwipPoint from, TwipPoint to)
{
    ControlEntry entry = makeControl(ControlKind::Line, name, "", {});
    entry.from = from;
    entry.to = to;
    return entry;
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
    FormDescription(const char *name, const char *caption, TwipSize client,
                    std::span<const ControlEntry> controls)
        : name(name)
        , caption(caption)
        , client(client)
        , controls(controls)
    { }

    const char *name;
    const char *caption;
    TwipSize client;
    std::span<const ControlEntry> controls;
    std::span<const MenuEntry> menu;
    Border border = Border::Sizable;
    bool titleBar = true; // false: no caption, control menu, minimise or maximise button
    std::optional<QColor> background;
    const char *accessibleName = nullptr; // for a window without a caption

    FormDescription withMenu(std::span<const MenuEntry> items) const
    {
        FormDescription copy = *this;
        copy.menu = items;
        return copy;
    }
    FormDescription withBackground(QColor colour) const
    {
        FormDescription copy = *this;
        copy.background = colour;
        return copy;
    }
    // A fixed dialog border with no title bar at all; accessibleName stands in for the caption.
    FormDescription titleCard(const char *spokenName) const
    {
        FormDescription copy = *this;
        copy.border = Border::FixedDialog;
        copy.titleBar = false;
        copy.accessibleName = spokenName;
        return copy;
    }
};

enum ShowMode { ShowModeless, ShowModal };

int twipsToPixels(int twips);
QRect twipsToPixels(const TwipRect &rect);

class Form : public QWidget
{
    Q_OBJECT

public:
    explicit Form(const FormDescription &form);
    ~Form() override;

    // ShowModal returns once the form is hidden or destroyed; the program's other windows take
    // no input meanwhile. ShowModeless returns at once.
    void Show(ShowMode mode);
    // Keeps the controls' contents; ends a modal Show waiting on this form.
    void Hide();

    // Modal box with the prompt, the title, an exclamation icon and one OK button.
    void MsgBox(std::string_view prompt, std::string_view title);

    template<class Control = QWidget> Control *control(const char *name) const
    {
        auto *found = findChild<Control *>(QString::fromLatin1(name));
        Q_ASSERT_X(found, "Form::control", name);
        return found;
    }

protected:
    // Calls the handler when the named button is pressed or the named menu item chosen.
    template<class F> void onClick(const char *name, F *form, void (F::*handler)())
    {
        connectClick(name, form, [form, handler] { (form->*handler)(); });
    }

    // Raised each time the form becomes the active window.
    virtual void Form_Activate() { }
    // The window manager asks to close the form (close box, Alt+F4).
    virtual void closeRequested() = 0;

    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void connectClick(const char *name, QObject *context, std::function<void()> handler);
    void buildMenu(std::span<const MenuEntry> menu);
    void buildControls(std::span<const ControlEntry> controls);
    void placeOnFirstShow();
    void rememberWindowBeneath();
    void setModal(bool modal);

    QWidget *m_client = nullptr;
    QPushButton *m_defaultButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QWidget *m_firstInTabOrder = nullptr;
    QEventLoop *m_modalLoop = nullptr;
    QPointer<QWidget> m_windowBeneath;
    bool m_shownBefore = false;
};

void SetFocus(QWidget *control);

// Ends the program at once with status 0, whatever windows or modal loops are open.
[[noreturn]] void End();

// How many modal shows are waiting right now.
int modalDepth();

// The user's number style, read from the locale environment (LC_ALL, LC_NUMERIC, LANG) each
// time it is asked for, so a changed setting shows the next time numbers are formatted.
sipster::NumberStyle userNumberStyle();

} // namespace WindowRuntime
