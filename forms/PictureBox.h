// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QPixmap>
#include <QWidget>

namespace WindowRuntime {

// An image control: a picture stretched to the box. The picture comes at 1x, 2x and 3x
// (name.png, name@2x.png, name@3x.png); the box reads and draws the one that fits the screen's
// scale, when it is first drawn there, so creating a window does not wait for it.
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    PictureBox(const QString &picture, const QString &description, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_picture;
    QPixmap m_drawn;
    int m_scale = 0; // of m_drawn; 0 before the first paint
};

} // namespace WindowRuntime
