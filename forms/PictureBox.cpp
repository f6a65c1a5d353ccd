// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "PictureBox.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace WindowRuntime {

PictureBox::PictureBox(const QString &picture, const QString &description, QWidget *parent)
    : QWidget(parent)
    , m_picture(picture)
{
    setAccessibleName(description);
}

void PictureBox::paintEvent(QPaintEvent *)
{
    // The file at the scale rounded up, so a fractional scale shrinks a sharper picture.
    const int scale = std::clamp(static_cast<int>(std::ceil(devicePixelRatioF())), 1, 3);
    if (scale != m_scale) {
        QString file = m_picture;
        if (scale > 1) {
            file.insert(file.lastIndexOf(u'.'), QStringLiteral("@%1x").arg(scale));
        }
        m_drawn.load(file);
        m_scale = scale;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), m_drawn);
}

} // namespace WindowRuntime
