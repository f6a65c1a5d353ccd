// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

// A form's texts in reading order, which screen readers speak when it opens.

#include "Form.h"

#include <QLabel>
#include <algorithm>

namespace WindowRuntime {

void Form::collectDescription(std::span<const ControlEntry> controls)
{
    QList<QLabel *> values;
    for (const ControlEntry &entry : controls) {
        if (entry.captioned) {
            values.append(find<QLabel>(entry.captioned));
        }
    }
    for (const ControlEntry &entry : controls) {
        auto *label = entry.kind == ControlKind::Label ? find<QLabel>(entry.name) : nullptr;
        if (!label || label->buddy() || values.contains(label)) {
            continue;
        }
        QLabel *value = entry.captioned ? find<QLabel>(entry.captioned) : nullptr;
        // A screen reader reads each label that labels nothing when the window opens, if it has
        // three words or more: a caption labels its value, any other text the window.
        label->setBuddy(value ? static_cast<QWidget *>(value) : this);
        m_description.emplace_back(label, value);
    }
    // The texts are read as one, from a label of their own that labels nothing and draws
    // nothing. Not as the window's accessible description, or Qt's "description for" relation
    // (Qt 6.8): Orca 48 reads a dialog's description twice as the dialog opens, once as its
    // text and once as its description (Orca 43 reads it once).
    m_spokenText = new QLabel(this);
    m_spokenText->setObjectName(QStringLiteral("spokenText"));
    m_spokenText->setGeometry(0, 0, 0, 0);
    const auto readingOrder = [this](const auto &a, const auto &b) {
        const QPoint pa = a.first->mapTo(this, QPoint());
        const QPoint pb = b.first->mapTo(this, QPoint());
        return std::pair(pa.y(), pa.x()) < std::pair(pb.y(), pb.x());
    };
    std::ranges::stable_sort(m_description, readingOrder);
    updateDescription();
}

void Form::updateDescription()
{
    const QString name = accessibleName().isEmpty() ? windowTitle() : accessibleName();
    QStringList texts;
    for (const auto &[label, value] : m_description) {
        QString text = label->text();
        if (value && !value->text().isEmpty()) {
            text += u' ' + value->text();
        }
        // What the window's name already says is not said again.
        if (!text.isEmpty() && !name.contains(text)) {
            texts.append(text);
        }
    }
    m_spokenText->setAccessibleName(texts.join(QLatin1String(", ")));
}

} // namespace WindowRuntime
