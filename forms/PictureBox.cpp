// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "PictureBox.h"

#include <QPainter>

namespace WindowRuntime {

PictureBox::PictureBox(const QString &picture, const QString &description, QWidget *parent)
    : QWidget(parent)
    , m_picture(picture)
{
    setAccessibleName(description);
}

void PictureBox::paintEvent(QPaintEvent *)
{
    if (m_sizes.isNull()) {
        for (const char *scale : {"", "@2x", "@3x"}) {
            QString file = m_picture;
            m_sizes.addFile(file.insert(file.lastIndexOf(u'.'), QLatin1String(scale)));
        }
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), m_sizes.pixmap(size(), devicePixelRatioF()));
}

} // namespace WindowRuntime
