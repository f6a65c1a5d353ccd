// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

// A form's texts in reading order, which screen readers speak as its description when it opens.

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
        // Screen readers read a label that labels nothing on its own as well as in the window's
        // description (Qt 6.4 has no "description for" relation): a caption labels its value,
        // and any other text the window it describes.
        label->setBuddy(value ? static_cast<QWidget *>(value) : this);
        m_description.emplace_back(label, value);
    }
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
    setAccessibleDescription(texts.join(QLatin1String(", ")));
}

} // namespace WindowRuntime
