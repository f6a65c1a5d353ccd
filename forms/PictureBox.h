// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QIcon>
#include <QWidget>

namespace WindowRuntime {

// An image control: a picture stretched to the box. The picture comes at 1x, 2x and 3x
// (name.png, name@2x.png, name@3x.png); the box draws the sharpest for the screen's scale.
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    PictureBox(const QString &picture, const QString &description, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_picture;
    QIcon m_sizes; // read when first drawn, so creating a window does not wait for it
};

} // namespace WindowRuntime
