// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "PictureBox.h"

#include <QPainter>
#include <QSvgRenderer>

namespace WindowRuntime {

PictureBox::PictureBox(const QString &picture, const QString &description, QWidget *parent)
    : QWidget(parent)
    , m_picture(picture)
{
    setAccessibleName(description);
}

QSvgRenderer *PictureBox::renderer() const
{
    if (!m_renderer) {
        m_renderer = new QSvgRenderer(m_picture, const_cast<PictureBox *>(this));
        m_renderer->setAspectRatioMode(Qt::IgnoreAspectRatio);
    }
    return m_renderer;
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer()->render(&painter, rect());
}

} // namespace WindowRuntime
