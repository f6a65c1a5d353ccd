// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "Controls.h"

#include "Accessibility.h"
#include "PictureBox.h"
#include "Platform.h"

#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionGroupBox>
#include <QStylePainter>
#include <algorithm>
#include <cmath>

namespace WindowRuntime {

namespace {

Qt::Alignment horizontalAlignment(Alignment alignment)
{
    return alignment == Alignment::Right ? Qt::AlignRight
        : alignment == Alignment::Centre ? Qt::AlignHCenter
                                         : Qt::AlignLeft;
}

// A frame around other controls. Qt for WebAssembly paints into an RGBA8888 backing store, onto
// which Qt's raster engine (6.8) scales a picture only on its slow 64-bit path; Fusion draws a
// frame by stretching a picture over the whole of it, which took 40 ms of the title card's first
// frame in Chromium. There the frame is drawn into a premultiplied image, which the engine
// scales onto fast, and copied from it unscaled.
class FrameBox : public QGroupBox
{
public:
    using QGroupBox::QGroupBox;

#ifdef Q_OS_WASM
protected:
    void paintEvent(QPaintEvent *) override
    {
        QImage drawn(size() * devicePixelRatio(), QImage::Format_ARGB32_Premultiplied);
        drawn.setDevicePixelRatio(devicePixelRatio());
        drawn.fill(Qt::transparent);
        QStyleOptionGroupBox option;
        initStyleOption(&option);
        QStylePainter(&drawn, this).drawComplexControl(QStyle::CC_GroupBox, option);
        QPainter(this).drawImage(0, 0, drawn);
    }
#endif
};

// A text box that reports its focus to screen readers before any caret move it makes on taking it.
class TextBoxEdit : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent *event) override
    {
        const CaretReportsHeldBack heldBack;
        QLineEdit::focusInEvent(event);
    }
};

QWidget *createLine(const ControlEntry &entry, QWidget *parent)
{
    auto *line = new QFrame(parent);
    const bool horizontal = entry.rect.height == 0;
    line->setFrameShape(horizontal ? QFrame::HLine : QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    // A sunken rule is two pixels thick, centred on the line.
    const QRect ends = twipsToPixels(entry.rect).normalized();
    line->setGeometry(horizontal ? ends.adjusted(0, -1, 0, 1) : ends.adjusted(-1, 0, 1, 0));
    return line;
}

} // namespace

QFont fontFor(const FontChoice &choice)
{
    QFont font(faceFor(choice.face));
    font.setPointSizeF(choice.points);
    font.setBold(choice.style == FontStyle::Bold || choice.style == FontStyle::BoldItalic);
    font.setItalic(choice.style == FontStyle::Italic || choice.style == FontStyle::BoldItalic);
    return font;
}

QString text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

bool takesFocus(ControlKind kind)
{
    return kind == ControlKind::TextBox || kind == ControlKind::CommandButton;
}

bool hasAccessKey(const QString &caption)
{
    return !QKeySequence::mnemonic(caption).isEmpty();
}

void fitCaption(QLabel *label)
{
    const int extra = label->sizeHint().width() - label->width();
    if (extra <= 0) {
        return;
    }
    QRect box = label->geometry();
    const Qt::Alignment alignment = label->alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignRight) {
        box.setLeft(box.left() - extra);
    } else if (alignment & Qt::AlignHCenter) {
        box.adjust(-extra / 2, 0, extra - extra / 2, 0);
    } else {
        box.setRight(box.right() + extra);
    }
    const QRect container = label->parentWidget()->rect();
    box.moveLeft(
        std::max(container.left(), std::min(box.left(), container.right() - box.width() + 1)));
    label->setGeometry(box.intersected(container));
}

QWidget *createControl(const ControlEntry &entry, QWidget *parent)
{
    const QString caption = QString::fromUtf8(entry.caption);
    switch (entry.kind) {
    case ControlKind::Label: {
        auto *label = new QLabel(caption, parent);
        label->setAlignment(horizontalAlignment(entry.alignment) | Qt::AlignTop);
        return label;
    }
    case ControlKind::TextBox: {
        auto *box = new TextBoxEdit(caption, parent);
        box->setAlignment(horizontalAlignment(entry.alignment));
        return box;
    }
    case ControlKind::CommandButton: {
        auto *button = new QPushButton(caption, parent);
        button->setDefault(entry.isDefault);
        return button;
    }
    case ControlKind::Image:
        return new PictureBox(QString::fromUtf8(entry.picture), text(entry.description), parent);
    case ControlKind::Frame: {
        auto *frame = new FrameBox(parent);
        frame->setFocusPolicy(Qt::NoFocus);
        return frame;
    }
    case ControlKind::Line:
        return createLine(entry, parent);
    }
    return nullptr;
}

int twipsToPixels(int twips)
{
    // Rounds to the nearest pixel, halves up, for negative positions too.
    return static_cast<int>(std::floor(twips / static_cast<double>(kTwipsPerPixel) + 0.5));
}

QRect twipsToPixels(const TwipRect &rect)
{
    // Edges are rounded, not widths, so neighbouring controls stay flush.
    const int left = twipsToPixels(rect.left);
    const int top = twipsToPixels(rect.top);
    const int right = twipsToPixels(rect.left + rect.width);
    const int bottom = twipsToPixels(rect.top + rect.height);
    return {left, top, right - left, bottom - top};
}

std::string TextBoxControl::Text() const
{
    return box->text().toStdString();
}

void TextBoxControl::SetText(std::string_view text) const
{
    if (box->hasFocus()) {
        box->setText(WindowRuntime::text(text));
    } else {
        const CaretReportsHeldBack heldBack;
        box->setText(WindowRuntime::text(text));
    }
}

void TextBoxControl::SetFocus() const
{
    box->setFocus(Qt::OtherFocusReason);
}

void LabelControl::SetCaption(std::string_view caption) const
{
    label->setText(text(caption));
    fitCaption(label);
}

} // namespace WindowRuntime
