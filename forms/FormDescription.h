// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QColor>
#include <optional>
#include <span>

// A window described as data: its caption, client size, border, menu and a table of controls,
// placed in twips. Form builds the window from it.
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

} // namespace WindowRuntime
